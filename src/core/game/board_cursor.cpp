// SPDX-License-Identifier: MIT
#include <algorithm>

#include "game/game.h"

namespace pelmoravan {

void TGame::BoardKey(TBoardKey key, bool ctrl) {
    // Paused, or no board: the keys do nothing and nothing is told.
    if (GameState != TGameState::Playing || BoardColumns <= 0 || BoardRows <= 0) {
        return;
    }
    CursorCol = std::clamp(CursorCol, 0, BoardColumns - 1);
    CursorRow = std::clamp(CursorRow, 0, BoardRows - 1);
    const TPoint centre = CellCentre(CellAt(CursorCol, CursorRow));
    if (key == TBoardKey::Back) {
        PressAt(TMouseButton::mbRight, centre.X, centre.Y);
        return;
    }
    // While hidden the player cannot know where the cursor is: the first key only shows it.
    if (!CursorShown) {
        CursorShown = true;
    } else if (key == TBoardKey::Act) {
        PressAt(TMouseButton::mbLeft, centre.X, centre.Y);
        return;
    } else if (key == TBoardKey::Home) {
        CursorCol = 0;
    } else if (key == TBoardKey::End) {
        CursorCol = BoardColumns - 1;
    } else {
        const std::int32_t dc = key == TBoardKey::Left ? -1 : key == TBoardKey::Right ? 1 : 0;
        const std::int32_t dr = key == TBoardKey::Up ? -1 : key == TBoardKey::Down ? 1 : 0;
        std::int32_t col = CursorCol + dc;
        std::int32_t row = CursorRow + dr;
        // With Ctrl, on over empty cells to the next tile; none that way leaves it where it is.
        while (ctrl && col >= 0 && col < BoardColumns && row >= 0 && row < BoardRows && CellAt(col, row).Removed) {
            col += dc;
            row += dr;
        }
        if (col >= 0 && col < BoardColumns && row >= 0 && row < BoardRows) {
            CursorCol = col;
            CursorRow = row;
        }
    }
    const TCell& cell = CellAt(CursorCol, CursorRow);
    TellCell(TNewsKind::Cell, CursorCol, CursorRow, cell.Removed ? -1 : cell.Picture);
}

void TGame::TellCell(TNewsKind kind, std::int32_t col, std::int32_t row, std::int32_t picture) {
    TNews news;
    news.Kind = kind;
    news.Col = col;
    news.Row = row;
    news.Picture = picture;
    Host.Tell(news);
}

std::int32_t TGame::TilesLeft() const {
    std::int32_t left = 0;
    for (const auto& column : Board) {
        for (const TCell& cell : column) {
            left += cell.Removed ? 0 : 1;
        }
    }
    return left;
}

} // namespace pelmoravan
