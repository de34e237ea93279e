#pragma once
#include <string>

#include "game/game.h"

namespace pelmoravan {

// Whether Exit may end the program. On a touch screen Exit sits where a finger easily hits it by
// mistake, so a game in progress (playing or paused) asks first. While the question is open the
// frame loop only shows the surface, as behind the end-of-difficulty question, so the clock
// stands still and nothing else can ask meanwhile; a second question over an open one is
// answered no.
bool ExitConfirmed(TGame& game, const std::string& question);

} // namespace pelmoravan
