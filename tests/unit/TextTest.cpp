// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/Text.h"

#include <gtest/gtest.h>

namespace pardolin {
namespace {

TEST(Utf8, DecodesEveryWidthAndReplacesMalformedBytesOneForOne) {
    EXPECT_EQ(FromUtf8("A\xC3\xA9\xE5\xA3\xB0\xF0\x9F\x94\x8A"), U"Aé声🔊");
    EXPECT_EQ(FromUtf8("\xFF"), U"\uFFFD");
    EXPECT_EQ(FromUtf8("a\xE5\xA3"), U"a\uFFFD");       // cut short at the end
    EXPECT_EQ(FromUtf8("\xE5\xA3z"), U"\uFFFDz");       // cut short before ASCII
    EXPECT_EQ(FromUtf8("\xC0\xAF"), U"\uFFFD");         // overlong
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), U"\uFFFD");     // surrogate
    EXPECT_EQ(FromUtf8("\xF4\x90\x80\x80"), U"\uFFFD"); // beyond U+10FFFF
    EXPECT_EQ(FromUtf8(std::string_view("\0x", 2)), Text(U"\0x", 2));
}

TEST(Utf16, PairsSurrogatesAndReplacesUnpairedOnes) {
    EXPECT_EQ(FromUtf16(u"声卡🔊"), U"声卡🔊");
    EXPECT_EQ(FromUtf16(std::u16string_view(u"\xD83Dx", 2)), U"\uFFFDx");
    EXPECT_EQ(FromUtf16(std::u16string_view(u"\xDD0A", 1)), U"\uFFFD");
    EXPECT_EQ(FromUtf16(std::u16string_view(u"a\xD83D", 2)), U"a\uFFFD");
}

TEST(Utf8AndUtf16, RoundTrip) {
    const Text text = U"产品 Id：🔊 é";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf16(text), u"产品 Id：🔊 é");
    EXPECT_EQ(FromUtf16(ToUtf16(text)), text);
    EXPECT_EQ(ToUtf16(Text(1, char32_t{0xD800})), u"\uFFFD");
}

TEST(Inert, CharactersThatActBecomeOneReplacementEach) {
    // C0 and C1 controls, bidirectional embeddings, overrides, isolates and marks, and the
    // line and paragraph separators; everything else, markup included, stays.
    const Text acting = U"\t\n\r\x1B\x7F\x85\u061C\u200E\u200F\u202A\u202B\u202C\u202D\u202E"
                        U"\u2066\u2067\u2068\u2069\u2028\u2029";
    EXPECT_EQ(Inert(acting), Text(acting.size(), U'\uFFFD'));
    const Text plain = U"<b>声卡</b> %s 🔊 \u200D\u00A0é";
    EXPECT_EQ(Inert(plain), plain);
}

} // namespace
} // namespace pardolin
