// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/AlsaCards.h"

#include "platform/backends/linux/RecordFields.h"
#include "platform/backends/linux/SinkMapping.h"

#include <alsa/asoundlib.h>
#include <sys/utsname.h>

#include <array>
#include <climits>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <stdexcept>
#include <system_error>

namespace pardolin::linux_backend {
namespace {

// alsa-lib prints its own complaints to stderr; a failed probe is an answer here.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsa() {
    snd_lib_error_set_handler(IgnoreAlsaError);
}

struct CtlDeleter {
    void operator()(snd_ctl_t* ctl) const { snd_ctl_close(ctl); }
};
struct PcmDeleter {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
struct MixerDeleter {
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
struct HwParamsDeleter {
    void operator()(snd_pcm_hw_params_t* params) const { snd_pcm_hw_params_free(params); }
};
using HwParams = std::unique_ptr<snd_pcm_hw_params_t, HwParamsDeleter>;

HwParams NewHwParams() {
    snd_pcm_hw_params_t* params = nullptr;
    snd_pcm_hw_params_malloc(&params);
    return HwParams(params);
}

std::string CardDevice(int card) {
    return "hw:" + std::to_string(card);
}

// The standard formats the device accepts.
std::int32_t StandardFormats(snd_pcm_t* pcm, const snd_pcm_hw_params_t* any) {
    constexpr std::array<unsigned, 3> kRates{11025, 22050, 44100};
    constexpr std::array<snd_pcm_format_t, 2> kSampleFormats{SND_PCM_FORMAT_U8,
                                                             SND_PCM_FORMAT_S16_LE};
    constexpr std::array<unsigned, 2> kChannels{1, 2};
    const HwParams trial = NewHwParams();
    if (!trial) {
        return 0;
    }
    std::int32_t formats = 0;
    for (int rate = 0; rate < static_cast<int>(kRates.size()); ++rate) {
        for (int size = 0; size < static_cast<int>(kSampleFormats.size()); ++size) {
            for (int channels = 0; channels < static_cast<int>(kChannels.size()); ++channels) {
                snd_pcm_hw_params_copy(trial.get(), any);
                const bool accepted =
                    snd_pcm_hw_params_set_rate(pcm, trial.get(), kRates[rate], 0) == 0 &&
                    snd_pcm_hw_params_set_format(pcm, trial.get(), kSampleFormats[size]) == 0 &&
                    snd_pcm_hw_params_set_channels(pcm, trial.get(), kChannels[channels]) == 0;
                if (accepted) {
                    formats |= StandardFormatBit(rate, size, channels);
                }
            }
        }
    }
    return formats;
}

// Volume control, and left-right volume when the control is not mono.
std::int32_t MixerSupport(int card) {
    snd_mixer_t* raw = nullptr;
    if (snd_mixer_open(&raw, 0) < 0) {
        return 0;
    }
    const std::unique_ptr<snd_mixer_t, MixerDeleter> mixer(raw);
    if (snd_mixer_attach(mixer.get(), CardDevice(card).c_str()) < 0 ||
        snd_mixer_selem_register(mixer.get(), nullptr, nullptr) < 0 ||
        snd_mixer_load(mixer.get()) < 0) {
        return 0;
    }
    std::int32_t support = 0;
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(mixer.get()); element;
         element = snd_mixer_elem_next(element)) {
        if (snd_mixer_selem_has_playback_volume(element)) {
            support |= kVolumeControl;
            if (!snd_mixer_selem_is_playback_mono(element)) {
                support |= kLeftRightVolume;
            }
        }
    }
    return support;
}

std::string ReadLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

std::int32_t KernelVersion() {
    utsname name{};
    return uname(&name) == 0 ? VersionNumber(name.release) : 0;
}

} // namespace

AlsaPlaybackList ListAlsaPlayback() {
    SilenceAlsa();
    AlsaPlaybackList list;
    snd_pcm_info_t* info = nullptr;
    snd_pcm_info_alloca(&info);
    std::set<int> asked;
    int card = -1;
    while (true) {
        if (snd_card_next(&card) < 0) {
            list.complete = false;
            break;
        }
        if (card < 0) {
            break;
        }
        asked.insert(card);
        snd_ctl_t* raw = nullptr;
        if (snd_ctl_open(&raw, CardDevice(card).c_str(), SND_CTL_NONBLOCK) < 0) {
            list.complete = false;
            continue;
        }
        const std::unique_ptr<snd_ctl_t, CtlDeleter> ctl(raw);
        snd_ctl_card_info_t* cardInfo = nullptr;
        snd_ctl_card_info_alloca(&cardInfo);
        const std::string cardName =
            snd_ctl_card_info(ctl.get(), cardInfo) == 0 ? snd_ctl_card_info_get_name(cardInfo) : "";
        int device = -1;
        while (true) {
            if (snd_ctl_pcm_next_device(ctl.get(), &device) < 0) {
                list.complete = false;
                break;
            }
            if (device < 0) {
                break;
            }
            snd_pcm_info_set_device(info, static_cast<unsigned>(device));
            snd_pcm_info_set_subdevice(info, 0);
            snd_pcm_info_set_stream(info, SND_PCM_STREAM_PLAYBACK);
            // A device without a playback stream answers with an error: it is not one.
            if (snd_ctl_pcm_info(ctl.get(), info) == 0) {
                list.devices.push_back({card, device, cardName, snd_pcm_info_get_name(info)});
            }
        }
    }
    if (!EveryCardAsked("/dev/snd", asked)) {
        list.complete = false;
    }
    return list;
}

bool EveryCardAsked(const std::filesystem::path& devices, const std::set<int>& asked) {
    std::error_code error;
    if (!std::filesystem::exists(devices, error)) {
        return !error;
    }
    const std::string prefix = "controlC";
    for (std::filesystem::directory_iterator entry(devices, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.rfind(prefix, 0) != 0) {
            continue;
        }
        try {
            if (!asked.count(std::stoi(name.substr(prefix.size())))) {
                return false;
            }
        } catch (const std::logic_error&) {
            return false; // a control device under a name alsa-lib would not give
        }
    }
    return !error;
}

std::pair<std::int16_t, std::int16_t> CardIds(const std::string& sysfsCardDir) {
    const std::string device = sysfsCardDir + "/device";
    // A PCI card names vendor and device; a USB card's ids sit on the USB device above the
    // audio interface.
    for (const auto& [vendor, product] :
         {std::pair{device + "/vendor", device + "/device"},
          std::pair{device + "/../idVendor", device + "/../idProduct"}}) {
        const std::string vendorText = ReadLine(vendor);
        if (!vendorText.empty()) {
            return {HexId(vendorText), HexId(ReadLine(product))};
        }
    }
    return {0, 0};
}

WaveResult AlsaCaps(const AlsaPlayback& playback, WaveCapsRecord& record) {
    SilenceAlsa();
    const std::string name = CardDevice(playback.card) + "," + std::to_string(playback.device);
    snd_pcm_t* raw = nullptr;
    if (snd_pcm_open(&raw, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        return WaveResult::Allocated;
    }
    const std::unique_ptr<snd_pcm_t, PcmDeleter> pcm(raw);
    const HwParams any = NewHwParams();
    unsigned maxChannels = 0;
    if (!any || snd_pcm_hw_params_any(pcm.get(), any.get()) < 0 ||
        snd_pcm_hw_params_get_channels_max(any.get(), &maxChannels) < 0) {
        return WaveResult::Error;
    }
    const auto [vendor, product] = CardIds("/sys/class/sound/card" + std::to_string(playback.card));
    record.wMid = vendor;
    record.wPid = product;
    record.vDriverVersion = KernelVersion();
    record.szPname = NameField(FromUtf8(playback.cardName + " " + playback.deviceName));
    record.dwFormats = StandardFormats(pcm.get(), any.get());
    record.wChannels = static_cast<std::int16_t>(std::min<unsigned>(maxChannels, SHRT_MAX));
    record.dwSupport = MixerSupport(playback.card);
    return WaveResult::NoError;
}

} // namespace pardolin::linux_backend
