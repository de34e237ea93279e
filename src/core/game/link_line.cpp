// SPDX-License-Identifier: MIT
#include <utility>

#include "game/game.h"

namespace pelmoravan {

namespace {

// Swaps every field but the sprite, as copies between cell records do.
void ExchangeRecords(TCell& a, TCell& b) {
    std::swap(a, b);
    std::swap(a.Sprite, b.Sprite);
}

} // namespace

TPoint TGame::CellCentre(const TCell& cell) const {
    return TPoint{cell.X + CellWidth / 2, cell.Y + CellHeight / 2};
}

void TGame::DrawLinkLine(TColor colour) {
    // However the drawing ends, the pair search is over by now.
    Searching = false;
    LinkColour = colour;
    LinkPassesLeft += 5;
    if (AutoPlay) {
        // Auto-play lets nothing in between its passes.
        while (LinkPassesLeft > 0) {
            LinkLineTurn();
        }
        return;
    }
    LinkLineTurn();
}

void TGame::LinkLineTurn() {
    if (LinkPassesLeft <= 0) {
        return;
    }
    LinkPassesLeft -= 1;
    if (DXDraw == nullptr || !DXDraw->CanDraw()) {
        LinkPassesLeft = 0;
        return;
    }
    DrawLinkPass(DXDraw->Surface().Canvas());
    if (LinkPassesLeft == 0) {
        LinkLineShown = true;
    } else if (!AutoPlay) {
        Host.RequestTurn();
    }
}

void TGame::DrawLinkPass(ICanvas& canvas) {
    // Worked out in the board's geometry, drawn where the board shows.
    auto centre = [this](const TCell& r) { return ShownPoint(CellCentre(r)); };
    auto drawLegs = [&] {
        canvas.Polyline({centre(LinkCorner[0]), centre(Selected[0])});
        canvas.Polyline({centre(LinkCorner[1]), centre(Selected[1])});
    };
    try {
        canvas.SetPenColor(LinkColour);
        canvas.SetPenWidth(3);
    } catch (...) {
        // A pen that cannot be set still leaves a line worth drawing.
    }
    canvas.Polyline({centre(LinkCorner[0]), centre(LinkCorner[1])});
    if (LinkCorner[0].X == LinkCorner[1].X) {
        if (Selected[0].Y > Selected[1].Y) {
            ExchangeRecords(Selected[0], Selected[1]);
        }
        if (LinkCorner[0].Y > LinkCorner[1].Y) {
            ExchangeRecords(LinkCorner[0], LinkCorner[1]);
        }
        drawLegs();
    }
    if (LinkCorner[0].Y == LinkCorner[1].Y) {
        if (Selected[0].X > Selected[1].X) {
            ExchangeRecords(Selected[0], Selected[1]);
        }
        if (LinkCorner[0].X > LinkCorner[1].X) {
            ExchangeRecords(LinkCorner[0], LinkCorner[1]);
        }
        drawLegs();
    }
    canvas.Release();
    DXDraw->Flip();
}

} // namespace pelmoravan
