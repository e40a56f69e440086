// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pardolin::linux_backend {

// What the environment tells of the session, read in one place, on the program's main
// thread, and handed down to whatever asks the session's peers: the threads those
// conversations run on never read the environment themselves (a setenv beside a getenv on
// another thread is undefined behaviour in glibc).
struct SessionEnvironment {
    std::optional<std::string> busAddress;    // DBUS_SESSION_BUS_ADDRESS
    std::string runtimeDir;                   // XDG_RUNTIME_DIR
    std::string display;                      // DISPLAY
    std::string waylandDisplay;               // WAYLAND_DISPLAY
    std::optional<std::string> waylandSocket; // WAYLAND_SOCKET: a connection handed over
    std::string currentDesktop;               // XDG_CURRENT_DESKTOP, a list like "ubuntu:GNOME"
    std::string home;                         // HOME when it names a folder, otherwise the
                                              // password database's
    std::string configHome;                   // XDG_CONFIG_HOME
    std::string configDirs;                   // XDG_CONFIG_DIRS
    std::optional<std::string> pulseServer;   // PULSE_SERVER
    std::optional<std::string> pulseCookie;   // PULSE_COOKIE

    // The environment of this process, now.
    static SessionEnvironment OfThisProcess();

    // XDG_CONFIG_HOME when it is absolute, otherwise ~/.config; empty without a home.
    std::string UserConfigDir() const;
    // The absolute folders of XDG_CONFIG_DIRS, in order; /etc/xdg when it names none.
    std::vector<std::string> SystemConfigDirs() const;
    // Whether XDG_CURRENT_DESKTOP names `desktop`.
    bool DesktopIs(std::string_view desktop) const;
};

} // namespace pardolin::linux_backend
