// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemQueries.h"

#include <cstdint>

// The keyboard calls of user32, in the program's own types.
namespace pardolin::Keyboard {

std::int32_t GetKeyboardType(std::int32_t typeFlag);
// Writes the 32-bit setting into value; false (value untouched) when the call fails.
bool SystemParametersInfoA(SystemParameter action, std::uint32_t param, std::int32_t& value,
                           std::uint32_t winIni);
std::uint32_t GetCaretBlinkTime();

} // namespace pardolin::Keyboard
