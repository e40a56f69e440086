// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/bus/DesktopPortal.h"

#include "platform/backends/linux/bus/SessionBus.h"

#include <charconv>
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

// What one key's reply says, or why it says nothing: each value is taken only in its key's
// own type and range.
class KeyReply {
  public:
    KeyReply(const SessionBus::Reply& reply, std::string key, const Diagnostics& diagnostics)
        : m_reply(reply), m_key(std::move(key)), m_diagnostics(diagnostics) {}

    std::optional<bool> Truth() const {
        if (!Typed('b')) {
            return std::nullopt;
        }
        return m_reply.value->integer != 0;
    }
    // GSettings' cursor-blink-time, an int32.
    std::optional<int> Integer() const {
        return Typed('i') ? InRange(m_reply.value->integer) : std::nullopt;
    }
    // KDE's portal hands its configuration's text on: the number in it.
    std::optional<int> NumberInText() const {
        if (!Typed('s')) {
            return std::nullopt;
        }
        const std::string& text = m_reply.value->text;
        std::int64_t number = 0;
        const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error != std::errc() || stop != text.data() + text.size()) {
            Refuse("not a number: \"" + text.substr(0, 40) + "\"");
            return std::nullopt;
        }
        return InRange(number);
    }

  private:
    bool Typed(char type) const {
        if (!m_reply.value) {
            Refuse(m_reply.why);
            return false;
        }
        if (m_reply.value->type != type) {
            Refuse(std::string("wrong type: ") + m_reply.value->type + ", not " + type);
            return false;
        }
        return true;
    }
    std::optional<int> InRange(std::int64_t cycleMs) const {
        if (cycleMs < 0 || cycleMs > kLongestCaretCycleMs) {
            Refuse("out of range: " + std::to_string(cycleMs));
            return std::nullopt;
        }
        return static_cast<int>(cycleMs);
    }
    void Refuse(const std::string& why) const {
        m_diagnostics.Failed(Peer::SettingsPortal, "Read " + m_key, why);
    }

    const SessionBus::Reply& m_reply;
    const std::string m_key;
    const Diagnostics& m_diagnostics;
};

} // namespace

PortalSession PortalSession::Of(const SessionEnvironment& environment) {
    return {SessionBusAddresses(environment.busAddress ? environment.busAddress->c_str() : nullptr,
                                environment.runtimeDir.c_str()),
            environment.DesktopIs("KDE"), environment.busAddress};
}

std::optional<CaretSettings> ReadPortalCaret(const PortalSession& session,
                                             std::chrono::steady_clock::time_point deadline,
                                             const Diagnostics& diagnostics) {
    if (session.bus.empty()) {
        diagnostics.Failed(Peer::SessionBus, "finding it",
                           session.address
                               ? "its address names no local socket: " + *session.address
                               : "no address, and no runtime folder");
        return std::nullopt;
    }
    std::optional<SessionBus> bus = SessionBus::Open(session.bus, deadline, diagnostics);
    if (!bus) {
        return std::nullopt;
    }
    const std::vector<SessionBus::Reply> replies =
        bus->Call({Read("org.gnome.desktop.interface", "cursor-blink"),
                   Read("org.gnome.desktop.interface", "cursor-blink-time"),
                   Read("org.kde.kdeglobals.KDE", "CursorBlinkRate")},
                  deadline);
    const CaretSettings gnome{
        KeyReply(replies[0], "org.gnome.desktop.interface cursor-blink", diagnostics).Truth(),
        KeyReply(replies[1], "org.gnome.desktop.interface cursor-blink-time", diagnostics)
            .Integer()};
    const std::optional<CaretSettings> gnomeSays =
        gnome.blinks || gnome.cycleMs ? std::optional(gnome) : std::nullopt;
    // KDE's value is Qt's flash time: one whole cycle, 0 for no blinking.
    const std::optional<int> kdeCycle =
        KeyReply(replies[2], "org.kde.kdeglobals.KDE CursorBlinkRate", diagnostics).NumberInText();
    const std::optional<CaretSettings> kdeSays =
        kdeCycle ? std::optional(CaretSettings{std::nullopt, kdeCycle}) : std::nullopt;
    return session.onKde ? (kdeSays ? kdeSays : gnomeSays) : (gnomeSays ? gnomeSays : kdeSays);
}

} // namespace pardolin::linux_backend
