// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>

#include "game/game.h"

namespace pelmoravan {

// What the board tells a player who cannot see it, in the game's language. Columns and rows
// are counted from 1, as a listener counts them.
std::string PictureWord(const TGame& game, std::int32_t picture);
std::string CellWords(const TGame& game, std::int32_t picture, std::int32_t col, std::int32_t row);
std::string SelectionWords(const TGame& game, std::int32_t picture, bool selected);
std::string RemovedWords(const TGame& game, std::int32_t picture, std::int32_t tilesLeft);
std::string NotLinkedWords(const TGame& game);
std::string HintWords(const TGame& game, std::int32_t picture, std::int32_t col1, std::int32_t row1,
                      std::int32_t col2, std::int32_t row2);
std::string ShuffleWords(const TGame& game);
// The level in play, with its movement rule.
std::string NewLevelWords(const TGame& game, std::int32_t tiles);
std::string TimeLowWords(const TGame& game, std::int32_t secondsLeft);
std::string GameOverWords(const TGame& game, std::int32_t score);

struct TSpokenWords {
    std::string Text;
    bool Urgent = false; // an outcome of the player's move: said at once, over what is being said
};

// The words for what the rules told.
TSpokenWords NewsWords(const TGame& game, const TNews& news);

} // namespace pelmoravan
