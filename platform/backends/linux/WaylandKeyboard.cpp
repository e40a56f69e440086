// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/WaylandKeyboard.h"

#include "platform/backends/linux/Deadline.h"
#include "platform/backends/linux/FileDescriptor.h"

#include <wayland-client.h>

#include <poll.h>
#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace pardolin::linux_backend {
namespace {

using Clock = std::chrono::steady_clock;

// Far above any real keymap, which is some tens of kilobytes.
constexpr std::uint32_t kMaxKeymapBytes = 4 * 1024 * 1024;
// repeat_info came with version 4; release requests with 3 (keyboard) and 5 (seat).
constexpr std::uint32_t kSeatVersion = 5;

struct DisplayDeleter {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};

// The state of one conversation while the compositor's events are dispatched.
struct Conversation {
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    std::uint32_t seatVersion = 0;
    wl_keyboard* keyboard = nullptr;
    wl_callback* pending = nullptr; // the sync that marks the end of the current step
    bool hasKeyboard = false;
    bool done = false;
    WaylandKeyboardFacts facts;

    ~Conversation() {
        if (pending) {
            wl_callback_destroy(pending);
        }
        if (keyboard) {
            seatVersion >= 3 ? wl_keyboard_release(keyboard) : wl_keyboard_destroy(keyboard);
        }
        if (seat) {
            seatVersion >= 5 ? wl_seat_release(seat) : wl_seat_destroy(seat);
        }
        if (registry) {
            wl_registry_destroy(registry);
        }
    }
};

void OnCapabilities(void* data, wl_seat*, std::uint32_t capabilities) {
    static_cast<Conversation*>(data)->hasKeyboard =
        (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
}

void OnSeatName(void*, wl_seat*, const char*) {}

const wl_seat_listener kSeatListener{OnCapabilities, OnSeatName};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    auto& conversation = *static_cast<Conversation*>(data);
    if (!conversation.seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
        conversation.seatVersion = std::min(version, kSeatVersion);
        conversation.seat = static_cast<wl_seat*>(
            wl_registry_bind(registry, name, &wl_seat_interface, conversation.seatVersion));
        // Listened to at once: its capabilities may come in the same read as the step's end.
        wl_seat_add_listener(conversation.seat, &kSeatListener, &conversation);
    }
}

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};

void OnKeymap(void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size) {
    auto& conversation = *static_cast<Conversation*>(data);
    const FileDescriptor keymapFile(fd);
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0 && size <= kMaxKeymapBytes) {
        // Private and read-only, as the protocol requires from version 7 on.
        void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (text != MAP_FAILED) {
            const auto* bytes = static_cast<const char*>(text);
            conversation.facts.keymap = std::string(bytes, strnlen(bytes, size));
            munmap(text, size);
        }
    }
}

void OnEnter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
void OnLeave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
void OnKey(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {}
void OnModifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                 std::uint32_t) {}

void OnRepeatInfo(void* data, wl_keyboard*, std::int32_t rate, std::int32_t delay) {
    auto& conversation = *static_cast<Conversation*>(data);
    conversation.facts.repeatsPerSecond = rate;
    conversation.facts.repeatDelayMs = delay;
}

const wl_keyboard_listener kKeyboardListener{OnKeymap, OnEnter,     OnLeave,
                                             OnKey,    OnModifiers, OnRepeatInfo};

// The compositor has answered everything asked before the sync.
void OnStepDone(void* data, wl_callback* callback, std::uint32_t) {
    auto& conversation = *static_cast<Conversation*>(data);
    wl_callback_destroy(callback);
    conversation.pending = nullptr;
    conversation.done = true;
}

const wl_callback_listener kStepListener{OnStepDone};

// Asks for a sync and dispatches the compositor's events until it comes, so that everything
// asked before has been answered; false when the deadline passes first or the connection
// breaks.
bool Step(wl_display* display, Conversation& conversation, Clock::time_point deadline) {
    conversation.done = false;
    conversation.pending = wl_display_sync(display);
    wl_callback_add_listener(conversation.pending, &kStepListener, &conversation);
    const int fd = wl_display_get_fd(display);
    while (!conversation.done) {
        while (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0) {
                return false;
            }
        }
        if (wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return false;
        }
        const int left = MillisecondsUntil(deadline);
        pollfd readable{fd, POLLIN, 0};
        if (left <= 0 || poll(&readable, 1, left) <= 0) {
            wl_display_cancel_read(display);
            return false;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<WaylandKeyboardFacts> ReadWaylandKeyboard(Clock::time_point deadline) {
    // Connecting does not wait for the compositor: the socket takes the connection even
    // when the compositor itself is stopped.
    const std::unique_ptr<wl_display, DisplayDeleter> display(wl_display_connect(nullptr));
    if (!display) {
        return std::nullopt;
    }
    Conversation conversation;
    conversation.registry = wl_display_get_registry(display.get());
    wl_registry_add_listener(conversation.registry, &kRegistryListener, &conversation);
    // The globals, then the seat's capabilities, then the keyboard's keymap and repeat
    // information, each followed by a sync that says the compositor has sent it all.
    if (!Step(display.get(), conversation, deadline) || !conversation.seat ||
        !Step(display.get(), conversation, deadline) || !conversation.hasKeyboard) {
        return std::nullopt;
    }
    conversation.keyboard = wl_seat_get_keyboard(conversation.seat);
    wl_keyboard_add_listener(conversation.keyboard, &kKeyboardListener, &conversation);
    if (!Step(display.get(), conversation, deadline)) {
        return std::nullopt;
    }
    return std::move(conversation.facts);
}

} // namespace pardolin::linux_backend
