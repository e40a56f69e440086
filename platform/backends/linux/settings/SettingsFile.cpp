// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/settings/SettingsFile.h"

#include "platform/backends/linux/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pardolin::linux_backend {

std::optional<std::string> ReadSettingsFile(const std::string& path, std::string* why,
                                            std::size_t limit) {
    const auto refuse = [why](std::string reason) -> std::optional<std::string> {
        if (why) {
            *why = std::move(reason);
        }
        return std::nullopt;
    };
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.Valid()) {
        // A file that is not there is no fault of anyone's.
        return errno == ENOENT || errno == ENOTDIR ? std::nullopt : refuse(std::strerror(errno));
    }
    struct stat status {};
    if (fstat(file.Get(), &status) != 0) {
        return refuse(std::strerror(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return refuse("not a regular file");
    }
    const auto tooLarge = [limit] { return "larger than " + std::to_string(limit) + " bytes"; };
    if (static_cast<std::size_t>(status.st_size) > limit) {
        return refuse(tooLarge());
    }
    // One byte more than allowed tells a file that grew since fstat.
    std::string text(limit + 1, '\0');
    std::size_t length = 0;
    while (length < text.size()) {
        const ssize_t got = read(file.Get(), text.data() + length, text.size() - length);
        if (got < 0) {
            return refuse(std::strerror(errno));
        }
        if (got == 0) {
            break;
        }
        length += static_cast<std::size_t>(got);
    }
    if (length > limit) {
        return refuse(tooLarge() + " as it was read");
    }
    text.resize(length);
    return text;
}

} // namespace pardolin::linux_backend
