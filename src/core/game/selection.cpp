// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cmath>

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
    if (TouchPointer) {
        SelectTouchedTile();
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
            if (TakeTile(col, row)) {
                break; // on with the next column
            }
            // A click on a slot's own cell toggles it; the scan goes on down the column.
        }
    }
    TryRemovePair();
}

void TGame::SelectTouchedTile() {
    std::int32_t col = 0;
    std::int32_t row = 0;
    if (TouchedTile(col, row)) {
        TakeTile(col, row);
    }
    TryRemovePair();
}

bool TGame::TakeTile(std::int32_t col, std::int32_t row) {
    const TMonoSprite& sprite = *CellAt(col, row).Sprite;
    for (TCell* slot : {&Selected[1], &Selected[0]}) {
        if (slot->Col != col || slot->Row != row) {
            continue;
        }
        if (slot->Index != -1) {
            slot->Index = -1;
            TellCell(TNewsKind::Deselected, col, row, slot->Picture);
        } else {
            // The slot may still hold where the cell stood before the board moved (or 0, 0
            // from start-up): its mark and link line must find the tile.
            slot->Index = 1;
            slot->Picture = sprite.Picture;
            slot->X = Rnd(sprite.X);
            slot->Y = Rnd(sprite.Y);
            TellCell(TNewsKind::Selected, col, row, slot->Picture);
        }
        return false;
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
    return true;
}

bool TGame::TouchedTile(std::int32_t& hitCol, std::int32_t& hitRow) {
    // A finger lands within about 1.8 mm of its aim: a tap near the edge of a face, or beside
    // every face, most likely meant the partner of the tile already chosen, when one lies
    // within reach.
    constexpr double kPartnerReach = 25;
    constexpr double kEdgeBand = 6;
    const double mx = MouseX;
    const double my = MouseY;
    const double reach = kPartnerReach * TouchPixel;
    const double band = kEdgeBand * TouchPixel;

    bool onFace = false;
    double faceDepth = 0;
    bool near = false;
    double nearest = 0;
    std::int32_t nearCol = 0;
    std::int32_t nearRow = 0;
    for (std::int32_t col = 0; col < BoardColumns; ++col) {
        for (std::int32_t row = 0; row < BoardRows; ++row) {
            const TCell& cell = CellAt(col, row);
            if (cell.Removed || cell.Sprite == nullptr) {
                continue;
            }
            const double x = cell.Sprite->X;
            const double y = cell.Sprite->Y;
            // Right and bottom edges belong to the next tile: one tile a tap.
            if (!onFace && x <= mx && mx < x + CellWidth && y <= my && my < y + CellHeight) {
                onFace = true;
                hitCol = col;
                hitRow = row;
                faceDepth = std::min(std::min(mx - x, x + CellWidth - mx), std::min(my - y, y + CellHeight - my));
            }
            const double dx = mx - (x + CellWidth / 2.0);
            const double dy = my - (y + CellHeight / 2.0);
            const double d = dx * dx + dy * dy;
            if (std::abs(dx) <= CellWidth && std::abs(dy) <= CellHeight && (!near || d < nearest)) {
                near = true;
                nearest = d;
                nearCol = col;
                nearRow = row;
            }
        }
    }

    const bool firstOnly = Selected[1].Index != -1 && Selected[0].Index == -1;
    const bool secondOnly = Selected[0].Index != -1 && Selected[1].Index == -1;
    if ((firstOnly || secondOnly) && (!onFace || faceDepth < band)) {
        const TCell& chosen = firstOnly ? Selected[1] : Selected[0];
        FillLinkGrid();
        bool found = false;
        double best = 0;
        for (std::int32_t col = 0; col < BoardColumns; ++col) {
            for (std::int32_t row = 0; row < BoardRows; ++row) {
                const TCell& cell = CellAt(col, row);
                if (cell.Removed || cell.Sprite == nullptr || cell.Picture != chosen.Picture ||
                    (col == chosen.Col && row == chosen.Row)) {
                    continue;
                }
                // How far the tap lies from the tile's rectangle.
                const double x = cell.Sprite->X;
                const double y = cell.Sprite->Y;
                const double dx = std::max({x - mx, 0.0, mx - (x + CellWidth)});
                const double dy = std::max({y - my, 0.0, my - (y + CellHeight)});
                const double d = dx * dx + dy * dy;
                if (d > reach * reach || (found && d >= best)) {
                    continue;
                }
                TCell corner1;
                TCell corner2;
                FindLink(chosen, cell, corner1, corner2);
                if (corner1.Linked && corner2.Linked) {
                    found = true;
                    best = d;
                    hitCol = col;
                    hitRow = row;
                }
            }
        }
        if (found) {
            return true;
        }
    }
    if (onFace) {
        return true;
    }
    hitCol = nearCol;
    hitRow = nearRow;
    return near;
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
