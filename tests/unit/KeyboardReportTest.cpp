// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/KeyboardReport.h"

#include <gtest/gtest.h>

namespace pardolin {
namespace {

// The four lines at their values' edges; a fact that could not be read is unknown, never a
// number or a name.
TEST(KeyboardReport, EachLineAtItsEdges) {
    struct Case {
        Text line;
        std::u32string_view expected;
    };
    for (const Case& c : {
             Case{KeyboardTypeLine(4), U"键盘的类型是  : Enhanced(IBM) 101-102-key keyboard"},
             Case{KeyboardTypeLine(81), U"键盘的类型是  : "}, // an answer, of no known type
             Case{KeyboardTypeLine(std::nullopt), U"键盘的类型是  : 未知"},
             Case{RepeatDelayLine(0), U"键盘重复延迟为   =  0 秒"},
             Case{RepeatDelayLine(3), U"键盘重复延迟为   =  3 秒"},
             Case{RepeatDelayLine(std::nullopt), U"键盘重复延迟为   =  未知"},
             Case{RepeatRateLine(0), U"键盘的重复率  =  0字每分秒"},
             Case{RepeatRateLine(31), U"键盘的重复率  =  31字每分秒"},
             Case{RepeatRateLine(std::nullopt), U"键盘的重复率  =  未知"},
             Case{CaretBlinkLine(1), U"光标闪烁频率  =  1ms"},
             Case{CaretBlinkLine(530), U"光标闪烁频率  =  530ms"},
             Case{CaretBlinkLine(0), U"光标闪烁频率  =  未知"},
             // A caret that does not blink is a fact, shown the platform's way.
             Case{CaretBlinkLine(0xFFFFFFFFu), U"光标闪烁频率  =  -1ms"},
         }) {
        EXPECT_EQ(c.line, c.expected);
    }
}

} // namespace
} // namespace pardolin
