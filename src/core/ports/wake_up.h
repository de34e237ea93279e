// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

namespace pelmoravan {

// What the frame timer (media/frame_timer.h) needs of its platform: a wrapping millisecond clock
// and one pending wake-up at a time. Arm and Disarm come on the front end's one thread, from the
// timer itself; the front end calls the timer's Wake() on that thread when the time has come
// (early or late is fine: the timer sleeps again for what is left, or counts the lag). Each
// Wake() may run one tick, which may run nested events (ports/window.h).
class IWakeUp {
public:
    virtual ~IWakeUp() = default;
    virtual std::uint32_t Now() = 0;
    // The timer's Wake() is to run after ms milliseconds, in place of any wake-up pending.
    virtual void Arm(std::uint32_t ms) = 0;
    virtual void Disarm() = 0;
};

} // namespace pelmoravan
