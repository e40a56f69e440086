// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/bus/ToolkitBus.h"

#include <sys/stat.h>

#include <string>

namespace pardolin::linux_backend {

ToolkitBus DecideToolkitBus(const char* address, bool named, bool answered) {
    if (answered) {
        return {};
    }
    const BusAddress bus = address ? ParseBusAddress(address) : BusAddress{};
    if (bus.othersToTry) {
        if (bus.withoutAutolaunch == address) {
            return {};
        }
        return {bus.withoutAutolaunch, false};
    }
    return {"disabled:", named};
}

ToolkitBus SessionBusForTheToolkit(const SessionEnvironment& environment,
                                   std::chrono::steady_clock::time_point deadline,
                                   const Diagnostics& diagnostics) {
    const char* address = environment.busAddress ? environment.busAddress->c_str() : nullptr;
    const char* runtimeDir = environment.runtimeDir.c_str();
    struct stat status {};
    const bool named = address || (*runtimeDir == '/' &&
                                   stat((std::string(runtimeDir) + "/bus").c_str(), &status) == 0);
    const std::vector<SocketAddress> sockets = SessionBusAddresses(address, runtimeDir);
    const bool answered = SessionBus::Open(sockets, deadline, diagnostics).has_value();
    return DecideToolkitBus(address, named, answered);
}

} // namespace pardolin::linux_backend
