// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

#include <cstdint>

namespace pardolin {

// The report line of one standard-format bit of dwFormats (kStandardFormats); empty for any
// other value, including 0 and values with more than one bit set.
Text Listwaveformat(std::int32_t Aboutwave);

// The report line of one optional-function bit of dwSupport (kOptionalFunctions); empty for
// any other value.
Text Listwavesupport(std::int32_t Aboutwave);

} // namespace pardolin
