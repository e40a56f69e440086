// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/KeyboardReport.h"

#include <array>

namespace pardolin {
namespace {

constexpr char32_t kUnknown[] = U"未知";

constexpr std::array<const char32_t*, 7> kTypeNames{
    U"PC or compatible 83-key keyboard",
    U"Olivetti 102-key keyboard",
    U"AT or compatible 84-key keyboard",
    U"Enhanced(IBM) 101-102-key keyboard",
    U"Nokia 1050 keyboard",
    U"Nokia 9140 keyboard",
    U"Japanese keyboard",
};

} // namespace

Text KeyboardTypeName(std::int32_t typeCode) {
    if (typeCode < 1 || typeCode > static_cast<std::int32_t>(kTypeNames.size())) {
        return {};
    }
    return kTypeNames[static_cast<std::size_t>(typeCode - 1)];
}

Text KeyboardTypeLine(std::optional<std::int32_t> typeCode) {
    const Text prefix = U"键盘的类型是  : ";
    return typeCode ? prefix + KeyboardTypeName(*typeCode) : prefix + kUnknown;
}

Text RepeatDelayLine(std::optional<std::int32_t> delaySetting) {
    const Text prefix = U"键盘重复延迟为   =  ";
    return delaySetting ? prefix + Decimal(*delaySetting) + U" 秒" : prefix + kUnknown;
}

Text RepeatRateLine(std::optional<std::int32_t> rateSetting) {
    const Text prefix = U"键盘的重复率  =  ";
    return rateSetting ? prefix + Decimal(*rateSetting) + U"字每分秒" : prefix + kUnknown;
}

Text CaretBlinkLine(std::uint32_t blinkMilliseconds) {
    const Text prefix = U"光标闪烁频率  =  ";
    if (blinkMilliseconds == 0) {
        return prefix + kUnknown;
    }
    // The platform hands the time over as a signed value, so "never blinks" (all bits set)
    // reads as -1, which is how users of this report have always seen it.
    return prefix + Decimal(static_cast<std::int32_t>(blinkMilliseconds)) + U"ms";
}

} // namespace pardolin
