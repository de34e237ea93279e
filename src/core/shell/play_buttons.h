// SPDX-License-Identifier: MIT
#pragma once
#include <array>
#include <string>

#include "game/game.h"
#include "shell/menu_model.h"

namespace pelmoravan {

// A command of play offered as a button of its own, beside the menu.
struct TPlayButton {
    TMenuItem Item;
    std::string Caption;
    bool Enabled;

    bool operator==(const TPlayButton&) const = default;
};

// New game, pause/resume, hint and shuffle: one tap each on a touch screen. Pressing one runs the
// item as its shortcut key does. The states come from the menu's own opening handlers, run on a
// copy so that the menu keeps the states it showed when last opened; hint and shuffle add what
// is left while a game is in progress, and are enabled only on the board in play.
std::array<TPlayButton, 4> PlayButtons(const TMainMenuModel& menu, const TGame& game);

} // namespace pelmoravan
