// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

#include <string>

namespace pardolin::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the platform's wide characters are UTF-16");

// The core's text for the platform's wide-character calls: the one place it is converted.
inline std::wstring Wide(std::u32string_view text) {
    const std::u16string units = ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

} // namespace pardolin::win32
