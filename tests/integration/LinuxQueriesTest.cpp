// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux system queries against real servers that each test starts for itself: a
// private X server, an XSETTINGS manager and a private PulseAudio server.
#include "ScopedEnv.h"
#include "Servers.h"
#include "Told.h"

#include "platform/backends/linux/LinuxSystemQueries.h"
#include "platform/backends/linux/settings/SettingsFile.h"
#include "reports/SoundReport.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

namespace pardolin::testing {
namespace {

using namespace std::chrono_literals;
using linux_backend::LinuxSystemQueries;
using Clock = std::chrono::steady_clock;

constexpr std::int32_t kToolkitCycle = 1060;

using linux_backend::SessionEnvironment;

// The queries of a session that the test describes, with a toolkit cycle of its own; what
// they tell goes to Told.
LinuxSystemQueries Queries(SessionEnvironment session) {
    return LinuxSystemQueries({[] { return kToolkitCycle; }, false, Told::Channel()},
                              std::move(session));
}

// A session with this home (and no X, no Wayland, no bus unless the test says so).
SessionEnvironment Session(const TempDir& home) {
    SessionEnvironment session;
    session.home = home.Path();
    return session;
}

std::u32string NameOf(const WaveCapsRecord& record) {
    const auto end = std::find(record.szPname.begin(), record.szPname.end(), U'\0');
    return {record.szPname.begin(), end};
}

// The delay and rate as the keyboard report asks for them; a setting that is no fact: its
// query fails and leaves the value alone.
void ExpectRepeat(LinuxSystemQueries& queries, std::optional<std::int32_t> delay,
                  std::optional<std::int32_t> rate) {
    std::int32_t delayRead = -1;
    std::int32_t rateRead = -1;
    EXPECT_EQ(queries.SystemParametersInfoA(SystemParameter::KeyboardDelay, 0, delayRead, 0),
              delay.has_value());
    EXPECT_EQ(delayRead, delay.value_or(-1));
    EXPECT_EQ(queries.SystemParametersInfoA(SystemParameter::KeyboardSpeed, 0, rateRead, 0),
              rate.has_value());
    EXPECT_EQ(rateRead, rate.value_or(-1));
}

class XServerTest : public ::testing::Test {
  protected:
    XServerTest() { m_session.display = m_x.Display(); }

    XvfbServer m_x;
    TempDir m_home; // no GTK settings unless a test writes them
    SessionEnvironment m_session = Session(m_home);

