// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace pardolin {

// The commands of the context menus: copy (the selection, or all of it) and select all.
// The report surface offers the first in both front ends; the keyboard lines of the Qt
// front end offer both.
inline constexpr std::u32string_view kCopyCommand = U"复制";
inline constexpr std::u32string_view kSelectAllCommand = U"全选";

} // namespace pardolin
