// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/Accessibility.h"

namespace pardolin {

Text AccessibleName(const ControlLayout& row, const Text& shown) {
    Text name = shown;
    while (!name.empty() && (name.back() == U'\n' || name.back() == U'\r')) {
        name.pop_back();
    }
    return name.empty() ? Text(row.accessibleName) : name;
}

} // namespace pardolin
