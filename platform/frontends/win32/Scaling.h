// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FormLayout.h"
#include "platform/frontends/win32/Handles.h"

#include <windows.h>

namespace pardolin::win32 {

// Dots per inch of the monitor the window is on; of the system when there is no window yet.
// Systems older than per-monitor DPI give the screen's one value.
int DpiOf(HWND window);

// A rectangle recorded in twips, in pixels at `dpi`.
RECT Pixels(const Twips& twips, int dpi);

// The outer rectangle of a window whose client area is `client`, at `dpi`.
RECT OuterRect(RECT client, DWORD style, DWORD exStyle, int dpi);

// The user-interface font at `dpi`: "Microsoft YaHei UI" where it exists, otherwise the
// system's message font.
Font CreateInterfaceFont(int dpi);

// The same face for the report surface, whose line pitch is the font's cell height: a cell
// of kSurfaceLinePitch pixels at `dpi`.
Font CreateSurfaceFont(int dpi);

} // namespace pardolin::win32
