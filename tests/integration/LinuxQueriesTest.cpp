// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux system queries against real servers that each test starts for itself: a
// private X server, an XSETTINGS manager and a private PulseAudio server.
#include "Servers.h"

#include "platform/NameField.h"
#include "platform/linux/LinuxSystemQueries.h"
#include "reports/SoundReport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <regex>

namespace pardolin::testing {
namespace {

using namespace std::chrono_literals;
using linux_backend::LinuxSystemQueries;
using Clock = std::chrono::steady_clock;

// Sets an environment variable for the scope of a test.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_old) {
            setenv(m_name, m_old->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

constexpr std::int32_t kToolkitCycle = 1060;

LinuxSystemQueries Queries() {
    return LinuxSystemQueries([] { return kToolkitCycle; });
}

std::u32string NameOf(const WaveCapsRecord& record) {
    const auto end = std::find(record.szPname.begin(), record.szPname.end(), U'\0');
    return {record.szPname.begin(), end};
}

// The playback devices the kernel lists, read independently of alsa-lib.
std::size_t KernelPlaybackDevices() {
    std::size_t count = 0;
    std::error_code error;
    for (const auto& card : std::filesystem::directory_iterator("/proc/asound", error)) {
        if (!std::regex_match(card.path().filename().string(), std::regex("card[0-9]+"))) {
            continue;
        }
        for (const auto& pcm : std::filesystem::directory_iterator(card.path(), error)) {
            count += std::regex_match(pcm.path().filename().string(), std::regex("pcm[0-9]+p"));
        }
    }
    return count;
}

class XServerTest : public ::testing::Test {
  protected:
    XvfbServer m_x;
    TempDir m_home; // no GTK settings unless a test writes them
    ScopedEnv m_display{"DISPLAY", &m_x.Display()};
    ScopedEnv m_homeEnv{"HOME", &m_home.Path()};
    ScopedEnv m_config{"XDG_CONFIG_HOME", nullptr};

    std::string X(const std::string& command) const {
        return "env DISPLAY=" + m_x.Display() + " " + command;
    }
};

TEST_F(XServerTest, RepeatSettingsAndKeyboardTypeReadBackAsSet) {
    struct Case {
        const char* xset;
        const char* setxkbmap;
        std::int32_t delay;
        std::int32_t rate;
        std::int32_t type;
    };
    LinuxSystemQueries queries = Queries();
    for (const Case& c : {Case{"250 30", "-model jp106 -layout jp", 0, 31, 7},
                          Case{"660 10", "-model pc105 -layout kr", 2, 8, 8},
                          Case{"660 10", "-model pc105 -layout us", 2, 8, 4}}) {
        SCOPED_TRACE(std::string("xset r rate ") + c.xset + ", setxkbmap " + c.setxkbmap);
        ASSERT_EQ(RunCommand(X(std::string("xset r rate ") + c.xset)), 0);
        ASSERT_EQ(RunCommand(X(std::string("setxkbmap ") + c.setxkbmap)), 0);
        std::int32_t delay = -1;
        std::int32_t rate = -1;
        ASSERT_TRUE(queries.SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, delay, 0));
        ASSERT_TRUE(queries.SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, rate, 0));
        EXPECT_EQ(delay, c.delay);
        EXPECT_EQ(rate, c.rate);
        EXPECT_EQ(queries.GetKeyboardType(0), c.type);
    }
}

TEST_F(XServerTest, CaretComesFromXSettingsThenGtkThenTheToolkit) {
    LinuxSystemQueries queries = Queries();
    EXPECT_EQ(queries.GetCaretBlinkTime(), static_cast<std::uint32_t>(kToolkitCycle / 2));

    m_home.Write(".config/gtk-3.0/settings.ini", "[Settings]\ngtk-cursor-blink-time=800\n");
    EXPECT_EQ(queries.GetCaretBlinkTime(), 400u);

    {
        XSettingsManager manager(m_x.Display(), "Net/CursorBlink 1\nNet/CursorBlinkTime 1000\n");
        EXPECT_EQ(queries.GetCaretBlinkTime(), 500u);
    }
    {
        XSettingsManager manager(m_x.Display(), "Net/CursorBlink 0\nNet/CursorBlinkTime 1000\n");
        EXPECT_EQ(queries.GetCaretBlinkTime(), 0xFFFFFFFFu);
    }
}

TEST(NoXServer, RepeatQueriesFailAndLeaveTheValueAlone) {
    const ScopedEnv display("DISPLAY", nullptr);
    LinuxSystemQueries queries = Queries();
    std::int32_t value = 1234;
    EXPECT_FALSE(queries.SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, value, 0));
    EXPECT_FALSE(queries.SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, value, 0));
    EXPECT_EQ(value, 1234);
    const std::int32_t type = queries.GetKeyboardType(0);
    EXPECT_TRUE(type == 0 || type == 4 || type == 7 || type == 8) << type;
}

