// SPDX-License-Identifier: MIT
#pragma once
#include <array>
#include <map>

#include "game/game.h"
#include "game/tile_sprite.h"

namespace pelmoravan::conformance {

// Makes the game's board the last level's with only its first two tiles of one picture left,
// and gives their centres on the surface: clicking both ends the difficulty.
inline std::array<TPoint, 2> LeaveLastPair(TGame& game) {
    std::map<std::int32_t, const TCell*> seen;
    const TCell* first = nullptr;
    const TCell* second = nullptr;
    for (auto& column : game.Board) {
        for (const TCell& cell : column) {
            if (second == nullptr && !cell.Removed) {
                auto [at, fresh] = seen.emplace(cell.Picture, &cell);
                if (!fresh) {
                    first = at->second;
                    second = &cell;
                }
            }
        }
    }
    if (second == nullptr) {
        return {};
    }
    game.Level = 10;
    for (auto& column : game.Board) {
        for (TCell& cell : column) {
            if (&cell != first && &cell != second && !cell.Removed) {
                cell.Removed = true;
                cell.Sprite->MarkDead();
            }
        }
    }
    return {game.CellCentre(*first), game.CellCentre(*second)};
}

} // namespace pelmoravan::conformance