    std::string X(const std::string& command) const {
        return "env DISPLAY=" + m_x.Display() + " " + command;
    }
};

TEST_F(XServerTest, RepeatSettingsAndKeyboardTypeReadBackAsSet) {
    struct Case {
        const char* xset;
        const char* setxkbmap;
        std::optional<std::int32_t> delay; // neither while keys do not repeat
        std::optional<std::int32_t> rate;
        std::int32_t type;
    };
    LinuxSystemQueries queries = Queries(m_session);
    for (const Case& c : {Case{"r rate 250 30", "-model jp106 -layout jp", 0, 31, 7},
                          Case{"r rate 660 10", "-model pc105 -layout kr", 2, 8, 8},
                          Case{"r off", "-model pc105 -layout us", std::nullopt, std::nullopt, 4},
                          Case{"r on", "-model pc105 -layout us", 2, 8, 4}}) {
        SCOPED_TRACE(std::string("xset ") + c.xset + ", setxkbmap " + c.setxkbmap);
        ASSERT_EQ(RunCommand(X(std::string("xset ") + c.xset)), 0);
        ASSERT_EQ(RunCommand(X(std::string("setxkbmap ") + c.setxkbmap)), 0);
        ExpectRepeat(queries, c.delay, c.rate);
        EXPECT_EQ(queries.GetKeyboardType(0), c.type);
    }
}

TEST_F(XServerTest, CaretComesFromXSettingsThenGtkThenTheToolkit) {
    LinuxSystemQueries queries = Queries(m_session);
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

// A keyboard click as the window makes it: the four questions in order.
void KeyboardClick(LinuxSystemQueries& queries) {
    std::int32_t value = 0;
    queries.GetKeyboardType(0);
    queries.SystemParametersInfoA(SystemParameter::KeyboardDelay, 0, value, 0);
    queries.SystemParametersInfoA(SystemParameter::KeyboardSpeed, 0, value, 0);
    queries.GetCaretBlinkTime();
}

TEST(HungXServer, ClicksCostOneDeadlineAndLeaveOneAttemptBehindAtMost) {
    HungXServer hung;
    TempDir home;
    SessionEnvironment session = Session(home);
    session.display = hung.Display();
    LinuxSystemQueries queries = Queries(session);
    const int threads = ThreadCount();
    const int descriptors = DescriptorCount();
    Told::Clear();
    Clock::duration longest{};
    for (int click = 0; click < 300; ++click) {
        const auto start = Clock::now();
        KeyboardClick(queries);
        longest = std::max(longest, Clock::now() - start);
    }
    std::cout << "[ measured ] 300 keyboard clicks against a hung X server: longest "
              << std::chrono::duration_cast<std::chrono::milliseconds>(longest).count()
              << " ms; threads " << threads << " -> " << ThreadCount() << ", descriptors "
              << descriptors << " -> " << DescriptorCount() << "\n";
    EXPECT_LT(longest, linux_backend::kKeyboardDeadline + kLoadMargin);
    // The attempt stuck on the X server stays; the portal's, asked beside it, has ended
    // with its deadline, and its thread is gone once it has finished exiting.
    EXPECT_TRUE(WaitFor([&] { return ThreadCount() <= threads + 1; }, 1000ms))
        << "threads: " << threads << " -> " << ThreadCount();
    EXPECT_LE(DescriptorCount(), descriptors + 1);
    for (const char* told : {"pardolin.x11: the keyboard's facts: no answer after",
                             "pardolin.x11: the keyboard's facts: still no answer to an earlier"}) {
        EXPECT_TRUE(Told::Contains(told)) << told << "; told:" << Told::All();
    }
    std::int32_t value = 1234;
    EXPECT_FALSE(queries.SystemParametersInfoA(SystemParameter::KeyboardDelay, 0, value, 0));
    EXPECT_EQ(queries.GetCaretBlinkTime(), static_cast<std::uint32_t>(kToolkitCycle / 2));
}

// A Wayland session as its clients see it: WAYLAND_DISPLAY and no X display.
SessionEnvironment WaylandSession(const Compositor& compositor) {
    SessionEnvironment session;
    session.waylandDisplay = compositor.Socket();
    session.runtimeDir = compositor.RuntimeDir();
    return session;
}

TEST(WaylandSession, KeyboardFactsComeFromTheCompositor) {
    XvfbServer x;
    struct Case {
        const char* setxkbmap; // weston's X11 backend takes its keymap from its X server
        const char* repeat;
        std::int32_t type;
        std::optional<std::int32_t> delay; // neither when keys do not repeat, or beyond a
        std::optional<std::int32_t> rate;  // keyboard's range
    };
    for (const Case& c :
         {Case{"-model jp106 -layout jp", "repeat-rate=30\nrepeat-delay=250", 7, 0, 31},
          Case{"-model pc105 -layout us", "repeat-rate=10\nrepeat-delay=660", 4, 2, 8},
          Case{"-model pc105 -layout kr", "repeat-rate=0\nrepeat-delay=500", 8, std::nullopt,
               std::nullopt},
          Case{"-model pc105 -layout us", "repeat-rate=-1\nrepeat-delay=-100", 4, std::nullopt,
               std::nullopt},
          Case{"-model pc105 -layout us", "repeat-rate=40\nrepeat-delay=-100", 4, std::nullopt, 31},
          Case{"-model pc105 -layout us", "repeat-rate=2147483647\nrepeat-delay=250", 4, 0,
               std::nullopt}}) {
        SCOPED_TRACE(std::string(c.setxkbmap) + " " + c.repeat);
        ASSERT_EQ(RunCommand("env DISPLAY=" + x.Display() + " setxkbmap " + c.setxkbmap), 0);
        Compositor compositor(x.Display(), c.repeat);
        LinuxSystemQueries queries = Queries(WaylandSession(compositor));
        const auto start = Clock::now();
        EXPECT_EQ(queries.GetKeyboardType(0), c.type);
        ExpectRepeat(queries, c.delay, c.rate);
        std::cout
            << "[ measured ] keyboard questions answered by the compositor in "
            << std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count()
            << " us\n";
    }
}

TEST(WaylandSession, AStoppedCompositorGivesUnknownWithinTheDeadline) {
    XvfbServer x;
    Compositor compositor(x.Display(), "keymap_layout=jp");
    LinuxSystemQueries queries = Queries(WaylandSession(compositor));
    compositor.Daemon().Signal(SIGSTOP);
    const auto start = Clock::now();
    const std::int32_t type = queries.GetKeyboardType(0);
    std::int32_t delay = -1;
    const bool delayKnown =
        queries.SystemParametersInfoA(SystemParameter::KeyboardDelay, 0, delay, 0);
    const auto elapsed = Clock::now() - start;
    compositor.Daemon().Signal(SIGCONT);
    std::cout << "[ measured ] keyboard questions with a stopped compositor: "
              << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << " ms\n";
    EXPECT_EQ(type, 0);
    EXPECT_FALSE(delayKnown);
    EXPECT_LT(elapsed, linux_backend::kKeyboardDeadline + kLoadMargin);
}

// GNOME's caret settings through the real settings portal, on a private session bus.
TEST(SettingsPortal, CaretComesFromThePortalBeforeGtkSettings) {
    XvfbServer x;
    TempDir config;
    TempDir home;
    const std::vector<std::pair<std::string, std::string>> desktop{
        {"DISPLAY", x.Display()},
        {"XDG_CURRENT_DESKTOP", "GNOME"},
        {"GSETTINGS_BACKEND", "keyfile"},
        {"XDG_CONFIG_HOME", config.Path()}};
    PrivateBus bus(desktop);
    home.Write(".config/gtk-3.0/settings.ini", "[Settings]\ngtk-cursor-blink-time=800\n");
    SessionEnvironment session = Session(home);
    session.busAddress = bus.Address();
    LinuxSystemQueries queries = Queries(session);

    // No portal runs yet, and the program does not start one: the next source answers.
    auto start = Clock::now();
    EXPECT_EQ(queries.GetCaretBlinkTime(), 400u);
    EXPECT_LT(Clock::now() - start, linux_backend::kKeyboardDeadline);

    std::string environment;
    for (const auto& [name, value] : desktop) {
        environment += name + "=" + value + " ";
    }
    const std::string gsettings =
        "env " + environment + "gsettings set org.gnome.desktop.interface ";
    ASSERT_EQ(RunCommand(gsettings + "cursor-blink-time 840"), 0);
    const std::string read = "env DBUS_SESSION_BUS_ADDRESS=" + bus.Address() +
                             " gdbus call --session --dest org.freedesktop.portal.Desktop"
                             " --object-path /org/freedesktop/portal/desktop --method"
                             " org.freedesktop.portal.Settings.Read org.gnome.desktop.interface"
                             " cursor-blink-time | grep -q 840";
    ASSERT_TRUE(WaitFor([&] { return RunCommand(read) == 0; }, 20s)) << "the portal did not start";
    start = Clock::now();
    EXPECT_EQ(queries.GetCaretBlinkTime(), 420u);
    std::cout << "[ measured ] caret from the portal in "
              << std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count()
              << " us\n";

    ASSERT_EQ(RunCommand(gsettings + "cursor-blink false"), 0);
    EXPECT_TRUE(WaitFor([&] { return queries.GetCaretBlinkTime() == 0xFFFFFFFFu; }, 5s));
}

// The keyboard type that the queries report without an X server, from a child process in
// which /etc/default and /etc/X11 are private folders holding only `files` (paths below
// /etc). A user namespace makes that possible without root.
std::int32_t TypeFromSystemFiles(const std::map<std::string, std::string>& files) {
    const pid_t child = fork();
    if (child == 0) {
        const uid_t uid = getuid();
        const gid_t gid = getgid();
        if (unshare(CLONE_NEWNS) != 0) {
            if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
                _exit(255);
            }
            std::ofstream("/proc/self/setgroups") << "deny";
            std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
            std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
        }
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", "/etc/default", "tmpfs", 0, nullptr) != 0 ||
            mount("tmpfs", "/etc/X11", "tmpfs", 0, nullptr) != 0) {
            _exit(255);
        }
        std::filesystem::create_directories("/etc/X11/xorg.conf.d");
        for (const auto& [path, text] : files) {
            std::ofstream(path) << text;
        }
        _exit(Queries({}).GetKeyboardType(0));
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)
               ? WEXITSTATUS(status)
               : 255;
}

TEST(NoXServer, TheTypeIsTheConfiguredKeyboardsAndRepeatIsUnknown) {
    LinuxSystemQueries queries = Queries({});
    std::int32_t value = 1234;
    EXPECT_FALSE(queries.SystemParametersInfoA(SystemParameter::KeyboardDelay, 0, value, 0));
    EXPECT_FALSE(queries.SystemParametersInfoA(SystemParameter::KeyboardSpeed, 0, value, 0));
    EXPECT_EQ(value, 1234);

    const std::string keyboard = "/etc/default/keyboard";
    const std::string xorg = "/etc/X11/xorg.conf.d/00-keyboard.conf";
    struct Case {
        const char* what;
        std::map<std::string, std::string> files;
        std::int32_t type;
    };
    const std::vector<Case> cases{
        {"Japanese model", {{keyboard, "XKBMODEL=\"jp106\"\nXKBLAYOUT=\"jp\"\n"}}, 7},
        {"Korean layout", {{keyboard, "# set by hand\nXKBLAYOUT='kr'\n"}}, 8},
        {"US first, then Japanese", {{keyboard, "XKBMODEL=pc105\nXKBLAYOUT=\"us,jp\"\n"}}, 4},
        {"xorg.conf.d only",
         {{xorg, "Section \"InputClass\"\n  Option \"XkbLayout\" \"jp\"\n"}},
         7},
        {"nothing configured", {}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TypeFromSystemFiles(c.files), c.type) << c.what;
    }

    // A settings file that is there but is no file to read is passed over, and told of.
    TempDir home;
    const std::string settings = home.Path() + "/.config/gtk-3.0/settings.ini";
    home.Write(".config/gtk-3.0/settings.ini", "");
    std::filesystem::remove(settings);
    ASSERT_EQ(mkfifo(settings.c_str(), 0600), 0);
    Told::Clear();
    EXPECT_EQ(Queries(Session(home)).GetCaretBlinkTime(),
              static_cast<std::uint32_t>(kToolkitCycle / 2));
    EXPECT_TRUE(Told::Contains("pardolin.settings: " + settings + ": not a regular file"))
        << Told::All();
}

const std::string kTwoSinks =
    "load-module module-null-sink sink_name=first channels=2 sink_properties=\""
    "device.description='Wave Out 1' device.vendor.id=0x1234 device.product.id=ffff\"\n"
    "load-module module-null-sink sink_name=second channels=1 sink_properties=\""
    "device.description='单声道 输出'\"\n"
    "set-default-sink first\n";

class SoundServerTest : public ::testing::Test {
  protected:
    SessionEnvironment Session() const {
        SessionEnvironment session;
        session.pulseServer = m_address;
        return session;
    }

