// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplaySurface.h"
#include "platform/SystemQueries.h"
#include "platform/qt/FormWindow.h"

#include <memory>

namespace pardolin {

// Builds the window of the given kind; the report windows ask `queries` for their facts.
std::unique_ptr<FormWindow> CreateForm(FormId form, DisplaySurface& display,
                                       SystemQueries& queries);

} // namespace pardolin
