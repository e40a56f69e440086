// SPDX-License-Identifier: GPL-3.0-or-later
// The entry point of the sound module.
#include "platform/linux/PulseServer.h"
#include "platform/linux/SoundModule.h"

namespace {

std::optional<std::vector<pardolin::WaveCapsRecord>>
SoundServerDevices(std::chrono::milliseconds budget) {
    using namespace pardolin::linux_backend;
    const std::optional<ServerSnapshot> snapshot = QuerySoundServer(budget);
    if (!snapshot) {
        return std::nullopt;
    }
    std::vector<pardolin::WaveCapsRecord> devices;
    for (const SinkFacts& sink : OutputDevices(*snapshot)) {
        devices.push_back(WaveCapsFromSink(sink, snapshot->serverVersion));
    }
    return devices;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const pardolin::linux_backend::SoundModule*
pardolin_sound_module() {
    using namespace pardolin::linux_backend;
    static constexpr SoundModule kModule{SoundServerDevices, ListAlsaPlayback, AlsaCaps};
    return &kModule;
}
