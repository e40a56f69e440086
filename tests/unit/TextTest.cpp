// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/Text.h"

#include <gtest/gtest.h>

namespace pardolin {
namespace {

using namespace std::string_literals;

TEST(Utf8, DecodesEveryWidthToItsLastCodePointAndReplacesMalformedSequencesOneForOne) {
    struct Case {
        const char* what;
        std::string bytes;
        Text text;
    };
    for (const Case& c : {
             Case{"one of each width", "A\xC3\xA9\xE5\xA3\xB0\xF0\x9F\x94\x8A", U"Aé声🔊"},
             Case{"the last of one byte", "\x7F", U"\x7F"},
             Case{"the first of two", "\xC2\x80", U"\u0080"},
             Case{"the last of two", "\xDF\xBF", U"\u07FF"},
             Case{"the first of three", "\xE0\xA0\x80", U"\u0800"},
             Case{"the last of three", "\xEF\xBF\xBF", U"\uFFFF"},
             Case{"the first of four", "\xF0\x90\x80\x80", U"\U00010000"},
             Case{"the last of four", "\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
             Case{"beyond U+10FFFF", "\xF4\x90\x80\x80", U"\uFFFD"},
             Case{"a lead byte of five", "\xF8\x88\x80\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
             Case{"a lone continuation byte", "\x80z", U"\uFFFDz"},
             Case{"0xFF", "\xFF", U"\uFFFD"},
             Case{"overlong", "\xC0\xAF", U"\uFFFD"},
             Case{"overlong of three", "\xE0\x9F\xBF", U"\uFFFD"},
             Case{"overlong of four", "\xF0\x8F\xBF\xBF", U"\uFFFD"},
             Case{"a surrogate", "\xED\xA0\x80", U"\uFFFD"},
             Case{"cut by the end of the input", "a\xE5\xA3", U"a\uFFFD"},
             Case{"cut by the end after its lead", "a\xF0", U"a\uFFFD"},
             Case{"cut before ASCII", "\xE5\xA3z", U"\uFFFDz"},
             Case{"a NUL is a character", "\0x"s, Text(U"\0x", 2)},
         }) {
        EXPECT_EQ(FromUtf8(c.bytes), c.text) << c.what;
    }
}

TEST(Utf16, PairsSurrogatesAndReplacesUnpairedOnes) {
    EXPECT_EQ(FromUtf16(u"声卡🔊"), U"声卡🔊");
    EXPECT_EQ(FromUtf16(std::u16string_view(u"\xD83Dx", 2)), U"\uFFFDx");
    EXPECT_EQ(FromUtf16(std::u16string_view(u"\xDD0A", 1)), U"\uFFFD");
    EXPECT_EQ(FromUtf16(std::u16string_view(u"a\xD83D", 2)), U"a\uFFFD");
    EXPECT_EQ(FromUtf16(std::u16string_view(u"\xDBFF\xDFFF", 2)), U"\U0010FFFF");
}

TEST(Utf8AndUtf16, RoundTripEveryWidthAndReplaceWhatIsNoCharacter) {
    // Each width's first and last code point.
    const Text text = U"产品 Id：🔊 é\x7F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf16(ToUtf16(text)), text);
    EXPECT_EQ(ToUtf16(U"产品🔊"), u"产品🔊");
    for (const char32_t notOne : {char32_t{0xD800}, char32_t{0xDFFF}, char32_t{0x110000}}) {
        EXPECT_EQ(ToUtf16(Text(1, notOne)), u"\uFFFD") << std::hex << std::uint32_t{notOne};
        EXPECT_EQ(ToUtf8(Text(1, notOne)), "\xEF\xBF\xBD") << std::hex << std::uint32_t{notOne};
    }
}

// Each range of characters that act rather than show, at both its ends, and the characters
// just outside each, which stay.
TEST(Inert, CharactersThatActBecomeOneReplacementEach) {
    const Text acting = U"\x01\t\n\r\x1B\x1F\x7F\x80\x85\x9F\u061C\u200E\u200F\u202A\u202E"
                        U"\u2066\u2069\u2028\u2029";
    EXPECT_EQ(Inert(acting), Text(acting.size(), U'\uFFFD'));
    const Text plain = U" ~\u00A0\u061B\u061D\u200D\u2010\u2027\u202F\u2065\u206A<b>声卡</b> %s 🔊";
    EXPECT_EQ(Inert(plain), plain);
}

TEST(Text, DecimalAndPadding) {
    EXPECT_EQ(Decimal(0), U"0");
    EXPECT_EQ(Decimal(-42), U"-42");
    EXPECT_EQ(PadRight(U"ab", 4), U"ab  ");
    EXPECT_EQ(PadRight(U"abcd", 4), U"abcd");
    EXPECT_EQ(PadRight(U"abcde", 4), U"abcde");
}

} // namespace
} // namespace pardolin
