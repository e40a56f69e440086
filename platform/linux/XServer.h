// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace pardolin::linux_backend {

// What the X server (native or XWayland) says about the keyboard and the desktop settings.
// A member the server could not give is empty.
struct XServerFacts {
    std::optional<std::string> rulesNames; // the _XKB_RULES_NAMES property
    std::optional<int> repeatDelayMs;      // XKB controls
    std::optional<int> repeatIntervalMs;
    std::optional<std::string> xsettings; // the _XSETTINGS_SETTINGS property, if a manager runs
};

// Which of the facts a query needs; the others are not asked for.
enum class XFact { RulesNames, Repeat, XSettings };

// Asks the X server named by DISPLAY for one fact, on a connection of its own. Returns
// nullopt when there is no server, or when it has not answered within `budget`.
std::optional<XServerFacts> QueryXServer(XFact fact, std::chrono::milliseconds budget);

} // namespace pardolin::linux_backend
