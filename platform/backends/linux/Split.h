// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

namespace pardolin::linux_backend {

// The parts of `text` between each `separator`, empty ones too; none for an empty text, and
// no empty last part after a closing separator. A string stream would do the same, but its
// locale costs every start of the program some hundred kilobytes of memory.
inline std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (!text.empty()) {
        const std::size_t end = text.find(separator);
        parts.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return parts;
}

} // namespace pardolin::linux_backend
