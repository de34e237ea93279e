#include "media/web/web_timer.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

namespace pelmoravan {

namespace {

TWebTimer* gTimer = nullptr; // the page has one frame timer

EM_JS(double, js_now, (), { return performance.now(); });
EM_JS(void, js_arm, (int ms), { Pel.timer.arm(ms); });
EM_JS(void, js_disarm, (), { Pel.timer.disarm(); });
EM_JS(int, js_visible, (), { return document.visibilityState !== 'hidden' ? 1 : 0; });

std::uint32_t Now() {
    // A wrapping millisecond clock, as the tick arithmetic expects.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::floor(js_now())));
}

} // namespace

TWebTimer::TWebTimer() {
    gTimer = this;
    FVisible = js_visible() != 0;
}

TWebTimer::~TWebTimer() {
    js_disarm();
    gTimer = nullptr;
}

void TWebTimer::SetInterval(std::int32_t interval) {
    FClock.SetInterval(interval);
    if (FAttached) {
        Arm(FClock.MillisecondsUntilDue(Now()));
    }
}

void TWebTimer::SetEnabled(bool enabled) {
    if (enabled != FEnabled) {
        FEnabled = enabled;
        UpdateAttachment();
    }
}

void TWebTimer::VisibilityChanged(bool visible) {
    FVisible = visible;
    UpdateAttachment();
}

void TWebTimer::UpdateAttachment() {
    const bool attach = FEnabled && FVisible;
    if (attach == FAttached) {
        return;
    }
    FAttached = attach;
    if (attach) {
        FClock.Attach(Now());
        Arm(FClock.MillisecondsUntilDue(Now()));
    } else {
        js_disarm();
    }
}

void TWebTimer::Arm(std::uint32_t wait) {
    // Interval 0 means "as often as possible"; a millisecond's wait keeps that from spinning.
    if (FClock.Interval() == 0) {
        wait = 1;
    }
    js_arm(static_cast<int>(std::min<std::uint32_t>(wait, INT32_MAX)));
}

void TWebTimer::Wake() {
    if (!FAttached) {
        return;
    }
    if (Holding && Holding()) {
        Arm(1);
        return;
    }
    const std::int32_t lag = FClock.Check(Now());
    // Re-armed before the handler runs, so that ticks keep coming while a dialog it opens waits.
    Arm(FClock.MillisecondsUntilDue(Now()));
    if (lag > 0 && OnTimer) {
        OnTimer(lag);
    }
}

} // namespace pelmoravan

extern "C" EMSCRIPTEN_KEEPALIVE void pel_timer_wake() {
    if (pelmoravan::gTimer != nullptr) {
        pelmoravan::gTimer->Wake();
    }
}

extern "C" EMSCRIPTEN_KEEPALIVE void pel_visibility(int visible) {
    if (pelmoravan::gTimer != nullptr) {
        pelmoravan::gTimer->VisibilityChanged(visible != 0);
    }
}
