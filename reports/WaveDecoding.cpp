// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/WaveDecoding.h"

#include <algorithm>

namespace pardolin {
namespace {

template <std::size_t N> Text Lookup(const std::array<BitText, N>& table, std::int32_t bit) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [bit](const BitText& entry) { return entry.first == bit; });
    return found == table.end() ? Text() : Text(found->second);
}

} // namespace

Text Listwaveformat(std::int32_t Aboutwave) {
    return Lookup(kFormatLines, Aboutwave);
}

Text Listwavesupport(std::int32_t Aboutwave) {
    return Lookup(kSupportLines, Aboutwave);
}

} // namespace pardolin
