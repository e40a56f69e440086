// SPDX-License-Identifier: GPL-3.0-or-later
// What this process holds now, for the tests that check that use leaves nothing behind.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace pardolin::testing {

inline int EntriesOf(const char* directory) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) {
        ++count;
    }
    return count;
}

inline int ThreadCount() {
    return EntriesOf("/proc/self/task");
}

inline int DescriptorCount() {
    return EntriesOf("/proc/self/fd");
}

// Resident memory in KiB.
inline long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

// The playback devices the kernel lists, read from /proc independently of alsa-lib.
inline unsigned KernelPlaybackDevices() {
    unsigned count = 0;
    std::error_code error;
    for (const auto& card : std::filesystem::directory_iterator("/proc/asound", error)) {
        const std::string name = card.path().filename().string();
        if (!name.starts_with("card") || name.size() == 4 ||
            name.find_first_not_of("0123456789", 4) != std::string::npos) {
            continue;
        }
        for (const auto& pcm : std::filesystem::directory_iterator(card.path(), error)) {
            const std::string device = pcm.path().filename().string();
            count += device.starts_with("pcm") && device.ends_with("p");
        }
    }
    return count;
}

} // namespace pardolin::testing
