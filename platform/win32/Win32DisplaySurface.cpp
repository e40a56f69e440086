// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32DisplaySurface.h"

#include "platform/win32/WideText.h"

#include <commctrl.h>

#include <algorithm>

namespace pardolin {

Win32DisplaySurface::Win32DisplaySurface(FormFactory factory) : m_factory(std::move(factory)) {
    // The buttons and group boxes of the common controls the manifest asks for.
    InitCommonControls();
}

Win32DisplaySurface::~Win32DisplaySurface() = default;

std::unique_ptr<win32::FormWindow>& Win32DisplaySurface::Slot(FormId form) {
    return m_forms[static_cast<std::size_t>(form)];
}

win32::FormWindow& Win32DisplaySurface::Live(FormId form) const {
    return *m_forms[static_cast<std::size_t>(form)];
}

void Win32DisplaySurface::ShowForm(FormId form) {
    std::unique_ptr<win32::FormWindow>& slot = Slot(form);
    if (!slot) {
        slot = std::make_unique<win32::FormWindow>(m_factory(form, *this),
                                                   [this, form] { Destroyed(form); });
        slot->Logic().Form_Load();
    }
    slot->Show();
}

void Win32DisplaySurface::HideForm(FormId form) {
    if (const auto& slot = Slot(form)) {
        ShowWindow(slot->Handle(), SW_HIDE);
    }
}

void Win32DisplaySurface::Destroyed(FormId form) {
    Slot(form).reset();
    const bool anyVisible = std::any_of(m_forms.begin(), m_forms.end(), [](const auto& slot) {
        return slot && IsWindowVisible(slot->Handle());
    });
    if (!anyVisible) {
        PostQuitMessage(0);
    }
}

void Win32DisplaySurface::SetCaption(ControlRef label, const Text& text) {
    SetWindowTextW(Live(label.form).Control(label.index), win32::Wide(text).c_str());
}

void Win32DisplaySurface::ClearSurface(ControlRef surface) {
    Live(surface.form).Surface(surface.index).Clear();
}

void Win32DisplaySurface::PrintLine(ControlRef surface, const PrintItems& items) {
    Live(surface.form).Surface(surface.index).Print(win32::Wide(FormatLine(items)));
}

void Win32DisplaySurface::ShowMessage(const Text& prompt, const Text& title) {
    // The user is asked for something: the normal cursor, not the wait cursor.
    const bool busy = m_busy;
    SetBusy(false);
    // Task-modal: every window of the program waits for it.
    MessageBoxW(nullptr, win32::Wide(prompt).c_str(), win32::Wide(title).c_str(),
                MB_OK | MB_TASKMODAL);
    SetBusy(busy);
}

void Win32DisplaySurface::EndProgram() {
    for (const auto& slot : m_forms) {
        if (slot) {
            ShowWindow(slot->Handle(), SW_HIDE);
        }
    }
    ExitProcess(0);
}

void Win32DisplaySurface::SetBusy(bool busy) {
    if (busy != m_busy) {
        m_busy = busy;
        SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
    }
}

bool Win32DisplaySurface::IsOurs(HWND window) const {
    return std::any_of(m_forms.begin(), m_forms.end(),
                       [window](const auto& slot) { return slot && slot->Handle() == window; });
}

int Win32DisplaySurface::RunMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, Shift+Tab, Space and Enter move between and press the controls.
        const HWND root = GetAncestor(message.hwnd, GA_ROOT);
        if (root && IsOurs(root) && IsDialogMessageW(root, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace pardolin
