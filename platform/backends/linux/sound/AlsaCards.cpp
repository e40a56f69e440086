// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/sound/AlsaCards.h"

#include "platform/backends/linux/sound/RecordFields.h"

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
#include <tuple>

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

// What the card's mixer has for playback.
std::vector<MixerControl> MixerControls(int card) {
    snd_mixer_t* raw = nullptr;
    if (snd_mixer_open(&raw, 0) < 0) {
        return {};
    }
    const std::unique_ptr<snd_mixer_t, MixerDeleter> mixer(raw);
    if (snd_mixer_attach(mixer.get(), CardDevice(card).c_str()) < 0 ||
        snd_mixer_selem_register(mixer.get(), nullptr, nullptr) < 0 ||
        snd_mixer_load(mixer.get()) < 0) {
        return {};
    }
    std::vector<MixerControl> controls;
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(mixer.get()); element;
         element = snd_mixer_elem_next(element)) {
        controls.push_back({snd_mixer_selem_has_playback_volume(element) != 0,
                            snd_mixer_selem_is_playback_mono(element) != 0});
    }
    return controls;
}

std::string ReadLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

std::string KernelRelease() {
    utsname name{};
    return uname(&name) == 0 ? name.release : "";
}

} // namespace

AlsaPlaybackList ListAlsaPlayback(const Diagnostics& diagnostics) {
    SilenceAlsa();
    AlsaPlaybackList list;
    const auto incomplete = [&](const std::string& step, int error) {
        list.complete = false;
        diagnostics.Failed(Peer::KernelCards, step, snd_strerror(error));
    };
    snd_pcm_info_t* info = nullptr;
    snd_pcm_info_alloca(&info);
    std::set<int> asked;
    int card = -1;
    while (true) {
        if (const int error = snd_card_next(&card); error < 0) {
            incomplete("the next card", error);
            break;
        }
        if (card < 0) {
            break;
        }
        asked.insert(card);
        snd_ctl_t* raw = nullptr;
        if (const int error = snd_ctl_open(&raw, CardDevice(card).c_str(), SND_CTL_NONBLOCK);
            error < 0) {
            incomplete("opening " + CardDevice(card), error);
            continue;
        }
        const std::unique_ptr<snd_ctl_t, CtlDeleter> ctl(raw);
        snd_ctl_card_info_t* cardInfo = nullptr;
        snd_ctl_card_info_alloca(&cardInfo);
        const std::string cardName =
            snd_ctl_card_info(ctl.get(), cardInfo) == 0 ? snd_ctl_card_info_get_name(cardInfo) : "";
        int device = -1;
        while (true) {
            if (const int error = snd_ctl_pcm_next_device(ctl.get(), &device); error < 0) {
                incomplete("the devices of " + CardDevice(card), error);
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
        diagnostics.Failed(Peer::KernelCards, "the cards' list",
                           "a card in /dev/snd was passed over (this user may not open it)");
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

std::pair<std::string, std::string> CardIds(const std::string& sysfsCardDir) {
    const std::string device = sysfsCardDir + "/device";
    // A PCI card names vendor and device; a USB card's ids sit on the USB device above the
    // audio interface.
    for (const auto& [vendor, product] :
         {std::pair{device + "/vendor", device + "/device"},
          std::pair{device + "/../idVendor", device + "/../idProduct"}}) {
        if (std::string vendorText = ReadLine(vendor); !vendorText.empty()) {
            return {std::move(vendorText), ReadLine(product)};
        }
    }
    return {};
}

std::int32_t StandardFormatsAccepted(const std::function<bool(const StandardFormat&)>& accepts) {
    std::int32_t formats = 0;
    for (const StandardFormat& format : kStandardFormats) {
        if (accepts(format)) {
            formats |= format.bit;
        }
    }
    return formats;
}

std::int32_t SupportOfMixer(const std::vector<MixerControl>& controls) {
    std::int32_t support = 0;
    for (const MixerControl& control : controls) {
        if (control.playbackVolume) {
            support |= kVolumeControl | (control.mono ? 0 : kLeftRightVolume);
        }
    }
    return support;
}

WaveCapsRecord RecordOfPlayback(const KernelPlayback& playback) {
    WaveCapsRecord record;
    record.wMid = HexId(playback.vendorId);
    record.wPid = HexId(playback.productId);
    record.vDriverVersion = VersionNumber(playback.kernelRelease);
    record.szPname = NameField(FromUtf8(playback.cardName + " " + playback.deviceName));
    record.dwFormats = playback.formats;
    record.wChannels =
        static_cast<std::int16_t>(std::min<unsigned>(playback.maxChannels, SHRT_MAX));
    record.dwSupport = SupportOfMixer(playback.mixer);
    return record;
}

WaveResult AlsaCaps(const AlsaPlayback& playback, WaveCapsRecord& record,
                    const Diagnostics& diagnostics) {
    SilenceAlsa();
    const std::string name = CardDevice(playback.card) + "," + std::to_string(playback.device);
    snd_pcm_t* raw = nullptr;
    if (const int error =
            snd_pcm_open(&raw, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
        error < 0) {
        diagnostics.Failed(Peer::KernelCards, "opening " + name, snd_strerror(error));
        return WaveResult::Allocated;
    }
    const std::unique_ptr<snd_pcm_t, PcmDeleter> pcm(raw);
    const HwParams any = NewHwParams();
    const HwParams trial = NewHwParams();
    KernelPlayback facts;
    facts.cardName = playback.cardName;
    facts.deviceName = playback.deviceName;
    if (!any || !trial || snd_pcm_hw_params_any(pcm.get(), any.get()) < 0 ||
        snd_pcm_hw_params_get_channels_max(any.get(), &facts.maxChannels) < 0) {
        diagnostics.Failed(Peer::KernelCards, "the hardware of " + name, "it names no channels");
        return WaveResult::Error;
    }
    std::tie(facts.vendorId, facts.productId) =
        CardIds("/sys/class/sound/card" + std::to_string(playback.card));
    facts.kernelRelease = KernelRelease();
    facts.formats = StandardFormatsAccepted([&](const StandardFormat& format) {
        snd_pcm_hw_params_copy(trial.get(), any.get());
        const snd_pcm_format_t sample =
            format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
        return snd_pcm_hw_params_set_rate(pcm.get(), trial.get(), format.rateHz, 0) == 0 &&
               snd_pcm_hw_params_set_format(pcm.get(), trial.get(), sample) == 0 &&
               snd_pcm_hw_params_set_channels(pcm.get(), trial.get(), format.channels) == 0;
    });
    facts.mixer = MixerControls(playback.card);
    record = RecordOfPlayback(facts);
    return WaveResult::NoError;
}

} // namespace pardolin::linux_backend
