// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>

namespace pardolin::win32 {

// A read-only text on the system's EDIT control, as the report surface (many lines) and the
// keyboard lines (one each) show their facts. The arrow keys move its caret, Shift selects,
// Ctrl+A selects all; Ctrl+C and its context menu "复制" (also on the menu key and
// Shift+F10) copy the selection, or all of it, and "全选" selects all. The window keeps its
// dialog keys: Tab leaves the text and Enter is the window's. Assistive tools read it as
// read-only text, named `name`, whose value is what it shows.
class Win32ReadOnlyText {
  public:
    enum class Lines { One, Many };

    Win32ReadOnlyText(HWND parent, int id, Lines lines, std::wstring name);
    ~Win32ReadOnlyText();
    Win32ReadOnlyText(const Win32ReadOnlyText&) = delete;
    Win32ReadOnlyText& operator=(const Win32ReadOnlyText&) = delete;

    HWND Handle() const { return m_window; }
    // Shows `text` in place of what was shown.
    void SetText(std::wstring text);
    // Many lines: erases them, or adds one below the last.
    void Clear();
    void Print(const std::wstring& line);
    // Many lines: the line pitch comes from the font's cell height.
    void SetFont(HFONT font, int leftMargin);

  private:
    static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void TellOfChange();
    void Copy();
    void ShowMenu(POINT screen, bool fromKeyboard);

    HWND m_window = nullptr;
    std::wstring m_text; // as shown, lines ended by CR LF but the last
    std::size_t m_printed = 0;
    bool m_changeToTell = false;
};

} // namespace pardolin::win32
