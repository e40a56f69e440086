// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/PulseServer.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>

#include <memory>

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
    bool failed = false;

    bool Done() const { return failed || pendingReplies == 0; }
};

void Release(pa_operation* operation, Query& query) {
    if (!operation) {
        query.failed = true;
        return;
    }
    pa_operation_unref(operation);
}

void OnServerInfo(pa_context*, const pa_server_info* info, void* userdata) {
    auto& query = *static_cast<Query*>(userdata);
    if (!info) {
        query.failed = true;
        return;
    }
    query.snapshot.serverVersion = info->server_version ? info->server_version : "";
    query.snapshot.defaultSinkName = info->default_sink_name ? info->default_sink_name : "";
    --query.pendingReplies;
}

void OnSinkInfo(pa_context*, const pa_sink_info* info, int endOfList, void* userdata) {
    auto& query = *static_cast<Query*>(userdata);
    if (endOfList < 0) {
        query.failed = true;
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
        Release(pa_context_get_server_info(context, OnServerInfo, &query), query);
        Release(pa_context_get_sink_info_list(context, OnSinkInfo, &query), query);
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        query.failed = true;
        break;
    default:
        break;
    }
}

} // namespace

std::optional<ServerSnapshot> QuerySoundServer(std::chrono::milliseconds budget) {
    const Clock::time_point deadline = Clock::now() + budget;
    const std::unique_ptr<pa_mainloop, MainloopDeleter> loop(pa_mainloop_new());
    if (!loop) {
        return std::nullopt;
    }
    const std::unique_ptr<pa_context, ContextDeleter> context(
        pa_context_new(pa_mainloop_get_api(loop.get()), "Pardolin"));
    if (!context) {
        return std::nullopt;
    }
    Query query;
    query.pendingReplies = 2; // server info and the sink list
    pa_context_set_state_callback(context.get(), OnStateChange, &query);
    if (pa_context_connect(context.get(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        return std::nullopt;
    }
    // Each turn of the loop waits at most until the deadline, so a server that stops
    // answering costs this query its budget and no more.
    while (!query.Done()) {
        const auto remaining =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        if (remaining.count() <= 0 ||
            pa_mainloop_prepare(loop.get(), static_cast<int>(remaining.count())) < 0 ||
            pa_mainloop_poll(loop.get()) < 0 || pa_mainloop_dispatch(loop.get()) < 0) {
            return std::nullopt;
        }
    }
    if (query.failed) {
        return std::nullopt;
    }
    return std::move(query.snapshot);
}

} // namespace pardolin::linux_backend
