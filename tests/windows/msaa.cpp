// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the running program's windows as a screen reader does on Windows, through MSAA: the
// system's accessible object of each control, and the events the program raises. Run in the
// same prefix as the program.
//   msaa dump TITLE            each control: row name, role, name, value, state
//   msaa caret TITLE CONTROL   the line of an edit control's caret (0 is the first)
//   msaa events TITLE SECONDS  the accessibility events of the window's process, as they
//                              come: focus, value, name and live-region changes;
//                              "ready" once the hook listens
#include "app/Layouts.h"
#include "platform/frontends/win32/Win32FormWindow.h"
#include "reports/Text.h"

#include <oleacc.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace pardolin;
using namespace std::chrono_literals;

std::string Utf8(const wchar_t* wide) {
    const std::wstring text = wide ? wide : L"";
    std::string utf8 = ToUtf8(FromUtf16(std::u16string(text.begin(), text.end())));
    // One line per record: line ends are shown, not taken.
    std::string shown;
    for (const char c : utf8) {
        shown += c == '\r'   ? std::string("\\r")
                 : c == '\n' ? std::string("\\n")
                             : std::string(1, c);
    }
    return shown;
}

std::wstring Wide(const std::string& utf8) {
    const std::u16string units = ToUtf16(FromUtf8(utf8));
    return std::wstring(units.begin(), units.end());
}

const FormLayout* LayoutTitled(const std::string& title) {
    for (const FormLayout* layout : {&kForm2Layout, &kForm1Layout, &kForm12Layout}) {
        if (ToUtf8(Text(layout->caption)) == title) {
            return layout;
        }
    }
    return nullptr;
}

HWND WaitForWindow(const std::string& title) {
    const std::wstring wide = Wide(title);
    for (auto waited = 0ms; waited < 10s; waited += 50ms) {
        if (const HWND window = FindWindowW(nullptr, wide.c_str());
            window && IsWindowVisible(window)) {
            return window;
        }
        std::this_thread::sleep_for(50ms);
    }
    std::fprintf(stderr, "msaa: no visible window \"%s\"\n", title.c_str());
    std::exit(1);
}

// The layout's name of a child control, or what the program's window holds besides.
std::string RowName(HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id == win32::kAnnouncerId) {
        return "announcer";
    }
    wchar_t title[256] = L"";
    GetWindowTextW(GetAncestor(control, GA_ROOT), title, 256);
    const FormLayout* layout = LayoutTitled(Utf8(title));
    const int index = id - win32::kFirstControlId;
    if (layout && index >= 0 && static_cast<std::size_t>(index) < layout->controls.size()) {
        return std::string(layout->controls[static_cast<std::size_t>(index)].name);
    }
    wchar_t className[64] = L"";
    GetClassNameW(control, className, 64);
    return "(" + Utf8(className) + ")";
}

std::string States(long state) {
    const std::pair<long, const char*> names[] = {
        {STATE_SYSTEM_FOCUSED, "focused"},         {STATE_SYSTEM_READONLY, "readonly"},
        {STATE_SYSTEM_FOCUSABLE, "focusable"},     {STATE_SYSTEM_INVISIBLE, "invisible"},
        {STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_SELECTED, "selected"},
        {STATE_SYSTEM_HOTTRACKED, "hot"}};
    std::string words;
    for (const auto& [bit, name] : names) {
        if (state & bit) {
            words += words.empty() ? name : std::string(",") + name;
        }
    }
    return words.empty() ? "-" : words;
}

// "role|name|value|state" of an accessible object's child.
std::string Describe(IAccessible* object, VARIANT child) {
    BSTR name = nullptr;
    BSTR value = nullptr;
    VARIANT role{};
    VARIANT state{};
    object->get_accName(child, &name);
    object->get_accValue(child, &value);
    object->get_accRole(child, &role);
    object->get_accState(child, &state);
    const std::string line = std::to_string(role.vt == VT_I4 ? role.lVal : -1) + "|" + Utf8(name) +
                             "|" + Utf8(value) + "|" + States(state.vt == VT_I4 ? state.lVal : 0);
    SysFreeString(name);
    SysFreeString(value);
    return line;
}

std::string DescribeWindow(HWND control) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object)))) {
        return "(no accessible object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const std::string line = Describe(object, self);
    object->Release();
    return line;
}

BOOL CALLBACK PrintChild(HWND control, LPARAM) {
    std::printf("%s|%s\n", RowName(control).c_str(), DescribeWindow(control).c_str());
    return TRUE;
}

int Dump(const std::string& title) {
    EnumChildWindows(WaitForWindow(title), PrintChild, 0);
    return 0;
}

int Caret(const std::string& title, const std::string& name) {
    const FormLayout* layout = LayoutTitled(title);
    for (std::size_t i = 0; layout && i < layout->controls.size(); ++i) {
        if (layout->controls[i].name == name) {
            const HWND control =
                GetDlgItem(WaitForWindow(title), win32::kFirstControlId + static_cast<int>(i));
            std::printf("%ld\n", static_cast<long>(SendMessageW(control, EM_LINEFROMCHAR,
                                                                static_cast<WPARAM>(-1), 0)));
            return 0;
        }
    }
    return 2;
}

const char* EventName(DWORD event) {
    switch (event) {
    case EVENT_OBJECT_FOCUS:
        return "focus";
    case EVENT_OBJECT_VALUECHANGE:
        return "value";
    case EVENT_OBJECT_NAMECHANGE:
        return "name";
    case EVENT_OBJECT_LIVEREGIONCHANGED:
        return "live";
    default:
        return nullptr;
    }
}

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                      DWORD) {
    const char* name = EventName(event);
    if (!name || !window) {
        return;
    }
    IAccessible* accessible = nullptr;
    VARIANT which{};
    std::string described = "(no accessible object)";
    if (SUCCEEDED(AccessibleObjectFromEvent(window, object, child, &accessible, &which))) {
        described = Describe(accessible, which);
        accessible->Release();
    }
    std::printf("%s|%s|%s\n", name, RowName(window).c_str(), described.c_str());
    std::fflush(stdout);
}

int Events(const std::string& title, int seconds) {
    DWORD process = 0;
    GetWindowThreadProcessId(WaitForWindow(title), &process);
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, OnEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    if (!hook) {
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
    UnhookWinEvent(hook);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(Utf8(argv[i]));
    }
    const std::string command = args.empty() ? std::string() : args[0];
    int status = 2;
    if (command == "dump" && args.size() == 2) {
        status = Dump(args[1]);
    } else if (command == "caret" && args.size() == 3) {
        status = Caret(args[1], args[2]);
    } else if (command == "events" && args.size() == 3) {
        status = Events(args[1], std::stoi(args[2]));
    } else {
        std::fprintf(stderr, "msaa: unknown command\n");
    }
    CoUninitialize();
    return status;
}
