// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

#include "game/game.h"
#include "shell/menu_model.h"

namespace pelmoravan {

// Copies one language's tables into the game's LevelNames, Messages[1..48] and BonusNames
// (0 Chinese, 1 English). Any other value leaves the arrays as they are. Language itself is not
// touched: the language commands set it.
void ApplyLanguageTexts(TGame& game, std::uint8_t language);

// Fills the texts as above, then relabels the menu items and the window from Messages (also for
// a value other than 0 and 1, which re-applies the captions of the texts already in place).
void ApplyLanguage(TGame& game, TMainMenuModel& menu, std::uint8_t language);

} // namespace pelmoravan
