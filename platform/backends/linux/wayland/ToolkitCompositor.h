// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/PeerSocket.h"

#include <optional>

namespace pardolin::linux_backend {

// Where libwayland connects: WAYLAND_DISPLAY (wayland-0 when it is unset) in `runtimeDir`,
// or WAYLAND_DISPLAY itself when it is a path; nullopt when it names no place.
std::optional<SocketAddress> CompositorAddress(const char* display, const char* runtimeDir);

// The compositor the toolkit connects to, as libwayland finds it: the connection handed to
// the program in WAYLAND_SOCKET, which comes first, or WAYLAND_DISPLAY's socket. Neither
// when WAYLAND_SOCKET names no open descriptor: libwayland then connects nowhere.
struct ToolkitCompositor {
    int handedSocket = -1;
    std::optional<SocketAddress> address;
};
ToolkitCompositor FindToolkitCompositor(const char* waylandSocket, const char* display,
                                        const char* runtimeDir);

} // namespace pardolin::linux_backend
