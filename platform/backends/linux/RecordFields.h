// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

#include <array>
#include <cstdint>
#include <string_view>

// How the capability record's fields are filled from what Linux tells: by the sound
// server's sinks and by the kernel's cards alike.
namespace pardolin::linux_backend {

// dwFormats: bit i is rate (11.025, 22.05, 44.1 kHz) * 4 + 16-bit * 2 + stereo; all twelve.
constexpr std::int32_t StandardFormatBit(int rate, int sixteenBit, int stereo) {
    return std::int32_t{1} << (rate * 4 + sixteenBit * 2 + stereo);
}
inline constexpr std::int32_t kAllStandardFormats = 0x0FFF;

// dwSupport: the optional functions a Linux device can have.
inline constexpr std::int32_t kVolumeControl = 4;
inline constexpr std::int32_t kLeftRightVolume = 8;

// A device name as the capability record holds it: at most 31 characters, then NULs. A
// NUL inside the name ends it there, as it would in the platform's record.
std::array<char32_t, 32> NameField(const Text& name);

// Parses "major.minor[.anything]" into major * 256 + minor; 0 when there is no number.
std::int32_t VersionNumber(std::string_view version);

} // namespace pardolin::linux_backend
