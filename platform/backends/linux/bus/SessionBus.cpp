// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/bus/SessionBus.h"

#include "platform/backends/linux/Split.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <limits>

namespace pardolin::linux_backend {
namespace {

// All a conversation may read. Every message the program wants is some hundred bytes.
constexpr std::size_t kReadBudget = 64 * 1024;

// %XX escapes undone; nullopt for a broken one.
std::optional<std::string> Unescaped(std::string_view value) {
    std::string plain;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            plain += value[i];
            continue;
        }
        unsigned byte = 0;
        if (i + 2 >= value.size() ||
            std::from_chars(value.data() + i + 1, value.data() + i + 3, byte, 16).ptr !=
                value.data() + i + 3) {
            return std::nullopt;
        }
        plain += static_cast<char>(byte);
        i += 2;
    }
    return plain;
}

std::string Hex(std::string_view text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char c : text) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 0xF];
    }
    return hex;
}

const dbus::MethodCall kHello{
    "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "Hello", {}};

} // namespace

BusAddress ParseBusAddress(std::string_view busAddress) {
    BusAddress parsed;
    for (const std::string_view entry : Split(busAddress, ';')) {
        const std::string_view kind = entry.substr(0, entry.find(':'));
        if (kind != "autolaunch") {
            parsed.withoutAutolaunch += (parsed.withoutAutolaunch.empty() ? "" : ";");
            parsed.withoutAutolaunch += entry;
        }
        if (kind == "tcp" || kind == "nonce-tcp" || kind == "unixexec") {
            parsed.othersToTry = true;
        }
        if (kind != "unix" || entry.size() == kind.size()) {
            continue;
        }
        for (const std::string_view pair : Split(entry.substr(5), ',')) {
            const std::size_t equals = pair.find('=');
            const std::string_view key = pair.substr(0, equals);
            const auto value = equals == std::string_view::npos
                                   ? std::nullopt
                                   : Unescaped(pair.substr(equals + 1));
            if (value && !value->empty() && (key == "path" || key == "abstract")) {
                parsed.sockets.push_back({*value, key == "abstract"});
            }
        }
    }
    return parsed;
}

std::vector<SocketAddress> SessionBusAddresses(const char* busAddress, const char* runtimeDir) {
    if (busAddress && *busAddress) {
        return ParseBusAddress(busAddress).sockets;
    }
    if (runtimeDir && *runtimeDir == '/') {
        return {{std::string(runtimeDir) + "/bus", false}};
    }
    return {};
}

std::optional<SessionBus> SessionBus::Open(const std::vector<SocketAddress>& addresses,
                                           Clock::time_point deadline,
                                           const Diagnostics& diagnostics) {
    for (const SocketAddress& address : addresses) {
        const std::string where = (address.abstract ? "@" : "") + address.name;
        std::string why;
        std::optional<PeerSocket> socket = PeerSocket::Connect(address, deadline, &why);
        if (!socket) {
            diagnostics.Failed(Peer::SessionBus, "connecting to " + where, why);
            continue;
        }
        SessionBus bus(std::move(*socket));
        if (!bus.Authenticate(deadline, why)) {
            diagnostics.Failed(Peer::SessionBus, "authenticating at " + where, why);
            continue;
        }
        // The bus answers nobody who has not said hello.
        if (const Reply hello = bus.Call({kHello}, deadline).front(); !hello.value) {
            diagnostics.Failed(Peer::SessionBus, "saying hello at " + where, hello.why);
            continue;
        }
        return bus;
    }
    if (addresses.empty()) {
        diagnostics.Failed(Peer::SessionBus, "finding it", "its address names no local socket");
    }
    return std::nullopt;
}

bool SessionBus::ReceiveMore(Clock::time_point deadline, std::string& why) {
    const std::size_t before = m_received.size();
    if (m_read >= kReadBudget) {
        why = "too long: more than " + std::to_string(kReadBudget) + " bytes in all";
        return false;
    }
    if (!m_socket.Receive(m_received, before + (kReadBudget - m_read), deadline, &why)) {
        return false;
    }
    m_read += m_received.size() - before;
    return true;
}

