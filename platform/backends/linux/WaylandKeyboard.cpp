// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/WaylandKeyboard.h"

#include "platform/backends/linux/Deadline.h"
#include "platform/backends/linux/FileDescriptor.h"
#include "platform/backends/linux/PeerSocket.h"
#include "platform/backends/linux/SessionPeers.h"

#include <wayland-client.h>

#include <poll.h>
#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

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

// One connection and what it has learnt, while the compositor's events are dispatched.
struct Conversation {
    explicit Conversation(wl_display* connected) : display(connected) {}
    Conversation(const Conversation&) = delete;
    Conversation& operator=(const Conversation&) = delete;
    ~Conversation() {
        // The proxies go before the connection does.
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

    const std::unique_ptr<wl_display, DisplayDeleter> display;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    std::uint32_t seatVersion = 0;
    wl_keyboard* keyboard = nullptr;
    wl_callback* pending = nullptr; // the sync that marks the end of the current step
    bool hasKeyboard = false;
    WaylandKeyboardFacts facts;
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
}

const wl_callback_listener kStepListener{OnStepDone};

enum class Progress { Answered, Waiting, Broken };

// Dispatches the compositor's events until the pending sync comes, or until `deadline`.
Progress Dispatch(Conversation& conversation, Clock::time_point deadline) {
    wl_display* display = conversation.display.get();
    const int fd = wl_display_get_fd(display);
    while (conversation.pending) {
        while (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0) {
                return Progress::Broken;
            }
        }
        if (wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return Progress::Broken;
        }
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, MillisecondsUntil(deadline)) <= 0) {
            wl_display_cancel_read(display);
            return Progress::Waiting;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) {
            return Progress::Broken;
        }
    }
    return Progress::Answered;
}

// Asks for a sync and dispatches until it comes, so that everything asked before has been
// answered.
Progress Step(Conversation& conversation, Clock::time_point deadline) {
    conversation.pending = wl_display_sync(conversation.display.get());
    wl_callback_add_listener(conversation.pending, &kStepListener, &conversation);
    return Dispatch(conversation, deadline);
}

class CompositorKeyboard : public WaylandKeyboard {
  public:
    std::optional<WaylandKeyboardFacts> Read(Clock::time_point deadline) override {
        if (m_waiting) {
            // Answered there since, or gone: it may have a new connection.
            if (Dispatch(*m_waiting, Clock::now()) == Progress::Waiting) {
                return std::nullopt;
            }
            m_waiting.reset();
        }
        const std::optional<SocketAddress> address =
            CompositorAddress(std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_RUNTIME_DIR"));
        std::optional<PeerSocket> socket =
            address ? PeerSocket::Connect(*address, deadline) : std::nullopt;
        // The connection owns the descriptor from here on, and closes it if it fails.
        wl_display* display = socket ? wl_display_connect_to_fd(socket->Release()) : nullptr;
        if (!display) {
            return std::nullopt;
        }
        auto conversation = std::make_unique<Conversation>(display);
        conversation->registry = wl_display_get_registry(display);
        wl_registry_add_listener(conversation->registry, &kRegistryListener, conversation.get());
        // The globals, then the seat's capabilities, then the keyboard's keymap and repeat
        // information, each followed by a sync that says the compositor has sent it all.
        Progress progress = Step(*conversation, deadline);
        if (progress == Progress::Answered && conversation->seat) {
            progress = Step(*conversation, deadline);
        }
        if (progress == Progress::Answered && conversation->hasKeyboard) {
            conversation->keyboard = wl_seat_get_keyboard(conversation->seat);
            wl_keyboard_add_listener(conversation->keyboard, &kKeyboardListener,
                                     conversation.get());
            progress = Step(*conversation, deadline);
        }
        if (progress == Progress::Waiting) {
            m_waiting = std::move(conversation);
            return std::nullopt;
        }
        if (progress == Progress::Broken || !conversation->keyboard) {
            return std::nullopt;
        }
        return std::move(conversation->facts);
    }

  private:
    // The last conversation, when the compositor has not answered it.
    std::unique_ptr<Conversation> m_waiting;
};

} // namespace

std::unique_ptr<WaylandKeyboard> CreateWaylandKeyboard() {
    return std::make_unique<CompositorKeyboard>();
}

} // namespace pardolin::linux_backend
