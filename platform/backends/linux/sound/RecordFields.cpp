// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/sound/RecordFields.h"

#include <algorithm>
#include <charconv>

namespace pardolin::linux_backend {

std::array<char32_t, 32> NameField(const Text& name) {
    std::array<char32_t, 32> field{};
    const std::size_t length = std::min(name.size(), field.size() - 1);
    std::copy_n(name.begin(), length, field.begin());
    return field;
}

std::int16_t HexId(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value > 0xFFFF) {
        return 0;
    }
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

std::int32_t VersionNumber(std::string_view version) {
    const auto parse = [&version](std::int32_t& into) {
        const auto [end, error] =
            std::from_chars(version.data(), version.data() + version.size(), into);
        if (error != std::errc()) {
            return false;
        }
        version.remove_prefix(static_cast<std::size_t>(end - version.data()));
        return true;
    };
    std::int32_t major = 0;
    std::int32_t minor = 0;
    if (!parse(major) || major < 0 || major > 0x7FFFFF) {
        return 0;
    }
    if (!version.empty() && version.front() == '.') {
        version.remove_prefix(1);
        if (!parse(minor) || minor < 0 || minor > 255) {
            minor = 0;
        }
    }
    return major * 256 + minor;
}

} // namespace pardolin::linux_backend
