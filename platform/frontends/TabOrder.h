// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FormLayout.h"

#include <vector>

namespace pardolin {

// Whether a control of this kind takes the keyboard focus: the buttons and the report
// surface; labels and frames are passed over by Tab.
constexpr bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::TextSurface;
}

// The rows of the layout's controls, in its tab order; rows of equal tab index keep their
// order in the table.
std::vector<std::size_t> ControlsInTabOrder(const FormLayout& layout);

} // namespace pardolin
