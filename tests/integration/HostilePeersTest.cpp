// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard report against peers that misbehave on purpose: a settings portal of the
// test's own that answers with wrong types, too much, too late or not at all; session buses
// and compositors that are stopped, silent, never accept or answer with junk. Every click
// must end within its deadline and a margin, show no made-up fact, and leave the program's
// threads, descriptors and memory as they were.
#include "Servers.h"

#include "platform/backends/linux/LinuxSystemQueries.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace pardolin::testing {
namespace {

using namespace std::chrono_literals;
using linux_backend::LinuxSystemQueries;
using Clock = std::chrono::steady_clock;

// GTK's settings.ini says a cycle of 1234 ms: the caret's last word before the toolkit.
constexpr std::uint32_t kSettingsFilePhase = 617;
// The portal's, when it answers as a real one does.
constexpr std::uint32_t kPortalPhase = 420;

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        value.empty() ? unsetenv(name) : setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// What one keyboard click shows: each fact, or nothing for one that is not known.
struct Shown {
    std::int32_t type = 0;
    std::optional<std::int32_t> delay;
    std::optional<std::int32_t> rate;
    std::uint32_t caretMs = 0;
};

Shown Click(LinuxSystemQueries& queries) {
    Shown shown;
    shown.type = queries.GetKeyboardType(0);
    std::int32_t value = 0;
    if (queries.SystemParametersInfoA(SystemParameter::KeyboardDelay, 0, value, 0)) {
        shown.delay = value;
    }
    if (queries.SystemParametersInfoA(SystemParameter::KeyboardSpeed, 0, value, 0)) {
        shown.rate = value;
    }
    shown.caretMs = queries.GetCaretBlinkTime();
    return shown;
}

// Clicks `count` times after a warm-up, and checks each click's time and what the clicks
// leave behind; what the last click showed.
Shown Hammer(LinuxSystemQueries& queries, int count, const std::string& row) {
    for (int click = 0; click < 5; ++click) {
        Click(queries);
    }
    const int threads = ThreadCount();
    const int descriptors = DescriptorCount();
    const long resident = ResidentKilobytes();
    Clock::duration longest{};
    Shown shown;
    for (int click = 0; click < count; ++click) {
        const auto start = Clock::now();
        shown = Click(queries);
        longest = std::max(longest, Clock::now() - start);
    }
    std::cout << "[ measured ] " << row << ": " << count << " clicks, longest "
              << std::chrono::duration_cast<std::chrono::milliseconds>(longest).count()
              << " ms; caret " << shown.caretMs << " ms; threads " << threads << " -> "
              << ThreadCount() << ", descriptors " << descriptors << " -> " << DescriptorCount()
              << ", resident " << resident << " -> " << ResidentKilobytes() << " KiB\n";
    EXPECT_LT(longest, linux_backend::kKeyboardDeadline + kLoadMargin) << row;
    EXPECT_LE(ThreadCount(), threads + 1) << row;
    EXPECT_LE(DescriptorCount(), descriptors + 1) << row;
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed memory back on purpose (its leak check stands in).
    EXPECT_LT(ResidentKilobytes() - resident, 2048) << row;
#endif
    return shown;
}

class HostilePeers : public ::testing::Test {
  protected:
    HostilePeers() {
        m_home.Write(".config/gtk-3.0/settings.ini", "[Settings]\ngtk-cursor-blink-time=1234\n");
    }

