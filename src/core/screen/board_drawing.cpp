// SPDX-License-Identifier: MIT
#include <vector>

#include "game/game.h"

namespace pelmoravan {

namespace {

constexpr TColor kBlack = 0;
constexpr TColor kWhite = 16777215;
// Magenta: unlike the black and white of the marks, the green link line and the tiles' pale
// blue ground.
constexpr TColor kCursorColour = 0xFF00FF;
constexpr std::int32_t kCursorWidth = 2;

// A tile is drawn while it is on the board and still has its sprite.
bool Shows(const TCell& cell) { return !cell.Removed && cell.Sprite != nullptr; }

// A bevel inside the cell at (x, y): `topLeft` on the top and left edges, `bottomRight` on the
// others. Dark over light looks pressed in, light over dark looks raised.
void DrawBevel(ICanvas& canvas, const TRect& cell, TColor topLeft, TColor bottomRight) {
    const std::int32_t l = cell.Left + 3;
    const std::int32_t t = cell.Top + 3;
    const std::int32_t r = cell.Right - 2;
    const std::int32_t b = cell.Bottom - 2;
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    canvas.SetPenWidth(3);
    canvas.SetPenColor(topLeft);
    canvas.Polyline({{l, b}, {l, t}, {r, t}});
    canvas.SetPenColor(bottomRight);
    canvas.Polyline({{r, t}, {r, b}, {l, b}});
}

} // namespace

TRect TGame::ShownRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) const {
    return BoardUpright ? TRect{y, x, y + h, x + w} : TRect{x, y, x + w, y + h};
}

void TGame::DrawPlayingScreen() {
    // The frame right after a link line keeps the board the line was drawn on, so that the
    // player sees the line for exactly one frame.
    const bool keepBoard = LinkLineShown;
    LinkLineShown = false;
    DrawnMarkCount = 0;
    if (!keepBoard) {
        if (DXDraw->CanDraw()) {
            DXDraw->Surface().Fill(0);
        }
        DrawTileBacks();
        DrawTilePictures();
    }
    if (TimeLimit != 0 && GameState == TGameState::Playing) {
        DrawStatusBand();
    }
    DrawSelectionMarks();
    DrawHintMarks();
    DrawBoardCursor();
    CheckLevelCleared();
}

void TGame::DrawTileBacks() {
    if (BackImage == nullptr || !DXDraw->CanDraw()) {
        return;
    }
    ISurface& surface = DXDraw->Surface();
    const TPictureCollectionItem* back = nullptr;
    // Column by column, top to bottom: later backs overlap earlier ones for the stacked look.
    for (const auto& column : Board) {
        for (const TCell& cell : column) {
            if (!Shows(cell)) {
                continue;
            }
            if (back == nullptr) {
                back = &BackImage->Items(Level - 1);
            }
            surface.StretchDraw(*back, ShownRect(cell.X, cell.Y, TileDrawWidth, TileDrawHeight), 0);
        }
    }
}

void TGame::DrawTilePictures() {
    if (ImageList == nullptr || !DXDraw->CanDraw()) {
        return;
    }
    ISurface& surface = DXDraw->Surface();
    const bool upright = UprightImageList != nullptr && UprightImageList->Count() == ImageList->Count();
    for (const auto& column : Board) {
        for (const TCell& cell : column) {
            if (!Shows(cell)) {
                continue;
            }
            try {
                // By position: picture k shows the item named k + 1.
                const TRect shown = ShownRect(cell.X, cell.Y, CellWidth, CellHeight);
                if (!BoardUpright) {
                    surface.StretchDraw(ImageList->Items(cell.Picture), shown, 0);
                } else if (upright) {
                    surface.StretchDraw(UprightImageList->Items(cell.Picture), shown, 0);
                } else {
                    // No tall pictures: the picture at its own size, centred on the tall cell.
                    const TPictureCollectionItem& item = ImageList->Items(cell.Picture);
                    const std::int32_t l = shown.Left + (shown.Right - shown.Left - item.Width()) / 2;
                    const std::int32_t t = shown.Top + (shown.Bottom - shown.Top - item.Height()) / 2;
                    surface.StretchDraw(item, {l, t, l + item.Width(), t + item.Height()}, 0);
                }
            } catch (...) {
                // One missing picture must not hide the rest of the board.
            }
        }
    }
}

void TGame::DrawSelectionMarks() {
    for (const TCell& slot : Selected) {
        if (slot.Index == -1 || !DXDraw->CanDraw()) {
            continue;
        }
        DrawBevel(DXDraw->Surface().Canvas(), ShownRect(slot.X, slot.Y, CellWidth, CellHeight), kBlack, kWhite);
        RecordMark(slot, false);
    }
}

void TGame::RecordMark(const TCell& cell, bool raised) {
    if (DrawnMarkCount < DrawnMarks.size()) {
        // Where it shows: the page draws it again over the board as shown.
        const TRect shown = ShownRect(cell.X, cell.Y, CellWidth, CellHeight);
        DrawnMarks[DrawnMarkCount++] = {shown.Left, shown.Top, raised};
    }
}

std::size_t TGame::HintMarksShown() const {
    std::size_t shown = 0;
    while (shown < HintPair.size() && HintPair[shown].Hinted) {
        ++shown;
    }
    return shown;
}

void TGame::DrawHintMarks() {
    // Counted again each time round: reaching the time limit clears both slots.
    for (std::size_t k = 0; k < HintMarksShown(); ++k) {
        if (DXDraw->CanDraw()) {
            HintTicks += 1;
            DrawBevel(DXDraw->Surface().Canvas(), ShownRect(HintPair[k].X, HintPair[k].Y, CellWidth, CellHeight),
                      kWhite, kBlack);
            RecordMark(HintPair[k], true);
        }
        if (HintTicks >= TickThreshold(1200)) {
            HintPair[0].Hinted = false;
            HintPair[1].Hinted = false;
            HintTicks = 0;
        }
    }
}

void TGame::DrawBoardCursor() {
    if (!CursorShown || GameState != TGameState::Playing || CursorCol < 0 || CursorCol >= BoardColumns || CursorRow < 0 ||
        CursorRow >= BoardRows || !DXDraw->CanDraw()) {
        return;
    }
    const TCell& cell = CellAt(CursorCol, CursorRow);
    const TRect shown = ShownRect(cell.X, cell.Y, CellWidth, CellHeight);
    const std::int32_t l = shown.Left;
    const std::int32_t t = shown.Top;
    const std::int32_t r = shown.Right;
    const std::int32_t b = shown.Bottom;
    ICanvas& canvas = DXDraw->Surface().Canvas();
    canvas.SetBrushColor(kCursorColour);
    canvas.FillRect({l, t, r, t + kCursorWidth});
    canvas.FillRect({l, b - kCursorWidth, r, b});
    canvas.FillRect({l, t + kCursorWidth, l + kCursorWidth, b - kCursorWidth});
    canvas.FillRect({r - kCursorWidth, t + kCursorWidth, r, b - kCursorWidth});
    // The banner that may follow writes on the brush left behind: black, as without a cursor.
    canvas.SetBrushColor(kBlack);
}

} // namespace pelmoravan
