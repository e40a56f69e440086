// SPDX-License-Identifier: GPL-3.0-or-later
// What the keyboard's settings mean, as X, the compositors and the desktops' files keep them.
#include "platform/backends/linux/settings/KeyboardSettings.h"
#include "platform/backends/linux/x11/XSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace pardolin::linux_backend {
namespace {

using namespace std::string_literals;

TEST(KeyboardType, JapaneseKoreanAndEverythingElse) {
    struct Case {
        const char* model;
        const char* layout;
        std::int32_t type;
    };
    for (const Case& c : {Case{"jp106", "jp", 7}, Case{"jp106", "us", 7}, Case{"pc105", "jp", 7},
                          Case{"pc105", "kr", 8}, Case{"pc105", "us", 4}, Case{"pc105", "us,jp", 4},
                          Case{"pc105", "jp,us", 7}, Case{"pc105", "us,kr", 4},
                          Case{"pc105", "kr,us", 8}, Case{"jp106x", "jpx", 4}, Case{"", "", 4}}) {
        EXPECT_EQ(KeyboardTypeFromXkb({"evdev", c.model, c.layout, "", ""}), c.type)
            << c.model << " " << c.layout;
    }
}

TEST(KeyboardType, ReadsEveryPlaceTheConfigurationIsKept) {
    const XkbNames names = ParseXkbRulesNames("evdev\0jp106\0jp\0\0grp:alt\0"s);
    EXPECT_EQ(names.rules, "evdev");
    EXPECT_EQ(names.model, "jp106");
    EXPECT_EQ(names.layout, "jp");
    EXPECT_EQ(names.options, "grp:alt");
    const XkbNames cut = ParseXkbRulesNames("evdev\0pc10"s);
    EXPECT_EQ(cut.model, "pc10");
    EXPECT_EQ(cut.layout, "") << "the fields after the last one given are empty";
    // Past its fifth field the property says nothing more.
    const XkbNames extra = ParseXkbRulesNames("e\0m\0l\0v\0o\0more\0"s);
    EXPECT_EQ(extra.layout, "l");
    EXPECT_EQ(extra.options, "o");

    const auto defaults = ParseDefaultKeyboard(
        "# KEYBOARD CONFIGURATION FILE\nXKBMODEL=\"pc105\"\nXKBLAYOUT='kr'\nXKBVARIANT=\"\"\n");
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->model, "pc105");
    EXPECT_EQ(defaults->layout, "kr");
    EXPECT_FALSE(ParseDefaultKeyboard("BACKSPACE=\"guess\"\n"));

    const auto xorg =
        ParseXorgKeyboardConf("Section \"InputClass\"\n  Identifier \"system-keyboard\"\n"
                              "  MatchIsKeyboard \"on\"\n  Option \"XkbLayout\" \"jp\"\n"
                              "  Option \"XkbModel\" \"jp106\"\nEndSection\n");
    ASSERT_TRUE(xorg);
    EXPECT_EQ(xorg->model, "jp106");
    EXPECT_EQ(xorg->layout, "jp");
    EXPECT_FALSE(ParseXorgKeyboardConf("Section \"InputClass\"\nEndSection\n"));
}

TEST(RepeatScales, MapMillisecondsOntoTheFourAndThirtyTwoSteps) {
    struct Case {
        int ms;
        std::int32_t index;
    };
    for (const Case& c :
         {Case{-1, 0}, Case{0, 0}, Case{250, 0}, Case{374, 0}, Case{375, 1}, Case{500, 1},
          Case{660, 2}, Case{874, 2}, Case{875, 3}, Case{1000, 3}, Case{5000, 3}}) {
        EXPECT_EQ(DelayIndexFromMs(c.ms), c.index) << "delay " << c.ms;
    }
    // 1000/30 ms is how `xset r rate 250 30` stores 30 repeats a second.
    for (const Case& c : {Case{33, 31}, Case{25, 31}, Case{400, 0}, Case{1000, 0}, Case{0, 31},
                          Case{-1, 31}, Case{100, 8}, Case{40, 25}}) {
        EXPECT_EQ(RateIndexFromIntervalMs(c.ms), c.index) << "interval " << c.ms;
    }
    EXPECT_EQ(RateIndexFromRepeatsPerSecond(2.94), 0);
    EXPECT_EQ(RateIndexFromRepeatsPerSecond(3.0), 1);
    EXPECT_EQ(RateIndexFromRepeatsPerSecond(29.9), 31);
    EXPECT_EQ(RateIndexFromRepeatsPerSecond(29.0), 30);
}

