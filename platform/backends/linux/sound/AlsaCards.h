// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"
#include "platform/SystemQueries.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace pardolin::linux_backend {

// One playback PCM device of a kernel sound card.
struct AlsaPlayback {
    int card = 0;
    int device = 0;
    std::string cardName;
    std::string deviceName;
};

// The playback devices found, and whether every card could be asked: a card that cannot be
// opened may have devices of its own.
struct AlsaPlaybackList {
    std::vector<AlsaPlayback> devices;
    bool complete = true;
};

// The playback devices of every card, in card and device order, as `aplay -l` lists them.
// Only the kernel's hw: devices are touched: the default device may route through a sound
// server, and that is exactly what is not answering when this is used.
// A card that cannot be asked is told of on the kernel cards' channel.
AlsaPlaybackList ListAlsaPlayback(const Diagnostics& diagnostics);

// Fills the record from the hardware (see RecordOfPlayback). WaveResult::Allocated when the
// device cannot be opened.
WaveResult AlsaCaps(const AlsaPlayback& playback, WaveCapsRecord& record,
                    const Diagnostics& diagnostics);

// Whether every card with a control device in `devices` (/dev/snd) is among `asked`.
// alsa-lib's enumeration passes over a card whose control device this user may not open,
// and that card may well be the one that plays. A directory that cannot be read is not
// an answer; one that does not exist means no cards.
bool EveryCardAsked(const std::filesystem::path& devices, const std::set<int>& asked);

// The card's ids as sysfs gives them: PCI vendor and device, or a USB device's idVendor and
// idProduct; empty where there are none.
std::pair<std::string, std::string> CardIds(const std::string& sysfsCardDir);

// One control of a card's mixer, as far as playback goes.
struct MixerControl {
    bool playbackVolume = false;
    bool mono = false;
};

// What the kernel tells of one playback device: what its capability record is made of.
struct KernelPlayback {
    std::string cardName;
    std::string deviceName;
    std::string vendorId; // as sysfs has them
    std::string productId;
    std::string kernelRelease; // the kernel's version: ALSA's drivers ship with it
    unsigned maxChannels = 0;
    std::int32_t formats = 0; // the standard formats the device accepts
    std::vector<MixerControl> mixer;
};

// The standard formats of kStandardFormats that `accepts` says the device takes.
std::int32_t StandardFormatsAccepted(const std::function<bool(const StandardFormat&)>& accepts);

// The optional functions a mixer offers: volume control where a control has a playback
// volume, and left-right volume where such a control is not mono.
std::int32_t SupportOfMixer(const std::vector<MixerControl>& controls);

// The capability record: the card's and the device's names, the sysfs ids, the kernel's
// version, the channel maximum, the formats and the mixer's functions.
WaveCapsRecord RecordOfPlayback(const KernelPlayback& playback);

} // namespace pardolin::linux_backend
