// SPDX-License-Identifier: MIT
#include <algorithm>

#include "game/game.h"

namespace pelmoravan {

void TGame::BoardKey(TBoardKey key, bool ctrl) {
    // The status is the player's to hear whenever a game is on, paused or not.
    if (key == TBoardKey::Status) {
        TellStatus();
        return;
    }
    // Paused, or no board: the keys do nothing and nothing is told.
    if (GameState != TGameState::Playing || BoardColumns <= 0 || BoardRows <= 0) {
        return;
    }
    CursorCol = std::clamp(CursorCol, 0, BoardColumns - 1);
    CursorRow = std::clamp(CursorRow, 0, BoardRows - 1);
    const TPoint centre = CellCentre(CellAt(CursorCol, CursorRow));
    if (key == TBoardKey::Back) {
        if (Selected[0].Index == -1 && Selected[1].Index == -1) {
            TellCell(TNewsKind::Deselected, CursorCol, CursorRow, -1); // a key that says nothing seems lost
            return;
        }
        PressAt(TMouseButton::mbRight, centre.X, centre.Y);
        return;
    }
    TCellAxis axis = TCellAxis::Both;
    // While hidden the player cannot know where the cursor is: the first key only shows it.
    if (!CursorShown) {
        CursorShown = true;
    } else if (key == TBoardKey::Act) {
        PressAt(TMouseButton::mbLeft, centre.X, centre.Y);
        return;
    } else if (key == TBoardKey::Match) {
        MoveToMatch();
    } else if (key == TBoardKey::Home || key == TBoardKey::End) {
        CursorCol = key == TBoardKey::Home ? 0 : BoardColumns - 1;
        axis = TCellAxis::Column;
    } else {
        const std::int32_t dc = key == TBoardKey::Left ? -1 : key == TBoardKey::Right ? 1 : 0;
        const std::int32_t dr = key == TBoardKey::Up ? -1 : key == TBoardKey::Down ? 1 : 0;
        axis = dc != 0 ? TCellAxis::Column : TCellAxis::Row;
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
    TellCell(TNewsKind::Cell, CursorCol, CursorRow, cell.Removed ? -1 : cell.Picture, axis);
}

void TGame::MoveToMatch() {
    const TCell& here = CellAt(CursorCol, CursorRow);
    if (here.Removed) {
        return;
    }
    // Reading order as the board is shown: by rows of the screen, left to right.
    const bool upright = BoardUpright;
    const std::int32_t across = upright ? BoardRows : BoardColumns;
    const std::int32_t count = BoardColumns * BoardRows;
    const std::int32_t start = upright ? CursorCol * across + CursorRow : CursorRow * across + CursorCol;
    for (std::int32_t step = 1; step < count; ++step) {
        const std::int32_t at = (start + step) % count;
        const std::int32_t col = upright ? at / across : at % across;
        const std::int32_t row = upright ? at % across : at / across;
        const TCell& cell = CellAt(col, row);
        if (!cell.Removed && cell.Picture == here.Picture) {
            CursorCol = col;
            CursorRow = row;
            return;
        }
    }
}

void TGame::TellStatus() {
    if (GameState != TGameState::Playing && GameState != TGameState::Paused) {
        return;
    }
    TNews news;
    news.Kind = TNewsKind::Status;
    Host.Tell(news);
}

void TGame::TellCell(TNewsKind kind, std::int32_t col, std::int32_t row, std::int32_t picture, TCellAxis axis) {
    TNews news;
    news.Kind = kind;
    news.Col = col;
    news.Row = row;
    news.Picture = picture;
    news.Axis = axis;
    Host.Tell(news);
}

void TGame::AddCursorCell(TNews& news) const {
    if (!CursorShown || CursorCol < 0 || CursorCol >= BoardColumns || CursorRow < 0 || CursorRow >= BoardRows) {
        return;
    }
    const TCell& cell = Board[static_cast<std::size_t>(CursorCol)][static_cast<std::size_t>(CursorRow)];
    news.CursorTold = true;
    news.CursorCol = CursorCol;
    news.CursorRow = CursorRow;
    news.CursorPicture = cell.Removed ? -1 : cell.Picture;
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
