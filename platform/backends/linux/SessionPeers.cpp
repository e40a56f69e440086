// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/SessionPeers.h"

#include "platform/backends/linux/SessionBus.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace pardolin::linux_backend {
namespace {

// The Wayland wire: an object, then the message's size and opcode, then its arguments, in
// the machine's own byte order.
constexpr std::uint32_t kDisplayObject = 1;
constexpr std::uint32_t kSyncCallback = 2;
constexpr std::uint16_t kSyncRequest = 0;
constexpr std::uint16_t kCallbackDone = 0;
constexpr std::size_t kHeaderBytes = 8;
// The answer to one sync is two short events; a compositor that sends much more is not
// answering.
constexpr std::size_t kMostToRead = 4096;

std::uint32_t WordAt(const std::string& bytes, std::size_t at) {
    std::uint32_t word = 0;
    std::memcpy(&word, bytes.data() + at, sizeof word);
    return word;
}

} // namespace

std::optional<SocketAddress> CompositorAddress(const char* display, const char* runtimeDir) {
    const std::string name = display && *display ? display : "wayland-0";
    if (name.front() == '/') {
        return SocketAddress{name, false};
    }
    if (!runtimeDir || *runtimeDir != '/') {
        return std::nullopt;
    }
    return SocketAddress{std::string(runtimeDir) + "/" + name, false};
}

bool SessionBusAnswers(std::chrono::steady_clock::time_point deadline) {
    return SessionBus::Open(SessionBusAddresses(std::getenv("DBUS_SESSION_BUS_ADDRESS"),
                                                std::getenv("XDG_RUNTIME_DIR")),
                            deadline)
        .has_value();
}

bool CompositorAnswers(std::chrono::steady_clock::time_point deadline) {
    const std::optional<SocketAddress> address =
        CompositorAddress(std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_RUNTIME_DIR"));
    std::optional<PeerSocket> socket =
        address ? PeerSocket::Connect(*address, deadline) : std::nullopt;
    // wl_display.sync, whose callback the compositor calls once it has got that far.
    const std::uint32_t sync[] = {kDisplayObject, (12u << 16) | kSyncRequest, kSyncCallback};
    if (!socket || !socket->Send(std::string_view(reinterpret_cast<const char*>(sync), sizeof sync),
                                 deadline)) {
        return false;
    }
    std::string received;
    std::size_t at = 0;
    while (socket->Receive(received, kMostToRead, deadline)) {
        while (at + kHeaderBytes <= received.size()) {
            const std::uint32_t object = WordAt(received, at);
            const std::uint32_t sizeAndOpcode = WordAt(received, at + 4);
            const std::size_t size = sizeAndOpcode >> 16;
            if (size < kHeaderBytes) {
                return false;
            }
            if (object == kSyncCallback && (sizeAndOpcode & 0xFFFF) == kCallbackDone) {
                return true;
            }
            at += size;
        }
    }
    return false;
}

} // namespace pardolin::linux_backend
