// SPDX-License-Identifier: GPL-3.0-or-later
// The mappings from what Linux tells to capability records, fed with facts built by hand as
// the sound server and the kernel would give them; the record's fields as Linux fills them;
// and the check that no kernel card was passed over.
#include "platform/backends/linux/sound/AlsaCards.h"
#include "platform/backends/linux/sound/RecordFields.h"
#include "platform/backends/linux/sound/SinkMapping.h"

#include <pulse/introspect.h>
#include <pulse/proplist.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace pardolin::linux_backend {
namespace {

struct ProplistDeleter {
    void operator()(pa_proplist* list) const { pa_proplist_free(list); }
};

class SinkInfo {
  public:
    SinkInfo(std::uint32_t index, const char* name, const char* description, int channels)
        : m_properties(pa_proplist_new()) {
        m_info.index = index;
        m_info.name = name;
        m_info.description = description;
        m_info.sample_spec.channels = static_cast<std::uint8_t>(channels);
        m_info.proplist = m_properties.get();
    }
    SinkInfo& Property(const char* key, const char* value) {
        pa_proplist_sets(m_properties.get(), key, value);
        return *this;
    }
    const pa_sink_info& Info() const { return m_info; }

  private:
    std::unique_ptr<pa_proplist, ProplistDeleter> m_properties;
    pa_sink_info m_info{};
};

TEST(SinkMapping, RecordCarriesTheSinksFacts) {
    SinkInfo info(3, "alsa_output.pci", "Built-in Audio Analog Stereo", 2);
    info.Property("device.vendor.id", "0x8086").Property("device.product.id", "a170");
    const WaveCapsRecord record = WaveCapsFromSink(SinkFactsFrom(info.Info()), "16.1");
    EXPECT_EQ(record.wMid, 0x8086 - 0x10000);
    EXPECT_EQ(record.wPid, static_cast<std::int16_t>(0xa170));
    EXPECT_EQ(record.vDriverVersion, 16 * 256 + 1);
    EXPECT_EQ(record.szPname[0], U'B');
    EXPECT_EQ(record.szPname[27], U'o');
    EXPECT_EQ(record.szPname[28], U'\0');
    EXPECT_EQ(record.wChannels, 2);
    EXPECT_EQ(record.dwFormats, 0x0FFF);
    EXPECT_EQ(record.dwSupport, 4 | 8);
}

TEST(SinkMapping, MonoSinkWithoutIdsOrDescription) {
    const SinkInfo info(0, "mono", nullptr, 1);
    const WaveCapsRecord record = WaveCapsFromSink(SinkFactsFrom(info.Info()), "15.0.0");
    EXPECT_EQ(record.wMid, 0);
    EXPECT_EQ(record.wPid, 0);
    EXPECT_EQ(record.szPname[0], U'\0');
    EXPECT_EQ(record.vDriverVersion, 15 * 256);
    EXPECT_EQ(record.dwSupport, 4);
    // More channels than the field can hold are held at its largest.
    EXPECT_EQ(WaveCapsFromSink({0, "wide", "", SHRT_MAX + 1, "", ""}, "1").wChannels, SHRT_MAX);
}

TEST(SinkMapping, LongMultiByteDescriptionsAreCutByCharacter) {
    // 40 CJK characters: 120 bytes, far over the field, cut to 31 whole characters.
    std::string description;
    for (int i = 0; i < 40; ++i) {
        description += "声";
    }
    const SinkInfo info(0, "cjk", description.c_str(), 2);
    const WaveCapsRecord record = WaveCapsFromSink(SinkFactsFrom(info.Info()), "16.1");
    EXPECT_EQ(record.szPname[30], U'声');
    EXPECT_EQ(record.szPname[31], U'\0');
}

TEST(RecordFields, HexIdsWithOrWithoutPrefix) {
    EXPECT_EQ(HexId("0x1234"), 0x1234);
    EXPECT_EQ(HexId("ffff"), -1);
    EXPECT_EQ(HexId("0X0a"), 10);
    EXPECT_EQ(HexId("0"), 0);
    EXPECT_EQ(HexId("8000"), -32768);
    for (const char* bad : {"", "0x", "10000", "12g4", "-1", " 12", "12 "}) {
        EXPECT_EQ(HexId(bad), 0) << bad;
    }
}

TEST(SinkMapping, DefaultSinkComesFirstAndThePlaceholderNeverCounts) {
    ServerSnapshot snapshot;
    snapshot.defaultSinkName = "usb";
    snapshot.sinks = {{5, "hdmi", "HDMI", 2, "", ""},
                      {1, "auto_null", "Dummy Output", 2, "", ""},
                      {9, "usb", "USB", 2, "", ""},
                      {2, "analog", "Analog", 2, "", ""}};
    std::vector<SinkFacts> devices = OutputDevices(snapshot);
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].name, "usb");
    EXPECT_EQ(devices[1].name, "analog");
    EXPECT_EQ(devices[2].name, "hdmi");

    snapshot.defaultSinkName = "auto_null";
    snapshot.sinks = {{1, "auto_null", "Dummy Output", 2, "", ""}};
    EXPECT_TRUE(OutputDevices(snapshot).empty());
}

