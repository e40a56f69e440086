// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/StartUp.h"

#include "platform/backends/linux/Module.h"

#include <cstdlib>

namespace pardolin::linux_backend {

std::optional<CompositorAnswer>
AskToolkitsCompositor(std::chrono::steady_clock::time_point deadline) {
    Module<WaylandModule> module(kWaylandModuleFile, kWaylandModuleEntry);
    const WaylandModule* wayland = module.Get();
    if (!wayland) {
        return CompositorAnswer{};
    }
    return wayland->AskCompositor(FindToolkitCompositor(std::getenv("WAYLAND_SOCKET"),
                                                        std::getenv("WAYLAND_DISPLAY"),
                                                        std::getenv("XDG_RUNTIME_DIR")),
                                  deadline);
}

} // namespace pardolin::linux_backend
