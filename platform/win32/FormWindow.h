// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Form.h"
#include "platform/win32/Handles.h"
#include "platform/win32/TextSurfaceWindow.h"
#include "platform/win32/WindowProcedure.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

namespace pardolin::win32 {

// A top-level window built from its logic's layout: native controls for its rows, placed
// and sized from twips at the window's DPI, in the layout's tab order, with one font. Its
// buttons call the logic's handlers. The frame's close control destroys it.
class FormWindow {
  public:
    // `destroyed` runs once the window is gone through its frame's close control; this
    // object may be deleted then.
    FormWindow(std::unique_ptr<Form> logic, std::function<void()> destroyed);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Handle() const { return m_window; }
    Form& Logic() const { return *m_logic; }
    HWND Control(std::size_t index) const { return m_controls.at(index).window; }
    TextSurfaceWindow& Surface(std::size_t index) const { return *m_controls.at(index).surface; }
    // Shows the window and brings it to the front.
    void Show();

  private:
    struct NativeControl {
        HWND window = nullptr;
        std::unique_ptr<TextSurfaceWindow> surface; // for the text surface only
        Brush back;                                 // for a control with a back colour
    };

    template <typename Owner> friend LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    void Attached(HWND window) { m_window = window; }
    void Detached();
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MakeControl(std::size_t index);
    // Places every control and sets the font for the window's DPI; the frame keeps its size.
    void Arrange(int dpi);
    LRESULT Colour(HDC dc, HWND control);
    void EraseBackground(HDC dc);

    std::unique_ptr<Form> m_logic;
    std::function<void()> m_destroyed;
    HWND m_window = nullptr;
    HWND m_lastFocus = nullptr;
    std::vector<NativeControl> m_controls;
    Font m_font;
    int m_dpi = 96;
};

} // namespace pardolin::win32
