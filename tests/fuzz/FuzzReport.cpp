// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a capability record, through the report to printed text.
#include "reports/PrintItem.h"
#include "reports/SoundReport.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

template <typename T> T Take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pardolin;
    WaveCapsRecord record;
    record.wMid = Take<std::int16_t>(data, size);
    record.wPid = Take<std::int16_t>(data, size);
    record.vDriverVersion = Take<std::int32_t>(data, size);
    for (char32_t& c : record.szPname) {
        c = Take<char32_t>(data, size);
    }
    record.dwFormats = Take<std::int32_t>(data, size);
    record.wChannels = Take<std::int16_t>(data, size);
    record.dwSupport = Take<std::int32_t>(data, size);

    const ReportLines lines = BuildSoundReport(record);
    Require(lines.size() >= 7 && lines.size() <= 24);
    const Text first = FormatLine(lines.front());
    Require(first.size() == 5 + kProductNameWidth);
    for (const PrintItems& items : lines) {
        // Whatever the record holds, the text converts to well-formed UTF-8.
        const std::string bytes = ToUtf8(FormatLine(items));
        Require(FromUtf8(bytes).size() == FormatLine(items).size());
    }
    return 0;
}
