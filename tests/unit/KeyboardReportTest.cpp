// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/KeyboardReport.h"

#include <gtest/gtest.h>

namespace pardolin {
namespace {

TEST(KeyboardReport, WorkedExample) {
    EXPECT_EQ(KeyboardTypeLine(4), U"键盘的类型是  : Enhanced(IBM) 101-102-key keyboard");
    EXPECT_EQ(RepeatDelayLine(1), U"键盘重复延迟为   =  1 秒");
    EXPECT_EQ(RepeatRateLine(31), U"键盘的重复率  =  31字每分秒");
    EXPECT_EQ(CaretBlinkLine(530), U"光标闪烁频率  =  530ms");
}

TEST(KeyboardReport, FailedQueriesShowUnknownNeverANumberOrName) {
    EXPECT_EQ(KeyboardTypeLine(std::nullopt), U"键盘的类型是  : 未知");
    // A code without a name is an answer all the same.
    EXPECT_EQ(KeyboardTypeLine(81), U"键盘的类型是  : ");
    EXPECT_EQ(RepeatDelayLine(std::nullopt), U"键盘重复延迟为   =  未知");
    EXPECT_EQ(RepeatRateLine(std::nullopt), U"键盘的重复率  =  未知");
    EXPECT_EQ(CaretBlinkLine(0), U"光标闪烁频率  =  未知");
    // A caret that does not blink is a fact, shown the platform's way.
    EXPECT_EQ(CaretBlinkLine(0xFFFFFFFFu), U"光标闪烁频率  =  -1ms");
    EXPECT_EQ(RepeatDelayLine(0), U"键盘重复延迟为   =  0 秒");
}

} // namespace
} // namespace pardolin