TEST(KeyboardType, FromTheFirstLayoutOfACompositorsKeymap) {
    struct Case {
        const char* symbols;
        std::optional<std::int32_t> type;
    };
    for (const Case& c :
         {Case{"xkb_symbols \"pc+jp+inet(evdev)\" {", 7},
          Case{"xkb_symbols \"pc+us(intl)+kr:2+inet(evdev)\" {", 4},
          Case{"xkb_symbols  \"kr(kr104)+inet(evdev)\" {", 8},
          Case{"xkb_symbols \"(unnamed)\" {\n\tname[Group1]=\"Japanese (OADG 109A)\";", 7},
          Case{"xkb_symbols \"(unnamed)\" "
               "{\n\tname[Group1]=\"Korean\";\n\tname[Group2]=\"Japanese\";",
               8},
          Case{"xkb_symbols \"(unnamed)\" {\n\tname[Group1]=\"English (US)\";", 4},
          Case{"xkb_symbols \"pc\" {", std::nullopt}, Case{"xkb_symbols {", std::nullopt},
          Case{"", std::nullopt}}) {
        const std::string keymap =
            std::string("xkb_keymap {\nxkb_keycodes \"evdev\" {};\n") + c.symbols + "\n};\n};\n";
        EXPECT_EQ(KeyboardTypeFromKeymap(keymap), c.type) << c.symbols;
    }
}

TEST(Caret, HalfTheCycleOrNeverWhenBlinkingIsOff) {
    EXPECT_EQ(CaretPhaseMs({true, 1200}), 600u);
    EXPECT_EQ(CaretPhaseMs({std::nullopt, 1060}), 530u);
    EXPECT_EQ(CaretPhaseMs({false, 1200}), 0xFFFFFFFFu);
    EXPECT_EQ(CaretPhaseMs({false, std::nullopt}), 0xFFFFFFFFu);
    EXPECT_EQ(CaretPhaseMs({std::nullopt, 0}), 0xFFFFFFFFu);
    EXPECT_EQ(CaretPhaseMs({std::nullopt, 1}), 1u);
    EXPECT_EQ(CaretPhaseMs({true, std::nullopt}), std::nullopt);

    const CaretSettings gtk = ParseGtkSettingsIni(
        "[Other]\ngtk-cursor-blink-time=99\n[Settings]\n# comment\n"
        "gtk-theme-name=Adwaita\ngtk-cursor-blink = false\ngtk-cursor-blink-time=800\n");
    EXPECT_EQ(gtk.blinks, false);
    EXPECT_EQ(gtk.cycleMs, 800);
    struct Case {
        const char* ini;
        std::optional<int> cycleMs;
    };
    for (const Case& c : {Case{"[Settings]\ngtk-cursor-blink-time=abc\n", std::nullopt},
                          Case{"[Settings]\ngtk-cursor-blink-time=800ms\n", std::nullopt},
                          Case{"[Settings]\ngtk-cursor-blink-time=800\n[Other]\n"
                               "gtk-cursor-blink-time=99\n",
                               800},
                          Case{"[Settings] \ngtk-cursor-blink-time=700\n", 700},
                          Case{"[SettingsX]\ngtk-cursor-blink-time=700\n", std::nullopt},
                          Case{"gtk-cursor-blink-time=700\n", std::nullopt}}) {
        EXPECT_EQ(ParseGtkSettingsIni(c.ini).cycleMs, c.cycleMs) << c.ini;
    }
}

// lxqt.conf as LXQt writes it: the whole cycle in [Qt], within a caret's range.
TEST(Caret, LxqtsFlashTime) {
    struct Case {
        const char* conf;
        std::optional<int> cycleMs;
    };
    for (const Case& c :
         {Case{"[General]\n__userfile__=true\n\n[Qt]\ncursorFlashTime=900\nwheelScrollLines=3\n",
               900},
          Case{"[Qt]\ncursorFlashTime=0\n", 0}, Case{"[Qt]\ncursorFlashTime=10000\n", 10000},
          Case{"[Qt]\ncursorFlashTime=10001\n", std::nullopt},
          Case{"[Qt]\ncursorFlashTime=-1\n", std::nullopt},
          Case{"[Qt]\ncursorFlashTime=900x\n", std::nullopt},
          Case{"[General]\ncursorFlashTime=900\n", std::nullopt},
          Case{"[Qt]\ndoubleClickInterval=400\n", std::nullopt}}) {
        EXPECT_EQ(ParseLxqtCursorFlashTime(c.conf), c.cycleMs) << c.conf;
    }
}

// Builds an _XSETTINGS_SETTINGS block the way a settings manager writes it.
class XSettingsBlock {
  public:
    explicit XSettingsBlock(bool bigEndian) : m_bigEndian(bigEndian) {}

