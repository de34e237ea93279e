// SPDX-License-Identifier: MIT
#include "game/game.h"
#include "game/tile_sprite.h"

namespace pelmoravan {

void TGame::PlaceTileSprites() {
    for (std::int32_t col = 0; col < BoardColumns; ++col) {
        for (std::int32_t row = 0; row < BoardRows; ++row) {
            TCell& cell = Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
            if (cell.Removed || cell.Sprite == nullptr) {
                continue;
            }
            cell.Sprite->X = cell.X;
            cell.Sprite->Y = cell.Y;
            cell.Sprite->Col = col;
            cell.Sprite->Row = row;
            cell.Index = cell.Sprite->Index;
        }
    }
}

void TGame::RefreshTileSprites() {
    for (std::int32_t col = 0; col < BoardColumns; ++col) {
        for (std::int32_t row = 0; row < BoardRows; ++row) {
            const TCell& cell = CellAt(col, row);
            if (cell.Removed || cell.Sprite == nullptr) {
                continue;
            }
            cell.Sprite->Col = col;
            cell.Sprite->Row = row;
            cell.Sprite->Picture = cell.Picture;
        }
    }
}

void TGame::MoveCellContent(const TCell& source, TCell& target) {
    target.Index = source.Index;
    target.Picture = source.Picture;
    target.Removed = source.Removed;
    target.Linked = source.Linked;
    target.Hinted = source.Hinted;
    target.Sprite = source.Sprite;
}

// Each shift closes the line up toward the gap and parks the gap at the bound.
void TGame::ShiftLeft(const TCell& cell, std::int32_t bound) {
    if (bound < cell.Col) {
        return;
    }
    const TCell saved = CellAt(cell.Col, cell.Row);
    for (std::int32_t k = cell.Col; k < bound; ++k) {
        MoveCellContent(CellAt(k + 1, cell.Row), CellAt(k, cell.Row));
    }
    MoveCellContent(saved, CellAt(bound, cell.Row));
}

void TGame::ShiftRight(const TCell& cell, std::int32_t bound) {
    if (bound > cell.Col) {
        return;
    }
    const TCell saved = CellAt(cell.Col, cell.Row);
    for (std::int32_t k = cell.Col; k > bound; --k) {
        MoveCellContent(CellAt(k - 1, cell.Row), CellAt(k, cell.Row));
    }
    MoveCellContent(saved, CellAt(bound, cell.Row));
}

void TGame::ShiftUp(const TCell& cell, std::int32_t bound) {
    if (bound < cell.Row) {
        return;
    }
    const TCell saved = CellAt(cell.Col, cell.Row);
    for (std::int32_t k = cell.Row; k < bound; ++k) {
        MoveCellContent(CellAt(cell.Col, k + 1), CellAt(cell.Col, k));
    }
    MoveCellContent(saved, CellAt(cell.Col, bound));
}

void TGame::ShiftDown(const TCell& cell, std::int32_t bound) {
    if (bound > cell.Row) {
        return;
    }
    const TCell saved = CellAt(cell.Col, cell.Row);
    for (std::int32_t k = cell.Row; k > bound; --k) {
        MoveCellContent(CellAt(cell.Col, k - 1), CellAt(cell.Col, k));
    }
    MoveCellContent(saved, CellAt(cell.Col, bound));
}

void TGame::ApplyMovementRule(std::int32_t Mode) {
    RefreshTileSprites();
    const TCell a = RemovedPair[0];
    const TCell b = RemovedPair[1];
    const std::int32_t lastCol = BoardColumns - 1;
    const std::int32_t lastRow = BoardRows - 1;
    const std::int32_t midCol = lastCol / 2;
    const std::int32_t midRow = lastRow / 2;
    // When both gaps share a line the first shift must not move the second gap, hence the orders.
    auto inOrder = [&](bool bFirst, auto&& action) {
        if (bFirst) {
            action(b);
            action(a);
        } else {
            action(a);
            action(b);
        }
    };
    switch (Mode) {
    case 2:
        inOrder(b.Col > a.Col, [&](const TCell& c) { ShiftLeft(c, lastCol); });
        break;
    case 3:
        inOrder(b.Col < a.Col, [&](const TCell& c) { ShiftRight(c, 0); });
        break;
    case 4: {
        const bool bothLeft = a.Col < midCol && b.Col < midCol;
        const bool bothRight = a.Col > midCol + 1 && b.Col > midCol + 1;
        inOrder((bothLeft && b.Col > a.Col) || (bothRight && b.Col < a.Col), [&](const TCell& c) {
            if (c.Col < midCol) {
                ShiftLeft(c, midCol);
            } else if (c.Col > midCol + 1) {
                ShiftRight(c, midCol + 1);
            }
        });
        break;
    }
    case 5: {
        const bool bothLeft = a.Col <= midCol && b.Col <= midCol;
        const bool bothRight = a.Col >= midCol + 1 && b.Col >= midCol + 1;
        inOrder((bothLeft && b.Col < a.Col) || (bothRight && b.Col > a.Col), [&](const TCell& c) {
            if (c.Col <= midCol) {
                ShiftRight(c, 0);
            } else {
                ShiftLeft(c, lastCol);
            }
        });
        break;
    }
    case 6:
        inOrder(b.Row > a.Row, [&](const TCell& c) { ShiftUp(c, lastRow); });
        break;
    case 7:
        inOrder(b.Row < a.Row, [&](const TCell& c) { ShiftDown(c, 0); });
        break;
    case 8: {
        const bool bothUpper = a.Row < midRow && b.Row < midRow;
        const bool bothLower = a.Row > midRow + 1 && b.Row > midRow + 1;
        inOrder((bothUpper && b.Row > a.Row) || (bothLower && b.Row < a.Row), [&](const TCell& c) {
            if (c.Row < midRow) {
                ShiftUp(c, midRow);
            } else if (c.Row > midRow + 1) {
                ShiftDown(c, midRow + 1);
            }
        });
        break;
    }
    case 9: {
        const bool bothUpper = a.Row <= midRow && b.Row <= midRow;
        const bool bothLower = a.Row >= midRow + 1 && b.Row >= midRow + 1;
        inOrder((bothUpper && b.Row < a.Row) || (bothLower && b.Row > a.Row), [&](const TCell& c) {
            if (c.Row <= midRow) {
                ShiftDown(c, 0);
            } else {
                ShiftUp(c, lastRow);
            }
        });
        break;
    }
    case 10:
        RandomRefill();
        break;
    default:
        break;
    }
    if (Mode > 1) {
        PlaceTileSprites();
    }
}

void TGame::RandomRefill() {
    // Two different tiles must exist besides the emptied cells, or the draws below never end.
    std::int32_t tiles = 0;
    for (const auto& column : Board) {
        for (const TCell& cell : column) {
            tiles += cell.Removed ? 0 : 1;
        }
    }
    if (tiles < 2) {
        return;
    }
    std::int32_t c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    do {
        Rng.Reseed();
        do {
            c1 = Rng.Random(BoardColumns);
            r1 = Rng.Random(BoardRows);
        } while (CellAt(c1, r1).Removed);
        do {
            c2 = Rng.Random(BoardColumns);
            r2 = Rng.Random(BoardRows);
        } while (CellAt(c2, r2).Removed);
    } while (c1 == c2 && r1 == r2);

    auto exchange = [this](const TCell& gap, std::int32_t col, std::int32_t row) {
        TCell& emptied = CellAt(gap.Col, gap.Row);
        TCell& picked = CellAt(col, row);
        const TCell saved = emptied;
        MoveCellContent(picked, emptied);
        MoveCellContent(saved, picked);
    };
    exchange(RemovedPair[0], c1, r1);
    exchange(RemovedPair[1], c2, r2);
}

TCell& TGame::CellAt(std::int32_t col, std::int32_t row) {
    return Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
}

} // namespace pelmoravan
