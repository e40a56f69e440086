// SPDX-License-Identifier: GPL-3.0-or-later
// The pure report functions, and the sound query against a live private server beside
// `pactl list sinks` doing the same job.
#include "Records.h"
#include "Servers.h"

#include "platform/backends/linux/LinuxSystemQueries.h"
#include "platform/backends/linux/sound/PulseServer.h"
#include "reports/KeyboardReport.h"
#include "reports/PrintItem.h"
#include "reports/SoundReport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace pardolin;

// The session the sound query is asked in: the private server's.
linux_backend::SessionEnvironment& Session() {
    static linux_backend::SessionEnvironment session;
    return session;
}

void SoundReportText(benchmark::State& state) {
    // Every format and function: the longest report.
    const WaveCapsRecord record = testing::Record(U"内置音频 Analog Stereo", 2, 0x0FFF, 0x1F);
    for (auto _ : state) {
        for (const PrintItems& line : BuildSoundReport(record)) {
            benchmark::DoNotOptimize(FormatLine(line));
        }
    }
}
BENCHMARK(SoundReportText);

void KeyboardReportText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(KeyboardTypeLine(std::optional(4)));
        benchmark::DoNotOptimize(RepeatDelayLine(1));
        benchmark::DoNotOptimize(RepeatRateLine(31));
        benchmark::DoNotOptimize(CaretBlinkLine(530));
    }
}
BENCHMARK(KeyboardReportText);

void SoundServerQuery(benchmark::State& state) {
    for (auto _ : state) {
        const auto answer = linux_backend::QuerySoundServer(
            Session(), std::chrono::steady_clock::now() + linux_backend::kSoundServerDeadline, {});
        if (answer.snapshot.sinks.empty()) {
            state.SkipWithError("the private sound server did not answer");
            break;
        }
    }
}
BENCHMARK(SoundServerQuery)->Unit(benchmark::kMicrosecond)->Iterations(200);

void PactlListSinks(benchmark::State& state) {
    for (auto _ : state) {
        if (std::system("pactl list sinks >/dev/null 2>&1") != 0) {
            state.SkipWithError("pactl failed");
            break;
        }
    }
}
BENCHMARK(PactlListSinks)->Unit(benchmark::kMicrosecond)->Iterations(200);

} // namespace

int main(int argc, char** argv) {
    pardolin::testing::PulseServer server("load-module module-null-sink sink_name=bench channels=2 "
                                          "sink_properties=device.description=Bench\n");
    Session().pulseServer = server.Address();
    // pactl finds it the usual way.
    setenv("PULSE_SERVER", server.Address().c_str(), 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
