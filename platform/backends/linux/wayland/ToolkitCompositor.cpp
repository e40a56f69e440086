// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/wayland/ToolkitCompositor.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace pardolin::linux_backend {

std::optional<SocketAddress> CompositorAddress(const char* display, const char* runtimeDir) {
    const std::string name = display && *display ? display : "wayland-0";
    if (name.front() == '/') {
        return SocketAddress{name, false};
    }
    if (!runtimeDir || *runtimeDir != '/') {
        return std::nullopt;
    }
    return SocketAddress{std::string(runtimeDir) + "/" + name, false};
}

ToolkitCompositor FindToolkitCompositor(const char* waylandSocket, const char* display,
                                        const char* runtimeDir) {
    if (!waylandSocket) {
        return {-1, CompositorAddress(display, runtimeDir)};
    }
    // As libwayland reads it: a whole decimal number, of a descriptor that is open.
    char* end = nullptr;
    errno = 0;
    const long fd = std::strtol(waylandSocket, &end, 10);
    if (errno != 0 || end == waylandSocket || *end != '\0' || fd < 0 || fd > 65535 ||
        fcntl(static_cast<int>(fd), F_GETFD) == -1) {
        return {};
    }
    return {static_cast<int>(fd), std::nullopt};
}

} // namespace pardolin::linux_backend
