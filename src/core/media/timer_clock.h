// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

namespace pelmoravan {

// The frame timer's tick arithmetic on a wrapping 32-bit millisecond clock. The platform timer
// feeds it the clock; tests feed it numbers.
class TTimerClock {
public:
    // Negative intervals count as 0.
    void SetInterval(std::int32_t interval);
    std::int32_t Interval() const { return FInterval; }

    // Starts timing from now: the first tick comes one interval later, with its lag counted
    // from here, never from before.
    void Attach(std::uint32_t now);

    // The lag count of the tick due at now, or 0 when no tick is due yet. A due tick becomes the
    // previous tick, so the next one is timed from now, not from when this one was due.
    std::int32_t Check(std::uint32_t now);

    // Milliseconds from now until the next tick is due; 0 when it is due already.
    std::uint32_t MillisecondsUntilDue(std::uint32_t now) const;

    std::uint32_t PreviousTick() const { return FPrevious; }
    std::int32_t FrameRate() const { return FFrameRate; }

private:
    std::int32_t FInterval = 1000;
    std::uint32_t FPrevious = 0;
    std::uint32_t FRateStart = 0;
    std::int32_t FRateTicks = 0;
    std::int32_t FFrameRate = 0;
};

} // namespace pelmoravan
