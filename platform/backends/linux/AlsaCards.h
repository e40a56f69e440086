// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemQueries.h"

#include <cstdint>
#include <filesystem>
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
AlsaPlaybackList ListAlsaPlayback();

// Fills the record from the hardware: name, sysfs ids, the kernel's version (ALSA drivers
// ship with it), the channel maximum and the standard formats the device accepts, and the
// mixer's volume controls. WaveResult::Allocated when the device cannot be opened.
WaveResult AlsaCaps(const AlsaPlayback& playback, WaveCapsRecord& record);

// Whether every card with a control device in `devices` (/dev/snd) is among `asked`.
// alsa-lib's enumeration passes over a card whose control device this user may not open,
// and that card may well be the one that plays. A directory that cannot be read is not
// an answer; one that does not exist means no cards.
bool EveryCardAsked(const std::filesystem::path& devices, const std::set<int>& asked);

// The card's ids from sysfs: PCI vendor/device, or a USB device's idVendor/idProduct.
std::pair<std::int16_t, std::int16_t> CardIds(const std::string& sysfsCardDir);

} // namespace pardolin::linux_backend
