// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

#include <array>

namespace pardolin {

// A device name as the capability record holds it: at most 31 characters, then NULs. A
// NUL inside the name ends it there, as it would in the platform's record.
std::array<char32_t, 32> NameField(const Text& name);

// Parses "major.minor[.anything]" into major * 256 + minor; 0 when there is no number.
std::int32_t VersionNumber(std::string_view version);

} // namespace pardolin
