// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemQueries.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct pa_sink_info;

namespace pardolin::linux_backend {

// What the report needs of one sound-server sink.
struct SinkFacts {
    std::uint32_t index = 0;
    std::string name;
    std::string description;
    int channels = 0;
    std::string vendorId;  // device.vendor.id, as the server has it
    std::string productId; // device.product.id
};

struct ServerSnapshot {
    std::string serverVersion;
    std::string defaultSinkName;
    std::vector<SinkFacts> sinks;
};

SinkFacts SinkFactsFrom(const pa_sink_info& info);

// The sinks a player can really use, in device order: the default sink first (the platform,
// too, puts the preferred device first), then the others by index. The placeholder sink a
// server makes when it has no real one is left out.
std::vector<SinkFacts> OutputDevices(const ServerSnapshot& snapshot);

// The capability record of a sink. The server accepts every standard format and converts it
// for the device, so all twelve format bits are set; volume is always adjustable, and left
// and right apart when the sink has two channels or more.
WaveCapsRecord WaveCapsFromSink(const SinkFacts& sink, std::string_view serverVersion);

} // namespace pardolin::linux_backend
