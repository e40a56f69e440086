// SPDX-License-Identifier: GPL-3.0-or-later
// Where the session's peers are found, and what the program reads of what they say: bus
// addresses, the compositor's socket, D-Bus messages, and the compositor's repeat settings.
#include "platform/backends/linux/SessionPeers.h"
#include "platform/backends/linux/KeyboardSettings.h"
#include "platform/backends/linux/SessionBus.h"

#include <gtest/gtest.h>

#include <string>

namespace pardolin::linux_backend {
namespace {

using namespace std::string_literals;

std::string Names(const std::vector<SocketAddress>& addresses) {
    std::string names;
    for (const SocketAddress& address : addresses) {
        names += (address.abstract ? "@" : "") + address.name + " ";
    }
    return names;
}

TEST(SessionBusAddresses, LocalSocketsOnlyInOrderEscapesUndone) {
    struct Case {
        const char* address;
        const char* runtimeDir;
        const char* names;
    };
    for (const Case& c : {
             Case{"unix:path=/run/user/1000/bus", nullptr, "/run/user/1000/bus "},
             Case{"unix:abstract=/tmp/dbus-x,guid=0f;unix:path=/a%20b", nullptr,
                  "@/tmp/dbus-x /a b "},
             Case{"tcp:host=localhost,port=1;autolaunch:;unix:path=/c", nullptr, "/c "},
             Case{"unix:path=%zz;unix:path=", nullptr, ""},
             Case{"disabled:", "/run/user/1000", ""},
             Case{nullptr, "/run/user/1000", "/run/user/1000/bus "},
             Case{"", "relative", ""},
         }) {
        EXPECT_EQ(Names(SessionBusAddresses(c.address, c.runtimeDir)), c.names)
            << (c.address ? c.address : "(unset)");
    }
}

// What the toolkit is told of the bus before it starts: left the address where one of it
// answered or where it has entries only the toolkit can try, never an autolaunch: entry.
TEST(ToolkitBus, LeftAloneUnlessNothingOfItCanAnswer) {
    struct Case {
        const char* address;
        bool named;
        bool answered;
        std::optional<std::string> forTheToolkit;
        bool silent;
    };
    const std::string disabled = "disabled:";
    for (const Case& c : {
             Case{"unix:path=/a", true, true, std::nullopt, false},
             Case{"unix:path=/a;autolaunch:", true, true, std::nullopt, false},
             Case{"unix:path=/a", true, false, disabled, true},
             Case{"unixexec:path=/usr/bin/socat;unix:path=/a", true, false, std::nullopt, false},
             Case{"tcp:host=h,port=1", true, false, std::nullopt, false},
             Case{"nonce-tcp:host=h,port=1,noncefile=/n", true, false, std::nullopt, false},
             Case{"tcp:host=h,port=1;autolaunch:", true, false, "tcp:host=h,port=1", false},
             Case{"autolaunch:;unix:path=/a", true, false, disabled, true},
             Case{"garbage", true, false, disabled, true},
             Case{"unix:tmpdir=/tmp", true, false, disabled, true},
             Case{nullptr, true, false, disabled, true},
             Case{nullptr, false, false, disabled, false},
         }) {
        const ToolkitBus bus = DecideToolkitBus(c.address, c.named, c.answered);
        const std::string row = std::string(c.address ? c.address : "(unset)") +
                                (c.answered ? ", answered" : ", no answer");
        EXPECT_EQ(bus.address, c.forTheToolkit) << row;
        EXPECT_EQ(bus.silent, c.silent) << row;
    }
}

TEST(CompositorAddress, AsLibwaylandFindsIt) {
    EXPECT_EQ(CompositorAddress("wayland-1", "/run/user/1000")->name, "/run/user/1000/wayland-1");
    EXPECT_EQ(CompositorAddress(nullptr, "/run/user/1000")->name, "/run/user/1000/wayland-0");
    EXPECT_EQ(CompositorAddress("/tmp/w", nullptr)->name, "/tmp/w");
    EXPECT_FALSE(CompositorAddress("wayland-1", nullptr));

    // A connection handed over comes first, when WAYLAND_SOCKET names an open descriptor
    // the way libwayland reads it; otherwise libwayland connects nowhere.
    const ToolkitCompositor handed = FindToolkitCompositor("2", "wayland-1", "/run/user/1000");
    EXPECT_EQ(handed.handedSocket, 2);
    EXPECT_FALSE(handed.address);
    for (const char* broken : {"", "2x", "-1", "999"}) {
        const ToolkitCompositor none = FindToolkitCompositor(broken, "wayland-1", "/run/user/1000");
        EXPECT_EQ(none.handedSocket, -1) << broken;
        EXPECT_FALSE(none.address) << broken;
    }
    EXPECT_EQ(FindToolkitCompositor(nullptr, "wayland-1", "/run/user/1000").address->name,
              "/run/user/1000/wayland-1");
}

TEST(RepeatFromCompositor, NoRepeatOrOutOfRangeIsNoFact) {
    struct Case {
        int rate;
        int delay;
        std::optional<std::int32_t> delayIndex;
        std::optional<std::int32_t> rateIndex;
    };
    for (const Case& c : {Case{30, 250, 0, 31}, Case{10, 660, 2, 8}, Case{0, 500, {}, {}},
                          Case{0, 0, {}, {}}, Case{-1, -100, {}, {}}, Case{40, -100, {}, 31},
                          Case{2147483647, 250, 0, {}}, Case{25, 10001, {}, 25}}) {
        const RepeatSettings settings = RepeatFromCompositor(c.rate, c.delay);
        EXPECT_EQ(settings.delay, c.delayIndex) << c.rate << " " << c.delay;
        EXPECT_EQ(settings.rate, c.rateIndex) << c.rate << " " << c.delay;
    }
}

} // namespace
} // namespace pardolin::linux_backend
