// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/win32/Win32DisplaySurface.h"

#include "platform/frontends/win32/WideText.h"

#include <commctrl.h>

namespace pardolin {

Win32DisplaySurface::Win32DisplaySurface(FormFactory factory) : FormDisplay(std::move(factory)) {
    // The buttons and group boxes of the common controls the manifest asks for.
    InitCommonControls();
}

void Win32DisplaySurface::Release(std::unique_ptr<win32::Win32FormWindow> closed) {
    // Its window is gone already; the object goes with it.
    closed.reset();
    if (!AnyShown()) {
        PostQuitMessage(0);
    }
}

void Win32DisplaySurface::RunMessageBox(const Text& prompt, const Text& title) {
    // Task-modal: every window of the program waits for it.
    MessageBoxW(nullptr, win32::Wide(prompt).c_str(), win32::Wide(title).c_str(),
                MB_OK | MB_TASKMODAL);
}

void Win32DisplaySurface::ShowWaitCursor(bool busy) {
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Win32DisplaySurface::EndProgram() {
    HideAll();
    ExitProcess(0);
}

bool Win32DisplaySurface::IsOurs(HWND window) const {
    for (const FormId form : {FormId::Form2, FormId::Form1, FormId::Form12}) {
        if (const auto* live = FindForm(form); live && live->Handle() == window) {
            return true;
        }
    }
    return false;
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
