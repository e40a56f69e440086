// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/frontends/FormDisplay.h"
#include "platform/frontends/win32/Handles.h"
#include "platform/frontends/win32/Win32ReadOnlyText.h"
#include "platform/frontends/win32/WindowProcedure.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace pardolin::win32 {

// Control identifiers are the layout's row plus this; the window's announcer has its own.
inline constexpr int kFirstControlId = 100;
inline constexpr int kAnnouncerId = kFirstControlId - 1;

// A top-level window built from its logic's layout: native controls for its rows, placed
// and sized from twips at the window's DPI, in the layout's tab order, with one font. Its
// buttons call the logic's handlers. The frame's close control destroys it. It is the
// NativeForm of the Win32 front end.
class Win32FormWindow {
  public:
    // Windows draws every window's frame itself: there is nothing to choose.
    struct Options {};

    Win32FormWindow(std::unique_ptr<Form> logic, ClosedHandler<Win32FormWindow> closed,
                    const Options& options);
    ~Win32FormWindow();
    Win32FormWindow(const Win32FormWindow&) = delete;
    Win32FormWindow& operator=(const Win32FormWindow&) = delete;

    Form& Logic() const { return *m_logic; }
    void Show();
    void Hide();
    bool IsShown() const;
    void SetReportLine(std::size_t index, const Text& text);
    void ClearSurface(std::size_t index);
    void PrintLine(std::size_t index, const Text& line);
    void Announce(const Text& text);

    HWND Handle() const { return m_window; }
    // The native control of the layout's row `index`.
    HWND Control(std::size_t index) const { return m_controls.at(index).window; }

  private:
    struct NativeControl {
        HWND window = nullptr;
        std::unique_ptr<Win32ReadOnlyText> text; // for the surface and the report lines
        Brush back;                              // for a control with a back colour
    };

    template <typename Owner> friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    void Attached(HWND window) { m_window = window; }
    void Detached();
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MakeControl(std::size_t index);
    // Places every control and sets the font for the window's DPI; the frame keeps its size.
    void Arrange(int dpi);
    // Sizes the frame around the recorded client area, for the system's frame metrics.
    void FitFrame();
    LRESULT Colour(HDC dc, HWND control);
    // The read-only text at `index`, which must be a control of `kind`.
    Win32ReadOnlyText& TextOfKind(std::size_t index, ControlKind kind) const;
    void EraseBackground(HDC dc);

    std::unique_ptr<Form> m_logic;
    ClosedHandler<Win32FormWindow> m_closed;
    HWND m_window = nullptr;
    HWND m_lastFocus = nullptr;
    std::vector<NativeControl> m_controls;
    HWND m_announcer = nullptr; // what assistive tools are told, by its name
    bool m_announcerIsLive = false;
    Font m_font;
    Font m_surfaceFont;
    int m_dpi = USER_DEFAULT_SCREEN_DPI;
};

} // namespace pardolin::win32
