// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard report against peers that misbehave on purpose: a settings portal of the
// test's own that answers with wrong types, too much, too late or not at all; session buses
// and compositors that are stopped, silent, never accept or answer with junk. Every click
// must end within its deadline and a margin, show no made-up fact, leave the program's
// threads, descriptors and memory as they were, and say on the diagnostics channel which
// peer failed, at which step, and why.
#include "Servers.h"
#include "Told.h"

#include "platform/backends/linux/LinuxSystemQueries.h"

#include <gtest/gtest.h>

#include <csignal>
#include <initializer_list>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace pardolin::testing {
namespace {

using namespace std::chrono_literals;
using linux_backend::LinuxSystemQueries;
using linux_backend::SessionEnvironment;
using Clock = std::chrono::steady_clock;

// GTK's settings.ini says a cycle of 1234 ms: the caret's last word before the toolkit.
constexpr std::uint32_t kSettingsFilePhase = 617;
// The portal's, when it answers as a real one does.
constexpr std::uint32_t kPortalPhase = 420;

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

// Clicks `count` times after a warm-up, and checks each click's time, what the clicks
// leave behind, and that the diagnostics channel was told `told` (unless it is empty); what
// the last click showed.
Shown Hammer(LinuxSystemQueries& queries, int count, const std::string& row,
             const std::string& told) {
    // A thread of the row before, given up at its deadline, could still tell.
    WaitFor([] { return ThreadCount() <= 1; }, 2s);
    Told::Clear();
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
              << ", resident " << resident << " -> " << ResidentKilobytes() << " KiB; told \""
              << Told::First() << "\"\n";
    EXPECT_LT(longest, linux_backend::kKeyboardDeadline + kLoadMargin) << row;
    EXPECT_LE(ThreadCount(), threads + 1) << row;
    EXPECT_LE(DescriptorCount(), descriptors + 1) << row;
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed memory back on purpose (its leak check stands in).
    EXPECT_LT(ResidentKilobytes() - resident, 2048) << row;
#endif
    EXPECT_TRUE(told.empty() || Told::Contains(told))
        << row << ": not told \"" << told << "\", only" << Told::All();
    return shown;
}

// A peer of the test's own that misbehaves as `manner` says, clicked `clicks` times, and
// what the diagnostics channel must be told of it.
struct MisbehavingRow {
    const char* what;
    MisbehavingPeer::Manner manner;
    int clicks;
    const char* told;
};

// Hammers each row's peer in turn, at `path`, through the queries `reach` makes for it;
// `check` is given what the row's last click showed.
template <typename Reach, typename Check>
void HammerEach(std::initializer_list<MisbehavingRow> rows, const std::string& path, Reach reach,
                Check check) {
    for (const MisbehavingRow& row : rows) {
        const MisbehavingPeer peer(path, row.manner);
        LinuxSystemQueries queries = reach(peer.Path());
        check(Hammer(queries, row.clicks, row.what, row.told), row.what);
    }
}

class HostilePeers : public ::testing::Test {
  protected:
    HostilePeers() {
        m_home.Write(".config/gtk-3.0/settings.ini", "[Settings]\ngtk-cursor-blink-time=1234\n");
    }

    // The queries of a session without X, compositor or bus, unless `change` gives one.
    template <typename Change> LinuxSystemQueries Queries(Change change) const {
        SessionEnvironment session;
        session.home = m_home.Path();
        change(session);
        return LinuxSystemQueries({[] { return 1060; }, false, Told::Channel()}, session);
    }
    LinuxSystemQueries OnBus(const std::string& address) const {
        return Queries([&](SessionEnvironment& session) { session.busAddress = address; });
    }

