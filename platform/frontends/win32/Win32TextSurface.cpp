// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/win32/Win32TextSurface.h"

#include "platform/frontends/Commands.h"
#include "platform/frontends/Metrics.h"
#include "platform/frontends/win32/WideText.h"

#include <cstring>

namespace pardolin::win32 {
namespace {

constexpr UINT_PTR kCopyCommandId = 1;

const WindowClass& SurfaceClass() {
    static const WindowClass registered(L"PardolinTextSurface", WindowProcedure<Win32TextSurface>,
                                        CS_HREDRAW | CS_VREDRAW, nullptr);
    return registered;
}

} // namespace

Win32TextSurface::Win32TextSurface(HWND parent, int id, BgrColour back) : m_back(SolidBrush(back)) {
    m_window = CreateWindowExW(0, SurfaceClass().Name(), L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
                               0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), this);
}

Win32TextSurface::~Win32TextSurface() {
    if (m_window) {
        DestroyWindow(m_window);
    }
}

void Win32TextSurface::Clear() {
    m_lines.clear();
    Invalidate();
}

void Win32TextSurface::Print(std::wstring line) {
    m_lines.push_back(std::move(line));
    Invalidate();
}

void Win32TextSurface::Invalidate() {
    // Once the whole surface waits for its paint, a report's further lines change nothing.
    if (!m_paintPending) {
        m_paintPending = true;
        InvalidateRect(m_window, nullptr, TRUE);
    }
}

void Win32TextSurface::SetDpi(int dpi) {
    m_dpi = dpi;
    Invalidate();
}

std::wstring Win32TextSurface::Text() const {
    std::wstring text;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        text += i == 0 ? L"" : L"\r\n";
        text += m_lines[i];
    }
    return text;
}

LRESULT Win32TextSurface::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT area;
        GetClientRect(m_window, &area);
        FillRect(reinterpret_cast<HDC>(wParam), &area, m_back.get());
        return 1;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) {
            InvalidateRect(m_window, nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(Text().size());
    case WM_GETTEXT: {
        const std::wstring text = Text();
        const auto room = static_cast<std::size_t>(wParam);
        if (room == 0) {
            return 0;
        }
        const std::size_t copied = std::min(text.size(), room - 1);
        std::memcpy(reinterpret_cast<wchar_t*>(lParam), text.data(), copied * sizeof(wchar_t));
        reinterpret_cast<wchar_t*>(lParam)[copied] = L'\0';
        return static_cast<LRESULT>(copied);
    }
    case WM_SETTEXT:
        return FALSE; // the text is what was printed, nothing else
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(m_window, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetFocus(m_window);
        return 0;
    case WM_KEYDOWN:
        if (wParam == 'C' && GetKeyState(VK_CONTROL) < 0) {
            Copy();
            return 0;
        }
        break;
    case WM_CONTEXTMENU: {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (lParam == -1) {
            // From the keyboard: the menu opens at the first line.
            at = {PixelsAt(kSurfaceLeftMargin, m_dpi), PixelsAt(kSurfaceLinePitch, m_dpi)};
            ClientToScreen(m_window, &at);
        }
        ShowMenu(at);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void Win32TextSurface::Paint() {
    m_paintPending = false;
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_window, &paint);
    RECT area;
    GetClientRect(m_window, &area);
    const HGDIOBJ oldFont = SelectObject(dc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, kTextOnBackColour);
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int pitch = PixelsAt(kSurfaceLinePitch, m_dpi);
    // Each line sits in the middle of its pitch, as on the other platforms.
    int top = (pitch - metrics.tmHeight) / 2;
    for (const std::wstring& line : m_lines) {
        if (top >= area.bottom) {
            break;
        }
        TextOutW(dc, PixelsAt(kSurfaceLeftMargin, m_dpi), top, line.c_str(),
                 static_cast<int>(line.size()));
        top += pitch;
    }
    if (GetFocus() == m_window) {
        RECT focus = area;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }
    SelectObject(dc, oldFont);
    EndPaint(m_window, &paint);
}

void Win32TextSurface::ShowMenu(POINT screen) {
    const Menu menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING | (m_lines.empty() ? MF_GRAYED : 0), kCopyCommandId,
                Wide(kCopyCommand).c_str());
    const BOOL chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                       screen.y, 0, m_window, nullptr);
    if (chosen == static_cast<BOOL>(kCopyCommandId)) {
        Copy();
    }
}

void Win32TextSurface::Copy() const {
    const std::wstring text = Text();
    if (!OpenClipboard(m_window)) {
        return;
    }
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    if (const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        void* locked = GlobalLock(memory);
        if (locked) {
            std::memcpy(locked, text.c_str(), bytes);
            GlobalUnlock(memory);
        }
        // The clipboard owns the memory once it has taken it.
        if (!locked || !SetClipboardData(CF_UNICODETEXT, memory)) {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

} // namespace pardolin::win32
