// SPDX-License-Identifier: GPL-3.0-or-later
// Looks at the running program's windows from outside, as a screen reader or a test tool
// would, and compares what they show with what the system says. Run in the same prefix.
//   probe window TITLE            client area on the screen, "left top width height"; fails
//                                 unless it is where and as large as the layout records
//   probe place TITLE CONTROL     the middle of the control's recorded place, on the screen
//   probe hidden TITLE            succeeds once no visible window has this title
//   probe count TITLE             how many windows have this title
//   probe close TITLE             asks the window to close, as taskkill does
//   probe text TITLE CONTROL      the control's text (WM_GETTEXT), as UTF-8
//   probe focus TITLE             the name of the control with the keyboard focus
//   probe sound-report            the report on screen against the system's own record
//   probe keyboard-report         the four keyboard lines against the system's own values
//   probe message TITLE           the prompt of the message box with this title, and on a
//                                 second line its button's caption
//   probe clipboard               the text on the clipboard, which is emptied
//   probe version PROGRAM         the program's version record
//   probe code-page               the ANSI code page
//   probe text-end TITLE CONTROL  where the control's text ends, in pixels from its left: the
//                                 place of its last character (EM_POSFROMCHAR)
//   probe message-font HEIGHT FACE
//                                 makes FACE of HEIGHT pixels the system's message font and
//                                 tells every window (SPIF_SENDCHANGE); prints the font it
//                                 replaced, "HEIGHT FACE"
//   probe os-version              the Windows version the system says it is, "major.minor"
//   probe shortcut LINK           the shortcut's target and working folder, as the shell
//                                 reads them (IShellLinkW), one a line
#include "app/Layouts.h"
#include "platform/backends/windows/Keyboard.h"
#include "platform/backends/windows/Module1.h"
#include "platform/frontends/win32/Scaling.h"
#include "platform/frontends/win32/Win32FormWindow.h"
#include "reports/KeyboardReport.h"
#include "reports/SoundReport.h"

#include <windows.h>

#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace {

using namespace pardolin;
using namespace std::chrono_literals;

using win32::kFirstControlId;

// The screen's DPI, as the program sees it: the helper is DPI-aware as the program is, and
// asks for the one screen rather than for another process's window (Wine answers that
// with 96 whatever the setting).
int ScreenDpi() {
    return win32::DpiOf(nullptr);
}

std::string Utf8(const std::wstring& wide) {
    return ToUtf8(FromUtf16(std::u16string(wide.begin(), wide.end())));
}

std::wstring Wide(const std::string& utf8) {
    const std::u16string units = ToUtf16(FromUtf8(utf8));
    return std::wstring(units.begin(), units.end());
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1,
                      L'\0');
    const auto length =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

