// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <functional>

#include "media/timer_clock.h"
#include "ports/wake_up.h"

namespace pelmoravan {

// The frame timer. It sleeps until the next tick is due instead of checking the clock between
// messages, so an idle game costs no CPU. A tick comes no sooner than Interval after the previous
// one; LagCount says how many intervals it covers. With ActiveOnly on it stops while the
// application is inactive, and on return the next tick comes one interval later.
class TFrameTimer {
public:
    using TTimerEvent = std::function<void(std::int32_t LagCount)>;

    // Created stopped; the owner sets Enabled once OnTimer is in place.
    explicit TFrameTimer(IWakeUp& wake) : FWake(wake) {}

    std::int32_t Interval() const { return FClock.Interval(); }
    void SetInterval(std::int32_t interval);
    bool Enabled() const { return FEnabled; }
    // Setting the value it already has changes nothing.
    void SetEnabled(bool enabled);
    bool ActiveOnly() const { return FActiveOnly; }
    void SetActiveOnly(bool activeOnly);
    std::int32_t FrameRate() const { return FClock.FrameRate(); }
    // The application is taken as active until its front end reports otherwise: a front end that
    // never reports still gets its ticks.
    void ApplicationActiveChanged(bool active);

    // Running and counting time (not stopped, and not waiting for the application to return).
    bool Attached() const { return FAttached; }

    TTimerEvent OnTimer;

    // What a wake-up does: tick if one is due, then sleep until the next.
    void Wake();

private:
    void UpdateAttachment();
    void Arm();

    IWakeUp& FWake;
    TTimerClock FClock;
    bool FEnabled = false;
    bool FActiveOnly = true;
    bool FApplicationActive = true;
    bool FAttached = false;
};

} // namespace pelmoravan
