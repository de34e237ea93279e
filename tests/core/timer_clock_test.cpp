// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "media/timer_clock.h"

namespace pelmoravan {
namespace {

TTimerClock ClockAt(std::uint32_t start, std::int32_t interval = 100) {
    TTimerClock clock;
    clock.SetInterval(interval);
    clock.Attach(start);
    return clock;
}

TEST(TimerClock, LagCountsWholeIntervalsSinceThePreviousTick) {
    // Each case is timed from a fresh previous tick at 5000.
    const struct {
        std::uint32_t after;
        std::int32_t lag;
    } cases[] = {{99, 0}, {100, 1}, {199, 1}, {230, 2}, {580, 5}};
    for (const auto& c : cases) {
        TTimerClock clock = ClockAt(5000);
        EXPECT_EQ(clock.Check(5000 + c.after), c.lag) << "after " << c.after << " ms";
    }
}

TEST(TimerClock, NextTickIsTimedFromWhenThisOneFiredNotWhenItWasDue) {
    TTimerClock clock = ClockAt(0);
    EXPECT_EQ(clock.Check(230), 2);
    EXPECT_EQ(clock.PreviousTick(), 230u);
    EXPECT_EQ(clock.Check(329), 0);
    EXPECT_EQ(clock.MillisecondsUntilDue(329), 1u);
    EXPECT_EQ(clock.Check(330), 1);
}

TEST(TimerClock, ACheckThatFiresNothingLeavesThePreviousTickAlone) {
    TTimerClock clock = ClockAt(1000);
    for (std::uint32_t t = 1000; t < 1100; t += 7) {
        EXPECT_EQ(clock.Check(t), 0);
    }
    EXPECT_EQ(clock.PreviousTick(), 1000u);
    EXPECT_EQ(clock.MillisecondsUntilDue(1050), 50u);
    EXPECT_EQ(clock.MillisecondsUntilDue(1100), 0u);
    EXPECT_EQ(clock.MillisecondsUntilDue(1500), 0u);
}

TEST(TimerClock, ReattachingAfterAnAbsenceCountsFromTheReturn) {
    TTimerClock clock = ClockAt(0);
    EXPECT_EQ(clock.Check(100), 1);
    // Away for 10 s: nothing is checked; on return the clock is attached again.
    clock.Attach(10100);
    EXPECT_EQ(clock.Check(10199), 0);
    EXPECT_EQ(clock.Check(10200), 1);
}

TEST(TimerClock, SurvivesTheMillisecondClockWrapping) {
    TTimerClock clock = ClockAt(0xFFFFFFF0u);
    EXPECT_EQ(clock.MillisecondsUntilDue(0xFFFFFFFFu), 85u);
    EXPECT_EQ(clock.Check(50), 0);     // 66 ms after, across the wrap
    EXPECT_EQ(clock.Check(0x54), 1);   // 100 ms after
    EXPECT_EQ(clock.Check(0x54 + 250), 2);
}

TEST(TimerClock, IntervalZeroOrNegativeTicksOnEveryCheckWithLagCountOfTheMilliseconds) {
    TTimerClock clock = ClockAt(0, -5);
    EXPECT_EQ(clock.Interval(), 0);
    EXPECT_EQ(clock.Check(0), 1); // at least 1, even with no time passed
    EXPECT_EQ(clock.Check(7), 7);
    EXPECT_EQ(clock.MillisecondsUntilDue(7), 0u);
}

TEST(TimerClock, DefaultIntervalIsOneSecond) {
    TTimerClock clock;
    clock.Attach(0);
    EXPECT_EQ(clock.Interval(), 1000);
    EXPECT_EQ(clock.Check(999), 0);
    EXPECT_EQ(clock.Check(1000), 1);
}

TEST(TimerClock, HugeGapDoesNotOverflowTheLagCount) {
    TTimerClock clock = ClockAt(0, 1);
    EXPECT_EQ(clock.Check(0xFFFFFFFFu), INT32_MAX);
}

TEST(TimerClock, FrameRateIsTicksPerSecondOverTheLastFullSecond) {
    TTimerClock clock = ClockAt(0);
    EXPECT_EQ(clock.FrameRate(), 0);
    std::uint32_t t = 0;
    for (int i = 0; i < 9; ++i) {
        t += 100;
        clock.Check(t);
    }
    EXPECT_EQ(clock.FrameRate(), 0); // 900 ms: not updated yet
    t += 100;
    clock.Check(t);
    EXPECT_EQ(clock.FrameRate(), 10);
    // Ticks 400 ms apart: the third one closes the next second, round(3 * 1000 / 1200) = 2
    // (2.5, half to even).
    for (int i = 0; i < 2; ++i) {
        t += 400;
        clock.Check(t);
        EXPECT_EQ(clock.FrameRate(), 10);
    }
    t += 400;
    clock.Check(t);
    EXPECT_EQ(clock.FrameRate(), 2);
}

} // namespace
} // namespace pelmoravan
