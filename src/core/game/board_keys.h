// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

namespace pelmoravan {

// The keys that play the board without a pointer: the cursor keys, Act (Space or Enter: a left
// click at the cell's centre), Back (Backspace: the right button), Match (M: on to the next tile
// with the same picture) and Status (T: the status told).
enum class TBoardKey { Left, Right, Up, Down, Home, End, Act, Back, Match, Status };

// What the rules tell a listener as it happens; the words for each are the house's to build.
enum class TNewsKind {
    Cell,
    Selected,
    Deselected, // Picture -1: Backspace found nothing to take back
    Removed,
    NotLinked,
    Hint,
    Shuffled,
    NewLevel,
    TimeLow,
    GameOver,
    Paused,
    Resumed,
    Status,
};

// Which of the cursor's coordinates a key moved it along: a move along a row tells only the
// column, one along a column only the row.
enum class TCellAxis : std::uint8_t { Both, Column, Row };

struct TNews {
    TNewsKind Kind = TNewsKind::Cell;
    std::int32_t Col = 0;       // Cell, Selected, Deselected, Hint: the cell
    std::int32_t Row = 0;
    std::int32_t Col2 = 0;      // Hint: the other cell
    std::int32_t Row2 = 0;
    std::int32_t Picture = -1;  // -1 for an empty cell
    std::int32_t Number = 0;    // Removed: tiles left; TimeLow: seconds left; GameOver: score
    TCellAxis Axis = TCellAxis::Both; // Cell: what the key moved
    // Removed: the movement rule that then moved the tiles (2..10), 0 for none. Under rule 10
    // the removed pair's cells got new tiles: Picture2 at (Col, Row), Picture3 at (Col2, Row2).
    std::int32_t Rule = 0;
    std::int32_t Picture2 = -1;
    std::int32_t Picture3 = -1;
    // Removed and Resumed: the cursor's cell told again after the tiles moved (when shown).
    bool CursorTold = false;
    std::int32_t CursorCol = 0;
    std::int32_t CursorRow = 0;
    std::int32_t CursorPicture = -1;
};

} // namespace pelmoravan
