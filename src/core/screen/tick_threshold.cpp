// SPDX-License-Identifier: MIT
#include "game/game.h"

namespace pelmoravan {

// Every timed display is counted in frames, so a duration becomes a number of ticks.
std::int32_t TGame::TickThreshold(std::int32_t ms) const {
    // An interval below 1 ms would divide by zero; the timer itself treats it as 1 as well.
    return ms / (TimerInterval > 0 ? TimerInterval : 1);
}

} // namespace pelmoravan
