// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/PeerSocket.h"

#include "platform/Diagnostics.h"
#include "platform/backends/linux/Deadline.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstring>

namespace pardolin::linux_backend {
namespace {

void Say(std::string* why, std::string reason) {
    if (why) {
        *why = std::move(reason);
    }
}

} // namespace

std::optional<PeerSocket> PeerSocket::Connect(const SocketAddress& address,
                                              Clock::time_point deadline, std::string* why) {
    const Clock::time_point start = Clock::now();
    sockaddr_un peer{};
    peer.sun_family = AF_UNIX;
    // An abstract name starts with a NUL; a path must leave room for its own.
    const std::size_t offset = address.abstract ? 1 : 0;
    if (address.name.empty() || address.name.size() + offset >= sizeof peer.sun_path) {
        Say(why, "a name no socket can have");
        return std::nullopt;
    }
    std::memcpy(peer.sun_path + offset, address.name.data(), address.name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                               address.name.size() + (address.abstract ? 0 : 1));
    PeerSocket socket(
        FileDescriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)));
    if (!socket.m_fd.Valid()) {
        Say(why, std::strerror(errno));
        return std::nullopt;
    }
    if (connect(socket.Get(), reinterpret_cast<const sockaddr*>(&peer), length) == 0) {
        return socket;
    }
    switch (errno) {
    case EINPROGRESS:
        break;
    case ENOENT:
    case ECONNREFUSED:
        Say(why, errno == ENOENT ? "no such socket" : "refused");
        return std::nullopt;
    case EAGAIN:
        // A full queue of connections answers at once: the peer takes no one, and waiting
        // would be the very wait this class exists to avoid.
        Say(why, "takes no connection: its queue is full");
        return std::nullopt;
    default:
        Say(why, std::strerror(errno));
        return std::nullopt;
    }
    if (!socket.WaitFor(POLLOUT, deadline)) {
        Say(why, NoAnswerAfter(Clock::now() - start));
        return std::nullopt;
    }
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
        Say(why, std::strerror(error != 0 ? error : errno));
        return std::nullopt;
    }
    return socket;
}

bool PeerSocket::WaitFor(short events, Clock::time_point deadline) const {
    while (true) {
        const int left = MillisecondsUntil(deadline);
        pollfd ready{m_fd.Get(), events, 0};
        const int result = poll(&ready, 1, left);
        if (result > 0) {
            return true;
        }
        if (result == 0 || errno != EINTR) {
            return false;
        }
    }
}

bool PeerSocket::Send(std::string_view bytes, Clock::time_point deadline, std::string* why) {
    const Clock::time_point start = Clock::now();
    while (!bytes.empty()) {
        const ssize_t sent = send(m_fd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!WaitFor(POLLOUT, deadline)) {
                Say(why, "takes nothing more: " + NoAnswerAfter(Clock::now() - start));
                return false;
            }
        } else {
            Say(why, errno == EPIPE ? "closed the connection" : std::strerror(errno));
            return false;
        }
    }
    return true;
}

bool PeerSocket::Receive(std::string& into, std::size_t limit, Clock::time_point deadline,
                         std::string* why) {
    const Clock::time_point start = Clock::now();
    while (into.size() < limit) {
        char buffer[4096];
        const std::size_t room = std::min(sizeof buffer, limit - into.size());
        const ssize_t got = recv(m_fd.Get(), buffer, room, 0);
        if (got > 0) {
            into.append(buffer, static_cast<std::size_t>(got));
            return true;
        }
        if (got == 0) {
            Say(why, "closed the connection");
            return false;
        }
        if (errno != EAGAIN && errno != EINTR) {
            Say(why, std::strerror(errno));
            return false;
        }
        if (!WaitFor(POLLIN, deadline)) {
            Say(why, NoAnswerAfter(Clock::now() - start));
            return false;
        }
    }
    Say(why, "too long: more than " + std::to_string(limit) + " bytes");
    return false;
}

} // namespace pardolin::linux_backend