    TempDir m_home;
};

// A value of the wrong type or out of range, an error, a reply too late, too large or
// never: no answer, and the settings file speaks. Only the good portal's value is shown.
TEST_F(HostilePeers, APortalThatMisbehavesIsNoAnswer) {
    struct Row {
        const char* mode;
        std::uint32_t caretMs;
        int clicks;
        std::string told;
    };
    // Each told of the key that decides the caret; the good portal, of KDE's it lacks.
    const std::string gnome =
        "pardolin.portal: Read org.gnome.desktop.interface cursor-blink-time: ";
    const std::string kde = "pardolin.portal: Read org.kde.kdeglobals.KDE CursorBlinkRate: ";
    for (const Row& row :
         {Row{"good", kPortalPhase, 20, kde + "an error: org.freedesktop.portal.Error.NotFound"},
          Row{"boolean-time", kSettingsFilePhase, 20, gnome + "wrong type: b, not i"},
          Row{"big-uint", kSettingsFilePhase, 20, gnome + "wrong type: u, not i"},
          Row{"max-uint", kSettingsFilePhase, 20, gnome + "wrong type: u, not i"},
          Row{"negative", kSettingsFilePhase, 20, gnome + "out of range: -840"},
          Row{"int16", kSettingsFilePhase, 20, gnome + "wrong type: n, not i"},
          Row{"deep", kSettingsFilePhase, 20, gnome + "a reply without one basic value"},
          Row{"error", kSettingsFilePhase, 20,
              gnome + "an error: org.freedesktop.portal.Error.NotFound"},
          Row{"huge", kSettingsFilePhase, 20, gnome + "a message too long: more than 64 KiB"},
          Row{"close", kSettingsFilePhase, 20,
              gnome + "an error: org.freedesktop.DBus.Error.NoReply"},
          Row{"late", kSettingsFilePhase, 200, gnome + "no answer after"},
          Row{"silent", kSettingsFilePhase, 200, gnome + "no answer after"}}) {
        PrivateBus bus;
        const HostilePortal portal(bus, row.mode);
        LinuxSystemQueries queries = OnBus(bus.Address());
        EXPECT_EQ(Hammer(queries, row.clicks, std::string("portal ") + row.mode, row.told).caretMs,
                  row.caretMs)
            << row.mode;
        EXPECT_EQ(Told::Contains("cursor-blink-time"), row.caretMs != kPortalPhase)
            << row.mode << ": only a key without an answer is told of";
    }
    // A bus may add header fields of kinds the program does not know: they are passed over.
    PrivateBus bus;
    const HostilePortal portal(bus, "good");
    const FieldAddingBus adding(bus);
    LinuxSystemQueries queries = OnBus(adding.Address());
    EXPECT_EQ(Hammer(queries, 20, "a bus that adds header fields", kde + "an error").caretMs,
              kPortalPhase);
}

// A bus that is stopped, silent, never takes a connection, answers with junk, or has an
// address that names no such bus: each costs a click its deadline at most.
TEST_F(HostilePeers, ABusThatDoesNotAnswerCostsTheDeadlineAtMost) {
    TempDir sockets;
    {
        PrivateBus bus;
        const HostilePortal portal(bus, "good");
        bus.Daemon().Signal(SIGSTOP);
        LinuxSystemQueries queries = OnBus(bus.Address());
        EXPECT_EQ(Hammer(queries, 200, "stopped bus", "pardolin.bus: authenticating at ").caretMs,
                  kSettingsFilePhase);
        bus.Daemon().Signal(SIGCONT);
    }
    HammerEach(
        {{"silent bus", MisbehavingPeer::Manner::Silent, 200, "no answer after"},
         {"bus that never accepts", MisbehavingPeer::Manner::NeverAccepts, 50, "its queue is full"},
         {"bus that answers junk", MisbehavingPeer::Manner::Junk, 20,
          "an answer of 4096 bytes without a line end, then no answer after"}},
        sockets.Path() + "/bus",
        [&](const std::string& path) { return OnBus("unix:path=" + path); },
        [](const Shown& shown, const std::string& what) {
            EXPECT_EQ(shown.caretMs, kSettingsFilePhase) << what;
        });
    for (const char* garbage : {"garbage", "unix:path=%zz", "unix:abstract=pardolin-nobody",
                                "tcp:host=192.0.2.1,port=1;autolaunch:"}) {
        LinuxSystemQueries queries = OnBus(garbage);
        const bool named = std::string(garbage).find("abstract") != std::string::npos;
        EXPECT_EQ(Hammer(queries, 5, garbage, named ? "refused" : "names no local socket").caretMs,
                  kSettingsFilePhase)
            << garbage;
    }
}

// A compositor that is stopped, silent, never takes a connection or answers with junk: no
// keyboard fact, within the deadline, and no new connection while the last one waits;
// the portal, asked beside it, still gives the caret.
TEST_F(HostilePeers, ACompositorThatDoesNotAnswerHidesNoOtherFact) {
    PrivateBus bus;
    const HostilePortal portal(bus, "good");
    const auto expectUnknown = [](const Shown& shown, const std::string& row) {
        EXPECT_EQ(shown.type, 0) << row;
        EXPECT_FALSE(shown.delay) << row;
        EXPECT_FALSE(shown.rate) << row;
        EXPECT_EQ(shown.caretMs, kPortalPhase) << row;
    };
    const auto onCompositor = [&](const std::string& socket, const std::string& runtime) {
        return Queries([&](SessionEnvironment& session) {
            session.busAddress = bus.Address();
            session.waylandDisplay = socket;
            session.runtimeDir = runtime;
        });
    };
    {
        XvfbServer x;
        Compositor compositor(x.Display(), "repeat-rate=30\nrepeat-delay=250");
        LinuxSystemQueries queries = onCompositor(compositor.Socket(), compositor.RuntimeDir());
        EXPECT_TRUE(Click(queries).rate) << "the compositor answers while it runs";
        compositor.Daemon().Signal(SIGSTOP);
        expectUnknown(Hammer(queries, 200, "stopped compositor",
                             "pardolin.compositor: the keyboard: still no answer"),
                      "stopped compositor");
        compositor.Daemon().Signal(SIGCONT);
        EXPECT_TRUE(WaitFor([&] { return Click(queries).rate.has_value(); }, 5s))
            << "once it runs again, the next click reads it";
    }
    TempDir sockets;
    HammerEach(
        {{"silent compositor", MisbehavingPeer::Manner::Silent, 50, "its globals: no answer after"},
         // The first connection waits in the queue, and is the one the next clicks
         // wait on.
         {"compositor that never accepts", MisbehavingPeer::Manner::NeverAccepts, 50,
          "its globals: no answer after"},
         // Its junk announces a message longer than it sends: libwayland waits for
         // the rest.
         {"compositor that answers junk", MisbehavingPeer::Manner::Junk, 20,
          "its globals: no answer after"}},
        sockets.Path() + "/wayland",
        [&](const std::string& path) { return onCompositor(path, ""); }, expectUnknown);
    // A keymap shorter than announced, or cut after it was sent, costs the type, not the
    // program; the repeat settings it sent beside it still count.
    struct KeymapRow {
        const char* mode;
        std::int32_t type;
        const char* told;
    };
    for (const KeymapRow& row :
         {KeymapRow{"good", 7, ""},
          KeymapRow{"short", 0, "keymap: its file is shorter than announced: 4096 of 65536 bytes"},
          KeymapRow{"shrinking", 0, "the keyboard's keymap: its file is shorter than announced"}}) {
        const HostileCompositor compositor(sockets.Path() + "/" + row.mode, row.mode);
        LinuxSystemQueries queries = onCompositor(compositor.Path(), "");
        const std::string what = std::string("compositor with a keymap: ") + row.mode;
        const Shown shown = Hammer(queries, 20, what, row.told);
        EXPECT_EQ(Told::Contains("pardolin.compositor"), *row.told != '\0') << what;
        EXPECT_EQ(shown.type, row.type) << what;
        EXPECT_EQ(shown.delay, 1) << what;
        EXPECT_EQ(shown.rate, 25) << what;
    }
}

} // namespace
} // namespace pardolin::testing
