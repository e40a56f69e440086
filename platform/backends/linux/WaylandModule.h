// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/WaylandKeyboard.h"

namespace pardolin::linux_backend {

// The Wayland client lives in a module of its own, loaded when a keyboard report first
// needs the compositor: most starts never do, and none should pay for loading it.
struct WaylandModule {
    std::unique_ptr<WaylandKeyboard> (*CreateWaylandKeyboard)();
};

inline constexpr char kWaylandModuleFile[] = "pardolin-wayland.so";
inline constexpr char kWaylandModuleEntry[] = "pardolin_wayland_module";

} // namespace pardolin::linux_backend
