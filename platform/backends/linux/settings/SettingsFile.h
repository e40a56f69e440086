// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace pardolin::linux_backend {

// Far above any real keyboard, GTK or LXQt settings file.
inline constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

// The text of a small settings file: only a regular file (symbolic links followed) of at
// most `limit` bytes is read, without ever blocking. A FIFO, a device or anything larger,
// also one that grows past the limit as it is read, gives nullopt, as does a file that
// cannot be opened; `why`, when given, then says why, unless the file is simply not there.
std::optional<std::string> ReadSettingsFile(const std::string& path, std::string* why = nullptr,
                                            std::size_t limit = kMaxSettingsBytes);

} // namespace pardolin::linux_backend
