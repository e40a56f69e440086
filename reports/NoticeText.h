// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace pardolin {

inline constexpr std::u32string_view kSiteAddress = U"pardol.in";

// The notice that every window shows at its foot; two windows end it with a line break.
inline constexpr std::u32string_view kNoticeText = U"简易工具，无需盗版。站点地址：pardol.in";
inline constexpr std::u32string_view kNoticeTextWithLineBreak =
    U"简易工具，无需盗版。站点地址：pardol.in\r\n";

static_assert(kNoticeText.ends_with(kSiteAddress));
static_assert(kNoticeTextWithLineBreak.substr(0, kNoticeText.size()) == kNoticeText &&
              kNoticeTextWithLineBreak.substr(kNoticeText.size()) == U"\r\n");

} // namespace pardolin
