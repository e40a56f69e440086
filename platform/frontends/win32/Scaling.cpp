// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/win32/Scaling.h"

#include "platform/frontends/Metrics.h"

#include <cwchar>

namespace pardolin::win32 {
namespace {

static_assert(kLayoutDpi == USER_DEFAULT_SCREEN_DPI);

constexpr wchar_t kChineseFace[] = L"Microsoft YaHei UI";

// Per-monitor calls appeared in Windows 10 (1607); older systems are asked the old way.
template <typename Function> Function User32(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceExists(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

} // namespace

int DpiOf(HWND window) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = User32<GetDpiForWindow>("GetDpiForWindow");
    if (window && forWindow) {
        if (const UINT dpi = forWindow(window); dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    return ScreenDpi();
}

RECT Pixels(const Twips& twips, int dpi) {
    const int left = TwipsToPixels(twips.left, dpi);
    const int top = TwipsToPixels(twips.top, dpi);
    return {left, top, left + TwipsToPixels(twips.width, dpi),
            top + TwipsToPixels(twips.height, dpi)};
}

RECT OuterRect(RECT client, DWORD style, DWORD exStyle, int dpi) {
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (adjustForDpi) {
        adjustForDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
    }
    return client;
}

namespace {

// The interface face with its height for `dpi`.
LOGFONTW InterfaceFace(int dpi) {
    LOGFONTW font{};
    if (FaceExists(kChineseFace)) {
        wcsncpy(font.lfFaceName, kChineseFace, LF_FACESIZE - 1);
        font.lfHeight = -PixelsAt(kFontPixels, dpi);
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfQuality = CLEARTYPE_QUALITY;
    } else {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font = metrics.lfMessageFont;
        // The system gives it at its own DPI.
        font.lfHeight = MulDiv(font.lfHeight, dpi, ScreenDpi());
    }
    return font;
}

} // namespace

Font CreateInterfaceFont(int dpi) {
    const LOGFONTW font = InterfaceFace(dpi);
    return Font(CreateFontIndirectW(&font));
}

Font CreateSurfaceFont(int dpi) {
    LOGFONTW font = InterfaceFace(dpi);
    // A positive height is the cell's, leading included.
    font.lfHeight = PixelsAt(kSurfaceLinePitch, dpi);
    return Font(CreateFontIndirectW(&font));
}

} // namespace pardolin::win32
