// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/StartUp.h"

#include "platform/backends/linux/Module.h"

namespace pardolin::linux_backend {

std::optional<CompositorAnswer>
AskToolkitsCompositor(const SessionEnvironment& environment,
                      std::chrono::steady_clock::time_point deadline,
                      const Diagnostics& diagnostics) {
    Module<WaylandModule> module(kWaylandModuleFile, kWaylandModuleEntry, diagnostics);
    const WaylandModule* wayland = module.Get();
    if (!wayland) {
        return CompositorAnswer{};
    }
    const auto& handed = environment.waylandSocket;
    return wayland->AskCompositor(FindToolkitCompositor(handed ? handed->c_str() : nullptr,
                                                        environment.waylandDisplay.c_str(),
                                                        environment.runtimeDir.c_str()),
                                  deadline, diagnostics);
}

} // namespace pardolin::linux_backend
