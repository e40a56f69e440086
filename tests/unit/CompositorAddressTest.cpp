// SPDX-License-Identifier: GPL-3.0-or-later
// Where the compositor is found, by the program's keyboard questions and by the toolkit.
#include "platform/backends/linux/wayland/ToolkitCompositor.h"

#include <gtest/gtest.h>

namespace pardolin::linux_backend {
namespace {

TEST(CompositorAddress, AsLibwaylandFindsIt) {
    EXPECT_EQ(CompositorAddress("wayland-1", "/run/user/1000")->name, "/run/user/1000/wayland-1");
    EXPECT_EQ(CompositorAddress(nullptr, "/run/user/1000")->name, "/run/user/1000/wayland-0");
    EXPECT_EQ(CompositorAddress("/tmp/w", nullptr)->name, "/tmp/w");
    EXPECT_FALSE(CompositorAddress("wayland-1", nullptr));
    EXPECT_FALSE(CompositorAddress("wayland-1", "run/user/1000")) << "a relative runtime folder";

    // A connection handed over comes first, when WAYLAND_SOCKET names an open descriptor
    // the way libwayland reads it; otherwise libwayland connects nowhere.
    const ToolkitCompositor handed = FindToolkitCompositor("2", "wayland-1", "/run/user/1000");
    EXPECT_EQ(handed.handedSocket, 2);
    EXPECT_FALSE(handed.address);
    // 2^32 + 2 would be descriptor 2 again, were it cut to an int.
    for (const char* broken : {"", "2x", "-1", "999", "4294967298"}) {
        const ToolkitCompositor none = FindToolkitCompositor(broken, "wayland-1", "/run/user/1000");
        EXPECT_EQ(none.handedSocket, -1) << broken;
        EXPECT_FALSE(none.address) << broken;
    }
    EXPECT_EQ(FindToolkitCompositor(nullptr, "wayland-1", "/run/user/1000").address->name,
              "/run/user/1000/wayland-1");
}

} // namespace
} // namespace pardolin::linux_backend
