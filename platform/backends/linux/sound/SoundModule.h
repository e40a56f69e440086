// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/backends/linux/sound/AlsaCards.h"
#include "platform/backends/linux/sound/PulseServer.h"

#include <chrono>
#include <vector>

namespace pardolin::linux_backend {

// The sound server's output devices in device order, as capability records.
struct ServerDevices {
    SoundServerAnswer::Outcome outcome = SoundServerAnswer::Outcome::NoAnswer;
    std::vector<WaveCapsRecord> devices;
};

// The sound-server and ALSA queries live in a module of their own, loaded on the first
// sound query: libpulse and alsa-lib bring a dozen libraries with them, which would
// otherwise cost every start of the program about 3 ms and 1.5 MB.
struct SoundModule {
    ServerDevices (*ReadServerDevices)(const SessionEnvironment& environment,
                                       std::chrono::steady_clock::time_point deadline,
                                       const Diagnostics& diagnostics);
    AlsaPlaybackList (*ListAlsaPlayback)(const Diagnostics& diagnostics);
    WaveResult (*AlsaCaps)(const AlsaPlayback& playback, WaveCapsRecord& record,
                           const Diagnostics& diagnostics);
};

// The module's one exported symbol, a function returning its SoundModule.
inline constexpr char kSoundModuleFile[] = "pardolin-sound.so";
inline constexpr char kSoundModuleEntry[] = "pardolin_sound_module";

} // namespace pardolin::linux_backend
