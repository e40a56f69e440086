// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace pardolin {

// The commands of the context menus of the report surface and the keyboard lines, in both
// front ends: copy (the selection, or all of it) and select all. Opened from the keyboard,
// a menu has its first command selected.
inline constexpr std::u32string_view kCopyCommand = U"复制";
inline constexpr std::u32string_view kSelectAllCommand = U"全选";

} // namespace pardolin