    XSettingsBlock& Integer(const std::string& name, std::int32_t value) {
        Header(0, name);
        Card(4, static_cast<std::uint32_t>(value));
        ++m_count;
        return *this;
    }
    XSettingsBlock& String(const std::string& name, const std::string& value) {
        Header(1, name);
        Card(4, static_cast<std::uint32_t>(value.size()));
        Padded(value);
        ++m_count;
        return *this;
    }
    XSettingsBlock& Colour(const std::string& name) {
        Header(2, name);
        m_body.append(8, '\x7f');
        ++m_count;
        return *this;
    }
    std::string Bytes() const {
        XSettingsBlock head(m_bigEndian);
        head.m_body.push_back(m_bigEndian ? 1 : 0);
        head.m_body.append(3, '\0');
        head.Card(4, 7); // serial
        head.Card(4, m_count);
        return head.m_body + m_body;
    }

  private:
    void Header(char type, const std::string& name) {
        m_body.push_back(type);
        m_body.push_back('\0');
        Card(2, static_cast<std::uint32_t>(name.size()));
        Padded(name);
        Card(4, 0); // last change
    }
    void Padded(const std::string& text) {
        m_body += text;
        m_body.append((4 - text.size() % 4) % 4, '\0');
    }
    void Card(int width, std::uint32_t value) {
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (m_bigEndian ? width - 1 - i : i);
            m_body.push_back(static_cast<char>((value >> shift) & 0xFF));
        }
    }

    bool m_bigEndian;
    std::uint32_t m_count = 0;
    std::string m_body;
};

TEST(XSettings, ReadsIntegersInEitherByteOrderPastStringsAndColours) {
    for (const bool bigEndian : {false, true}) {
        // Names of every length modulo four, and a block ending in a string, then in a colour.
        const std::string bytes = XSettingsBlock(bigEndian)
                                      .String("Net/ThemeName", "Adwaita")
                                      .Integer("Net/CursorBlink", 1)
                                      .Colour("Gtk/Colour")
                                      .Integer("Net/CursorBlinkTime", 1060)
                                      .Integer("Xft/DPI", -1)
                                      .Integer("Abcd", 4)
                                      .String("Gtk/Last", "four")
                                      .Bytes();
        const auto integers = ParseXSettingsIntegers(bytes);
        ASSERT_TRUE(integers) << "big endian " << bigEndian;
        EXPECT_EQ(integers->at("Net/CursorBlink"), 1);
        EXPECT_EQ(integers->at("Net/CursorBlinkTime"), 1060);
        EXPECT_EQ(integers->at("Xft/DPI"), -1);
        EXPECT_EQ(integers->at("Abcd"), 4);
        EXPECT_EQ(integers->count("Net/ThemeName"), 0u);
        EXPECT_EQ(integers->size(), 4u);
        const auto endingInAColour = ParseXSettingsIntegers(
            XSettingsBlock(bigEndian).Integer("Net/A", 1).Colour("C").Bytes());
        ASSERT_TRUE(endingInAColour);
        EXPECT_EQ(endingInAColour->at("Net/A"), 1);
    }
}

TEST(XSettings, RejectsTruncatedOrMalformedBlocks) {
    const std::string bytes = XSettingsBlock(false)
                                  .Integer("Net/CursorBlinkTime", 1200)
                                  .String("Gtk/Theme", "Ad")
                                  .Colour("Gtk/Colour")
                                  .Bytes();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        EXPECT_FALSE(ParseXSettingsIntegers(bytes.substr(0, length))) << "cut at " << length;
    }
    EXPECT_TRUE(ParseXSettingsIntegers(bytes));
    std::string badOrder = bytes;
    badOrder[0] = 2;
    EXPECT_FALSE(ParseXSettingsIntegers(badOrder));
    std::string badType = bytes;
    badType[12] = 9;
    EXPECT_FALSE(ParseXSettingsIntegers(badType));
    std::string hugeCount = bytes;
    hugeCount[8] = '\xff';
    EXPECT_FALSE(ParseXSettingsIntegers(hugeCount));
}

// A compositor's repeat_info on the report's scales: keys that do not repeat, and values no
// keyboard has, are no fact.
TEST(RepeatFromCompositor, NoRepeatOrOutOfRangeIsNoFact) {
    struct Case {
        int rate;
        int delay;
        std::optional<std::int32_t> delayIndex;
        std::optional<std::int32_t> rateIndex;
    };
    for (const Case& c :
         {Case{30, 250, 0, 31}, Case{10, 660, 2, 8}, Case{1, 0, 0, 0}, Case{0, 500, {}, {}},
          Case{-1, -100, {}, {}}, Case{40, -1, {}, 31}, Case{1000, 10000, 3, 31},
          Case{1001, 250, 0, {}}, Case{25, 10001, {}, 25}}) {
        const RepeatSettings settings = RepeatFromCompositor(c.rate, c.delay);
        EXPECT_EQ(settings.delay, c.delayIndex) << c.rate << " " << c.delay;
        EXPECT_EQ(settings.rate, c.rateIndex) << c.rate << " " << c.delay;
    }
}

} // namespace
} // namespace pardolin::linux_backend
