// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/win32/Win32FormWindow.h"

#include "platform/frontends/Accessibility.h"
#include "platform/frontends/Metrics.h"
#include "platform/frontends/TabOrder.h"
#include "platform/frontends/win32/Scaling.h"
#include "platform/frontends/win32/WideText.h"
#include "platform/frontends/win32/Win32Accessible.h"

#include <algorithm>
#include <cstdlib>

namespace pardolin::win32 {
namespace {

// A fixed frame with a caption and close control, minimizable, never maximized.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;
constexpr int kProgramIcon = 1;

Icon ProgramIcon(int width, int height, UINT flags) {
    return Icon(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIcon),
                                      IMAGE_ICON, width, height, flags)));
}

const WindowClass& FormClass() {
    static const WindowClass registered(
        L"PardolinForm", WindowProcedure<Win32FormWindow>, 0, GetSysColorBrush(COLOR_3DFACE),
        ProgramIcon(0, 0, LR_DEFAULTSIZE),
        ProgramIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    return registered;
}

[[noreturn]] void FailWithSystemMessage() {
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    MessageBoxW(nullptr, text ? text : L"", L"Pardolin", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(1);
}

bool IsPushButton(HWND window) {
    return window && (SendMessageW(window, WM_GETDLGCODE, 0, 0) &
                      (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

} // namespace

Win32FormWindow::Win32FormWindow(std::unique_ptr<Form> logic, ClosedHandler<Win32FormWindow> closed,
                                 const Options&)
    : m_logic(std::move(logic)), m_closed(std::move(closed)) {
    const FormLayout& layout = m_logic->Layout();
    // Made for the system's DPI first, then sized again once the window knows its own.
    m_dpi = DpiOf(nullptr);
    const RECT outer = OuterRect(Pixels(layout.client, m_dpi), kStyle, kExStyle, m_dpi);
    m_window =
        CreateWindowExW(kExStyle, FormClass().Name(), Wide(layout.caption).c_str(), kStyle,
                        outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                        nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_window) {
        FailWithSystemMessage();
    }
    // Made in tab order, so that the dialog keys follow it; the frames last, so that they
    // lie under the controls they hold.
    std::vector<std::size_t> order = ControlsInTabOrder(layout);
    std::stable_partition(order.begin(), order.end(), [&layout](std::size_t index) {
        return layout.controls[index].kind != ControlKind::GroupFrame;
    });
    m_controls.resize(layout.controls.size());
    for (const std::size_t index : order) {
        MakeControl(index);
    }
    // No room on screen: only assistive tools see it, by its name.
    m_announcer =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0,
                        m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAnnouncerId)),
                        GetModuleHandleW(nullptr), nullptr);
    Arrange(DpiOf(m_window));
    const RECT placed = OuterRect(Pixels(layout.client, m_dpi), kStyle, kExStyle, m_dpi);
    SetWindowPos(m_window, nullptr, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32FormWindow::FitFrame() {
    const RECT outer = OuterRect(Pixels(m_logic->Layout().client, m_dpi), kStyle, kExStyle, m_dpi);
    SetWindowPos(m_window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

Win32FormWindow::~Win32FormWindow() {
    // Destroyed by its owner rather than through its frame: nobody is to be told.
    m_closed = nullptr;
    if (m_window) {
        DestroyWindow(m_window);
    }
}

void Win32FormWindow::MakeControl(std::size_t index) {
    const ControlLayout& row = m_logic->Layout().controls[index];
    const int id = kFirstControlId + static_cast<int>(index);
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring caption = Wide(row.caption);
    NativeControl& control = m_controls[index];
    switch (row.kind) {
    case ControlKind::PushButton:
        control.window = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0,
                                         0, 0, m_window, menu, instance, nullptr);
        break;
    case ControlKind::ReportLine:
        // A line a report fills, to be reached, read and copied from the keyboard.
        control.text = std::make_unique<Win32ReadOnlyText>(
            m_window, id, Win32ReadOnlyText::Lines::One, Wide(row.accessibleName));
        control.window = control.text->Handle();
        break;
    case ControlKind::Label:
        // SS_NOPREFIX: an ampersand in a caption is shown, not taken for a mnemonic.
        control.window = CreateWindowExW(0, L"STATIC", caption.c_str(),
                                         WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                                         m_window, menu, instance, nullptr);
        if (control.window) {
            NameForAssistiveTools(control.window, Wide(AccessibleName(row, Text(row.caption))));
        }
        break;
    case ControlKind::GroupFrame:
        control.window = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0,
                                         0, 0, 0, m_window, menu, instance, nullptr);
        break;
    case ControlKind::TextSurface:
        control.text = std::make_unique<Win32ReadOnlyText>(
            m_window, id, Win32ReadOnlyText::Lines::Many, Wide(row.accessibleName));
        control.window = control.text->Handle();
        break;
    }
    if (!control.window) {
        FailWithSystemMessage();
    }
    if (row.backColour) {
        control.back = SolidBrush(*row.backColour);
    }
}

void Win32FormWindow::Arrange(int dpi) {
    m_dpi = dpi;
    Font font = CreateInterfaceFont(dpi);
    Font surfaceFont = CreateSurfaceFont(dpi);
    const auto& controls = m_logic->Layout().controls;
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        // Controls in a frame are children of the window too, offset by the frame's place: a
        // group box does not pass its children's notifications on.
        const RECT place = Pixels(PlaceInWindow(m_logic->Layout(), i), dpi);
        SetWindowPos(m_controls[i].window, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (controls[i].kind == ControlKind::TextSurface) {
            m_controls[i].text->SetFont(surfaceFont.get(), PixelsAt(kSurfaceLeftMargin, dpi));
        } else if (m_controls[i].text) {
            // A report line shows its text where a label would.
            m_controls[i].text->SetFont(font.get(), 0);
        } else {
            SendMessageW(m_controls[i].window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()),
                         TRUE);
        }
    }
    // The old fonts go only once no control uses them any more.
    m_font = std::move(font);
    m_surfaceFont = std::move(surfaceFont);
}

void Win32FormWindow::Show() {
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
    BringWindowToTop(m_window);
}

void Win32FormWindow::Hide() {
    ShowWindow(m_window, SW_HIDE);
}

bool Win32FormWindow::IsShown() const {
    return m_window && IsWindowVisible(m_window);
}

Win32ReadOnlyText& Win32FormWindow::TextOfKind(std::size_t index, ControlKind kind) const {
    if (index >= m_controls.size() || m_logic->Layout().controls[index].kind != kind ||
        !m_controls[index].text) {
        // A fault of the program's own: the typed control references exclude it. No
        // exception may pass through a window procedure, so it ends here.
        FatalAppExitW(0, L"Pardolin: no read-only text of that kind at the row asked for");
        std::abort();
    }
    return *m_controls[index].text;
}

void Win32FormWindow::SetReportLine(std::size_t index, const Text& text) {
    TextOfKind(index, ControlKind::ReportLine).SetText(Wide(text));
}

void Win32FormWindow::ClearSurface(std::size_t index) {
    TextOfKind(index, ControlKind::TextSurface).Clear();
}

void Win32FormWindow::PrintLine(std::size_t index, const Text& line) {
    TextOfKind(index, ControlKind::TextSurface).Print(Wide(line));
}

void Win32FormWindow::Announce(const Text& text) {
    if (!m_announcerIsLive) {
        MarkAsLiveRegion(m_announcer);
        m_announcerIsLive = true;
    }
    SetWindowTextW(m_announcer, Wide(text).c_str());
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, m_announcer, OBJID_CLIENT, CHILDID_SELF);
}

void Win32FormWindow::Detached() {
    m_window = nullptr;
    // Whoever is told may delete the form: nothing of it is touched after this.
    if (const ClosedHandler<Win32FormWindow> closed = std::move(m_closed)) {
        closed(*this);
    }
}

LRESULT Win32FormWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && lParam == 0) {
            // Enter in these plain windows presses the focused button, as Space does.
            if (const HWND focus = GetFocus(); IsPushButton(focus)) {
                SendMessageW(focus, BM_CLICK, 0, 0);
            }
            return 0;
        }
        if (HIWORD(wParam) == BN_CLICKED) {
            const int index = LOWORD(wParam) - kFirstControlId;
            if (index >= 0 && static_cast<std::size_t>(index) < m_controls.size() &&
                m_logic->Layout().controls[static_cast<std::size_t>(index)].kind ==
                    ControlKind::PushButton) {
                m_logic->Click(static_cast<std::size_t>(index));
            }
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
        return Colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_ACTIVATE:
        // Like a dialog: the focus comes back to where it was when the window is activated.
        if (LOWORD(wParam) == WA_INACTIVE) {
            m_lastFocus = GetFocus();
        } else {
            const bool ours = m_lastFocus && IsChild(m_window, m_lastFocus);
            SetFocus(ours ? m_lastFocus : GetNextDlgTabItem(m_window, nullptr, FALSE));
        }
        return 0;
    case WM_CLOSE:
        // A message box disables every window while a click waits for its answer; closing
        // then (taskkill asks even so) would delete the form under its own handler.
        if (!IsWindowEnabled(m_window)) {
            return 0;
        }
        break;
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
    case WM_FONTCHANGE: {
        // The system's fonts, its text size or its frames changed: the window is made for
        // them again, as it would be at its start, its client area kept as recorded.
        const LRESULT result = DefWindowProcW(m_window, message, wParam, lParam);
        Arrange(m_dpi);
        FitFrame();
        return result;
    }
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        Arrange(LOWORD(wParam));
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

LRESULT Win32FormWindow::Colour(HDC dc, HWND control) {
    const int index = GetDlgCtrlID(control) - kFirstControlId;
    if (index < 0 || static_cast<std::size_t>(index) >= m_controls.size() ||
        !m_controls[static_cast<std::size_t>(index)].back) {
        return DefWindowProcW(m_window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
    }
    const ControlLayout& row = m_logic->Layout().controls[static_cast<std::size_t>(index)];
    SetTextColor(dc, kTextOnBackColour);
    SetBkColor(dc, *row.backColour);
    return reinterpret_cast<LRESULT>(m_controls[static_cast<std::size_t>(index)].back.get());
}

void Win32FormWindow::EraseBackground(HDC dc) {
    RECT client;
    GetClientRect(m_window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
    // A group box paints its frame and title only; its back colour is laid down here.
    const auto& controls = m_logic->Layout().controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].kind == ControlKind::GroupFrame && m_controls[i].back) {
            const RECT frame = Pixels(PlaceInWindow(m_logic->Layout(), i), m_dpi);
            FillRect(dc, &frame, m_controls[i].back.get());
        }
    }
}

} // namespace pardolin::win32
