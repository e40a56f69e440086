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

// Colours are recorded as 0x00BBGGRR, which is the platform's COLORREF already.
inline Brush SolidBrush(COLORREF colour) {
    return Brush(CreateSolidBrush(colour));
}

} // namespace pardolin::win32
