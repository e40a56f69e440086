// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FormLayout.h"
#include "reports/Text.h"

namespace pardolin {

// The name assistive tools give a label: the words it shows, without the line break a
// caption may end with; while it shows nothing, what the layout calls it.
Text AccessibleName(const ControlLayout& row, const Text& shown);

} // namespace pardolin
