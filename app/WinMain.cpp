// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up with the native Windows front end.
#include "app/Forms.h"
#include "platform/SystemBackend.h"
#include "platform/backends/windows/Module1.h"
#include "platform/frontends/win32/Win32Diagnostics.h"
#include "platform/frontends/win32/Win32DisplaySurface.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::unique_ptr<pardolin::SystemQueries> queries =
        pardolin::CreateSystemQueries({{}, false, pardolin::win32::Win32Diagnostics()});
    pardolin::Win32DisplaySurface display(
        [&queries](pardolin::FormId form, pardolin::DisplaySurface& surface) {
            return pardolin::CreateForm(form, surface, *queries);
        });
    pardolin::StartUp(display);
    // While the user looks at the first window, the system starts its wave drivers.
    pardolin::Module1::PrepareWaveDevices();
    return display.RunMessageLoop();
}
