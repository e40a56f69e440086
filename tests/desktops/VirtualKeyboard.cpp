// SPDX-License-Identifier: GPL-3.0-or-later
// Gives a wlroots compositor without input devices (sway's headless backend) a keyboard,
// through zwp_virtual_keyboard_manager_v1, and keeps it until ended. The compositor sets
// the keyboard up itself (sway: its "input type:keyboard" block). Prints READY then.
// Debian's wayland-protocols lacks virtual-keyboard-unstable-v1: its two interfaces are
// written out here, with the requests that are used.
#include <wayland-client.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

extern const wl_interface kVirtualKeyboard;
const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kVirtualKeyboard};
const wl_message kManagerRequests[] = {{"create_virtual_keyboard", "on", kCreateTypes}};
const wl_interface kManager = {
    "zwp_virtual_keyboard_manager_v1", 1, 1, kManagerRequests, 0, nullptr};
const wl_message kKeyboardRequests[] = {{"keymap", "uhu", nullptr},
                                        {"key", "uuu", nullptr},
                                        {"modifiers", "uuuu", nullptr},
                                        {"destroy", "", nullptr}};
const wl_interface kVirtualKeyboard = {"zwp_virtual_keyboard_v1", 1, 4,
                                       kKeyboardRequests,         0, nullptr};
constexpr std::uint32_t kCreateRequest = 0;
constexpr std::uint32_t kDestroyRequest = 3;

struct Globals {
    wl_seat* seat = nullptr;
    wl_proxy* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t) {
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, "wl_seat") == 0 && !globals.seat) {
        globals.seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, kManager.name) == 0) {
        globals.manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManager, 1));
    }
}

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

volatile std::sig_atomic_t stopping = 0;

} // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "virtual keyboard: no compositor\n");
        return 1;
    }
    Globals globals;
    static const wl_registry_listener listener{OnGlobal, OnGlobalRemove};
    wl_registry_add_listener(wl_display_get_registry(display), &listener, &globals);
    wl_display_roundtrip(display);
    if (!globals.seat || !globals.manager) {
        std::fprintf(stderr, "virtual keyboard: no seat, or no virtual keyboards\n");
        return 1;
    }
    wl_proxy* keyboard = wl_proxy_marshal_constructor(globals.manager, kCreateRequest,
                                                      &kVirtualKeyboard, globals.seat, nullptr);
    wl_display_roundtrip(display);
    std::printf("READY\n");
    std::fflush(stdout);
    std::signal(SIGTERM, [](int) { stopping = 1; });
    while (!stopping && wl_display_dispatch(display) != -1) {
    }
    wl_proxy_marshal(keyboard, kDestroyRequest);
    wl_display_flush(display);
    wl_display_disconnect(display);
    return 0;
}
