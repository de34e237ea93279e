// SPDX-License-Identifier: MIT
#include "media/timer_clock.h"

#include <algorithm>
#include <cmath>

namespace pelmoravan {

void TTimerClock::SetInterval(std::int32_t interval) { FInterval = std::max(interval, 0); }

void TTimerClock::Attach(std::uint32_t now) {
    FPrevious = now;
    FRateStart = now;
    FRateTicks = 0;
}

std::int32_t TTimerClock::Check(std::uint32_t now) {
    const std::uint32_t elapsed = now - FPrevious; // unsigned: survives the clock's wrap
    if (elapsed < static_cast<std::uint32_t>(FInterval)) {
        return 0;
    }
    FPrevious = now;
    const std::uint32_t lag = elapsed / static_cast<std::uint32_t>(std::max(FInterval, 1));
    // A clock that stood still for weeks must not turn the count negative.
    const auto lagCount = static_cast<std::int32_t>(std::min<std::uint32_t>(lag, INT32_MAX));

    FRateTicks += 1;
    const std::uint32_t passed = now - FRateStart;
    if (passed >= 1000) {
        FFrameRate = static_cast<std::int32_t>(
            std::nearbyint(static_cast<double>(FRateTicks) * 1000.0 / passed));
        FRateTicks = 0;
        FRateStart = now;
    }
    return std::max(lagCount, 1);
}

std::uint32_t TTimerClock::MillisecondsUntilDue(std::uint32_t now) const {
    const std::uint32_t elapsed = now - FPrevious;
    const auto interval = static_cast<std::uint32_t>(FInterval);
    return elapsed >= interval ? 0 : interval - elapsed;
}

} // namespace pelmoravan
