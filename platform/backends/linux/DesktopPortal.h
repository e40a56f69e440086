// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/KeyboardSettings.h"

#include <chrono>
#include <optional>

namespace pardolin::linux_backend {

// The caret settings the desktop publishes through its settings portal
// (org.freedesktop.portal.Settings): GNOME's cursor-blink and cursor-blink-time, or KDE's
// CursorBlinkRate. nullopt when no session bus or no portal answers by `deadline`; a
// portal that is not running is not started.
std::optional<CaretSettings> ReadPortalCaret(std::chrono::steady_clock::time_point deadline);

} // namespace pardolin::linux_backend
