// SPDX-License-Identifier: GPL-3.0-or-later
// The session bus's address as the program's own D-Bus client reads it, and what the toolkit
// is told of the bus at start-up.
#include "platform/backends/linux/bus/SessionBus.h"
#include "platform/backends/linux/bus/ToolkitBus.h"

#include <gtest/gtest.h>

#include <string>

namespace pardolin::linux_backend {
namespace {

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
             Case{";unix:path=/d;;unix:guid=1,,path=/e;", nullptr, "/d /e "},
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

} // namespace
} // namespace pardolin::linux_backend
