// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "media/frame_timer.h"

namespace pelmoravan {
namespace {

// A clock moved by hand; wake-ups are recorded, never run by themselves.
struct HandWake final : IWakeUp {
    std::uint32_t Clock = 1000;
    std::vector<std::int64_t> Arms; // -1 for a disarm
    std::uint32_t Now() override { return Clock; }
    void Arm(std::uint32_t ms) override { Arms.push_back(ms); }
    void Disarm() override { Arms.push_back(-1); }
};

TEST(FrameTimer, SleepsUntilDueTicksWithItsLagAndStopsWhileInactive) {
    HandWake wake;
    TFrameTimer timer(wake);
    std::vector<std::int32_t> lags;
    timer.OnTimer = [&](std::int32_t lag) { lags.push_back(lag); };
    timer.SetInterval(100);
    timer.SetEnabled(true); // active until the front end says otherwise
    EXPECT_EQ(wake.Arms, (std::vector<std::int64_t>{100}));

    wake.Clock += 40; // an early wake-up only sleeps again, for what is left
    timer.Wake();
    wake.Clock += 290; // late by more than two intervals
    timer.Wake();
    EXPECT_EQ(lags, (std::vector<std::int32_t>{3}));
    EXPECT_EQ(wake.Arms, (std::vector<std::int64_t>{100, 60, 100}));

    timer.ApplicationActiveChanged(false);
    wake.Clock += 5000;
    timer.Wake(); // a wake-up already on its way does nothing
    timer.ApplicationActiveChanged(true);
    wake.Clock += 100;
    timer.Wake();
    EXPECT_EQ(lags, (std::vector<std::int32_t>{3, 1})); // timed from the return, not the stop
    EXPECT_EQ(wake.Arms, (std::vector<std::int64_t>{100, 60, 100, -1, 100, 100}));

    timer.SetActiveOnly(false);
    timer.ApplicationActiveChanged(false);
    EXPECT_TRUE(timer.Attached());
    timer.SetInterval(0);
    EXPECT_EQ(wake.Arms.back(), 1); // as often as possible, without spinning
}

} // namespace
} // namespace pelmoravan
