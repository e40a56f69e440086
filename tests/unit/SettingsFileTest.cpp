// SPDX-License-Identifier: GPL-3.0-or-later
// Which settings files are read, and where the session says they are.
#include "ScopedEnv.h"

#include "platform/backends/linux/SessionEnvironment.h"
#include "platform/backends/linux/settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

namespace pardolin::linux_backend {
namespace {

// Only small regular files are read, at once, and anything else is refused, saying why;
// a file that is not there is not a fault.
TEST(SettingsFiles, OnlySmallRegularFilesAreReadAndNeverWaitedFor) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("pardolin-settings-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "settings.ini").string();
    const auto write = [&path](std::size_t bytes) {
        std::ofstream(path) << std::string(bytes, '#');
    };
    struct Case {
        const char* what;
        std::function<void()> make;
        std::size_t limit;
        std::optional<std::size_t> read; // bytes, when it is read
        const char* why;                 // the start of the reason, when it is not
    };
    const std::vector<Case> cases{
        {"a file at the limit", [&] { write(100); }, 100, 100, ""},
        {"a file a byte over it", [&] { write(101); }, 100, std::nullopt, "larger than 100 bytes"},
        {"an empty file", [&] { write(0); }, 100, 0, ""},
        {"a file as large as allowed", [&] { write(kMaxSettingsBytes); }, kMaxSettingsBytes,
         kMaxSettingsBytes, ""},
        {"a FIFO without a writer", [&] { mkfifo(path.c_str(), 0600); }, 100, std::nullopt,
         "not a regular file"},
        {"a link to /dev/zero", [&] { symlink("/dev/zero", path.c_str()); }, 100, std::nullopt,
         "not a regular file"},
        {"a directory", [&] { std::filesystem::create_directory(path); }, 100, std::nullopt,
         "not a regular file"},
        // Files of /proc say they are empty and are not: such a file grows as it is read.
        {"a file that grows past the limit as it is read",
         [&] { symlink("/proc/self/status", path.c_str()); }, 100, std::nullopt,
         "larger than 100 bytes as it was read"},
        {"no file at all", [] {}, 100, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(path);
        c.make();
        std::string why;
        const auto start = std::chrono::steady_clock::now();
        const std::optional<std::string> text = ReadSettingsFile(path, &why, c.limit);
        // A blocking open or read would wait for ever; these take no time at all.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        ASSERT_EQ(text.has_value(), c.read.has_value()) << why;
        if (text) {
            EXPECT_EQ(text->size(), *c.read);
        }
        EXPECT_EQ(why.substr(0, std::string(c.why).size()), c.why);
        EXPECT_EQ(why.empty(), std::string(c.why).empty()) << why;
    }
    std::filesystem::remove_all(dir);
}

TEST(SessionEnvironment, ConfigFoldersAndDesktopsAsTheXdgRulesSay) {
    SessionEnvironment environment;
    environment.home = "/home/u";
    EXPECT_EQ(environment.UserConfigDir(), "/home/u/.config");
    environment.configHome = "relative";
    EXPECT_EQ(environment.UserConfigDir(), "/home/u/.config");
    environment.configHome = "/c";
    EXPECT_EQ(environment.UserConfigDir(), "/c");
    environment = {};
    EXPECT_EQ(environment.UserConfigDir(), "") << "without a home there is none";

    EXPECT_EQ(environment.SystemConfigDirs(), std::vector<std::string>{"/etc/xdg"});
    environment.configDirs = "/a:relative::/b";
    EXPECT_EQ(environment.SystemConfigDirs(), (std::vector<std::string>{"/a", "/b"}));
    environment.configDirs = "relative";
    EXPECT_EQ(environment.SystemConfigDirs(), std::vector<std::string>{"/etc/xdg"});

    // Without HOME, or with one that is not absolute, the password database's.
    for (const std::optional<std::string>& home : {std::optional<std::string>(), {"relative"}}) {
        const testing::ScopedEnv scoped("HOME", home);
        EXPECT_EQ(SessionEnvironment::OfThisProcess().home, getpwuid(getuid())->pw_dir);
    }

    environment.currentDesktop = "ubuntu:GNOME";
    EXPECT_TRUE(environment.DesktopIs("GNOME"));
    EXPECT_TRUE(environment.DesktopIs("ubuntu"));
    EXPECT_FALSE(environment.DesktopIs("GNOM"));
    EXPECT_FALSE(environment.DesktopIs("KDE"));
}

} // namespace
} // namespace pardolin::linux_backend
