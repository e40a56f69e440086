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
constexpr std::uint32_t kRegistry = 2;
constexpr std::uint32_t kSyncCallback = 3;
constexpr std::uint16_t kSyncRequest = 0;
constexpr std::uint16_t kGetRegistryRequest = 1;
constexpr std::uint16_t kCallbackDone = 0;
constexpr std::uint16_t kGlobalEvent = 0;
constexpr std::size_t kHeaderBytes = 8;
// The globals and the answer to one sync are some dozens of short events; a compositor that
// sends much more is not answering.
constexpr std::size_t kMostToRead = 64 * 1024;

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

std::optional<std::vector<std::string>>
CompositorGlobals(std::chrono::steady_clock::time_point deadline) {
    const std::optional<SocketAddress> address =
        CompositorAddress(std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_RUNTIME_DIR"));
    std::optional<PeerSocket> socket =
        address ? PeerSocket::Connect(*address, deadline) : std::nullopt;
    // wl_display.get_registry, then wl_display.sync: the globals come before the callback.
    const std::uint32_t requests[] = {
        kDisplayObject, (12u << 16) | kGetRegistryRequest, kRegistry,
        kDisplayObject, (12u << 16) | kSyncRequest,        kSyncCallback};
    if (!socket ||
        !socket->Send(std::string_view(reinterpret_cast<const char*>(requests), sizeof requests),
                      deadline)) {
        return std::nullopt;
    }
    std::vector<std::string> globals;
    std::string received;
    std::size_t at = 0;
    while (socket->Receive(received, kMostToRead, deadline)) {
        while (at + kHeaderBytes <= received.size()) {
            const std::uint32_t object = WordAt(received, at);
            const std::uint32_t sizeAndOpcode = WordAt(received, at + 4);
            const std::size_t size = sizeAndOpcode >> 16;
            if (size < kHeaderBytes) {
                return std::nullopt;
            }
            if (at + size > received.size()) {
                break;
            }
            const std::uint16_t opcode = sizeAndOpcode & 0xFFFF;
            if (object == kSyncCallback && opcode == kCallbackDone) {
                return globals;
            }
            // wl_registry.global: a name, the interface as a string (its length, NUL
            // included, then its bytes), a version.
            if (object == kRegistry && opcode == kGlobalEvent && size >= kHeaderBytes + 8) {
                const std::size_t length = WordAt(received, at + kHeaderBytes + 4);
                if (length > 0 && kHeaderBytes + 8 + length <= size) {
                    globals.emplace_back(received.data() + at + kHeaderBytes + 8, length - 1);
                }
            }
            at += size;
        }
    }
    return std::nullopt;
}

} // namespace pardolin::linux_backend
