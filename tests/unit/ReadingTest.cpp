// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/Reading.h"

#include <gtest/gtest.h>

namespace pardolin::linux_backend {
namespace {

// The questions of one click share a reading; asking any of them again reads afresh.
TEST(Reading, AnswersEachQuestionOnceThenReadsAfresh) {
    Reading<int, int> reading;
    int readings = 0;
    const auto read = [&readings] { return ++readings; };
    EXPECT_EQ(reading.For(-1, read), 1); // the count
    EXPECT_EQ(reading.For(0, read), 1);  // device 0 of that count
    EXPECT_EQ(reading.For(1, read), 1);
    EXPECT_EQ(reading.For(-1, read), 2); // the next click
    EXPECT_EQ(reading.For(0, read), 2);
    EXPECT_EQ(reading.For(0, read), 3); // the same device again
    EXPECT_EQ(readings, 3);
}

} // namespace
} // namespace pardolin::linux_backend
