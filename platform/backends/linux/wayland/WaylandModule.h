// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/wayland/ToolkitCompositor.h"
#include "platform/backends/linux/wayland/WaylandKeyboard.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace pardolin::linux_backend {

// What the compositor the toolkit will use says at start-up.
struct CompositorAnswer {
    // The interfaces it offers, by name, when they could be asked: on a connection handed
    // to the program only a sync is, which leaves the connection as the toolkit will find
    // it (a registry, once made, can never be given back).
    std::optional<std::vector<std::string>> globals;
};

// The compositor, asked on a connection of its own (of the handed one, a copy) by
// `deadline`; nullopt when it does not answer.
std::optional<CompositorAnswer> AskCompositor(const ToolkitCompositor& compositor,
                                              std::chrono::steady_clock::time_point deadline,
                                              const Diagnostics& diagnostics);

// The Wayland client lives in a module of its own, loaded when the start-up or a keyboard
// report first needs the compositor: a start on X never does, and should not pay for it.
struct WaylandModule {
    std::unique_ptr<WaylandKeyboard> (*CreateWaylandKeyboard)(const Diagnostics& diagnostics);
    std::optional<CompositorAnswer> (*AskCompositor)(const ToolkitCompositor& compositor,
                                                     std::chrono::steady_clock::time_point deadline,
                                                     const Diagnostics& diagnostics);
};

inline constexpr char kWaylandModuleFile[] = "pardolin-wayland.so";
inline constexpr char kWaylandModuleEntry[] = "pardolin_wayland_module";

} // namespace pardolin::linux_backend