bool SessionBus::Authenticate(Clock::time_point deadline, std::string& why) {
    // The peer's credentials speak for this user; the bus says OK and its id.
    const std::string uid = std::to_string(getuid());
    if (!m_socket.Send(std::string(1, '\0') + "AUTH EXTERNAL " + Hex(uid) + "\r\n", deadline,
                       &why)) {
        return false;
    }
    std::size_t end = std::string::npos;
    while ((end = m_received.find("\r\n")) == std::string::npos) {
        if (!ReceiveMore(deadline, why)) {
            if (!m_received.empty()) {
                why = "an answer of " + std::to_string(m_received.size()) +
                      " bytes without a line end, then " + why;
            }
            return false;
        }
    }
    const bool accepted = m_received.rfind("OK ", 0) == 0;
    if (!accepted) {
        why = "refused: " + m_received.substr(0, std::min<std::size_t>(end, 80));
    }
    m_received.erase(0, end + 2);
    return accepted && m_socket.Send("BEGIN\r\n", deadline, &why);
}

std::vector<SessionBus::Reply> SessionBus::Call(const std::vector<dbus::MethodCall>& calls,
                                                Clock::time_point deadline) {
    std::vector<std::uint32_t> serials;
    std::string bytes;
    for (const dbus::MethodCall& call : calls) {
        serials.push_back(++m_serial);
        bytes += dbus::Marshal(call, m_serial);
    }
    std::vector<Reply> replies(calls.size());
    std::string why;
    if (m_socket.Send(bytes, deadline, &why)) {
        AwaitReplies(serials, replies, deadline);
    } else {
        for (Reply& reply : replies) {
            reply.why = "sending the call: " + why;
        }
    }
    return replies;
}

void SessionBus::AwaitReplies(const std::vector<std::uint32_t>& serials,
                              std::vector<Reply>& replies, Clock::time_point deadline) {
    std::vector<bool> answered(serials.size());
    const auto giveUp = [&](const std::string& why) {
        for (std::size_t i = 0; i < replies.size(); ++i) {
            if (!answered[i]) {
                replies[i].why = why;
            }
        }
    };
    while (std::find(answered.begin(), answered.end(), false) != answered.end()) {
        const std::optional<std::size_t> length = dbus::MessageLength(m_received, kReadBudget);
        if (length == std::size_t{0}) {
            const bool tooLong =
                dbus::MessageLength(m_received, std::numeric_limits<std::size_t>::max()) !=
                std::size_t{0};
            return giveUp(tooLong ? "a message too long: more than 64 KiB"
                                  : "not a message: no D-Bus header");
        }
        if (!length || m_received.size() < *length) {
            if (std::string why; !ReceiveMore(deadline, why)) {
                return giveUp(why);
            }
            continue;
        }
        std::string why;
        const std::optional<dbus::Message> message =
            dbus::Parse(std::string_view(m_received).substr(0, *length), &why);
        if (!message) {
            return giveUp("a malformed message: " + why);
        }
        // Replies to these calls; signals (NameAcquired) and anything else pass by.
        const auto serial = std::find(serials.begin(), serials.end(), message->replySerial);
        const bool reply =
            message->type == dbus::MessageType::Return || message->type == dbus::MessageType::Error;
        if (reply && message->replySerial != 0 && serial != serials.end()) {
            const auto index = static_cast<std::size_t>(serial - serials.begin());
            answered[index] = true;
            if (message->type == dbus::MessageType::Error) {
                const std::optional<dbus::Value> text = dbus::FirstArgument(*message);
                replies[index].why = "an error: " + message->errorName +
                                     (text ? " (" + text->text + ")" : std::string());
            } else if (!(replies[index].value = dbus::FirstArgument(*message))) {
                replies[index].why = "a reply without one basic value";
            }
        }
        m_received.erase(0, *length);
    }
}

} // namespace pardolin::linux_backend
