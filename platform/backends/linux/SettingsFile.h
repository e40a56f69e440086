// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pardolin::linux_backend {

// The text of a small settings file: only a regular file (symbolic links followed) of at
// most 64 KiB is read, without ever blocking. A FIFO, a device or anything larger gives
// nullopt, as does a file that cannot be opened.
std::optional<std::string> ReadSettingsFile(const std::string& path);

// The user's home directory: HOME when it names one, otherwise the password database's.
std::string HomeDir();

// XDG_CONFIG_HOME when it is absolute, otherwise ~/.config.
std::string UserConfigDir();

// The absolute folders of XDG_CONFIG_DIRS, in order; /etc/xdg when it names none.
std::vector<std::string> SystemConfigDirs();

} // namespace pardolin::linux_backend