    TempDir m_home;
    ScopedEnv m_homeEnv{"HOME", m_home.Path()};
    ScopedEnv m_config{"XDG_CONFIG_HOME", ""};
    ScopedEnv m_display{"DISPLAY", ""};
    ScopedEnv m_wayland{"WAYLAND_DISPLAY", ""};
    ScopedEnv m_desktop{"XDG_CURRENT_DESKTOP", ""};
    LinuxSystemQueries m_queries{{[] { return 1060; }}};
};

// A value of the wrong type or out of range, an error, a reply too late, too large or
// never: no answer, and the settings file speaks. Only the good portal's value is shown.
TEST_F(HostilePeers, APortalThatMisbehavesIsNoAnswer) {
    struct Row {
        const char* mode;
        std::uint32_t caretMs;
        int clicks;
    };
    for (const Row& row :
         {Row{"good", kPortalPhase, 20}, Row{"boolean-time", kSettingsFilePhase, 20},
          Row{"big-uint", kSettingsFilePhase, 20}, Row{"max-uint", kSettingsFilePhase, 20},
          Row{"negative", kSettingsFilePhase, 20}, Row{"int16", kSettingsFilePhase, 20},
          Row{"deep", kSettingsFilePhase, 20}, Row{"error", kSettingsFilePhase, 20},
          Row{"huge", kSettingsFilePhase, 20}, Row{"close", kSettingsFilePhase, 20},
          Row{"late", kSettingsFilePhase, 200}, Row{"silent", kSettingsFilePhase, 200}}) {
        PrivateBus bus;
        const HostilePortal portal(bus, row.mode);
        const ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", bus.Address());
        EXPECT_EQ(Hammer(m_queries, row.clicks, std::string("portal ") + row.mode).caretMs,
                  row.caretMs)
            << row.mode;
    }
    // A bus may add header fields of kinds the program does not know: they are passed over.
    PrivateBus bus;
    const HostilePortal portal(bus, "good");
    const FieldAddingBus adding(bus);
    const ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", adding.Address());
    EXPECT_EQ(Hammer(m_queries, 20, "a bus that adds header fields").caretMs, kPortalPhase);
}

// A bus that is stopped, silent, never takes a connection, answers with junk, or has an
// address that names no such bus: each costs a click its deadline at most.
TEST_F(HostilePeers, ABusThatDoesNotAnswerCostsTheDeadlineAtMost) {
    TempDir sockets;
    {
        PrivateBus bus;
        const HostilePortal portal(bus, "good");
        bus.Daemon().Signal(SIGSTOP);
        const ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", bus.Address());
        EXPECT_EQ(Hammer(m_queries, 200, "stopped bus").caretMs, kSettingsFilePhase);
        bus.Daemon().Signal(SIGCONT);
    }
    struct Row {
        const char* what;
        MisbehavingPeer::Manner manner;
        int clicks;
    };
    for (const Row& row : {Row{"silent bus", MisbehavingPeer::Manner::Silent, 200},
                           Row{"bus that never accepts", MisbehavingPeer::Manner::NeverAccepts, 50},
                           Row{"bus that answers junk", MisbehavingPeer::Manner::Junk, 20}}) {
        const MisbehavingPeer peer(sockets.Path() + "/bus", row.manner);
        const ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + peer.Path());
        EXPECT_EQ(Hammer(m_queries, row.clicks, row.what).caretMs, kSettingsFilePhase) << row.what;
    }
    for (const char* garbage : {"garbage", "unix:path=%zz", "unix:abstract=pardolin-nobody",
                                "tcp:host=192.0.2.1,port=1;autolaunch:"}) {
        const ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", garbage);
        EXPECT_EQ(Hammer(m_queries, 5, garbage).caretMs, kSettingsFilePhase) << garbage;
    }
}

// A compositor that is stopped, silent, never takes a connection or answers with junk: no
// keyboard fact, within the deadline, and no new connection while the last one waits;
// the portal, asked beside it, still gives the caret.
TEST_F(HostilePeers, ACompositorThatDoesNotAnswerHidesNoOtherFact) {
    PrivateBus bus;
    const HostilePortal portal(bus, "good");
    const ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", bus.Address());
    const auto expectUnknown = [](const Shown& shown, const std::string& row) {
        EXPECT_EQ(shown.type, 0) << row;
        EXPECT_FALSE(shown.delay) << row;
        EXPECT_FALSE(shown.rate) << row;
        EXPECT_EQ(shown.caretMs, kPortalPhase) << row;
    };
    {
        XvfbServer x;
        Compositor compositor(x.Display(), "repeat-rate=30\nrepeat-delay=250");
        const ScopedEnv runtime("XDG_RUNTIME_DIR", compositor.RuntimeDir());
        const ScopedEnv wayland("WAYLAND_DISPLAY", compositor.Socket());
        EXPECT_TRUE(Click(m_queries).rate) << "the compositor answers while it runs";
        compositor.Daemon().Signal(SIGSTOP);
        expectUnknown(Hammer(m_queries, 200, "stopped compositor"), "stopped compositor");
        compositor.Daemon().Signal(SIGCONT);
        EXPECT_TRUE(WaitFor([&] { return Click(m_queries).rate.has_value(); }, 5s))
            << "once it runs again, the next click reads it";
    }
    TempDir sockets;
    struct Row {
        const char* what;
        MisbehavingPeer::Manner manner;
        int clicks;
    };
    for (const Row& row :
         {Row{"silent compositor", MisbehavingPeer::Manner::Silent, 50},
          Row{"compositor that never accepts", MisbehavingPeer::Manner::NeverAccepts, 50},
          Row{"compositor that answers junk", MisbehavingPeer::Manner::Junk, 20}}) {
        const MisbehavingPeer peer(sockets.Path() + "/wayland", row.manner);
        const ScopedEnv wayland("WAYLAND_DISPLAY", peer.Path());
        LinuxSystemQueries queries{{[] { return 1060; }}};
        expectUnknown(Hammer(queries, row.clicks, row.what), row.what);
    }
    // A keymap shorter than announced, or cut after it was sent, costs the type, not the
    // program; the repeat settings it sent beside it still count.
    struct KeymapRow {
        const char* mode;
        std::int32_t type;
    };
    for (const KeymapRow& row :
         {KeymapRow{"good", 7}, KeymapRow{"short", 0}, KeymapRow{"shrinking", 0}}) {
        const HostileCompositor compositor(sockets.Path() + "/" + row.mode, row.mode);
        const ScopedEnv wayland("WAYLAND_DISPLAY", compositor.Path());
        LinuxSystemQueries queries{{[] { return 1060; }}};
        const std::string what = std::string("compositor with a keymap: ") + row.mode;
        const Shown shown = Hammer(queries, 20, what);
        EXPECT_EQ(shown.type, row.type) << what;
        EXPECT_EQ(shown.delay, 1) << what;
        EXPECT_EQ(shown.rate, 25) << what;
    }
}

} // namespace
} // namespace pardolin::testing
