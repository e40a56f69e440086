// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/AlsaCards.h"

#include <chrono>
#include <optional>
#include <vector>

namespace pardolin::linux_backend {

// The sound-server and ALSA queries live in a module of their own, loaded on the first
// sound query: libpulse and alsa-lib bring a dozen libraries with them, which would
// otherwise cost every start of the program about 3 ms and 1.5 MB.
struct SoundModule {
    // The sound server's output devices in device order, as capability records; nullopt
    // when no server answered within `budget`.
    std::optional<std::vector<WaveCapsRecord>> (*SoundServerDevices)(
        std::chrono::milliseconds budget);
    std::vector<AlsaPlayback> (*ListAlsaPlayback)();
    std::uint32_t (*AlsaCaps)(const AlsaPlayback& playback, WaveCapsRecord& record);
};

// The module's one exported symbol, a function returning its SoundModule.
inline constexpr char kSoundModuleEntry[] = "pardolin_sound_module";

// Loads the module beside the program on first use; nullptr when it cannot be loaded (the
// reason goes to stderr once).
const SoundModule* LoadSoundModule();

} // namespace pardolin::linux_backend