struct Search {
    std::wstring title;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    if ((!search.visibleOnly || IsWindowVisible(window)) && WindowText(window) == search.title) {
        search.found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> Windows(const std::string& title, bool visibleOnly) {
    Search search{Wide(title), visibleOnly, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The visible window with this title, waited for up to ten seconds.
HWND WaitForWindow(const std::string& title) {
    for (auto waited = 0ms; waited < 10s; waited += 50ms) {
        if (const auto found = Windows(title, true); !found.empty()) {
            return found.front();
        }
        std::this_thread::sleep_for(50ms);
    }
    std::fprintf(stderr, "probe: no visible window \"%s\"\n", title.c_str());
    std::exit(1);
}

const FormLayout* LayoutTitled(const std::string& title) {
    for (const FormLayout* layout : {&kForm2Layout, &kForm1Layout, &kForm12Layout}) {
        if (ToUtf8(Text(layout->caption)) == title) {
            return layout;
        }
    }
    std::fprintf(stderr, "probe: no window of the program is called \"%s\"\n", title.c_str());
    std::exit(2);
}

std::size_t RowOf(const FormLayout& layout, const std::string& name) {
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (layout.controls[i].name == name) {
            return i;
        }
    }
    std::fprintf(stderr, "probe: no control %s\n", name.c_str());
    std::exit(2);
}

HWND ControlOf(const std::string& title, const std::string& name) {
    const std::size_t row = RowOf(*LayoutTitled(title), name);
    return GetDlgItem(WaitForWindow(title), kFirstControlId + static_cast<int>(row));
}

int Window(const std::string& title) {
    const HWND window = WaitForWindow(title);
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    const RECT recorded = win32::Pixels(LayoutTitled(title)->client, ScreenDpi());
    const bool asRecorded = origin.x == recorded.left && origin.y == recorded.top &&
                            client.right == recorded.right - recorded.left &&
                            client.bottom == recorded.bottom - recorded.top;
    if (!asRecorded) {
        std::printf("recorded: %ld %ld %ld %ld\n", recorded.left, recorded.top,
                    recorded.right - recorded.left, recorded.bottom - recorded.top);
    }
    return asRecorded ? 0 : 1;
}

int Place(const std::string& title, const std::string& name) {
    const HWND window = WaitForWindow(title);
    const FormLayout& layout = *LayoutTitled(title);
    const RECT pixels = win32::Pixels(PlaceInWindow(layout, RowOf(layout, name)), ScreenDpi());
    POINT middle{(pixels.left + pixels.right) / 2, (pixels.top + pixels.bottom) / 2};
    ClientToScreen(window, &middle);
    std::printf("%ld %ld\n", middle.x, middle.y);
    return 0;
}

std::string ControlText(const std::string& title, const std::string& name) {
    return Utf8(WindowText(ControlOf(title, name)));
}

// The control's text once it has some, waited for up to five seconds: the program takes a
// click up after xdotool has returned, and the first sound click after start waits for the
// sound drivers to load.
std::string FilledText(const std::string& title, const std::string& name) {
    for (auto waited = 0ms; waited < 5s; waited += 50ms) {
        if (std::string text = ControlText(title, name); !text.empty()) {
            return text;
        }
        std::this_thread::sleep_for(50ms);
    }
    return {};
}

// Prints each line that differs; true when none does.
bool SameLines(const std::vector<std::string>& shown, const std::vector<std::string>& expected) {
    bool same = shown.size() == expected.size();
    for (std::size_t i = 0; i < std::max(shown.size(), expected.size()); ++i) {
        const std::string a = i < shown.size() ? shown[i] : "(none)";
        const std::string b = i < expected.size() ? expected[i] : "(none)";
        if (a != b) {
            std::printf("line %zu shows \"%s\", expected \"%s\"\n", i + 1, a.c_str(), b.c_str());
            same = false;
        }
    }
    return same;
}

int SoundReport() {
    std::vector<std::string> shown;
    const std::string text = FilledText("声卡信息统计", "Picture1");
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = text.find("\r\n", start);
        shown.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() + 1 : end + 2;
    }
    WaveCapsRecord record;
    if (Module1::waveOutGetDevCapsA(0, record, kWaveCapsRecordSize) != WaveResult::NoError) {
        std::printf("the system gives no record for device 0\n");
        return 1;
    }
    std::vector<std::string> expected;
    for (const PrintItems& items : BuildSoundReport(record)) {
        expected.push_back(ToUtf8(FormatLine(items)));
    }
    if (!SameLines(shown, expected)) {
        return 1;
    }
    std::printf("%s\n", shown.front().c_str());
    return 0;
}

int KeyboardReport() {
    std::int32_t delay = 0;
    std::int32_t rate = 0;
    const bool delayKnown =
        Keyboard::SystemParametersInfoA(SystemParameter::KeyboardDelay, 0, delay, 0);
    const bool rateKnown =
        Keyboard::SystemParametersInfoA(SystemParameter::KeyboardSpeed, 0, rate, 0);
    const std::int32_t type = Keyboard::GetKeyboardType(0);
    const std::vector<std::string> expected{
        ToUtf8(KeyboardTypeLine(type != 0 ? std::optional(type) : std::nullopt)),
        ToUtf8(RepeatRateLine(rateKnown ? std::optional(rate) : std::nullopt)),
        ToUtf8(RepeatDelayLine(delayKnown ? std::optional(delay) : std::nullopt)),
        ToUtf8(CaretBlinkLine(Keyboard::GetCaretBlinkTime()))};
    // One click fills the four lines at once.
    FilledText("统计键盘信息", "lblcaretflash");
    std::vector<std::string> shown;
    for (const char* label : {"lblkeyboard", "lblrepeatspeed", "lblrepeatdelay", "lblcaretflash"}) {
        shown.push_back(ControlText("统计键盘信息", label));
    }
    if (!SameLines(shown, expected)) {
        return 1;
    }
    for (const std::string& line : shown) {
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

int Focus(const std::string& title) {
    const HWND window = WaitForWindow(title);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus) {
        std::printf("(none)\n");
        return 0;
    }
    const int index = GetDlgCtrlID(info.hwndFocus) - kFirstControlId;
    const FormLayout& layout = *LayoutTitled(title);
    if (index < 0 || static_cast<std::size_t>(index) >= layout.controls.size()) {
        std::printf("(other)\n");
        return 0;
    }
    const std::string_view name = layout.controls[static_cast<std::size_t>(index)].name;
    std::printf("%.*s\n", static_cast<int>(name.size()), name.data());
    return 0;
}

int Message(const std::string& title) {
    const HWND box = WaitForWindow(title);
    // A message box's prompt is its static control 0xFFFF; its one button is IDOK.
    std::printf("%s\n%s\n", Utf8(WindowText(GetDlgItem(box, 0xFFFF))).c_str(),
                Utf8(WindowText(GetDlgItem(box, IDOK))).c_str());
    return 0;
}

struct ReleaseObject {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface> using ObjectRef = std::unique_ptr<Interface, ReleaseObject>;
struct FreeTaskMemory {
    void operator()(void* memory) const { CoTaskMemFree(memory); }
};

class ComScope {
  public:
    ComScope() : m_ok(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (m_ok) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool m_ok;
};

int Shortcut(const std::string& link) {
    const ComScope com;
    IShellLinkW* created = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&created)))) {
        return 1;
    }
    const ObjectRef<IShellLinkW> shell(created);
    IPersistFile* file = nullptr;
    if (FAILED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        return 1;
    }
    const ObjectRef<IPersistFile> loader(file);
    PIDLIST_ABSOLUTE items = nullptr;
    const bool loaded = SUCCEEDED(loader->Load(Wide(link).c_str(), STGM_READ)) &&
                        SUCCEEDED(shell->GetIDList(&items));
    const std::unique_ptr<std::remove_pointer_t<PIDLIST_ABSOLUTE>, FreeTaskMemory> itemList(items);
    // The target as its item list names it: GetPath would give the link's ANSI copy of it.
    wchar_t target[MAX_PATH] = L"";
    wchar_t folder[MAX_PATH] = L"";
    if (!loaded || !SHGetPathFromIDListW(itemList.get(), target) ||
        FAILED(shell->GetWorkingDirectory(folder, MAX_PATH))) {
        std::printf("no shortcut %s\n", link.c_str());
        return 1;
    }
    std::printf("%s\n%s\n", Utf8(target).c_str(), Utf8(folder).c_str());
    return 0;
}

int Clipboard() {
    std::string text;
    if (OpenClipboard(nullptr)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = Utf8(static_cast<const wchar_t*>(GlobalLock(data)));
            GlobalUnlock(data);
        }
        EmptyClipboard();
        CloseClipboard();
    }
    std::printf("%s\n", text.c_str());
    return 0;
}

