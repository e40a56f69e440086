// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace pardolin::win32 {

// Owners of the system objects this front end makes: each is released exactly once.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using Menu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// Colours are recorded as 0x00BBGGRR, which is the platform's COLORREF already.
inline Brush SolidBrush(COLORREF colour) {
    return Brush(CreateSolidBrush(colour));
}

// A window class of the program's, registered while this object lives; it owns the icons
// its windows show.
class WindowClass {
  public:
    WindowClass(const wchar_t* name, WNDPROC procedure, UINT style, HBRUSH background,
                Icon icon = nullptr, Icon smallIcon = nullptr);
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

    const wchar_t* Name() const { return MAKEINTATOM(m_atom); }

  private:
    Icon m_icon;
    Icon m_smallIcon;
    ATOM m_atom = 0;
};

} // namespace pardolin::win32
