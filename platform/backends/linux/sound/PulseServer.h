// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"
#include "platform/backends/linux/SessionEnvironment.h"
#include "platform/backends/linux/sound/SinkMapping.h"

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
// be done by `deadline`. Never starts a server, and writes no files. Where the session
// names no server, libpulse looks for one itself, as every client does.
// A question that fails is told of on the sound server's channel, with libpulse's reason.
SoundServerAnswer QuerySoundServer(const SessionEnvironment& environment,
                                   std::chrono::steady_clock::time_point deadline,
                                   const Diagnostics& diagnostics);

} // namespace pardolin::linux_backend
