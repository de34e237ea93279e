// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

#include "media/frame_timer.h"

namespace pelmoravan {

// The frame timer in the page: the core's timer rules, woken by the page's timeouts. The tab
// being visible is the page's form of "the application is active".
class TWebTimer final : private IWakeUp {
public:
    TWebTimer();
    ~TWebTimer() override;
    TWebTimer(const TWebTimer&) = delete;
    TWebTimer& operator=(const TWebTimer&) = delete;

    TFrameTimer& Timer() { return FTimer; }

    // The page's timeout fired.
    void Woken();

private:
    // IWakeUp
    std::uint32_t Now() override;
    void Arm(std::uint32_t ms) override;
    void Disarm() override;

    TFrameTimer FTimer{*this};
};

} // namespace pelmoravan
