// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"
#include "platform/backends/linux/PeerSocket.h"
#include "platform/backends/linux/bus/DBusWire.h"

#include <chrono>
#include <optional>
#include <vector>

namespace pardolin::linux_backend {

// A session bus address (DBUS_SESSION_BUS_ADDRESS) as the program's own client reads it.
struct BusAddress {
    // Its unix:path= and unix:abstract= entries, in order: the ones this client speaks.
    std::vector<SocketAddress> sockets;
    // Whether it has entries this client does not speak but the toolkit's D-Bus library
    // does (tcp:, nonce-tcp:, unixexec:).
    bool othersToTry = false;
    // The address without its autolaunch: entries, which would start a bus.
    std::string withoutAutolaunch;
};
BusAddress ParseBusAddress(std::string_view busAddress);

// The session bus's local addresses, in order: the sockets of `busAddress` when it is set,
// otherwise `runtimeDir`/bus. Other kinds are left out: they could start a bus or wait on
// the network.
std::vector<SocketAddress> SessionBusAddresses(const char* busAddress, const char* runtimeDir);

// A conversation with the session bus in which every step (connecting, authenticating,
// saying hello, each call) is over by its deadline, and no more than 64 KiB are ever read:
// a bus or a service that stops answering, answers with junk or floods costs the deadline
// and no more.
class SessionBus {
  public:
    using Clock = std::chrono::steady_clock;

    // The answer to one call: the first argument of its reply (see dbus::FirstArgument), or
    // nothing, and then why (an error reply, a reply that does not parse, none by the
    // deadline).
    struct Reply {
        std::optional<dbus::Value> value;
        std::string why;
    };

    // Connected, authenticated and greeted by the bus; nullopt otherwise, which is told of
    // on the session bus's channel, each address's step and why.
    static std::optional<SessionBus> Open(const std::vector<SocketAddress>& addresses,
                                          Clock::time_point deadline,
                                          const Diagnostics& diagnostics = {});

    // Sends the calls at once and waits for their replies.
    std::vector<Reply> Call(const std::vector<dbus::MethodCall>& calls, Clock::time_point deadline);

  private:
    explicit SessionBus(PeerSocket socket) : m_socket(std::move(socket)) {}
    bool Authenticate(Clock::time_point deadline, std::string& why);
    // Reads until each of `serials` (calls sent with them) has had its reply, put in
    // `replies`; gives up at the deadline, or when the bus breaks the protocol or floods,
    // saying why in each reply not had.
    void AwaitReplies(const std::vector<std::uint32_t>& serials, std::vector<Reply>& replies,
                      Clock::time_point deadline);
    // Reads more of what the bus sends, within what is left of the conversation's budget.
    bool ReceiveMore(Clock::time_point deadline, std::string& why);

    PeerSocket m_socket;
    std::string m_received; // what has come in and is not yet taken
    std::size_t m_read = 0; // all that has come in
    std::uint32_t m_serial = 0;
};

} // namespace pardolin::linux_backend
