// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/PrintItem.h"
#include "reports/Text.h"
#include "reports/WaveCaps.h"

#include <cstdint>

namespace pardolin {

inline constexpr std::size_t kProductNameWidth = 32;
inline constexpr std::size_t kChannelTextWidth = 2;

inline constexpr char32_t kNoDeviceTitle[] = U"Find Sound Blaster Card";
inline constexpr char32_t kNoDevicePrompt[] = U"对不起，你计算机中没有安装声卡";
inline constexpr char32_t kCapsFailedLine[] = U"读取声卡信息失败";

struct DriverVersion {
    std::int32_t major;
    std::int32_t minor;
};

// major = version / 256 cut toward zero; minor = the remainder, with the version's sign.
DriverVersion SplitDriverVersion(std::int32_t vDriverVersion);

// The characters before the first NUL (all 32 when there is none), made inert and
// left-aligned in a 32-character field.
Text ProductNameField(const std::array<char32_t, 32>& szPname);

// The channel count with a sign position before it, padded to two characters. A count of
// two or more digits is kept whole: cutting it would show 10 channels as " 1".
Text ChannelText(std::int16_t wChannels);

// The lines of the sound card report for one capability record, in printing order.
ReportLines BuildSoundReport(const WaveCapsRecord& record);

} // namespace pardolin