    PulseServer m_pulse{kTwoSinks};
    std::string m_address = m_pulse.Address();
};

TEST_F(SoundServerTest, SinksReadBackAsTheServerWasSetUp) {
    LinuxSystemQueries queries = Queries(Session());
    ASSERT_EQ(queries.waveOutGetNumDevs(), 2u);

    WaveCapsRecord record;
    ASSERT_EQ(queries.waveOutGetDevCapsA(0, record, kWaveCapsRecordSize), WaveResult::NoError);
    EXPECT_EQ(NameOf(record), U"Wave Out 1");
    EXPECT_EQ(record.wMid, 0x1234);
    EXPECT_EQ(record.wPid, -1);
    EXPECT_EQ(record.wChannels, 2);
    EXPECT_EQ(record.dwFormats, 0x0FFF);
    EXPECT_EQ(record.dwSupport, 12);
    EXPECT_GE(SplitDriverVersion(record.vDriverVersion).major, 1);

    ASSERT_EQ(queries.waveOutGetDevCapsA(1, record, kWaveCapsRecordSize), WaveResult::NoError);
    EXPECT_EQ(NameOf(record), U"单声道 输出");
    EXPECT_EQ(record.wChannels, 1);
    EXPECT_EQ(record.dwSupport, 4);

    EXPECT_EQ(queries.waveOutGetDevCapsA(2, record, kWaveCapsRecordSize), WaveResult::BadDeviceId);
    EXPECT_EQ(queries.waveOutGetDevCapsA(0, record, 48), WaveResult::InvalidParam);

    ASSERT_EQ(RunCommand("env PULSE_SERVER=" + m_address + " pactl set-default-sink second"), 0);
    ASSERT_EQ(queries.waveOutGetDevCapsA(0, record, kWaveCapsRecordSize), WaveResult::NoError);
    EXPECT_EQ(NameOf(record), U"单声道 输出");
}

// A stopped sound server, and a live one behind an X server that stopped answering: in a
// session forwarded over ssh, libpulse reads the X server's settings before it ever reaches
// the sound server.
TEST_F(SoundServerTest, AStoppedServerCostsNoMoreThanTheBudget) {
    const std::string sshSession = "192.0.2.1 50000 192.0.2.2 22";
    for (const bool stopX : {false, true}) {
        SCOPED_TRACE(stopX ? "hung X server" : "stopped sound server");
        HungXServer hung;
        // libpulse reads these itself, as it sets up.
        const ScopedEnv display("DISPLAY", stopX ? std::optional(hung.Display()) : std::nullopt);
        const ScopedEnv ssh("SSH_CONNECTION", stopX ? std::optional(sshSession) : std::nullopt);
        LinuxSystemQueries queries = Queries(Session());
        if (!stopX) {
            m_pulse.Daemon().Signal(SIGSTOP);
        }
        Told::Clear();
        const auto start = Clock::now();
        const std::optional<std::uint32_t> count = queries.waveOutGetNumDevs();
        const auto elapsed = Clock::now() - start;
        m_pulse.Daemon().Signal(SIGCONT);
        std::cout << "[ measured ] count query, "
                  << (stopX ? "hung X server: " : "stopped server: ")
                  << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()
                  << " ms\n";
        EXPECT_LT(elapsed, 1s);
        // The conversation gives up itself, unless libpulse is held where it cannot.
        EXPECT_TRUE(Told::Contains(stopX ? "pardolin.sound: the device list: no answer after"
                                         : "pardolin.sound: connecting: no answer after"))
            << Told::All();
        // Nothing answered, so the kernel's cards speak instead; without any, nobody knows.
        if (KernelPlaybackDevices() > 0) {
            EXPECT_EQ(count, KernelPlaybackDevices());
        } else {
            EXPECT_EQ(count, std::nullopt);
        }
    }
}

TEST_F(SoundServerTest, ALiveServerAnswersQuickly) {
    LinuxSystemQueries queries = Queries(Session());
    WaveCapsRecord record;
    const auto start = Clock::now();
    ASSERT_EQ(queries.waveOutGetDevCapsA(0, record, kWaveCapsRecordSize), WaveResult::NoError);
    const auto elapsed = Clock::now() - start;
    std::cout << "[ measured ] capability query against a live server: "
              << std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() << " us\n";
    // Answered, not given up on: well inside the deadline.
    EXPECT_LT(elapsed, linux_backend::kSoundServerDeadline);
}

// One click of the sound report: the count, then device 0's record, which must name the
// server's default sink.
bool SoundClickIsRight(LinuxSystemQueries& queries, std::uint32_t sinks, std::u32string_view name) {
    WaveCapsRecord record;
    return queries.waveOutGetNumDevs() == sinks &&
           queries.waveOutGetDevCapsA(0, record, kWaveCapsRecordSize) == WaveResult::NoError &&
           NameOf(record) == name;
}

TEST(SlowSoundServers, AreAnsweredRightOnNinetyNineClicksOfAHundred) {
    struct Case {
        const char* what;
        int sinks;
        int busyProcesses;
        std::chrono::milliseconds oneWay;
    };
    for (const Case& c : {Case{"a server 200 ms away and back", 1, 0, 100ms},
                          Case{"200 sinks beside six busy processes", 200, 6, 0ms}}) {
        SCOPED_TRACE(c.what);
        const int port = FreeTcpPort();
        std::string script =
            "load-module module-native-protocol-tcp listen=127.0.0.1 port=" + std::to_string(port) +
            " auth-anonymous=1\n";
        for (int i = 0; i < c.sinks; ++i) {
            script += "load-module module-null-sink sink_name=s" + std::to_string(i) +
                      " sink_properties=device.description=Sink" + std::to_string(i) + "\n";
        }
        const PulseServer server(script + "set-default-sink s0\n");
        const LatencyProxy proxy(port, c.oneWay);
        SessionEnvironment session;
        session.pulseServer = "tcp:127.0.0.1:" + std::to_string(proxy.Port());
        std::vector<std::unique_ptr<Process>> busy;
        for (int i = 0; i < c.busyProcesses; ++i) {
            busy.push_back(std::make_unique<Process>(
                std::vector<std::string>{"sh", "-c", "while :; do :; done"}));
        }

        LinuxSystemQueries queries = Queries(session);
        int right = 0;
        std::vector<Clock::duration> times;
        for (int click = 0; click < 100; ++click) {
            const auto start = Clock::now();
            right += SoundClickIsRight(queries, static_cast<std::uint32_t>(c.sinks), U"Sink0");
            times.push_back(Clock::now() - start);
        }
        std::sort(times.begin(), times.end());
        std::cout << "[ measured ] " << c.what << ": " << right << " of 100 clicks right; median "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(times[50]).count()
                  << " ms, longest "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(times.back()).count()
                  << " ms\n";
        EXPECT_GE(right, 99);
    }
}

TEST(SoundServerQueries, WriteNoFiles) {
    // Started first: pactl, which checks that it runs, writes a cookie of its own.
    const PulseServer server(kTwoSinks);
    TempDir home;
    TempDir runtime;
    // libpulse reads these itself, as it sets up.
    const ScopedEnv homeEnv("HOME", home.Path());
    const ScopedEnv runtimeEnv("XDG_RUNTIME_DIR", runtime.Path());
    const ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
    const ScopedEnv cookie("PULSE_COOKIE", std::nullopt);
    const ScopedEnv named("PULSE_SERVER", std::nullopt);
    SessionEnvironment session = Session(home);
    session.runtimeDir = runtime.Path();
    // The server a session names, and then the search for the user's own server.
    session.pulseServer = server.Address();
    EXPECT_EQ(Queries(session).waveOutGetNumDevs(), 2u);
    session.pulseServer.reset();
    Queries(session).waveOutGetNumDevs();
    EXPECT_TRUE(std::filesystem::is_empty(home.Path()));
    EXPECT_TRUE(std::filesystem::is_empty(runtime.Path()));
}

TEST(NoSoundServer, TheKernelsCardsAreCounted) {
    TempDir nowhere;
    SessionEnvironment session;
    session.pulseServer = "unix:" + nowhere.Path() + "/none";
    LinuxSystemQueries queries = Queries(session);
    Told::Clear();
    EXPECT_EQ(queries.waveOutGetNumDevs(), std::optional(KernelPlaybackDevices()));
    EXPECT_TRUE(Told::Contains("pardolin.sound: connecting: Connection refused")) << Told::All();
    WaveCapsRecord record;
    if (KernelPlaybackDevices() == 0) {
        EXPECT_EQ(queries.waveOutGetDevCapsA(0, record, kWaveCapsRecordSize),
                  WaveResult::BadDeviceId);
    }
}

} // namespace
} // namespace pardolin::testing
