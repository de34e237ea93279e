// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

#include "game/game.h"
#include "shell/menu_model.h"

namespace pelmoravan {

// The commands of the main menu that are rules of their own. Each does nothing in the states
// where the command does not apply, whatever the menu's enabled state says.

// New game at the chosen difficulty; StartGame itself refuses while paused.
void NewGame1Click(TGame& game);
// Playing <-> paused; nothing on the title and game-over screens.
void TogglePause(TGame& game);
// Only while playing: back to the title screen without recording a score. Time, hints and
// shuffles stay until the next new game resets them.
void EndGame(TGame& game);
// Difficulty 1, 2 or 3 for the next new game; only on the title screen.
void ChooseDifficulty(TGame& game, std::int32_t difficulty);
void Easy1Click(TGame& game);
void Normal1Click(TGame& game);
void Hard1Click(TGame& game);
// The sound-effects switch.
void Music1Click(TGame& game);
// The background-music switch; returns the new MusicOn, which the window hands to PlayMusic.
bool BackgroundMusic1Click(TGame& game);
// Language 0 or 1, then the texts and captions of that language.
void Chinese1Click(TGame& game, TMainMenuModel& menu);
void English1Click(TGame& game, TMainMenuModel& menu);

} // namespace pelmoravan
