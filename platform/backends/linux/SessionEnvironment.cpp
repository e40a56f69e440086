// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/SessionEnvironment.h"

#include "platform/backends/linux/Split.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace pardolin::linux_backend {
namespace {

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') {
        return home;
    }
    const long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir == '/') {
        return found->pw_dir;
    }
    return {};
}

} // namespace

SessionEnvironment SessionEnvironment::OfThisProcess() {
    return {.busAddress = Variable("DBUS_SESSION_BUS_ADDRESS"),
            .runtimeDir = Variable("XDG_RUNTIME_DIR").value_or(""),
            .display = Variable("DISPLAY").value_or(""),
            .waylandDisplay = Variable("WAYLAND_DISPLAY").value_or(""),
            .waylandSocket = Variable("WAYLAND_SOCKET"),
            .currentDesktop = Variable("XDG_CURRENT_DESKTOP").value_or(""),
            .home = HomeFolder(),
            .configHome = Variable("XDG_CONFIG_HOME").value_or(""),
            .configDirs = Variable("XDG_CONFIG_DIRS").value_or(""),
            .pulseServer = Variable("PULSE_SERVER"),
            .pulseCookie = Variable("PULSE_COOKIE")};
}

std::string SessionEnvironment::UserConfigDir() const {
    if (configHome.starts_with('/')) {
        return configHome;
    }
    return home.empty() ? std::string() : home + "/.config";
}

std::vector<std::string> SessionEnvironment::SystemConfigDirs() const {
    std::vector<std::string> dirs;
    for (const std::string_view dir : Split(configDirs, ':')) {
        if (dir.starts_with('/')) {
            dirs.emplace_back(dir);
        }
    }
    if (dirs.empty()) {
        dirs.emplace_back("/etc/xdg");
    }
    return dirs;
}

bool SessionEnvironment::DesktopIs(std::string_view desktop) const {
    for (const std::string_view name : Split(currentDesktop, ':')) {
        if (name == desktop) {
            return true;
        }
    }
    return false;
}

} // namespace pardolin::linux_backend
