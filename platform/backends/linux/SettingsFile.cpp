// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/SettingsFile.h"

#include "platform/backends/linux/FileDescriptor.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace pardolin::linux_backend {
namespace {

// Far above any real keyboard or GTK settings file.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

} // namespace

std::optional<std::string> ReadSettingsFile(const std::string& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (!file.Valid() || fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::size_t>(status.st_size) > kMaxSettingsBytes) {
        return std::nullopt;
    }
    // One byte more than allowed tells a file that grew since fstat.
    std::string text(kMaxSettingsBytes + 1, '\0');
    std::size_t length = 0;
    while (length < text.size()) {
        const ssize_t got = read(file.Get(), text.data() + length, text.size() - length);
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        length += static_cast<std::size_t>(got);
    }
    if (length > kMaxSettingsBytes) {
        return std::nullopt;
    }
    text.resize(length);
    return text;
}

std::string HomeDir() {
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

std::string UserConfigDir() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
        return config;
    }
    const std::string home = HomeDir();
    return home.empty() ? std::string() : home + "/.config";
}

std::vector<std::string> SystemConfigDirs() {
    std::vector<std::string> dirs;
    const char* list = std::getenv("XDG_CONFIG_DIRS");
    for (const char* at = list ? list : ""; *at;) {
        const char* end = std::strchr(at, ':');
        const std::string dir(at, end ? end : at + std::strlen(at));
        if (dir.starts_with('/')) {
            dirs.push_back(dir);
        }
        at = end ? end + 1 : at + std::strlen(at);
    }
    if (dirs.empty()) {
        dirs.emplace_back("/etc/xdg");
    }
    return dirs;
}

} // namespace pardolin::linux_backend
