// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/WaveDecoding.h"

#include "reports/WaveCaps.h"

#include <algorithm>

namespace pardolin {
namespace {

template <typename Table> Text LineOf(const Table& table, std::int32_t bit) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [bit](const auto& entry) { return entry.bit == bit; });
    return found == table.end() ? Text() : Text(found->line);
}

} // namespace

Text Listwaveformat(std::int32_t Aboutwave) {
    return LineOf(kStandardFormats, Aboutwave);
}

Text Listwavesupport(std::int32_t Aboutwave) {
    return LineOf(kOptionalFunctions, Aboutwave);
}

} // namespace pardolin
