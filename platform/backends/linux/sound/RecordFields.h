// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

#include <array>
#include <cstdint>
#include <string_view>

// How the capability record's fields are filled from what Linux tells: by the sound
// server's sinks and by the kernel's cards alike.
namespace pardolin::linux_backend {

// A device name as the capability record holds it: at most 31 characters, then NULs. A
// NUL inside the name ends it there, as it would in the platform's record.
std::array<char32_t, 32> NameField(const Text& name);

// A hexadecimal identifier ("8086" or "0x8086") as the record's signed 16-bit field; 0 when
// the text is not a 16-bit hexadecimal number.
std::int16_t HexId(std::string_view text);

// Parses "major.minor[.anything]" into major * 256 + minor; 0 when there is no number.
std::int32_t VersionNumber(std::string_view version);

} // namespace pardolin::linux_backend
