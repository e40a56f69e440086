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
    // The bits the tables name have lines, in their order; the others none.
    for (const StandardFormat& format : kStandardFormats) {
        if ((format.bit & record.dwFormats) != 0) {
            lines.push_back({Listwaveformat(format.bit)});
        }
    }
    lines.push_back({Text(U"扩展输出功能列表：")});
    for (const OptionalFunction& function : kOptionalFunctions) {
        if ((function.bit & record.dwSupport) != 0) {
            lines.push_back({Listwavesupport(function.bit)});
        }
    }
    return lines;
}

} // namespace pardolin
