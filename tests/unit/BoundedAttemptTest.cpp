// SPDX-License-Identifier: GPL-3.0-or-later
#include "Told.h"

#include "platform/backends/BoundedAttempt.h"

#include <gtest/gtest.h>

#include <future>

namespace pardolin {
namespace {

using namespace std::chrono_literals;
using Clock = BoundedAttempt::Clock;

// An answer in time is the answer; work past its deadline is none, and while it still runs
// no second attempt starts; once it has ended, the next one does. Each failure is told.
TEST(BoundedAttempt, AtMostOneAttemptAndEachFailureTold) {
    const Diagnostics told = testing::Told::Channel();
    testing::Told::Clear();
    BoundedAttempt attempt;
    const auto answer = [] { return std::optional(7); };
    EXPECT_EQ(attempt.Run(answer, Clock::now() + 1s, told, Peer::XServer, "quick"), 7);
    EXPECT_EQ(testing::Told::Count(), 0u);

    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    const auto blocked = [released] {
        released.wait();
        return std::optional(8);
    };
    EXPECT_EQ(attempt.Run(blocked, Clock::now() + 20ms, told, Peer::XServer, "blocked"),
              std::nullopt);
    EXPECT_TRUE(attempt.Busy());
    EXPECT_EQ(attempt.Run(answer, Clock::now() + 1s, told, Peer::XServer, "next"), std::nullopt);
    EXPECT_TRUE(testing::Told::Contains("pardolin.x11: blocked: no answer after"));
    EXPECT_TRUE(testing::Told::Contains("pardolin.x11: next: still no answer to an earlier"));

    release.set_value();
    const auto deadline = Clock::now() + 5s;
    while (attempt.Busy() && Clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(attempt.Run(answer, Clock::now() + 1s, told, Peer::XServer, "after"), 7);
    EXPECT_EQ(testing::Told::Count(), 2u) << testing::Told::All();
}

} // namespace
} // namespace pardolin
