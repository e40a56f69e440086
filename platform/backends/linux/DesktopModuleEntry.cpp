// SPDX-License-Identifier: GPL-3.0-or-later
// The entry point of the desktop module.
#include "platform/backends/linux/DesktopModule.h"

extern "C" __attribute__((visibility("default"))) const pardolin::linux_backend::DesktopModule*
pardolin_desktop_module() {
    using namespace pardolin::linux_backend;
    static constexpr DesktopModule kModule{ReadWaylandKeyboard, ReadPortalCaret};
    return &kModule;
}
