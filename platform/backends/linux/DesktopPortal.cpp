// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/DesktopPortal.h"

#include "platform/backends/linux/SessionBus.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace pardolin::linux_backend {
namespace {

dbus::MethodCall Read(const char* space, const char* key) {
    // Read, not ReadOne: every version of the portal has it (ReadOne came with version 2,
    // which Debian 12's portal is not), and it answers with the value in a variant.
    return {"org.freedesktop.portal.Desktop",
            "/org/freedesktop/portal/desktop",
            "org.freedesktop.portal.Settings",
            "Read",
            {space, key}};
}

std::optional<bool> Truth(const std::optional<dbus::Value>& value) {
    if (!value || value->type != 'b') {
        return std::nullopt;
    }
    return value->integer != 0;
}

std::optional<int> InRange(std::int64_t cycleMs) {
    return cycleMs >= 0 && cycleMs <= kLongestCaretCycleMs
               ? std::optional(static_cast<int>(cycleMs))
               : std::nullopt;
}

// GSettings' cursor-blink-time is an int32; a value of another type is no answer.
std::optional<int> GnomeCycle(const std::optional<dbus::Value>& value) {
    return value && value->type == 'i' ? InRange(value->integer) : std::nullopt;
}

// KDE's portal hands its configuration's text on: the number in it.
std::optional<int> KdeCycle(const std::optional<dbus::Value>& value) {
    if (!value || value->type != 's') {
        return std::nullopt;
    }
    std::int64_t cycle = 0;
    const char* end = value->text.data() + value->text.size();
    const auto [stop, error] = std::from_chars(value->text.data(), end, cycle);
    return error == std::errc() && stop == end ? InRange(cycle) : std::nullopt;
}

} // namespace

PortalSession PortalSession::Current() {
    return {SessionBusAddresses(std::getenv("DBUS_SESSION_BUS_ADDRESS"),
                                std::getenv("XDG_RUNTIME_DIR")),
            CurrentDesktopIs(std::getenv("XDG_CURRENT_DESKTOP"), "KDE")};
}

std::optional<CaretSettings> ReadPortalCaret(const PortalSession& session,
                                             std::chrono::steady_clock::time_point deadline) {
    std::optional<SessionBus> bus = SessionBus::Open(session.bus, deadline);
    if (!bus) {
        return std::nullopt;
    }
    const std::vector<std::optional<dbus::Value>> answers =
        bus->Call({Read("org.gnome.desktop.interface", "cursor-blink"),
                   Read("org.gnome.desktop.interface", "cursor-blink-time"),
                   Read("org.kde.kdeglobals.KDE", "CursorBlinkRate")},
                  deadline);
    const CaretSettings gnome{Truth(answers[0]), GnomeCycle(answers[1])};
    const std::optional<CaretSettings> gnomeSays =
        gnome.blinks || gnome.cycleMs ? std::optional(gnome) : std::nullopt;
    // KDE's value is Qt's flash time: one whole cycle, 0 for no blinking.
    const std::optional<int> kdeCycle = KdeCycle(answers[2]);
    const std::optional<CaretSettings> kdeSays =
        kdeCycle ? std::optional(CaretSettings{std::nullopt, kdeCycle}) : std::nullopt;
    return session.onKde ? (kdeSays ? kdeSays : gnomeSays) : (gnomeSays ? gnomeSays : kdeSays);
}

} // namespace pardolin::linux_backend
