// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pardolin::linux_backend {

// The integer settings of an _XSETTINGS_SETTINGS property, by name. Strings and colours are
// skipped. Returns nullopt when the data is malformed or cut short.
std::optional<std::map<std::string, std::int32_t>> ParseXSettingsIntegers(std::string_view data);

} // namespace pardolin::linux_backend
