// SPDX-License-Identifier: GPL-3.0-or-later
// Times programs from exec to their first top-level window being mapped, seen as a
// MapNotify on the root window of the X server named by DISPLAY, and reads each one's
// peak resident memory after a second of idling. Programs are run alternately; a program
// given with arguments ("wine64 floor.exe") is split at its spaces.
//   startup_time RUNS WARMUP PROGRAM...
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

struct Sample {
    double startMs = 0;
    long peakKb = 0;
};

long PeakResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// Waits for a MapNotify of a top-level window, at most `limit`.
bool WaitForMap(xcb_connection_t* connection, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped) {
                return true;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        poll(&fd, 1, static_cast<int>(std::max<long>(1, left.count())));
    }
    return false;
}

void Drain(xcb_connection_t* connection) {
    xcb_flush(connection);
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
        std::free(event);
    }
}

std::optional<Sample> RunOnce(xcb_connection_t* connection, const char* program) {
    std::istringstream command(program);
    std::vector<std::string> words{std::istream_iterator<std::string>(command), {}};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    Drain(connection);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    const bool mapped = WaitForMap(connection, std::chrono::seconds(10));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long peak = PeakResidentKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    if (!mapped) {
        return std::nullopt;
    }
    return Sample{ms, peak};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_time RUNS WARMUP PROGRAM...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int warmup = std::atoi(argv[2]);
    const std::vector<const char*> programs(argv + 3, argv + argc);

    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, nullptr), xcb_disconnect);
    if (xcb_connection_has_error(connection.get())) {
        std::fprintf(stderr, "startup_time: no X server\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection.get())).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection.get(), root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection.get());

    std::vector<std::vector<double>> times(programs.size());
    std::vector<std::vector<double>> peaks(programs.size());
    for (int run = 0; run < warmup + runs; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            const auto sample = RunOnce(connection.get(), programs[p]);
            if (!sample) {
                std::fprintf(stderr, "startup_time: %s mapped no window\n", programs[p]);
                return 1;
            }
            if (run >= warmup) {
                times[p].push_back(sample->startMs);
                peaks[p].push_back(static_cast<double>(sample->peakKb));
            }
        }
    }
    const double floorMs = Median(times.back());
    const double floorKb = Median(peaks.back());
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const auto [low, high] = std::minmax_element(times[p].begin(), times[p].end());
        std::printf("%-40s exec->mapped median %6.1f ms (min %6.1f, max %6.1f), x%.2f of the "
                    "last; peak RSS median %6.1f MB, x%.2f\n",
                    programs[p], Median(times[p]), *low, *high, Median(times[p]) / floorMs,
                    Median(peaks[p]) / 1024.0, Median(peaks[p]) / floorKb);
    }
    return 0;
}
