// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"
#include "platform/backends/BoundedAttempt.h"

#include <chrono>
#include <optional>
#include <string>

namespace pardolin::linux_backend {

// What the X server (native or XWayland) says about the keyboard and the desktop settings.
// A member the server could not give is empty.
struct XServerFacts {
    std::optional<std::string> rulesNames; // the _XKB_RULES_NAMES property
    std::optional<int> repeatDelayMs;      // XKB controls; neither while keys do not
    std::optional<int> repeatIntervalMs;   // repeat (xset r off)
    std::optional<std::string> xsettings;  // the _XSETTINGS_SETTINGS property, if a manager runs
};

// An X server. xcb offers no deadline, so each conversation is a bounded attempt: at most
// one is ever under way, however often the server is asked.
class XServer {
  public:
    // Everything the keyboard report needs, asked on one connection of the server that
    // `display` (DISPLAY) names. nullopt when there is no server, when it has not answered by
    // `deadline`, or when no thread can be had.
    std::optional<XServerFacts> Read(const std::string& display,
                                     std::chrono::steady_clock::time_point deadline);

    explicit XServer(const Diagnostics& diagnostics = {}) : m_diagnostics(diagnostics) {}

  private:
    const Diagnostics m_diagnostics;
    BoundedAttempt m_attempt;
};

} // namespace pardolin::linux_backend
