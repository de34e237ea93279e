// SPDX-License-Identifier: MIT
#include "game/game.h"
#include "game/rounding.h"
#include "game/tile_sprite.h"

namespace pelmoravan {

void TGame::DXDrawMouseDown(TMouseButton Button, std::int32_t X, std::int32_t Y) {
    // The pointer takes over: the cursor hides, and the keys go on from the cell pressed.
    CursorShown = false;
    if (X >= BoardLeft && Y >= BoardTop && CellWidth > 0 && CellHeight > 0) {
        const std::int32_t col = (X - BoardLeft) / CellWidth;
        const std::int32_t row = (Y - BoardTop) / CellHeight;
        if (col < BoardColumns && row < BoardRows) {
            CursorCol = col;
            CursorRow = row;
        }
    }
    PressAt(Button, X, Y);
}

void TGame::PressAt(TMouseButton Button, std::int32_t X, std::int32_t Y) {
    MouseX = X;
    MouseY = Y;
    if (Button == TMouseButton::mbLeft) {
        SelectTile();
    } else if (Button == TMouseButton::mbRight) {
        CancelSelection();
    }
}

void TGame::SelectTile() {
    if (GameState != TGameState::Playing) {
        return;
    }
    const double mx = MouseX;
    const double my = MouseY;
    for (std::int32_t col = 0; col < BoardColumns; ++col) {
        for (std::int32_t row = 0; row < BoardRows; ++row) {
            const TCell& cell = CellAt(col, row);
            if (cell.Removed || cell.Sprite == nullptr) {
                continue;
            }
            const TMonoSprite& sprite = *cell.Sprite;
            // Both ends inclusive: neighbouring tiles share their edge line.
            if (!(sprite.X <= mx && mx <= sprite.X + CellWidth && sprite.Y <= my &&
                  my <= sprite.Y + CellHeight)) {
                continue;
            }
            TCell* named = nullptr;
            for (TCell* slot : {&Selected[1], &Selected[0]}) {
                if (slot->Col == col && slot->Row == row) {
                    named = slot;
                    break;
                }
            }
            if (named != nullptr) {
                // A click on a slot's own cell toggles it; the scan goes on down the column.
                if (named->Index != -1) {
                    named->Index = -1;
                    TellCell(TNewsKind::Deselected, col, row, named->Picture);
                } else {
                    // The slot may still hold where the cell stood before the board moved (or
                    // 0, 0 from start-up): its mark and link line must find the tile.
                    named->Index = 1;
                    named->Picture = sprite.Picture;
                    named->X = Rnd(sprite.X);
                    named->Y = Rnd(sprite.Y);
                    TellCell(TNewsKind::Selected, col, row, named->Picture);
                }
                continue;
            }
            if (Selected[1].Index != -1) {
                Selected[0].X = Selected[1].X;
                Selected[0].Y = Selected[1].Y;
                Selected[0].Index = Selected[1].Index;
                Selected[0].Picture = Selected[1].Picture;
                Selected[0].Col = Selected[1].Col;
                Selected[0].Row = Selected[1].Row;
            }
            Selected[1].X = Rnd(sprite.X);
            Selected[1].Y = Rnd(sprite.Y);
            Selected[1].Index = sprite.Index;
            Selected[1].Picture = sprite.Picture;
            Selected[1].Col = col;
            Selected[1].Row = row;
            if (SoundOn) {
                Host.PlaySound("Alert");
            }
            TellCell(TNewsKind::Selected, col, row, sprite.Picture);
            break; // on with the next column
        }
    }
    TryRemovePair();
}

void TGame::CancelSelection() {
    for (TCell* slot : {&Selected[1], &Selected[0]}) {
        if (slot->Index != -1) {
            slot->Index = -1;
            TellCell(TNewsKind::Deselected, slot->Col, slot->Row, slot->Picture);
            return;
        }
    }
}

} // namespace pelmoravan
