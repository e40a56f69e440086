// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/win32/Win32ReadOnlyText.h"

#include "platform/frontends/Commands.h"
#include "platform/frontends/win32/Handles.h"
#include "platform/frontends/win32/WideText.h"
#include "platform/frontends/win32/Win32Accessible.h"

#include <commctrl.h>

#include <cstring>

namespace pardolin::win32 {
namespace {

constexpr UINT_PTR kCopyCommandId = 1;
constexpr UINT_PTR kSelectAllCommandId = 2;
// Posted to itself after a change of text, so that a report of many lines is one change.
constexpr UINT kTellOfChange = WM_APP + 1;

DWORD StyleFor(Win32ReadOnlyText::Lines lines) {
    constexpr DWORD kCommon = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL;
    // Lines are never wrapped: they run on past the right edge, and below the bottom one,
    // unseen, with no scroll bars.
    return lines == Win32ReadOnlyText::Lines::Many ? kCommon | ES_MULTILINE | ES_AUTOVSCROLL
                                                   : kCommon;
}

bool PutOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner)) {
        return false;
    }
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    bool taken = false;
    if (const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* locked = GlobalLock(memory)) {
            std::memcpy(locked, text.c_str(), bytes);
            GlobalUnlock(memory);
            // The clipboard owns the memory once it has taken it.
            taken = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!taken) {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
    return taken;
}

} // namespace

Win32ReadOnlyText::Win32ReadOnlyText(HWND parent, int id, Lines lines, std::wstring name)
    : m_window(CreateWindowExW(0, L"EDIT", L"", StyleFor(lines), 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr)) {
    if (m_window) {
        SetWindowSubclass(m_window, Subclass, 0, reinterpret_cast<DWORD_PTR>(this));
        NameForAssistiveTools(m_window, std::move(name));
    }
}

Win32ReadOnlyText::~Win32ReadOnlyText() {
    if (m_window) {
        RemoveWindowSubclass(m_window, Subclass, 0);
        DestroyWindow(m_window);
    }
}

void Win32ReadOnlyText::SetText(std::wstring text) {
    m_text = std::move(text);
    SetWindowTextW(m_window, m_text.c_str());
    TellOfChange();
}

void Win32ReadOnlyText::TellOfChange() {
    // Screen readers learn of the new value once the handler that set it is done; the
    // system's edit control does not say so on every system.
    if (!m_changeToTell) {
        m_changeToTell = PostMessageW(m_window, kTellOfChange, 0, 0) != FALSE;
    }
}

void Win32ReadOnlyText::Clear() {
    m_printed = 0;
    SetText({});
}

void Win32ReadOnlyText::Print(const std::wstring& line) {
    SetText(m_printed == 0 ? line : m_text + L"\r\n" + line);
    ++m_printed;
}

void Win32ReadOnlyText::SetFont(HFONT font, int leftMargin) {
    SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageW(m_window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELPARAM(leftMargin, 0));
}

LRESULT CALLBACK Win32ReadOnlyText::Subclass(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        // Gone with its parent: nothing of it is touched after this.
        RemoveWindowSubclass(window, Subclass, 0);
        reinterpret_cast<Win32ReadOnlyText*>(self)->m_window = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return reinterpret_cast<Win32ReadOnlyText*>(self)->OnMessage(message, wParam, lParam);
}

LRESULT Win32ReadOnlyText::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kTellOfChange:
        m_changeToTell = false;
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_window, OBJID_CLIENT, CHILDID_SELF);
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DefSubclassProc(m_window, message, wParam, lParam);
        // Tab, Enter and Escape stay the window's; and coming in by Tab keeps the caret
        // where it was instead of selecting everything.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN &&
            (key->wParam == VK_TAB || key->wParam == VK_RETURN || key->wParam == VK_ESCAPE)) {
            code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
        }
        return code & ~DLGC_HASSETSEL;
    }
    case WM_CHAR:
        if (wParam == 1) { // Ctrl+A
            SendMessageW(m_window, EM_SETSEL, 0, -1);
            return 0;
        }
        break;
    case WM_COPY:
        Copy();
        return 0;
    case WM_CONTEXTMENU: {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const bool fromKeyboard = lParam == -1;
        if (fromKeyboard) {
            // At the caret, where the keyboard user's attention is.
            GetCaretPos(&at);
            ClientToScreen(m_window, &at);
        }
        ShowMenu(at, fromKeyboard);
        return 0;
    }
    default:
        break;
    }
    return DefSubclassProc(m_window, message, wParam, lParam);
}

void Win32ReadOnlyText::Copy() {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(m_window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    PutOnClipboard(m_window, start < end && end <= m_text.size() ? m_text.substr(start, end - start)
                                                                 : m_text);
}

void Win32ReadOnlyText::ShowMenu(POINT screen, bool fromKeyboard) {
    const Menu menu(CreatePopupMenu());
    const UINT available = m_text.empty() ? MF_GRAYED : 0;
    AppendMenuW(menu.get(), MF_STRING | available, kCopyCommandId, Wide(kCopyCommand).c_str());
    AppendMenuW(menu.get(), MF_STRING | available, kSelectAllCommandId,
                Wide(kSelectAllCommand).c_str());
    if (fromKeyboard) {
        // The menu's own loop takes the key: it opens with "复制" selected, so that a screen
        // reader says it at once.
        PostMessageW(m_window, WM_KEYDOWN, VK_DOWN, 0);
    }
    const auto chosen = static_cast<UINT_PTR>(TrackPopupMenu(
        menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_window, nullptr));
    // The menu's items had the focus for assistive tools; the text, which kept the keyboard
    // focus all along, has it again, and a screen reader is to name it.
    NotifyWinEvent(EVENT_OBJECT_FOCUS, m_window, OBJID_CLIENT, CHILDID_SELF);
    if (chosen == kCopyCommandId) {
        Copy();
    } else if (chosen == kSelectAllCommandId) {
        SendMessageW(m_window, EM_SETSEL, 0, -1);
    }
}

} // namespace pardolin::win32
