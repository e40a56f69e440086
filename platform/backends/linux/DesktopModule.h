// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/DesktopPortal.h"
#include "platform/backends/linux/WaylandKeyboard.h"

namespace pardolin::linux_backend {

// The Wayland and D-Bus clients live in a module of their own, loaded when a keyboard
// report first needs the compositor or the settings portal: most starts never do, and none
// should pay for loading them.
struct DesktopModule {
    std::optional<WaylandKeyboardFacts> (*ReadWaylandKeyboard)(
        std::chrono::steady_clock::time_point deadline);
    std::optional<CaretSettings> (*ReadPortalCaret)(std::chrono::steady_clock::time_point deadline);
};

inline constexpr char kDesktopModuleFile[] = "pardolin-desktop.so";
inline constexpr char kDesktopModuleEntry[] = "pardolin_desktop_module";

} // namespace pardolin::linux_backend
