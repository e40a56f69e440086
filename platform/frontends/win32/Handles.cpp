// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/win32/Handles.h"

namespace pardolin::win32 {

WindowClass::WindowClass(const wchar_t* name, WNDPROC procedure, UINT style, HBRUSH background,
                         Icon icon, Icon smallIcon)
    : m_icon(std::move(icon)), m_smallIcon(std::move(smallIcon)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = m_icon.get();
    windowClass.hIconSm = m_smallIcon.get();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    m_atom = RegisterClassExW(&windowClass);
}

WindowClass::~WindowClass() {
    // Before the icons go: the class shows them until then.
    if (m_atom) {
        UnregisterClassW(MAKEINTATOM(m_atom), GetModuleHandleW(nullptr));
    }
}

} // namespace pardolin::win32
