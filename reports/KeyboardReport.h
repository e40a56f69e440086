// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

#include <cstdint>
#include <optional>

namespace pardolin {

// The name of a keyboard type code from GetKeyboardType(0); empty for unknown codes.
Text KeyboardTypeName(std::int32_t typeCode);

// The four lines of the keyboard report. A fact that could not be read is passed as nullopt
// (for the caret: a blink time of 0) and shown as unknown rather than as a number or a
// name; a type code the table does not know shows an empty name.
Text KeyboardTypeLine(std::optional<std::int32_t> typeCode);
Text RepeatDelayLine(std::optional<std::int32_t> delaySetting);
Text RepeatRateLine(std::optional<std::int32_t> rateSetting);
Text CaretBlinkLine(std::uint32_t blinkMilliseconds);

} // namespace pardolin
