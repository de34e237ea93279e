// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <vector>

#include "core/board_builder.h"
#include "media/upright_tile.h"

namespace pelmoravan {
namespace {

using testing::At;
using testing::BuildBoard;
using testing::GameFixture;
using testing::TilesLeft;

void Tap(TGame& g, int x, int y) { g.DXDrawMouseDown(TMouseButton::mbLeft, x, y); }
void TakeBack(TGame& g) {
    g.CancelSelection();
    g.CancelSelection();
}
bool Holds(const TCell& slot, int col, int row) { return slot.Index != -1 && slot.Col == col && slot.Row == row; }

// Cells are 50 x 37 from (90, 60). B at (3, 0) links round the right edge with B at (3, 2).
const std::vector<std::string> kBoard = {"A..B", "CDEA", "FGHB"};

TEST(TouchTaps, OneTileATapTheNearestTileBesideAndThePartnerAtAFaceEdge) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, kBoard);

    // The mouse keeps the shared edge: on the line between C and D it takes both.
    Tap(g, 140, 115);
    EXPECT_TRUE(Holds(g.Selected[0], 0, 1));
    EXPECT_TRUE(Holds(g.Selected[1], 1, 1));
    TakeBack(g);

    g.TouchPointer = true;
    // A finger takes one of them.
    Tap(g, 140, 115);
    EXPECT_TRUE(Holds(g.Selected[1], 1, 1));
    EXPECT_EQ(g.Selected[0].Index, -1);
    TakeBack(g);

    // In the empty cell beside A, near its edge: A, the nearest within a cell.
    Tap(g, 150, 78);
    EXPECT_TRUE(Holds(g.Selected[1], 0, 0));
    TakeBack(g);
    // Well above the board: nothing.
    Tap(g, 115, 20);
    EXPECT_EQ(g.Selected[1].Index, -1);

    // With B chosen, a tap well inside A's face takes A, though the other B lies within reach.
    Tap(g, 265, 78);
    Tap(g, 265, 115);
    EXPECT_TRUE(Holds(g.Selected[1], 3, 1));
    TakeBack(g);
    // Near A's bottom edge it takes the other B, and the pair goes.
    Tap(g, 265, 78);
    Tap(g, 265, 131);
    EXPECT_TRUE(At(g, 3, 0).Removed);
    EXPECT_TRUE(At(g, 3, 2).Removed);
    EXPECT_EQ(TilesLeft(g), 8);

    // A tap's reach is CSS pixels: on a board shown at half size 25 of them are 50 surface
    // pixels. Beside every face, 40 pixels right of the board, the only partner of C is taken.
    BuildBoard(g, {"C..", "...", "..C"});
    g.TouchPixel = 2;
    Tap(g, 115, 78);
    Tap(g, 280, 115);
    EXPECT_EQ(TilesLeft(g), 0);
}

TEST(UprightTile, AGlyphKeepsItsSizeOnTheTallPlateUnlessTooWide) {
    // A picture of 50 x 38 with one opaque block of w x h at (x, y); the upright plate is 38 x 50.
    auto glyph = [](int x, int y, int w, int h) {
        std::vector<std::uint8_t> rgba(50 * 38 * 4, 0);
        for (int row = y; row < y + h; ++row) {
            for (int col = x; col < x + w; ++col) {
                std::uint8_t* p = &rgba[static_cast<std::size_t>(row * 50 + col) * 4];
                p[0] = 200;
                p[3] = 255;
            }
        }
        return UprightTile(rgba.data(), 50, 38);
    };
    auto box = [](const std::vector<std::uint8_t>& out) {
        int l = 99, t = 99, r = -1, b = -1;
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 38; ++x) {
                if (out[static_cast<std::size_t>(y * 38 + x) * 4 + 3] != 0) {
                    l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), b = std::max(b, y);
                }
            }
        }
        return std::vector<int>{l, t, r - l + 1, b - t + 1};
    };
    const auto narrow = glyph(3, 2, 20, 30);
    ASSERT_EQ(narrow.size(), 38u * 50u * 4u);
    EXPECT_EQ(box(narrow), (std::vector<int>{9, 10, 20, 30}));
    EXPECT_EQ(narrow[static_cast<std::size_t>(10 * 38 + 9) * 4], 200);
    // Too wide: shrunk evenly to the plate less a pixel each side, and centred.
    EXPECT_EQ(box(glyph(1, 4, 48, 30)), (std::vector<int>{1, 13, 36, 23}));
}

} // namespace
} // namespace pelmoravan
