// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FormLayout.h"

#include <vector>

namespace pardolin {

// Whether the control takes the keyboard focus: the buttons, the report surface and the
// report lines, so that each fact can be reached, read and copied from the keyboard.
// Frames and the notice are passed over.
constexpr bool TakesFocus(const ControlLayout& row) {
    return row.kind == ControlKind::PushButton || row.kind == ControlKind::TextSurface ||
           row.kind == ControlKind::ReportLine;
}

// The rows of the layout's controls, in its tab order; rows of equal tab index keep their
// order in the table.
std::vector<std::size_t> ControlsInTabOrder(const FormLayout& layout);

} // namespace pardolin
