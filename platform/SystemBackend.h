// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"
#include "platform/SystemQueries.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace pardolin {

// What the program's own toolkit knows of the desktop it runs on.
struct ToolkitFacts {
    // The toolkit's caret cycle (one on-off period, in ms): the last word on the caret when
    // the desktop publishes nothing. 0 means the caret does not blink.
    std::function<std::int32_t()> caretCycle;
    // The toolkit's windows are Wayland clients.
    bool onWayland = false;
    // Where the queries tell why a question failed: nowhere unless asked for.
    Diagnostics diagnostics = {};
};

// The system queries of the platform the program is built for.
std::unique_ptr<SystemQueries> CreateSystemQueries(ToolkitFacts toolkit);

} // namespace pardolin
