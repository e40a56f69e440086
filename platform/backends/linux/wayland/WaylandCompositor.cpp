// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/wayland/WaylandConnection.h"
#include "platform/backends/linux/wayland/WaylandModule.h"

#include <fcntl.h>

namespace pardolin::linux_backend {

std::optional<CompositorAnswer> AskCompositor(const ToolkitCompositor& compositor,
                                              std::chrono::steady_clock::time_point deadline,
                                              const Diagnostics& diagnostics) {
    using Progress = WaylandConnection::Progress;
    const auto start = std::chrono::steady_clock::now();
    const auto failed = [&](const std::string& step,
                            const std::string& why) -> std::optional<CompositorAnswer> {
        diagnostics.Failed(Peer::Compositor, "at start-up, " + step, why);
        return std::nullopt;
    };
    if (compositor.handedSocket >= 0) {
        // The sync's callback is gone again once answered, as the compositor says
        // (delete_id); the toolkit then starts on the connection as if it were new.
        const int copy = fcntl(compositor.handedSocket, F_DUPFD_CLOEXEC, 0);
        const std::unique_ptr<WaylandConnection> connection =
            copy >= 0 ? WaylandConnection::FromDescriptor(copy) : nullptr;
        if (!connection) {
            return failed("the connection handed over", "libwayland takes no connection");
        }
        switch (connection->Step(deadline)) {
        case Progress::Answered:
            return CompositorAnswer{};
        case Progress::Waiting:
            return failed("the connection handed over",
                          NoAnswerAfter(std::chrono::steady_clock::now() - start));
        case Progress::Broken:
            return failed("the connection handed over", connection->Why());
        }
    }
    if (!compositor.address) {
        return failed("finding it",
                      "WAYLAND_SOCKET names no open descriptor, or WAYLAND_DISPLAY no socket");
    }
    std::string why;
    std::optional<PeerSocket> socket = PeerSocket::Connect(*compositor.address, deadline, &why);
    const std::unique_ptr<WaylandConnection> connection =
        socket ? WaylandConnection::FromDescriptor(socket->Release()) : nullptr;
    if (!connection) {
        return failed("connecting to " + compositor.address->name,
                      socket ? "libwayland takes no connection" : why);
    }
    std::optional<std::vector<std::string>> globals = CompositorGlobals(*connection, deadline);
    if (!globals) {
        return failed("its globals", NoAnswerAfter(std::chrono::steady_clock::now() - start));
    }
    return CompositorAnswer{std::move(globals)};
}

} // namespace pardolin::linux_backend
