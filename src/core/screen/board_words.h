// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>

#include "game/game.h"
#include "ports/window.h"

namespace pelmoravan {

// What the board tells a player who cannot see it, in the game's language. Cells are given in
// the board's columns and rows counted from 0; the words count from 1, as a listener counts,
// and name columns and rows as the board is shown (turned, when BoardUpright).
std::string PictureWord(const TGame& game, std::int32_t picture);
// The picture, then the column and the row; along one axis, only the number that moved.
std::string CellWords(const TGame& game, std::int32_t picture, std::int32_t col, std::int32_t row,
                      TCellAxis axis = TCellAxis::Both);
// The words for what the rules told.
TSpokenWords NewsWords(const TGame& game, const TNews& news);
// The board's keys, for a front end's help.
std::string KeysHelpWords(std::uint8_t language);

} // namespace pelmoravan
