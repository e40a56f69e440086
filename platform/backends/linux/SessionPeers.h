// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/PeerSocket.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace pardolin::linux_backend {

// Where libwayland connects: WAYLAND_DISPLAY (wayland-0 when it is unset) in `runtimeDir`,
// or WAYLAND_DISPLAY itself when it is a path; nullopt when it names no place.
std::optional<SocketAddress> CompositorAddress(const char* display, const char* runtimeDir);

// Whether the session bus takes a connection, authenticates it and says hello by
// `deadline`. A toolkit that starts on a bus that does not answer waits for it without a
// deadline of its own.
bool SessionBusAnswers(std::chrono::steady_clock::time_point deadline);

// The interfaces the compositor offers (its globals, by name), when it answers by
// `deadline`; a toolkit waits for that answer without a deadline of its own.
std::optional<std::vector<std::string>>
CompositorGlobals(std::chrono::steady_clock::time_point deadline);

} // namespace pardolin::linux_backend