int Version(const std::string& program) {
    const std::wstring path = Wide(program);
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    if (block.empty() ||
        !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
        std::printf("no version record\n");
        return 1;
    }
    for (const wchar_t* name : {L"ProductName", L"FileVersion", L"ProductVersion"}) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
        const bool found = VerQueryValueW(block.data(), key.c_str(), &value, &length) && length;
        std::printf("%s=%s\n", Utf8(name).c_str(),
                    found ? Utf8(static_cast<const wchar_t*>(value)).c_str() : "");
    }
    WORD* translation = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                       reinterpret_cast<void**>(&translation), &length) &&
        length >= 4) {
        std::printf("Translation=0x%04X 0x%04X\n", translation[0], translation[1]);
    }
    return 0;
}

int TextEnd(const std::string& title, const std::string& name) {
    const HWND control = ControlOf(title, name);
    const auto length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    const LRESULT place =
        length > 0 ? SendMessageW(control, EM_POSFROMCHAR, static_cast<WPARAM>(length - 1), 0) : -1;
    std::printf("%d\n", static_cast<short>(LOWORD(place)));
    return place != -1 ? 0 : 1;
}

int MessageFont(const std::string& face, int height) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return 1;
    }
    std::printf("%ld %s\n", -metrics.lfMessageFont.lfHeight,
                Utf8(metrics.lfMessageFont.lfFaceName).c_str());
    const std::wstring wide = Wide(face);
    wcsncpy(metrics.lfMessageFont.lfFaceName, wide.c_str(), LF_FACESIZE - 1);
    metrics.lfMessageFont.lfHeight = -height;
    return SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics,
                                 SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
               ? 0
               : 1;
}