const std::string kTwoSinks =
    "load-module module-null-sink sink_name=first channels=2 sink_properties=\""
    "device.description='Wave Out 1' device.vendor.id=0x1234 device.product.id=ffff\"\n"
    "load-module module-null-sink sink_name=second channels=1 sink_properties=\""
    "device.description='单声道 输出'\"\n"
    "set-default-sink first\n";

class SoundServerTest : public ::testing::Test {
  protected:
    PulseServer m_pulse{kTwoSinks};
    std::string m_address = m_pulse.Address();
    ScopedEnv m_server{"PULSE_SERVER", &m_address};
};

TEST_F(SoundServerTest, SinksReadBackAsTheServerWasSetUp) {
    LinuxSystemQueries queries = Queries();
    ASSERT_EQ(queries.waveOutGetNumDevs(), 2u);

    WaveCapsRecord record;
    ASSERT_EQ(queries.waveOutGetDevCapsA(0, record, kWaveCapsRecordSize), MMSYSERR_NOERROR);
    EXPECT_EQ(NameOf(record), U"Wave Out 1");
    EXPECT_EQ(record.wMid, 0x1234);
    EXPECT_EQ(record.wPid, -1);
    EXPECT_EQ(record.wChannels, 2);
    EXPECT_EQ(record.dwFormats, 0x0FFF);
    EXPECT_EQ(record.dwSupport, 12);
    EXPECT_GE(SplitDriverVersion(record.vDriverVersion).major, 1);

    ASSERT_EQ(queries.waveOutGetDevCapsA(1, record, kWaveCapsRecordSize), MMSYSERR_NOERROR);
    EXPECT_EQ(NameOf(record), U"单声道 输出");
    EXPECT_EQ(record.wChannels, 1);
    EXPECT_EQ(record.dwSupport, 4);

    EXPECT_EQ(queries.waveOutGetDevCapsA(2, record, kWaveCapsRecordSize), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(queries.waveOutGetDevCapsA(0, record, 48), MMSYSERR_INVALPARAM);

    ASSERT_EQ(RunCommand("env PULSE_SERVER=" + m_address + " pactl set-default-sink second"), 0);
    ASSERT_EQ(queries.waveOutGetDevCapsA(0, record, kWaveCapsRecordSize), MMSYSERR_NOERROR);
    EXPECT_EQ(NameOf(record), U"单声道 输出");
}

TEST_F(SoundServerTest, AStoppedServerCostsNoMoreThanTheBudget) {
    LinuxSystemQueries queries = Queries();
    m_pulse.Daemon().Signal(SIGSTOP);
    const auto start = Clock::now();
    const std::uint32_t count = queries.waveOutGetNumDevs();
    const auto elapsed = Clock::now() - start;
    m_pulse.Daemon().Signal(SIGCONT);
    std::cout << "[ measured ] count query against a stopped server: "
              << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << " ms\n";
    EXPECT_LT(elapsed, 400ms);
    // Nothing answered, so the kernel's cards speak instead.
    EXPECT_EQ(count, KernelPlaybackDevices());
}

TEST_F(SoundServerTest, ALiveServerAnswersQuickly) {
    LinuxSystemQueries queries = Queries();
    WaveCapsRecord record;
    const auto start = Clock::now();
    ASSERT_EQ(queries.waveOutGetDevCapsA(0, record, kWaveCapsRecordSize), MMSYSERR_NOERROR);
    const auto elapsed = Clock::now() - start;
    std::cout << "[ measured ] capability query against a live server: "
              << std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() << " us\n";
    EXPECT_LT(elapsed, linux_backend::kSoundServerBudget);
}

TEST(NoSoundServer, TheKernelsCardsAreCounted) {
    TempDir nowhere;
    const std::string address = "unix:" + nowhere.Path() + "/none";
    const ScopedEnv server("PULSE_SERVER", &address);
    LinuxSystemQueries queries = Queries();
    EXPECT_EQ(queries.waveOutGetNumDevs(), KernelPlaybackDevices());
    WaveCapsRecord record;
    if (KernelPlaybackDevices() == 0) {
        EXPECT_EQ(queries.waveOutGetDevCapsA(0, record, kWaveCapsRecordSize), MMSYSERR_BADDEVICEID);
    }
}

} // namespace
} // namespace pardolin::testing
