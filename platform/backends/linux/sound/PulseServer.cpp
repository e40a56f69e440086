// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/sound/PulseServer.h"

#include "platform/backends/linux/FileDescriptor.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

namespace pardolin::linux_backend {
namespace {

using Clock = std::chrono::steady_clock;

struct MainloopDeleter {
    void operator()(pa_mainloop* loop) const { pa_mainloop_free(loop); }
};
struct ContextDeleter {
    void operator()(pa_context* context) const {
        // The query the callbacks write to may be gone by now.
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
};

// The state of one query while the main loop runs its callbacks.
struct Query {
    ServerSnapshot snapshot;
    int pendingReplies = 0;
    bool ready = false; // connected and authenticated
    bool failed = false;
    bool refused = false;
    std::string why; // of a failure

    bool Done() const { return failed || pendingReplies == 0; }
};

void Fail(Query& query, pa_context* context) {
    query.failed = true;
    query.why = pa_strerror(pa_context_errno(context));
}

void Release(pa_operation* operation, Query& query, pa_context* context) {
    if (!operation) {
        Fail(query, context);
        return;
    }
    pa_operation_unref(operation);
}

void OnServerInfo(pa_context* context, const pa_server_info* info, void* userdata) {
    auto& query = *static_cast<Query*>(userdata);
    if (!info) {
        Fail(query, context);
        return;
    }
    query.snapshot.serverVersion = info->server_version ? info->server_version : "";
    query.snapshot.defaultSinkName = info->default_sink_name ? info->default_sink_name : "";
    --query.pendingReplies;
}

void OnSinkInfo(pa_context* context, const pa_sink_info* info, int endOfList, void* userdata) {
    auto& query = *static_cast<Query*>(userdata);
    if (endOfList < 0) {
        Fail(query, context);
    } else if (endOfList > 0) {
        --query.pendingReplies;
    } else if (info) {
        query.snapshot.sinks.push_back(SinkFactsFrom(*info));
    }
}

void OnStateChange(pa_context* context, void* userdata) {
    auto& query = *static_cast<Query*>(userdata);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        query.ready = true;
        Release(pa_context_get_server_info(context, OnServerInfo, &query), query, context);
        Release(pa_context_get_sink_info_list(context, OnSinkInfo, &query), query, context);
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        Fail(query, context);
        // libpulse reports every server address it could not connect to this way.
        query.refused = pa_context_errno(context) == PA_ERR_CONNECTIONREFUSED;
        break;
    default:
        break;
    }
}

bool Exists(const std::string& path) {
    struct stat status {};
    return !path.empty() && stat(path.c_str(), &status) == 0;
}

// A cookie of zeros in memory, for as long as the connection is being made.
class EmptyCookie {
  public:
    EmptyCookie() : m_fd(MakeFile()) {}

    // libpulse writes a new cookie when it finds none. Without one of the user's own there
    // is nothing to authenticate with anyway (a local server checks the user's credentials
    // instead), so it is handed this one to read.
    void OfferTo(pa_context* context, const SessionEnvironment& environment) const {
        const bool userCookie =
            environment.pulseCookie || Exists(environment.UserConfigDir() + "/pulse/cookie") ||
            (!environment.home.empty() && Exists(environment.home + "/.pulse-cookie"));
        if (!userCookie && m_fd.Valid()) {
            pa_context_load_cookie_from_file(
                context, ("/proc/self/fd/" + std::to_string(m_fd.Get())).c_str());
        }
    }

  private:
    static constexpr off_t kCookieLength = 256; // PulseAudio's native cookie length

    static FileDescriptor MakeFile() {
        FileDescriptor file(memfd_create("pardolin-cookie", MFD_CLOEXEC));
        if (file.Valid() && ftruncate(file.Get(), kCookieLength) != 0) {
            return FileDescriptor();
        }
        return file;
    }

    const FileDescriptor m_fd;
};

// The server to connect to, or nullptr for libpulse's own search: the one the session
// names (PULSE_SERVER), or where none is named, the search, which makes the user's runtime
// folder for a server of the user's own; where that folder does not exist, no such server
// can run, and only the system-wide one is tried.
const char* ServerAddress(const SessionEnvironment& environment) {
    if (environment.pulseServer) {
        return environment.pulseServer->empty() ? nullptr : environment.pulseServer->c_str();
    }
    if (!environment.runtimeDir.empty() && Exists(environment.runtimeDir + "/pulse")) {
        return nullptr;
    }
    return "unix:/run/pulse/native";
}

} // namespace

SoundServerAnswer QuerySoundServer(const SessionEnvironment& environment,
                                   Clock::time_point deadline, const Diagnostics& diagnostics) {
    using Outcome = SoundServerAnswer::Outcome;
    const Clock::time_point start = Clock::now();
    const auto failed = [&diagnostics](const char* step, const std::string& why,
                                       Outcome outcome) -> SoundServerAnswer {
        diagnostics.Failed(Peer::SoundServer, step, why);
        return {outcome, {}};
    };
    const std::unique_ptr<pa_mainloop, MainloopDeleter> loop(pa_mainloop_new());
    const std::unique_ptr<pa_context, ContextDeleter> context(
        loop ? pa_context_new(pa_mainloop_get_api(loop.get()), "Pardolin") : nullptr);
    if (!context) {
        return failed("setting up", "libpulse cannot make a connection", Outcome::NoAnswer);
    }
    const EmptyCookie cookie;
    cookie.OfferTo(context.get(), environment);
    Query query;
    query.pendingReplies = 2; // server info and the sink list
    pa_context_set_state_callback(context.get(), OnStateChange, &query);
    if (pa_context_connect(context.get(), ServerAddress(environment), PA_CONTEXT_NOAUTOSPAWN,
                           nullptr) < 0) {
        const int error = pa_context_errno(context.get());
        return failed("connecting", pa_strerror(error),
                      error == PA_ERR_CONNECTIONREFUSED ? Outcome::NoServer : Outcome::NoAnswer);
    }
    // Each turn of the loop waits at most until the deadline, so a server that stops
    // answering costs this query the rest of its time and no more.
    while (!query.Done()) {
        const auto remaining =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        const char* step = query.ready ? "its sinks" : "connecting";
        if (remaining.count() <= 0) {
            return failed(step, NoAnswerAfter(Clock::now() - start), Outcome::NoAnswer);
        }
        if (pa_mainloop_prepare(loop.get(), static_cast<int>(remaining.count())) < 0 ||
            pa_mainloop_poll(loop.get()) < 0 || pa_mainloop_dispatch(loop.get()) < 0) {
            return failed(step, std::string("libpulse's main loop failed: ") + std::strerror(errno),
                          Outcome::NoAnswer);
        }
    }
    if (query.failed) {
        return failed(query.ready ? "its sinks" : "connecting", query.why,
                      query.refused ? Outcome::NoServer : Outcome::NoAnswer);
    }
    return {Outcome::Answered, std::move(query.snapshot)};
}

} // namespace pardolin::linux_backend
