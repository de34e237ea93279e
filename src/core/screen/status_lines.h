// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>

#include "game/game.h"

namespace pelmoravan {

// The texts of the status band: the band draws them, and the page reads them out.
std::string TimeLine(const TGame& game, std::int32_t secondsLeft);
std::string HintLine(const TGame& game);
std::string ShuffleLine(const TGame& game);
// The name of a level, empty for a number outside 1..10.
const std::string& LevelName(const TGame& game, std::int32_t level);
const std::string& RuleLine(const TGame& game);
std::string ScoreLine(const TGame& game);
// Empty while no bonus message shows.
std::string BonusLine(const TGame& game);

// The band as one text for a screen reader, empty on the title and game-over screens. The time
// is rounded up to whole tens of seconds, so that the text changes every ten seconds rather
// than every second and a listener hears it only when something worth hearing moved.
std::string StatusAnnouncement(const TGame& game);

} // namespace pelmoravan