// alsa-lib silently passes over a card this user may not open; the control devices tell.
TEST(KernelCards, EveryControlDeviceMustHaveBeenAsked) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("pardolin-snd-" + std::to_string(getpid()));
    struct Case {
        std::vector<std::string> files;
        std::set<int> asked;
        bool every;
    };
    const std::vector<Case> cases{
        {{}, {}, true},
        {{"controlC0", "pcmC0D0p", "seq", "timer"}, {0}, true},
        {{"controlC0", "controlC1", "pcmC1D3p"}, {0}, false},
        {{"controlC0", "controlC12"}, {0, 12}, true},
        {{"controlCx"}, {}, false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directory(dir);
        for (const std::string& file : c.files) {
            std::ofstream(dir / file).put('\n');
        }
        EXPECT_EQ(EveryCardAsked(dir, c.asked), c.every) << ::testing::PrintToString(c.files);
    }
    std::filesystem::remove_all(dir);
    EXPECT_TRUE(EveryCardAsked(dir, {})) << "no /dev/snd means no cards";
}

TEST(NameField, KeepsAtMost31CharactersAndEndsWithNul) {
    const auto field = NameField(Text(40, U'声'));
    EXPECT_EQ(field[30], U'声');
    EXPECT_EQ(field[31], U'\0');
    const auto exact = NameField(Text(31, U'a'));
    EXPECT_EQ(exact[30], U'a');
    EXPECT_EQ(exact[31], U'\0');
    const auto withNul = NameField(Text(U"ab\0cd", 5));
    EXPECT_EQ(withNul[1], U'b');
    EXPECT_EQ(withNul[2], U'\0');
    const auto emoji = NameField(FromUtf8("\xF0\x9F\x94\x8A"));
    EXPECT_EQ(emoji[0], U'🔊');
    EXPECT_EQ(emoji[1], U'\0');
}

TEST(RecordFields, VersionNumberIsMajorTimes256PlusMinor) {
    struct Case {
        const char* version;
        std::int32_t number;
    };
    for (const Case& c :
         {Case{"16.1", 16 * 256 + 1}, Case{"15.0.0", 15 * 256}, Case{"6.1.0-18-amd64", 6 * 256 + 1},
          Case{"17", 17 * 256}, Case{"1.255", 256 + 255}, Case{"1.256", 256}, Case{"1.-1", 256},
          Case{"8388607.255", 0x7FFFFFFF}, Case{"8388608", 0}, Case{"99999999999.1", 0},
          Case{"-1.1", 0}, Case{"", 0}, Case{"pipewire", 0}}) {
        EXPECT_EQ(VersionNumber(c.version), c.number) << c.version;
    }
}

// A kernel device's record from what ALSA and sysfs say of it, built by hand.
TEST(KernelCards, RecordsCarryTheCardsFacts) {
    KernelPlayback playback;
    playback.cardName = "HDA Intel PCH";
    playback.deviceName = "ALC3246 Analog";
    playback.vendorId = "0x8086";
    playback.productId = "0xa170";
    playback.kernelRelease = "6.1.0-18-amd64";
    playback.maxChannels = 8;
    playback.formats = kAllStandardFormats;
    playback.mixer = {{false, false}, {true, false}};
    const WaveCapsRecord record = RecordOfPlayback(playback);
    EXPECT_EQ(record.wMid, static_cast<std::int16_t>(0x8086));
    EXPECT_EQ(record.wPid, static_cast<std::int16_t>(0xa170));
    EXPECT_EQ(record.vDriverVersion, 6 * 256 + 1);
    EXPECT_EQ(Text(record.szPname.data(), 29), Text(U"HDA Intel PCH ALC3246 Analog\0", 29));
    EXPECT_EQ(record.wChannels, 8);
    EXPECT_EQ(record.dwFormats, 0x0FFF);
    EXPECT_EQ(record.dwSupport, kVolumeControl | kLeftRightVolume);

    playback.maxChannels = 100000; // alsa-lib's "any number"
    playback.vendorId.clear();
    EXPECT_EQ(RecordOfPlayback(playback).wChannels, SHRT_MAX);
    EXPECT_EQ(RecordOfPlayback(playback).wMid, 0);
}

TEST(KernelCards, FormatsAreTheOnesTheDeviceAccepts) {
    const auto only = [](unsigned rate, unsigned channels, unsigned bits) {
        return StandardFormatsAccepted([=](const StandardFormat& format) {
            return format.rateHz == rate && format.channels == channels &&
                   format.bitsPerSample == bits;
        });
    };
    EXPECT_EQ(only(11025, 1, 8), 1);
    EXPECT_EQ(only(44100, 2, 16), 2048);
    EXPECT_EQ(only(22050, 2, 8), 32);
    EXPECT_EQ(only(48000, 2, 16), 0);
    EXPECT_EQ(StandardFormatsAccepted([](const StandardFormat&) { return true; }),
              kAllStandardFormats);
    EXPECT_EQ(StandardFormatsAccepted(
                  [](const StandardFormat& format) { return format.bitsPerSample == 16; }),
              4 | 8 | 64 | 128 | 1024 | 2048);
}

TEST(KernelCards, TheMixerGivesVolumeAndLeftRightVolume) {
    struct Case {
        std::vector<MixerControl> controls;
        std::int32_t support;
    };
    for (const Case& c : {Case{{}, 0}, Case{{{false, false}}, 0}, Case{{{true, true}}, 4},
                          Case{{{true, false}}, 4 | 8}, Case{{{true, true}, {true, false}}, 4 | 8},
                          Case{{{false, false}, {true, true}}, 4}}) {
        EXPECT_EQ(SupportOfMixer(c.controls), c.support) << c.controls.size();
    }
}

} // namespace
} // namespace pardolin::linux_backend
