// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/bus/ToolkitBus.h"
#include "platform/backends/linux/wayland/WaylandModule.h"

#include <chrono>
#include <optional>

namespace pardolin::linux_backend {

// What the compositor the toolkit will use (see FindToolkitCompositor) says by `deadline`,
// asked through the Wayland module; nullopt when it does not answer. When the module cannot
// be loaded nothing is asked, and the toolkit is left to find out: its answer is then
// empty.
std::optional<CompositorAnswer>
AskToolkitsCompositor(const SessionEnvironment& environment,
                      std::chrono::steady_clock::time_point deadline,
                      const Diagnostics& diagnostics);

} // namespace pardolin::linux_backend
