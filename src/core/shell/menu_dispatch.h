// SPDX-License-Identifier: MIT
#pragma once
#include "game/game.h"
#include "shell/menu_model.h"

namespace pelmoravan {

// What choosing an item does: a menu runs its opening handler, an item its command; the shown
// menu is brought up to date afterwards.
// Commands reach the game's window and house; an error inside one is reported to the window.
// The About box's texts.
TRequest AboutRequest();

void RunMenuItem(TMenuItem item, TGame& game, TMainMenuModel& model);

} // namespace pelmoravan
