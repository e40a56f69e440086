// SPDX-License-Identifier: GPL-3.0-or-later
// The entry point of the sound module.
#include "platform/backends/linux/sound/SoundModule.h"

namespace {

pardolin::linux_backend::ServerDevices
ReadServerDevices(const pardolin::linux_backend::SessionEnvironment& environment,
                  std::chrono::steady_clock::time_point deadline,
                  const pardolin::Diagnostics& diagnostics) {
    using namespace pardolin::linux_backend;
    const SoundServerAnswer answer = QuerySoundServer(environment, deadline, diagnostics);
    ServerDevices devices{answer.outcome, {}};
    for (const SinkFacts& sink : OutputDevices(answer.snapshot)) {
        devices.devices.push_back(WaveCapsFromSink(sink, answer.snapshot.serverVersion));
    }
    return devices;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const pardolin::linux_backend::SoundModule*
pardolin_sound_module() {
    using namespace pardolin::linux_backend;
    static constexpr SoundModule kModule{ReadServerDevices, ListAlsaPlayback, AlsaCaps};
    return &kModule;
}
