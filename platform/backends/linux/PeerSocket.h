// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/FileDescriptor.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace pardolin::linux_backend {

// A local socket's address: a path, or a name in the abstract namespace.
struct SocketAddress {
    std::string name;
    bool abstract = false;
};

// A connection to a local peer that may misbehave (stopped, silent, flooding): connected
// without blocking, even when the peer's queue of connections is full, and every write and
// read waits at most until its deadline.
class PeerSocket {
  public:
    using Clock = std::chrono::steady_clock;

    // nullopt when the peer cannot be reached by `deadline`. Each failure says why in `why`
    // (no such socket, refused, no answer after ..., too long), when it is given.
    static std::optional<PeerSocket>
    Connect(const SocketAddress& address, Clock::time_point deadline, std::string* why = nullptr);

    // Writes all of `bytes`; false when the peer does not take them by `deadline`.
    bool Send(std::string_view bytes, Clock::time_point deadline, std::string* why = nullptr);
    // Appends what the peer has sent, at least one byte, to `into`, which never grows past
    // `limit`; false at the deadline, at the end of the stream, or at the limit.
    bool Receive(std::string& into, std::size_t limit, Clock::time_point deadline,
                 std::string* why = nullptr);

    int Get() const { return m_fd.Get(); }
    // Hands the descriptor over to a library that closes it itself.
    int Release() { return m_fd.Release(); }

  private:
    explicit PeerSocket(FileDescriptor fd) : m_fd(std::move(fd)) {}
    bool WaitFor(short events, Clock::time_point deadline) const;

    FileDescriptor m_fd;
};

} // namespace pardolin::linux_backend
