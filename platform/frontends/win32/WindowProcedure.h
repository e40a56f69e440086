// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace pardolin::win32 {

// The window procedure of a class whose every window belongs to one object, given to
// CreateWindowExW as its creation parameter. The object learns its window before the first
// message it handles, is told when the window is gone, and handles everything in between:
//   void Attached(HWND);  void Detached();  LRESULT OnMessage(UINT, WPARAM, LPARAM);
// Detached may delete the object: nothing of it is touched after that.
template <typename Owner>
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        owner = static_cast<Owner*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        owner->Attached(window);
    }
    if (!owner) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        owner->Detached();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return owner->OnMessage(message, wParam, lParam);
}

} // namespace pardolin::win32
