// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/wayland/WaylandKeyboard.h"

#include "platform/backends/linux/FileDescriptor.h"
#include "platform/backends/linux/PeerSocket.h"
#include "platform/backends/linux/wayland/WaylandConnection.h"

#include <wayland-client.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace pardolin::linux_backend {
namespace {

using Clock = std::chrono::steady_clock;

// Far above any real keymap, which is some tens of kilobytes.
constexpr std::uint32_t kMaxKeymapBytes = 4 * 1024 * 1024;
// repeat_info came with version 4; release requests with 3 (keyboard) and 5 (seat).
constexpr std::uint32_t kSeatVersion = 5;

// One connection and what it has learnt, while the compositor's events are dispatched.
struct Conversation {
    explicit Conversation(std::unique_ptr<WaylandConnection> connected)
        : connection(std::move(connected)) {}
    Conversation(const Conversation&) = delete;
    Conversation& operator=(const Conversation&) = delete;
    ~Conversation() {
        // The proxies go before the connection does.
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

    const std::unique_ptr<WaylandConnection> connection;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    std::uint32_t seatVersion = 0;
    wl_keyboard* keyboard = nullptr;
    bool hasKeyboard = false;
    WaylandKeyboardFacts facts;
    std::string keymapRefused; // why a keymap that came was not taken
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

// The keymap the compositor announced: `size` bytes of its file, read rather than mapped.
// Through a mapping, a file shorter than announced, or cut while it is read, would raise
// SIGBUS; here it is no keymap.
std::optional<std::string> ReadKeymap(int fd, std::uint32_t size, std::string& why) {
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        why = "its file is not a regular file";
        return std::nullopt;
    }
    const auto announced = std::to_string(size);
    if (static_cast<std::uint64_t>(status.st_size) < size) {
        why = "its file is shorter than announced: " + std::to_string(status.st_size) + " of " +
              announced + " bytes";
        return std::nullopt;
    }
    std::string text(size, '\0');
    for (std::size_t got = 0; got < size;) {
        const ssize_t read = pread(fd, text.data() + got, size - got, static_cast<off_t>(got));
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read <= 0) {
            why = "its file was cut while it was read: " + std::to_string(got) + " of " +
                  announced + " bytes";
            return std::nullopt;
        }
        got += static_cast<std::size_t>(read);
    }
    text.resize(strnlen(text.data(), size));
    return text;
}

void OnKeymap(void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size) {
    auto& conversation = *static_cast<Conversation*>(data);
    const FileDescriptor keymapFile(fd);
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
        conversation.keymapRefused = "not an XKB keymap";
    } else if (size == 0 || size > kMaxKeymapBytes) {
        conversation.keymapRefused = "a size no keymap has: " + std::to_string(size) + " bytes";
    } else {
        conversation.facts.keymap = ReadKeymap(keymapFile.Get(), size, conversation.keymapRefused);
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

using Progress = WaylandConnection::Progress;

class CompositorKeyboard : public WaylandKeyboard {
  public:
    explicit CompositorKeyboard(const Diagnostics& diagnostics) : m_diagnostics(diagnostics) {}

    std::optional<WaylandKeyboardFacts> Read(const std::optional<SocketAddress>& address,
                                             Clock::time_point deadline) override {
        if (m_waiting) {
            // Answered there since, or gone: it may have a new connection.
            if (m_waiting->connection->Finish(Clock::now()) == Progress::Waiting) {
                Failed("the keyboard", "still no answer to an earlier click's question");
                return std::nullopt;
            }
            m_waiting.reset();
        }
        if (!address) {
            Failed("finding it", "WAYLAND_DISPLAY names no socket, and there is no runtime folder");
            return std::nullopt;
        }
        std::string why;
        std::optional<PeerSocket> socket = PeerSocket::Connect(*address, deadline, &why);
        std::unique_ptr<WaylandConnection> connection =
            socket ? WaylandConnection::FromDescriptor(socket->Release()) : nullptr;
        if (!connection) {
            Failed("connecting to " + address->name,
                   socket ? "libwayland takes no connection" : why);
            return std::nullopt;
        }
        const Clock::time_point start = Clock::now();
        auto conversation = std::make_unique<Conversation>(std::move(connection));
        wl_display* display = conversation->connection->Display();
        conversation->registry = wl_display_get_registry(display);
        wl_registry_add_listener(conversation->registry, &kRegistryListener, conversation.get());
        // The globals, then the seat's capabilities, then the keyboard's keymap and repeat
        // information, each followed by a sync that says the compositor has sent it all.
        const char* step = "its globals";
        Progress progress = conversation->connection->Step(deadline);
        if (progress == Progress::Answered && conversation->seat) {
            step = "its seat";
            progress = conversation->connection->Step(deadline);
        }
        if (progress == Progress::Answered && conversation->hasKeyboard) {
            step = "the keyboard";
            conversation->keyboard = wl_seat_get_keyboard(conversation->seat);
            wl_keyboard_add_listener(conversation->keyboard, &kKeyboardListener,
                                     conversation.get());
            progress = conversation->connection->Step(deadline);
        }
        if (progress == Progress::Waiting) {
            Failed(step, NoAnswerAfter(Clock::now() - start));
            m_waiting = std::move(conversation);
            return std::nullopt;
        }
        if (progress == Progress::Broken) {
            Failed(step, conversation->connection->Why());
            return std::nullopt;
        }
        if (!conversation->keyboard) {
            Failed(step, conversation->seat ? "the seat has no keyboard" : "it offers no seat");
            return std::nullopt;
        }
        if (!conversation->keymapRefused.empty()) {
            Failed("the keyboard's keymap", conversation->keymapRefused);
        }
        return std::move(conversation->facts);
    }

  private:
    void Failed(const std::string& step, const std::string& why) const {
        m_diagnostics.Failed(Peer::Compositor, step, why);
    }

    const Diagnostics m_diagnostics;
    // The last conversation, when the compositor has not answered it.
    std::unique_ptr<Conversation> m_waiting;
};

} // namespace

std::unique_ptr<WaylandKeyboard> CreateWaylandKeyboard(const Diagnostics& diagnostics) {
    return std::make_unique<CompositorKeyboard>(diagnostics);
}

} // namespace pardolin::linux_backend
