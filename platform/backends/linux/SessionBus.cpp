// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/SessionBus.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <sstream>

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
    std::istringstream entries{std::string(busAddress)};
    for (std::string entry; std::getline(entries, entry, ';');) {
        const std::string kind = entry.substr(0, entry.find(':'));
        if (kind != "autolaunch") {
            parsed.withoutAutolaunch += (parsed.withoutAutolaunch.empty() ? "" : ";") + entry;
        }
        if (kind == "tcp" || kind == "nonce-tcp" || kind == "unixexec") {
            parsed.othersToTry = true;
        }
        if (kind != "unix" || entry.size() == kind.size()) {
            continue;
        }
        std::istringstream pairs(entry.substr(5));
        for (std::string pair; std::getline(pairs, pair, ',');) {
            const std::size_t equals = pair.find('=');
            const std::string key = pair.substr(0, equals);
            const auto value = equals == std::string::npos
                                   ? std::nullopt
                                   : Unescaped(std::string_view(pair).substr(equals + 1));
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
                                           Clock::time_point deadline) {
    for (const SocketAddress& address : addresses) {
        std::optional<PeerSocket> socket = PeerSocket::Connect(address, deadline);
        if (!socket) {
            continue;
        }
        SessionBus bus(std::move(*socket));
        // The bus answers nobody who has not said hello.
        if (bus.Authenticate(deadline) && bus.Call({kHello}, deadline).front()) {
            return bus;
        }
    }
    return std::nullopt;
}

bool SessionBus::ReceiveMore(Clock::time_point deadline) {
    const std::size_t before = m_received.size();
    if (m_read >= kReadBudget ||
        !m_socket.Receive(m_received, before + (kReadBudget - m_read), deadline)) {
        return false;
    }
    m_read += m_received.size() - before;
    return true;
}

bool SessionBus::Authenticate(Clock::time_point deadline) {
    // The peer's credentials speak for this user; the bus says OK and its id.
    const std::string uid = std::to_string(getuid());
    if (!m_socket.Send(std::string(1, '\0') + "AUTH EXTERNAL " + Hex(uid) + "\r\n", deadline)) {
        return false;
    }
    std::size_t end = std::string::npos;
    while ((end = m_received.find("\r\n")) == std::string::npos) {
        if (!ReceiveMore(deadline)) {
            return false;
        }
    }
    const bool accepted = m_received.rfind("OK ", 0) == 0;
    m_received.erase(0, end + 2);
    return accepted && m_socket.Send("BEGIN\r\n", deadline);
}

std::vector<std::optional<dbus::Value>> SessionBus::Call(const std::vector<dbus::MethodCall>& calls,
                                                         Clock::time_point deadline) {
    std::vector<std::uint32_t> serials;
    std::string bytes;
    for (const dbus::MethodCall& call : calls) {
        serials.push_back(++m_serial);
        bytes += dbus::Marshal(call, m_serial);
    }
    std::vector<std::optional<dbus::Value>> answers(calls.size());
    if (m_socket.Send(bytes, deadline)) {
        AwaitReplies(serials, answers, deadline);
    }
    return answers;
}

void SessionBus::AwaitReplies(const std::vector<std::uint32_t>& serials,
                              std::vector<std::optional<dbus::Value>>& answers,
                              Clock::time_point deadline) {
    std::vector<bool> answered(serials.size());
    while (std::find(answered.begin(), answered.end(), false) != answered.end()) {
        const std::optional<std::size_t> length = dbus::MessageLength(m_received, kReadBudget);
        if (length == std::size_t{0}) {
            return;
        }
        if (!length || m_received.size() < *length) {
            if (!ReceiveMore(deadline)) {
                return;
            }
            continue;
        }
        const std::optional<dbus::Message> message =
            dbus::Parse(std::string_view(m_received).substr(0, *length));
        if (!message) {
            return;
        }
        // Replies to these calls; signals (NameAcquired) and anything else pass by.
        const auto serial = std::find(serials.begin(), serials.end(), message->replySerial);
        const bool reply =
            message->type == dbus::MessageType::Return || message->type == dbus::MessageType::Error;
        if (reply && message->replySerial != 0 && serial != serials.end()) {
            const auto index = static_cast<std::size_t>(serial - serials.begin());
            answered[index] = true;
            if (message->type == dbus::MessageType::Return) {
                answers[index] = dbus::FirstArgument(*message);
            }
        }
        m_received.erase(0, *length);
    }
}

} // namespace pardolin::linux_backend
