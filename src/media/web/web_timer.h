#pragma once
#include <cstdint>
#include <functional>

#include "media/timer_clock.h"

namespace pelmoravan {

// The frame timer in the page: a timeout re-armed for the next due tick, never a busy loop. It
// runs while enabled and the tab is visible, the page's form of "only while the application is
// active"; on return the next tick comes one interval later.
class TWebTimer {
public:
    using TTimerEvent = std::function<void(std::int32_t LagCount)>;

    TWebTimer();
    ~TWebTimer();
    TWebTimer(const TWebTimer&) = delete;
    TWebTimer& operator=(const TWebTimer&) = delete;

    std::int32_t Interval() const { return FClock.Interval(); }
    void SetInterval(std::int32_t interval);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    void VisibilityChanged(bool visible);

    TTimerEvent OnTimer;
    // Asked before each tick; while it answers yes the tick waits (re-armed shortly).
    std::function<bool()> Holding;

    // The page's timeout fired.
    void Wake();

private:
    void UpdateAttachment();
    void Arm(std::uint32_t wait);

    TTimerClock FClock;
    bool FEnabled = false;
    bool FVisible = true;
    bool FAttached = false;
};

} // namespace pelmoravan
