// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/WaylandConnection.h"
#include "platform/backends/linux/WaylandModule.h"

#include <fcntl.h>

namespace pardolin::linux_backend {

std::optional<CompositorAnswer> AskCompositor(const ToolkitCompositor& compositor,
                                              std::chrono::steady_clock::time_point deadline) {
    using Progress = WaylandConnection::Progress;
    if (compositor.handedSocket >= 0) {
        // The sync's callback is gone again once answered, as the compositor says
        // (delete_id); the toolkit then starts on the connection as if it were new.
        const int copy = fcntl(compositor.handedSocket, F_DUPFD_CLOEXEC, 0);
        const std::unique_ptr<WaylandConnection> connection =
            copy >= 0 ? WaylandConnection::FromDescriptor(copy) : nullptr;
        if (!connection || connection->Step(deadline) != Progress::Answered) {
            return std::nullopt;
        }
        return CompositorAnswer{};
    }
    std::optional<PeerSocket> socket =
        compositor.address ? PeerSocket::Connect(*compositor.address, deadline) : std::nullopt;
    const std::unique_ptr<WaylandConnection> connection =
        socket ? WaylandConnection::FromDescriptor(socket->Release()) : nullptr;
    std::optional<std::vector<std::string>> globals =
        connection ? CompositorGlobals(*connection, deadline) : std::nullopt;
    if (!globals) {
        return std::nullopt;
    }
    return CompositorAnswer{std::move(globals)};
}

} // namespace pardolin::linux_backend
