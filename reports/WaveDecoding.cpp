// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/WaveDecoding.h"

#include <algorithm>
#include <array>
#include <utility>

namespace pardolin {
namespace {

using BitText = std::pair<std::int32_t, const char32_t*>;

constexpr std::array<BitText, 12> kFormats{{
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

// "Channals" is the spelling users of this report know; it is kept on purpose.
constexpr std::array<BitText, 5> kFunctions{{
    {1, U"Support Pitch"},
    {2, U"Support Playback"},
    {4, U"Support Volume Control"},
    {8, U"Support Left-Right Channals"},
    {16, U"Support Synchronization"},
}};

template <std::size_t N> Text Lookup(const std::array<BitText, N>& table, std::int32_t bit) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [bit](const BitText& entry) { return entry.first == bit; });
    return found == table.end() ? Text() : Text(found->second);
}

} // namespace

Text Listwaveformat(std::int32_t Aboutwave) {
    return Lookup(kFormats, Aboutwave);
}

Text Listwavesupport(std::int32_t Aboutwave) {
    return Lookup(kFunctions, Aboutwave);
}

} // namespace pardolin
