// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/PeerSocket.h"
#include "platform/backends/linux/SessionBus.h"

#include <chrono>
#include <optional>
#include <string>

// The session's peers as the toolkit meets them at start-up, where it waits for each
// without a deadline of its own: the session bus and the compositor.
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

// What the toolkit is told of the session bus before it starts.
struct ToolkitBus {
    // In place of DBUS_SESSION_BUS_ADDRESS, when set: "disabled:" (a kind no library
    // knows, so every attempt to reach the bus fails at once), or the address without its
    // autolaunch: entries.
    std::optional<std::string> address;
    // A bus was named and nothing of it answered: worth a word on stderr.
    bool silent = false;
};

// The decision, from DBUS_SESSION_BUS_ADDRESS (nullptr when unset), whether a bus is named
// at all (the address is set, or XDG_RUNTIME_DIR/bus exists) and whether one of its
// sockets answered. Entries the program's own client cannot try are left to the toolkit;
// no bus is ever autolaunched (that starts one and writes under the home folder).
ToolkitBus DecideToolkitBus(const char* address, bool named, bool answered);

// The same, asked of the session: the bus is given until `deadline` to take a connection,
// authenticate it and say hello.
ToolkitBus SessionBusForTheToolkit(std::chrono::steady_clock::time_point deadline);

} // namespace pardolin::linux_backend
