// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/wayland/WaylandConnection.h"

#include "platform/backends/linux/Deadline.h"

#include <wayland-client.h>

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pardolin::linux_backend {

std::unique_ptr<WaylandConnection> WaylandConnection::FromDescriptor(int fd) {
    wl_display* display = wl_display_connect_to_fd(fd);
    if (!display) {
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<WaylandConnection>(new WaylandConnection(display));
}

WaylandConnection::~WaylandConnection() {
    if (m_pending) {
        wl_callback_destroy(m_pending);
    }
    wl_display_disconnect(m_display);
}

std::string WaylandConnection::Why() const {
    const int error = wl_display_get_error(m_display);
    return error == EPROTO ? "it broke the protocol"
                           : std::string("the connection broke: ") + std::strerror(error);
}

void WaylandConnection::OnStepDone(void* data, wl_callback* callback, std::uint32_t) {
    wl_callback_destroy(callback);
    static_cast<WaylandConnection*>(data)->m_pending = nullptr;
}

WaylandConnection::Progress WaylandConnection::Step(Clock::time_point deadline) {
    static const wl_callback_listener listener{OnStepDone};
    m_pending = wl_display_sync(m_display);
    wl_callback_add_listener(m_pending, &listener, this);
    return Finish(deadline);
}

WaylandConnection::Progress WaylandConnection::Finish(Clock::time_point deadline) {
    const int fd = wl_display_get_fd(m_display);
    while (m_pending) {
        while (wl_display_prepare_read(m_display) != 0) {
            if (wl_display_dispatch_pending(m_display) < 0) {
                return Progress::Broken;
            }
        }
        if (wl_display_flush(m_display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(m_display);
            return Progress::Broken;
        }
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, MillisecondsUntil(deadline)) <= 0) {
            wl_display_cancel_read(m_display);
            return Progress::Waiting;
        }
        if (wl_display_read_events(m_display) < 0 || wl_display_dispatch_pending(m_display) < 0) {
            return Progress::Broken;
        }
    }
    return Progress::Answered;
}

namespace {

void OnGlobal(void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
    static_cast<std::vector<std::string>*>(data)->emplace_back(interface);
}

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

} // namespace

std::optional<std::vector<std::string>>
CompositorGlobals(WaylandConnection& connection, std::chrono::steady_clock::time_point deadline) {
    static const wl_registry_listener listener{OnGlobal, OnGlobalRemove};
    std::vector<std::string> globals;
    wl_registry* registry = wl_display_get_registry(connection.Display());
    wl_registry_add_listener(registry, &listener, &globals);
    const WaylandConnection::Progress progress = connection.Step(deadline);
    wl_registry_destroy(registry);
    if (progress != WaylandConnection::Progress::Answered) {
        return std::nullopt;
    }
    return globals;
}

} // namespace pardolin::linux_backend
