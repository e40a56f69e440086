// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemQueries.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace pardolin {

// The caret cycle (one on-off period, in ms) of the program's own toolkit: the last word on
// the caret when the desktop publishes nothing. 0 means the caret does not blink.
using ToolkitCaretCycle = std::function<std::int32_t()>;

// The system queries of the platform the program is built for.
std::unique_ptr<SystemQueries> CreateSystemQueries(ToolkitCaretCycle toolkitCaretCycle);

} // namespace pardolin
