// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include "game/game.h"

namespace pelmoravan {

// Exit where a finger easily hits it by mistake (a touch screen): a game in progress (playing or
// paused) asks first, and the window closes only on Yes; with no game in progress it closes at
// once. While the question is open the frame loop only shows the surface, as behind the
// end-of-difficulty question, so the clock stands still.
void AskToExit(TGame& game, const std::string& question);

} // namespace pelmoravan
