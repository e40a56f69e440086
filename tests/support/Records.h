// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/WaveCaps.h"

#include <algorithm>
#include <string_view>

namespace pardolin::testing {

// A capability record as a test or a benchmark needs one: a device of that name, channels,
// formats and functions, whose other fields are zero.
inline WaveCapsRecord Record(std::u32string_view name, std::int16_t channels, std::int32_t formats,
                             std::int32_t support) {
    WaveCapsRecord record;
    std::copy_n(name.begin(), std::min(name.size(), record.szPname.size()), record.szPname.begin());
    record.wChannels = channels;
    record.dwFormats = formats;
    record.dwSupport = support;
    return record;
}

} // namespace pardolin::testing
