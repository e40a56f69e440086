// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/SessionEnvironment.h"
#include "platform/backends/linux/bus/SessionBus.h"

#include <chrono>
#include <optional>
#include <string>

namespace pardolin::linux_backend {

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

// The same, asked of the session at start-up, where the toolkit would wait for the bus
// without a deadline of its own: the bus is given until `deadline` to take a connection,
// authenticate it and say hello.
ToolkitBus SessionBusForTheToolkit(const SessionEnvironment& environment,
                                   std::chrono::steady_clock::time_point deadline,
                                   const Diagnostics& diagnostics);

} // namespace pardolin::linux_backend
