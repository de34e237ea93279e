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

void TGame::DrawLinkLine(ICanvas& canvas, TColor colour) {
    // However the drawing ends, the pair search is over by now.
    struct TSearchDone {
        bool& Flag;
        ~TSearchDone() { Flag = false; }
    } searchDone{Searching};

    auto centre = [this](const TCell& r) { return CellCentre(r); };
    // The window may run a frame or a click here; the canvas must be free for it.
    auto letOneMessageThrough = [this, &canvas] {
        if (!AutoPlay) {
            canvas.Release();
            Window.ProcessOneMessage();
        }
    };
    auto drawLegs = [&] {
        canvas.Polyline({centre(LinkCorner[0]), centre(Selected[0])});
        canvas.Polyline({centre(LinkCorner[1]), centre(Selected[1])});
    };

    for (int pass = 0; pass < 5; ++pass) {
        try {
            canvas.SetPenColor(colour);
            canvas.SetPenWidth(3);
        } catch (...) {
            // A pen that cannot be set still leaves a line worth drawing.
        }
        canvas.Polyline({centre(LinkCorner[0]), centre(LinkCorner[1])});
        if (LinkCorner[0].X == LinkCorner[1].X) {
            letOneMessageThrough();
            if (Selected[0].Y > Selected[1].Y) {
                ExchangeRecords(Selected[0], Selected[1]);
            }
            if (LinkCorner[0].Y > LinkCorner[1].Y) {
                ExchangeRecords(LinkCorner[0], LinkCorner[1]);
            }
            drawLegs();
        }
        if (LinkCorner[0].Y == LinkCorner[1].Y) {
            letOneMessageThrough();
            if (Selected[0].X > Selected[1].X) {
                ExchangeRecords(Selected[0], Selected[1]);
            }
            if (LinkCorner[0].X > LinkCorner[1].X) {
                ExchangeRecords(LinkCorner[0], LinkCorner[1]);
            }
            drawLegs();
        }
        canvas.Release();
        if (DXDraw != nullptr) {
            DXDraw->Flip();
        }
    }
    LinkLineShown = true;
}

} // namespace pelmoravan
