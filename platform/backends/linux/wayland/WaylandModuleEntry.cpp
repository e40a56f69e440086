// SPDX-License-Identifier: GPL-3.0-or-later
// The entry point of the Wayland module.
#include "platform/backends/linux/wayland/WaylandModule.h"

extern "C" __attribute__((visibility("default"))) const pardolin::linux_backend::WaylandModule*
pardolin_wayland_module() {
    using namespace pardolin::linux_backend;
    static constexpr WaylandModule kModule{CreateWaylandKeyboard, AskCompositor};
    return &kModule;
}
