// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/PeerSocket.h"

#include <chrono>
#include <optional>

namespace pardolin::linux_backend {

// Where libwayland connects: WAYLAND_DISPLAY (wayland-0 when it is unset) in `runtimeDir`,
// or WAYLAND_DISPLAY itself when it is a path; nullopt when it names no place.
std::optional<SocketAddress> CompositorAddress(const char* display, const char* runtimeDir);

// Whether the session bus takes a connection, authenticates it and says hello by
// `deadline`; and whether the compositor answers a round trip by then. A toolkit that
// starts on a peer that does not answer waits for it without a deadline of its own.
bool SessionBusAnswers(std::chrono::steady_clock::time_point deadline);
bool CompositorAnswers(std::chrono::steady_clock::time_point deadline);

} // namespace pardolin::linux_backend
