// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/SoundReport.h"

#include "reports/WaveDecoding.h"

#include <algorithm>

namespace pardolin {

DriverVersion SplitDriverVersion(std::int32_t vDriverVersion) {
    // C++ division truncates toward zero and the remainder takes the dividend's sign.
    return {vDriverVersion / 256, vDriverVersion % 256};
}

Text ProductNameField(const std::array<char32_t, 32>& szPname) {
    const auto end = std::find(szPname.begin(), szPname.end(), U'\0');
    return PadRight(Inert(Text(szPname.begin(), end)), kProductNameWidth);
}

Text ChannelText(std::int16_t wChannels) {
    const Text sign = wChannels < 0 ? Text(U"-") : Text(U" ");
    const std::int32_t magnitude = wChannels < 0 ? -std::int32_t{wChannels} : wChannels;
    return PadRight(sign + Decimal(magnitude), kChannelTextWidth);
}

ReportLines BuildSoundReport(const WaveCapsRecord& record) {
    const DriverVersion version = SplitDriverVersion(record.vDriverVersion);
    ReportLines lines{
        {Text(U"产品名称："), ProductNameField(record.szPname)},
        {Text(U"产品 Id："), record.wPid},
        {Text(U"驱动程序 Id："), record.wMid},
        {Text(U"驱动程序版本："), version.major, Text(U"."), version.minor},
        {Text(U"输出声道："), ChannelText(record.wChannels)},
        {Text(U"支持格式列表：")},
    };
    // Bits 0 to 11 of the formats and 0 to 4 of the functions have lines; the others none.
    for (std::size_t i = 0; i < kFormatLines.size(); ++i) {
        const std::int32_t bit = std::int32_t{1} << i;
        if ((bit & record.dwFormats) != 0) {
            lines.push_back({Listwaveformat(bit)});
        }
    }
    lines.push_back({Text(U"扩展输出功能列表：")});
    for (std::size_t i = 0; i < kSupportLines.size(); ++i) {
        const std::int32_t bit = std::int32_t{1} << i;
        if ((bit & record.dwSupport) != 0) {
            lines.push_back({Listwavesupport(bit)});
        }
    }
    return lines;
}

} // namespace pardolin
