// SPDX-License-Identifier: GPL-3.0-or-later
// Times each report button of the native front end from the click to the repainted text
// surface or labels, in process, with the real user32 and winmm.
//   click_latency [CLICKS]
#include "app/Form1.h"
#include "app/Form12.h"
#include "app/Forms.h"
#include "platform/SystemBackend.h"
#include "platform/backends/windows/Module1.h"
#include "platform/frontends/win32/Win32DisplaySurface.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace pardolin;
using Clock = std::chrono::steady_clock;

namespace {

// From the button's click notification (what a button sends its window once it is
// released, as the toolkit's click() does) to the painting of what the handler changed,
// done at once as the next frame would; microseconds.
double TimeClick(HWND button, HWND window) {
    const auto start = Clock::now();
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

void Report(const char* what, const std::vector<double>& times) {
    std::vector<double> later(times.begin() + 1, times.end());
    std::sort(later.begin(), later.end());
    std::printf("%-22s first %8.0f us   later: median %8.0f us, max %8.0f us  (%zu clicks)\n", what,
                times.front(), later[later.size() / 2], later.back(), times.size());
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int clicks = argc > 1 ? std::max(2, _wtoi(argv[1])) : 51;
    const auto queries = CreateSystemQueries({});
    Win32DisplaySurface display([&queries](FormId form, DisplaySurface& surface) {
        return CreateForm(form, surface, *queries);
    });
    display.ShowForm(FormId::Form12);
    display.ShowForm(FormId::Form1);
    // As the program does once its first window shows; nobody clicks within half a second.
    Module1::PrepareWaveDevices();
    Sleep(500);
    const win32::Win32FormWindow& sound = *display.FindForm(FormId::Form12);
    const win32::Win32FormWindow& keyboard = *display.FindForm(FormId::Form1);
    std::vector<double> soundTimes;
    std::vector<double> keyboardTimes;
    for (int i = 0; i < clicks; ++i) {
        soundTimes.push_back(TimeClick(sound.Control(Form12::Command1.index), sound.Handle()));
        keyboardTimes.push_back(
            TimeClick(keyboard.Control(Form1::Command1.index), keyboard.Handle()));
    }
    if (GetWindowTextLengthW(sound.Control(Form12::Picture1.index)) == 0) {
        std::fprintf(stderr, "click_latency: the sound report did not print\n");
        return 1;
    }
    Report("sound", soundTimes);
    Report("keyboard", keyboardTimes);
    return 0;
}
