// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FormLayout.h"
#include "platform/frontends/win32/Handles.h"
#include "platform/frontends/win32/WindowProcedure.h"

#include <windows.h>

#include <string>
#include <vector>

namespace pardolin::win32 {

// A surface that prints whole lines from the top down, keeps them and paints them again.
// Lines are neither wrapped nor scrolled: what falls below the bottom edge is not seen.
// Its text, as WM_GETTEXT gives it to screen readers and other programs, is the printed
// lines joined by CR LF. It takes the keyboard focus; its context menu "复制" (also on the
// menu key and Shift+F10) and Ctrl+C copy the lines.
class Win32TextSurface {
  public:
    Win32TextSurface(HWND parent, int id, BgrColour back);
    ~Win32TextSurface();
    Win32TextSurface(const Win32TextSurface&) = delete;
    Win32TextSurface& operator=(const Win32TextSurface&) = delete;

    HWND Handle() const { return m_window; }
    void Clear();
    void Print(std::wstring line);
    // Line pitch and margin follow the window's DPI.
    void SetDpi(int dpi);
    std::wstring Text() const;

  private:
    template <typename Owner> friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    void Attached(HWND window) { m_window = window; }
    void Detached() { m_window = nullptr; }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Invalidate();
    void Paint();
    void ShowMenu(POINT screen);
    void Copy() const;

    HWND m_window = nullptr;
    Brush m_back;
    HFONT m_font = nullptr; // the window's, set by WM_SETFONT
    int m_dpi = USER_DEFAULT_SCREEN_DPI;
    bool m_paintPending = false;
    std::vector<std::wstring> m_lines;
};

} // namespace pardolin::win32
