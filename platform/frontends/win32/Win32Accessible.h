// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>

namespace pardolin::win32 {

// Gives a control the name assistive tools read for it; an empty one leaves the system's
// own. Everything else they read is the system's own accessible object for the control.
// The control keeps the name until it is destroyed.
void NameForAssistiveTools(HWND control, std::wstring name);

// Marks a control as a live region: screen readers speak its name whenever it raises
// EVENT_OBJECT_LIVEREGIONCHANGED, wherever the focus is.
void MarkAsLiveRegion(HWND control);

} // namespace pardolin::win32
