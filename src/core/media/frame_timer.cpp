// SPDX-License-Identifier: MIT
#include "media/frame_timer.h"

#include <algorithm>
#include <cstdint>

namespace pelmoravan {

void TFrameTimer::SetInterval(std::int32_t interval) {
    FClock.SetInterval(interval);
    if (FAttached) {
        Arm();
    }
}

void TFrameTimer::SetEnabled(bool enabled) {
    if (enabled == FEnabled) {
        return;
    }
    FEnabled = enabled;
    UpdateAttachment();
}

void TFrameTimer::SetActiveOnly(bool activeOnly) {
    FActiveOnly = activeOnly;
    UpdateAttachment();
}

void TFrameTimer::ApplicationActiveChanged(bool active) {
    FApplicationActive = active;
    UpdateAttachment();
}

void TFrameTimer::UpdateAttachment() {
    const bool attach = FEnabled && (FApplicationActive || !FActiveOnly);
    if (attach == FAttached) {
        return;
    }
    FAttached = attach;
    if (attach) {
        FClock.Attach(FWake.Now());
        Arm();
    } else {
        FWake.Disarm();
    }
}

void TFrameTimer::Arm() {
    // Never sooner than due; a wake-up that comes early simply sleeps again.
    std::uint32_t wait = FClock.MillisecondsUntilDue(FWake.Now());
    // Interval 0 means "as often as possible"; a millisecond's sleep keeps that from spinning.
    if (FClock.Interval() == 0) {
        wait = 1;
    }
    FWake.Arm(std::min<std::uint32_t>(wait, INT32_MAX));
}

void TFrameTimer::Wake() {
    if (!FAttached) {
        return;
    }
    const std::int32_t lag = FClock.Check(FWake.Now());
    // Re-armed before the handler runs, so that ticks keep coming inside a modal dialog the
    // handler opens.
    Arm();
    if (lag > 0 && OnTimer) {
        OnTimer(lag);
    }
}

} // namespace pelmoravan
