// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"

namespace pardolin {

// The diagnostics channel as Qt's logging categories, one a peer (pardolin.bus,
// pardolin.portal, pardolin.compositor, pardolin.x11, pardolin.sound, pardolin.alsa,
// pardolin.settings, pardolin.modules), each off unless switched on, as with
// QT_LOGGING_RULES="pardolin.*=true". What it says goes where Qt's messages go (stderr);
// nothing is written to a file.
Diagnostics QtDiagnostics();

} // namespace pardolin
