// SPDX-License-Identifier: MIT
#include <cstdint>

#include "game/game.h"

namespace pelmoravan {

namespace {

// The title screen counts for as long as the program runs; let the counters wrap as 32-bit
// values instead of overflowing.
std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t WrappingMul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Top-left corner that centres an item on the surface.
TPoint CentredOn(const ISurface& surface, const TPictureCollectionItem& item) {
    return {(surface.Width() - item.Width()) / 2, (surface.Height() - item.Height()) / 2};
}

} // namespace

void TGame::DrawTitleScreen() {
    LogoTicks = WrappingAdd(LogoTicks, 1);
    PaintTitleScreen();
}

void TGame::PresentTitleScreen() {
    if (GameState == TGameState::Title && DXDraw != nullptr && DXDraw->CanDraw()) {
        PaintTitleScreen();
    }
}

void TGame::PaintTitleScreen() {
    LinkLineShown = false;
    ISurface& surface = DXDraw->Surface();
    surface.Fill(0);
    if (DXImageList1 != nullptr) {
        const TPictureCollectionItem& logo = DXImageList1->Find("logo");
        const std::int32_t w = logo.Width();
        const std::int32_t h = logo.Height();
        // One and a half times the logo's size, its centre up and to the left of the surface's.
        const std::int32_t x = (surface.Width() - w) / 2 - w / 2 + 20;
        const std::int32_t y = (surface.Height() - h) / 2 - h / 2;
        surface.WaveDraw(logo, x, y, w + w / 2, h + h / 2, 0, 4, 200, WrappingMul(LogoTicks, 10));
    }
    surface.Canvas().Release();
    DXDraw->Flip();
}

void TGame::DrawGameOverScreen() {
    LinkLineShown = false;
    ISurface& surface = DXDraw->Surface();
    // Drawn over the last frame, which the tick that ran out of time left black and empty.
    if (DXImageList1 != nullptr) {
        const TPictureCollectionItem& image = DXImageList1->Find("gameover");
        const TPoint at = CentredOn(surface, image);
        surface.Draw(image, at.X, at.Y, 0);
    }
    surface.Canvas().Release();
    DXDraw->Flip();
    DisplayTicks += 1;
    if (DisplayTicks >= TickThreshold(2000)) {
        DisplayTicks = 0;
        GameState = TGameState::Title;
    }
}

void TGame::DrawPausedScreen() {
    LinkLineShown = false;
    if (DXDraw->CanDraw()) {
        // Covering the last frame keeps its status texts in view while hiding every picture.
        DrawTileBacks();
        if (DXImageList1 != nullptr) {
            ISurface& surface = DXDraw->Surface();
            const TPictureCollectionItem& image = DXImageList1->Find("back");
            const TPoint at = CentredOn(surface, image);
            surface.Draw(image, at.X, at.Y, 0);
        }
    }
    DXDraw->Surface().Canvas().Release();
    DXDraw->Flip();
}

} // namespace pelmoravan
