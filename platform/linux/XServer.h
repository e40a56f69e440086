// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <memory>
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

// The X server named by DISPLAY. xcb offers no deadline, so each conversation runs on a
// thread of its own, and at most one is ever under way: while an earlier conversation still
// waits for a server that stopped answering, asking again fails at once instead of starting
// another thread and connection.
class XServer {
  public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Everything the keyboard report needs, asked on one connection. nullopt when there is
    // no server, when it has not answered by `deadline`, or when no thread can be had.
    std::optional<XServerFacts> Read(std::chrono::steady_clock::time_point deadline);

  private:
    struct Conversation;
    // A conversation that outlived its deadline and may still be waiting for the server.
    std::shared_ptr<Conversation> m_overdue;
};

} // namespace pardolin::linux_backend
