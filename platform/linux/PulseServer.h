// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/SinkMapping.h"

#include <chrono>
#include <optional>

namespace pardolin::linux_backend {

// Asks the desktop's sound server (PulseAudio, or PipeWire through its PulseAudio protocol)
// for its version, default sink and sinks, on a short-lived connection of its own. Never
// starts a server. Returns nullopt when no server answered in full within `budget`.
std::optional<ServerSnapshot> QuerySoundServer(std::chrono::milliseconds budget);

} // namespace pardolin::linux_backend
