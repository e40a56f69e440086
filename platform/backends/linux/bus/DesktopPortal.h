// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"
#include "platform/backends/linux/PeerSocket.h"
#include "platform/backends/linux/SessionEnvironment.h"
#include "platform/backends/linux/settings/KeyboardSettings.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace pardolin::linux_backend {

// Where the session's settings portal is asked, and whose settings come first: the session
// bus's local sockets and whether the current desktop is KDE; and the bus's address, to say
// why no socket is asked (start-up gives the address "disabled:" when the bus is silent).
struct PortalSession {
    std::vector<SocketAddress> bus;
    bool onKde = false;
    std::optional<std::string> address;

    static PortalSession Of(const SessionEnvironment& environment);
};

// The caret settings the desktop publishes through its settings portal
// (org.freedesktop.portal.Settings): GNOME's cursor-blink and cursor-blink-time, and KDE's
// CursorBlinkRate, the current desktop's own first (by XDG_CURRENT_DESKTOP): a portal
// with several backends answers for other desktops too, with their defaults. A value of
// the wrong type, or out of its range (a cycle of more than 10 s), is no answer. nullopt
// when no session bus or no portal answers by `deadline`; every step of the conversation
// is over by then, and a portal that is not running is not started.
// Each key that gives no answer is told of on the settings portal's channel.
std::optional<CaretSettings> ReadPortalCaret(const PortalSession& session,
                                             std::chrono::steady_clock::time_point deadline,
                                             const Diagnostics& diagnostics = {});

} // namespace pardolin::linux_backend