int OsVersion() {
    // Asked of ntdll: GetVersionEx answers what the manifest lets it.
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto getVersion = reinterpret_cast<RtlGetVersion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!getVersion || getVersion(&version) != 0) {
        return 1;
    }
    std::printf("%lu.%lu\n", version.dwMajorVersion, version.dwMinorVersion);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(Utf8(argv[i]));
    }
    const auto command = args.empty() ? std::string() : args[0];
    if (command == "window" && args.size() == 2) {
        return Window(args[1]);
    }
    if (command == "place" && args.size() == 3) {
        return Place(args[1], args[2]);
    }
    if (command == "hidden" && args.size() == 2) {
        for (auto waited = 0ms; waited < 10s; waited += 50ms) {
            if (Windows(args[1], true).empty()) {
                return 0;
            }
            std::this_thread::sleep_for(50ms);
        }
        return 1;
    }
    if (command == "count" && args.size() == 2) {
        std::printf("%zu\n", Windows(args[1], false).size());
        return 0;
    }
    if (command == "close" && args.size() == 2) {
        // Sent, not posted: the program has handled it once this returns.
        SendMessageW(WaitForWindow(args[1]), WM_CLOSE, 0, 0);
        return 0;
    }
    if (command == "text" && args.size() == 3) {
        std::printf("%s\n", ControlText(args[1], args[2]).c_str());
        return 0;
    }
    if (command == "focus" && args.size() == 2) {
        return Focus(args[1]);
    }
    if (command == "sound-report" && args.size() == 1) {
        return SoundReport();
    }
    if (command == "keyboard-report" && args.size() == 1) {
        return KeyboardReport();
    }
    if (command == "message" && args.size() == 2) {
        return Message(args[1]);
    }
    if (command == "clipboard" && args.size() == 1) {
        return Clipboard();
    }
    if (command == "version" && args.size() == 2) {
        return Version(args[1]);
    }
    if (command == "code-page" && args.size() == 1) {
        std::printf("%u\n", GetACP());
        return 0;
    }
    if (command == "os-version" && args.size() == 1) {
        return OsVersion();
    }
    if (command == "text-end" && args.size() == 3) {
        return TextEnd(args[1], args[2]);
    }
    if (command == "message-font" && args.size() == 3) {
        return MessageFont(args[2], std::stoi(args[1]));
    }
    if (command == "shortcut" && args.size() == 2) {
        return Shortcut(args[1]);
    }
    std::fprintf(stderr, "probe: unknown command\n");
    return 2;
}
