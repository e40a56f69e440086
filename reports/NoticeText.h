// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

namespace pardolin {

inline constexpr char32_t kSiteAddress[] = U"pardol.in";

// The notice that every window shows at its foot.
inline Text NoticeText() {
    return Text(U"简易工具，无需盗版。站点地址：") + kSiteAddress;
}

} // namespace pardolin
