// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

namespace pelmoravan {

// The keys that play the board without a pointer: the cursor keys, Act (Space or Enter: a left
// click at the cell's centre) and Back (Backspace: the right button).
enum class TBoardKey { Left, Right, Up, Down, Home, End, Act, Back };

// What the rules tell a listener as it happens; the words for each are the house's to build.
enum class TNewsKind { Cell, Selected, Deselected, Removed, NotLinked, Hint, Shuffled, NewLevel, TimeLow, GameOver };

struct TNews {
    TNewsKind Kind = TNewsKind::Cell;
    std::int32_t Col = 0;       // Cell, Selected, Deselected, Hint: the cell
    std::int32_t Row = 0;
    std::int32_t Col2 = 0;      // Hint: the other cell
    std::int32_t Row2 = 0;
    std::int32_t Picture = -1;  // -1 for an empty cell
    std::int32_t Number = 0;    // Removed: tiles left; TimeLow: seconds left; GameOver: score
};

} // namespace pelmoravan
