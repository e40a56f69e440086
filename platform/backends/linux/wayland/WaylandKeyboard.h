// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"
#include "platform/backends/linux/PeerSocket.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace pardolin::linux_backend {

// What the compositor tells its clients about the first seat's keyboard. A member the
// compositor did not give is empty.
struct WaylandKeyboardFacts {
    std::optional<std::string> keymap;   // the XKB keymap text
    std::optional<int> repeatsPerSecond; // 0: keys do not repeat
    std::optional<int> repeatDelayMs;
};

// A compositor, asked about its keyboard on a connection of its own for each reading;
// connecting does not wait, even when the compositor takes no one.
class WaylandKeyboard {
  public:
    virtual ~WaylandKeyboard() = default;

    // What the compositor at `address` (see CompositorAddress) says; nullopt when there is
    // no compositor, no seat with a keyboard, or no answer by `deadline`. A compositor that
    // did not answer keeps that connection: until it has answered there, it gets no new
    // one, and the answer is nullopt at once.
    virtual std::optional<WaylandKeyboardFacts>
    Read(const std::optional<SocketAddress>& address,
         std::chrono::steady_clock::time_point deadline) = 0;
};

// Each question that fails is told of on the compositor's channel of `diagnostics`.
std::unique_ptr<WaylandKeyboard> CreateWaylandKeyboard(const Diagnostics& diagnostics);

} // namespace pardolin::linux_backend
