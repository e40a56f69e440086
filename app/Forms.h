// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplaySurface.h"
#include "platform/Form.h"
#include "platform/SystemQueries.h"

#include <memory>

namespace pardolin {

// Makes the logic of the window of the given kind; the report windows ask `queries`.
std::unique_ptr<Form> CreateForm(FormId form, DisplaySurface& display, SystemQueries& queries);

// What each report window's exit button does: hides the window and brings the main window
// up, making it on first use.
void ReturnToMainWindow(DisplaySurface& display, FormId from);

// Start-up: the sound card window is made, loaded and shown; the toolkit's event loop then
// runs the handlers.
void StartUp(DisplaySurface& display);

} // namespace pardolin
