// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

namespace pardolin {

// One capability bit and the report line that names it.
using BitText = std::pair<std::int32_t, std::u32string_view>;

// The standard formats of dwFormats, bit by rising bit: rate, channels, sample size and
// data rate.
inline constexpr std::array<BitText, 12> kFormatLines{{
    {1, U"11.025Khz,Mono,8bit,11Kb/Ps"},
    {2, U"11.025Khz,Stereo,8bit,22Kb/Ps"},
    {4, U"11.025Khz,Mono,16bit,22Kb/Ps"},
    {8, U"11.025Khz,Stereo,16bit,43Kb/Ps"},
    {16, U"22.05Khz,Mono,8bit,22Kb/Ps"},
    {32, U"22.05Khz,Stereo,8bit,43Kb/Ps"},
    {64, U"22.05Khz,Mono,16bit,43Kb/Ps"},
    {128, U"22.05Khz,Stereo,16bit,86Kb/Ps"},
    {256, U"44.1Khz,Mono,8bit,43Kb/Ps"},
    {512, U"44.1Khz,Stereo,8bit,86Kb/Ps"},
    {1024, U"44.1Khz,Mono,16bit,86Kb/Ps"},
    {2048, U"44.1Khz,Stereo,16bit,172Kb/Ps"},
}};

// The optional functions of dwSupport, bit by rising bit. "Channals" is the spelling users
// of this report know; it is kept on purpose.
inline constexpr std::array<BitText, 5> kSupportLines{{
    {1, U"Support Pitch"},
    {2, U"Support Playback"},
    {4, U"Support Volume Control"},
    {8, U"Support Left-Right Channals"},
    {16, U"Support Synchronization"},
}};

// The report line of one standard-format bit of dwFormats; empty for any other value,
// including 0 and values with more than one bit set.
Text Listwaveformat(std::int32_t Aboutwave);

// The report line of one optional-function bit of dwSupport; empty for any other value.
Text Listwavesupport(std::int32_t Aboutwave);

} // namespace pardolin
