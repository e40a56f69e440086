// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/sound/SinkMapping.h"

#include "platform/backends/linux/sound/RecordFields.h"
#include "reports/WaveCaps.h"

#include <pulse/introspect.h>
#include <pulse/proplist.h>

#include <algorithm>
#include <charconv>
#include <climits>

namespace pardolin::linux_backend {
namespace {

constexpr std::string_view kPlaceholderSink = "auto_null";

std::string PropertyOf(const pa_proplist* properties, const char* key) {
    const char* value = properties ? pa_proplist_gets(properties, key) : nullptr;
    return value ? value : "";
}

} // namespace

SinkFacts SinkFactsFrom(const pa_sink_info& info) {
    SinkFacts facts;
    facts.index = info.index;
    facts.name = info.name ? info.name : "";
    facts.description = info.description ? info.description : "";
    facts.channels = info.sample_spec.channels;
    facts.vendorId = PropertyOf(info.proplist, "device.vendor.id");
    facts.productId = PropertyOf(info.proplist, "device.product.id");
    return facts;
}

std::vector<SinkFacts> OutputDevices(const ServerSnapshot& snapshot) {
    std::vector<SinkFacts> devices;
    std::copy_if(snapshot.sinks.begin(), snapshot.sinks.end(), std::back_inserter(devices),
                 [](const SinkFacts& sink) { return sink.name != kPlaceholderSink; });
    std::sort(devices.begin(), devices.end(), [&snapshot](const SinkFacts& a, const SinkFacts& b) {
        const bool aDefault = a.name == snapshot.defaultSinkName;
        const bool bDefault = b.name == snapshot.defaultSinkName;
        return aDefault != bDefault ? aDefault : a.index < b.index;
    });
    return devices;
}

WaveCapsRecord WaveCapsFromSink(const SinkFacts& sink, std::string_view serverVersion) {
    WaveCapsRecord record;
    record.wMid = HexId(sink.vendorId);
    record.wPid = HexId(sink.productId);
    record.vDriverVersion = VersionNumber(serverVersion);
    record.szPname = NameField(FromUtf8(sink.description));
    record.dwFormats = kAllStandardFormats;
    record.wChannels = static_cast<std::int16_t>(std::clamp(sink.channels, 0, SHRT_MAX));
    record.dwSupport = kVolumeControl | (sink.channels >= 2 ? kLeftRightVolume : 0);
    return record;
}

} // namespace pardolin::linux_backend
