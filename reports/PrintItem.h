// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

#include <cstdint>
#include <variant>
#include <vector>

namespace pardolin {

// One item of a printed line: a text, or a signed 16- or 32-bit number.
using PrintItem = std::variant<Text, std::int16_t, std::int32_t>;
using PrintItems = std::vector<PrintItem>;
using ReportLines = std::vector<PrintItems>;

// Joins the items with nothing between them. Texts are written unchanged; a number gets a
// sign position before it (a space, or "-") and one space after it.
Text FormatLine(const PrintItems& items);

} // namespace pardolin
