// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "desktop/media/dx_timer.h"

namespace pelmoravan {
namespace {

// A timer on a hand-driven clock that records every tick's lag count.
struct ClockedTimer {
    std::uint32_t now = 1000;
    std::vector<std::int32_t> lags;
    TDXTimer timer;

    ClockedTimer() {
        timer.SetClock([this] { return now; });
        timer.SetInterval(100);
        timer.OnTimer = [this](TDXTimer&, std::int32_t lag) { lags.push_back(lag); };
        timer.ApplicationActiveChanged(true);
    }
    // Wakes the timer at now + ms as its real wake-up would.
    void WakeAfter(std::uint32_t ms) {
        now += ms;
        timer.CheckTick();
    }
};

TEST(FrameTimer, StartsStoppedAndTicksOnlyOnceEnabled) {
    ClockedTimer t;
    EXPECT_FALSE(t.timer.Enabled());
    EXPECT_FALSE(t.timer.Armed());
    t.WakeAfter(500);
    EXPECT_TRUE(t.lags.empty());
    t.timer.SetEnabled(true);
    EXPECT_TRUE(t.timer.Armed());
    t.WakeAfter(99);
    EXPECT_TRUE(t.lags.empty());
    t.WakeAfter(1);
    EXPECT_EQ(t.lags, std::vector<std::int32_t>{1});
}

TEST(FrameTimer, LateTicksReportTheIntervalsTheyCover) {
    ClockedTimer t;
    t.timer.SetEnabled(true);
    t.WakeAfter(100);
    t.WakeAfter(230);
    t.WakeAfter(580);
    t.WakeAfter(99);
    EXPECT_EQ(t.lags, (std::vector<std::int32_t>{1, 2, 5}));
}

TEST(FrameTimer, EnablingTwiceDoesNotRestartTheInterval) {
    ClockedTimer t;
    t.timer.SetEnabled(true);
    t.WakeAfter(50);
    t.timer.SetEnabled(true);
    t.WakeAfter(50);
    EXPECT_EQ(t.lags, std::vector<std::int32_t>{1});
}

TEST(FrameTimer, DisablingStopsItAndEnablingAgainCountsFromThen) {
    ClockedTimer t;
    t.timer.SetEnabled(true);
    t.timer.SetEnabled(false);
    EXPECT_FALSE(t.timer.Armed());
    t.WakeAfter(5000);
    EXPECT_TRUE(t.lags.empty());
    t.timer.SetEnabled(true);
    t.WakeAfter(100);
    EXPECT_EQ(t.lags, std::vector<std::int32_t>{1});
}

TEST(FrameTimer, NoTicksWhileTheApplicationIsAwayAndAFreshIntervalOnReturn) {
    ClockedTimer t;
    t.timer.SetEnabled(true);
    t.WakeAfter(100);
    t.timer.ApplicationActiveChanged(false);
    EXPECT_FALSE(t.timer.Attached());
    EXPECT_FALSE(t.timer.Armed()); // asleep, not polling
    t.WakeAfter(5000);
    t.WakeAfter(5000);
    EXPECT_EQ(t.lags.size(), 1u);
    t.timer.ApplicationActiveChanged(true);
    t.WakeAfter(99);
    EXPECT_EQ(t.lags.size(), 1u);
    t.WakeAfter(1);
    EXPECT_EQ(t.lags, (std::vector<std::int32_t>{1, 1}));
}

TEST(FrameTimer, EnabledWhileAwayWaitsForTheReturn) {
    ClockedTimer t;
    t.timer.ApplicationActiveChanged(false);
    t.timer.SetEnabled(true);
    EXPECT_FALSE(t.timer.Attached());
    t.WakeAfter(300);
    EXPECT_TRUE(t.lags.empty());
    t.timer.ApplicationActiveChanged(true);
    t.WakeAfter(100);
    EXPECT_EQ(t.lags, std::vector<std::int32_t>{1});
}

TEST(FrameTimer, WithoutActiveOnlyItKeepsTickingWhileAway) {
    ClockedTimer t;
    t.timer.SetActiveOnly(false);
    t.timer.SetEnabled(true);
    t.timer.ApplicationActiveChanged(false);
    t.WakeAfter(200);
    EXPECT_EQ(t.lags, std::vector<std::int32_t>{2});
    // Switching ActiveOnly back on while away stops it.
    t.timer.SetActiveOnly(true);
    t.WakeAfter(200);
    EXPECT_EQ(t.lags.size(), 1u);
}

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Runs the event loop for about ms milliseconds.
void RunEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(FrameTimerRealClock, TicksAtTheIntervalAndSleepsBetweenTicks) {
    TDXTimer timer;
    timer.SetInterval(100);
    timer.SetActiveOnly(false); // the offscreen test has no active window
    QElapsedTimer wall;
    std::vector<qint64> at;
    timer.OnTimer = [&](TDXTimer&, std::int32_t lag) {
        at.push_back(wall.elapsed());
        EXPECT_GE(lag, 1);
    };
    const double cpuBefore = ProcessCpuSeconds();
    wall.start();
    timer.SetEnabled(true);
    RunEventLoop(1050);
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    const qint64 elapsed = wall.elapsed();
    timer.SetEnabled(false);

    // Never sooner than the interval; on a loaded machine possibly fewer.
    ASSERT_FALSE(at.empty());
    EXPECT_LE(static_cast<qint64>(at.size()), elapsed / 100);
    EXPECT_GE(at.size(), 4u);
    EXPECT_GE(at.front(), 100);
    for (std::size_t i = 1; i < at.size(); ++i) {
        EXPECT_GE(at[i] - at[i - 1], 99) << "tick " << i; // the clock reads whole milliseconds
    }
    // A timer that polls the clock keeps a core busy for the whole second.
    EXPECT_LT(cpu, 0.3 * static_cast<double>(elapsed) / 1000.0) << cpu << " s of CPU";
}

TEST(FrameTimerRealClock, TicksKeepComingInsideANestedEventLoop) {
    // A modal dialog opened from a tick runs its own event loop; the frame loop must go on.
    TDXTimer timer;
    timer.SetInterval(50);
    timer.SetActiveOnly(false);
    int ticks = 0;
    int nestedTicks = 0;
    bool inDialog = false;
    timer.OnTimer = [&](TDXTimer&, std::int32_t) {
        ++ticks;
        if (inDialog) {
            ++nestedTicks;
            return;
        }
        if (ticks == 1) {
            inDialog = true;
            RunEventLoop(400);
            inDialog = false;
        }
    };
    timer.SetEnabled(true);
    RunEventLoop(600);
    timer.SetEnabled(false);
    EXPECT_GE(nestedTicks, 2);
    EXPECT_LE(nestedTicks, 8);
}

} // namespace
} // namespace pelmoravan
