// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace pardolin::linux_backend {

// What the compositor tells its clients about the first seat's keyboard. A member the
// compositor did not give is empty.
struct WaylandKeyboardFacts {
    std::optional<std::string> keymap;   // the XKB keymap text
    std::optional<int> repeatsPerSecond; // 0: keys do not repeat
    std::optional<int> repeatDelayMs;
};

// Asks the compositor named by WAYLAND_DISPLAY on a connection of its own, closed before
// returning. nullopt when there is no compositor, no seat with a keyboard, or no answer by
// `deadline`.
std::optional<WaylandKeyboardFacts>
ReadWaylandKeyboard(std::chrono::steady_clock::time_point deadline);

} // namespace pardolin::linux_backend
