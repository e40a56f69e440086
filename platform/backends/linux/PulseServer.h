// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/SinkMapping.h"

#include <chrono>

namespace pardolin::linux_backend {

// What asking the sound server found out.
struct SoundServerAnswer {
    enum class Outcome {
        Answered, // the snapshot is the server's
        NoServer, // nothing listens where a server would be: a fact, not a failure
        NoAnswer, // a server may be there, but it did not answer in full in time
    };
    Outcome outcome = Outcome::NoAnswer;
    ServerSnapshot snapshot;
};

// Asks the desktop's sound server (PulseAudio, or PipeWire through its PulseAudio protocol)
// for its version, default sink and sinks, on a short-lived connection of its own that must
// be done by `deadline`. Never starts a server, and writes no files.
SoundServerAnswer QuerySoundServer(std::chrono::steady_clock::time_point deadline);

} // namespace pardolin::linux_backend
