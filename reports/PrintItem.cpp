// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/PrintItem.h"

#include <type_traits>

namespace pardolin {
namespace {

Text PrintedNumber(std::int64_t value) {
    Text text = value < 0 ? Text(U"-") : Text(U" ");
    text += Decimal(value < 0 ? -value : value);
    text += U' ';
    return text;
}

} // namespace

Text FormatLine(const PrintItems& items) {
    Text line;
    for (const PrintItem& item : items) {
        std::visit(
            [&line](const auto& value) {
                if constexpr (std::is_same_v<std::decay_t<decltype(value)>, Text>) {
                    line += value;
                } else {
                    line += PrintedNumber(value);
                }
            },
            item);
    }
    return line;
}

} // namespace pardolin
