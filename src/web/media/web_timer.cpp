// SPDX-License-Identifier: MIT
#include "web/media/web_timer.h"

#include <emscripten.h>

#include <cmath>

namespace pelmoravan {

namespace {

TWebTimer* gTimer = nullptr; // the page has one frame timer

EM_JS(double, js_now, (), { return performance.now(); });
EM_JS(void, js_arm, (int ms), { Pel.timer.arm(ms); });
EM_JS(void, js_disarm, (), { Pel.timer.disarm(); });
EM_JS(int, js_visible, (), { return document.visibilityState !== 'hidden' ? 1 : 0; });

} // namespace

TWebTimer::TWebTimer() {
    gTimer = this;
    FTimer.ApplicationActiveChanged(js_visible() != 0);
}

TWebTimer::~TWebTimer() {
    js_disarm();
    gTimer = nullptr;
}

std::uint32_t TWebTimer::Now() {
    // A wrapping millisecond clock, as the tick arithmetic expects.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::floor(js_now())));
}

void TWebTimer::Arm(std::uint32_t ms) { js_arm(static_cast<int>(ms)); }
void TWebTimer::Disarm() { js_disarm(); }

void TWebTimer::Woken() {
    FTimer.Wake();
}

} // namespace pelmoravan

extern "C" void pel_timer_wake() {
    if (pelmoravan::gTimer != nullptr) {
        pelmoravan::gTimer->Woken();
    }
}

extern "C" void pel_visibility(int visible) {
    if (pelmoravan::gTimer != nullptr) {
        pelmoravan::gTimer->Timer().ApplicationActiveChanged(visible != 0);
    }
}
