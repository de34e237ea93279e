// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <vector>

namespace pelmoravan {

class TMonoSprite;

// One board position, or a copy of one (selection slot, link corner, hint record, removed pair);
// in a copy, Index = -1 marks an empty slot.
struct TCell {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Index = 0;
    std::int32_t Picture = 0;
    std::int32_t Col = 0;
    std::int32_t Row = 0;
    bool Removed = false;
    bool Linked = false;
    bool Hinted = false;
    TMonoSprite* Sprite = nullptr; // owned by the sprite engine, never by the cell
};

// Board[col][row]; the empty ring one cell outside it is virtual.
using TBoard = std::vector<std::vector<TCell>>;

} // namespace pelmoravan
