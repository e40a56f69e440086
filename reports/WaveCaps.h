// SPDX-License-Identifier: GPL-3.0-or-later
// The capability record of a wave output device and the meaning of its bits: what the
// system queries fill and the sound card report reads, written once for both.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace pardolin {

// The capability record of one wave output device, in the field order of the platform's
// WAVEOUTCAPSA. The name is a fixed field of 32 characters, normally ended by a NUL.
struct WaveCapsRecord {
    std::int16_t wMid = 0;
    std::int16_t wPid = 0;
    std::int32_t vDriverVersion = 0;
    std::array<char32_t, 32> szPname{};
    std::int32_t dwFormats = 0;
    std::int16_t wChannels = 0;
    std::int32_t dwSupport = 0;
};

// The size of the record as the platform counts it (2 + 2 + 4 + 32 + 4 + 2 + 4 bytes); the
// two alignment bytes before dwSupport are left out, so dwSupport's top two bytes stay zero.
inline constexpr std::uint32_t kWaveCapsRecordSize = 50;

// One standard format of dwFormats: its bit, what it plays, and the report's line for it,
// which names the rate, the channels, the sample size and the data rate.
struct StandardFormat {
    std::int32_t bit;
    unsigned rateHz;
    unsigned channels;
    unsigned bitsPerSample;
    std::u32string_view line;
};

// Bit by rising bit: 11.025, 22.05 and 44.1 kHz, each mono and stereo at 8 bits, then at 16.
inline constexpr std::array<StandardFormat, 12> kStandardFormats{{
    {1, 11025, 1, 8, U"11.025Khz,Mono,8bit,11Kb/Ps"},
    {2, 11025, 2, 8, U"11.025Khz,Stereo,8bit,22Kb/Ps"},
    {4, 11025, 1, 16, U"11.025Khz,Mono,16bit,22Kb/Ps"},
    {8, 11025, 2, 16, U"11.025Khz,Stereo,16bit,43Kb/Ps"},
    {16, 22050, 1, 8, U"22.05Khz,Mono,8bit,22Kb/Ps"},
    {32, 22050, 2, 8, U"22.05Khz,Stereo,8bit,43Kb/Ps"},
    {64, 22050, 1, 16, U"22.05Khz,Mono,16bit,43Kb/Ps"},
    {128, 22050, 2, 16, U"22.05Khz,Stereo,16bit,86Kb/Ps"},
    {256, 44100, 1, 8, U"44.1Khz,Mono,8bit,43Kb/Ps"},
    {512, 44100, 2, 8, U"44.1Khz,Stereo,8bit,86Kb/Ps"},
    {1024, 44100, 1, 16, U"44.1Khz,Mono,16bit,86Kb/Ps"},
    {2048, 44100, 2, 16, U"44.1Khz,Stereo,16bit,172Kb/Ps"},
}};

// Every bit of the table: all that a device can accept.
inline constexpr std::int32_t kAllStandardFormats = [] {
    std::int32_t all = 0;
    for (const StandardFormat& format : kStandardFormats) {
        all |= format.bit;
    }
    return all;
}();

// The optional functions of dwSupport.
inline constexpr std::int32_t kPitchControl = 1;
inline constexpr std::int32_t kPlaybackRateControl = 2;
inline constexpr std::int32_t kVolumeControl = 4;
inline constexpr std::int32_t kLeftRightVolume = 8;
inline constexpr std::int32_t kSampleAccurate = 16;

// One optional function and the report's line for it.
struct OptionalFunction {
    std::int32_t bit;
    std::u32string_view line;
};

// Bit by rising bit. "Channals" is the spelling users of this report know; it is kept on
// purpose.
inline constexpr std::array<OptionalFunction, 5> kOptionalFunctions{{
    {kPitchControl, U"Support Pitch"},
    {kPlaybackRateControl, U"Support Playback"},
    {kVolumeControl, U"Support Volume Control"},
    {kLeftRightVolume, U"Support Left-Right Channals"},
    {kSampleAccurate, U"Support Synchronization"},
}};

} // namespace pardolin
