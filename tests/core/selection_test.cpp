// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>

#include "core/board_builder.h"
#include "core/fake_surface.h"

namespace pelmoravan {
namespace {

using testing::At;
using testing::BuildBoard;
using testing::FakeDrawControl;
using testing::GameFixture;
using testing::Layout;
using testing::OpKind;
using Strings = std::vector<std::string>;

void Click(TGame& g, int col, int row, TMouseButton button = TMouseButton::mbLeft) {
    g.DXDrawMouseDown(button, g.BoardLeft + col * g.CellWidth + 25,
                      g.BoardTop + row * g.CellHeight + 18);
}

void RightClick(TGame& g) { g.DXDrawMouseDown(TMouseButton::mbRight, 0, 0); }

bool Active(const TCell& slot) { return slot.Index != -1; }

// The A, F, G and U pairs are neighbours; the two J tiles are walled in.
const Strings kBoard = {"ABCDEF", "AJKJLF", "MNOPQR", "GGSTUU"};

TEST(SelectTile, AClickSelectsASecondDeselectsAThirdReactivatesInPlace) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, kBoard);
    Click(g, 2, 0);
    EXPECT_TRUE(Active(g.Selected[1]));
    EXPECT_FALSE(Active(g.Selected[0]));
    EXPECT_EQ(g.Selected[1].Index, At(g, 2, 0).Index);
    EXPECT_EQ(g.Selected[1].Picture, At(g, 2, 0).Picture);
    EXPECT_EQ(g.Selected[1].X, At(g, 2, 0).X);
    EXPECT_EQ(g.Selected[1].Y, At(g, 2, 0).Y);
    EXPECT_EQ(f.host.Sounds, Strings{"Alert"});
    Click(g, 2, 0);
    EXPECT_FALSE(Active(g.Selected[1]));
    Click(g, 2, 0);
    EXPECT_EQ(g.Selected[1].Index, 1); // reactivated in place, not with the tile's Index
    EXPECT_EQ(f.host.Sounds, Strings{"Alert"});
    g.SoundOn = false;
    Click(g, 4, 2);
    EXPECT_EQ(f.host.Sounds, Strings{"Alert"});
    EXPECT_EQ(g.Selected[0].Col, 2);
    EXPECT_EQ(g.Selected[1].Col, 4);
}

TEST(SelectTile, DifferentPicturesStaySelectedAndTheNextClickShiftsTheSlots) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, kBoard);
    Click(g, 1, 0); // B
    Click(g, 2, 0); // C
    EXPECT_TRUE(Active(g.Selected[0]));
    EXPECT_TRUE(Active(g.Selected[1]));
    Click(g, 3, 0); // D: the pair attempt is C with D, still different
    EXPECT_EQ(g.Selected[0].Col, 2);
    EXPECT_EQ(g.Selected[1].Col, 3);
    // Same picture without a path: both stay, nothing goes.
    Click(g, 1, 1);
    Click(g, 3, 1);
    EXPECT_EQ(g.Selected[0].Col, 1);
    EXPECT_EQ(g.Selected[1].Col, 3);
    EXPECT_TRUE(Active(g.Selected[0]));
    EXPECT_TRUE(Active(g.Selected[1]));
    EXPECT_EQ(testing::TilesLeft(g), 24);
    EXPECT_EQ(g.PairsRemoved, 0);
    // A right click takes back the newest, a second one the older.
    RightClick(g);
    EXPECT_FALSE(Active(g.Selected[1]));
    EXPECT_TRUE(Active(g.Selected[0]));
    // Only the older active: a new tile goes to slot 1 and the older stays.
    Click(g, 4, 0);
    EXPECT_EQ(g.Selected[0].Col, 1);
    EXPECT_EQ(g.Selected[1].Col, 4);
    RightClick(g);
    RightClick(g);
    EXPECT_FALSE(Active(g.Selected[0]));
    EXPECT_FALSE(Active(g.Selected[1]));
}

TEST(SelectTile, EdgeLinesBelongToBothNeighbours) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, kBoard);
    // The vertical line between the two G tiles selects the left, then the right, and they go.
    f.seeds.Script = {testing::SeedWithoutBonus(g.Difficulty)};
    g.DXDrawMouseDown(TMouseButton::mbLeft, g.BoardLeft + g.CellWidth, g.BoardTop + 3 * 37 + 5);
    EXPECT_EQ(f.host.Sounds, (Strings{"Alert", "Alert", "recycle"}));
    EXPECT_TRUE(At(g, 0, 3).Removed);
    EXPECT_TRUE(At(g, 1, 3).Removed);
    // The horizontal line between A (0,0) and A (0,1): only the upper tile...
    g.DXDrawMouseDown(TMouseButton::mbLeft, g.BoardLeft + 10, g.BoardTop + g.CellHeight);
    EXPECT_EQ(g.Selected[1].Row, 0);
    EXPECT_FALSE(Active(g.Selected[0]));
    // ...unless it is a slot's cell: toggled off, and the scan goes on to the lower one.
    g.DXDrawMouseDown(TMouseButton::mbLeft, g.BoardLeft + 10, g.BoardTop + g.CellHeight);
    EXPECT_EQ(g.Selected[1].Row, 1);
    EXPECT_FALSE(Active(g.Selected[0]));
}

TEST(SelectTile, OutsidePlayClicksDoNothingButRightClicksStillClear) {
    for (const std::uint8_t state : {0, 2, 3}) {
        GameFixture f;
        TGame& g = f.game;
        BuildBoard(g, kBoard);
        Click(g, 0, 0);
        g.GameState = static_cast<TGameState>(state);
        Click(g, 0, 1);
        EXPECT_EQ(g.Selected[1].Row, 0);
        RightClick(g);
        EXPECT_FALSE(Active(g.Selected[1]));
    }
}

TEST(SelectTile, AReactivatedSlotTakesItsTilesPosition) {
    GameFixture f;
    TGame& g = f.game;
    FakeDrawControl draw;
    g.DXDraw = &draw;
    const auto fresh = g.Selected; // at start-up both slots name column 0, row 0 at 0, 0
    BuildBoard(g, kBoard);
    g.Selected = fresh;
    f.seeds.Script = {testing::SeedWithoutBonus(g.Difficulty)};
    Click(g, 0, 0);
    EXPECT_EQ(g.Selected[1].Index, 1);
    EXPECT_EQ(g.Selected[1].X, 90);
    EXPECT_EQ(g.Selected[1].Y, 60);
    EXPECT_TRUE(f.host.Sounds.empty());
    // Its pair below goes, and the link line's legs end on the tiles, not in the surface's corner.
    Click(g, 0, 1);
    ASSERT_TRUE(At(g, 0, 0).Removed);
    std::set<std::pair<std::int32_t, std::int32_t>> ends;
    for (const auto& op : draw.OpsOf(OpKind::Polyline)) {
        for (const TPoint& p : op.Points) {
            ends.emplace(p.X, p.Y);
        }
    }
    EXPECT_EQ(ends, (std::set<std::pair<std::int32_t, std::int32_t>>{{115, 78}, {115, 115}}));

    // A slot left from a board that stood elsewhere, its sprite between pixels: rounded as a new
    // selection is.
    BuildBoard(g, kBoard);
    g.Selected[1].Col = 2;
    g.Selected[1].Row = 0;
    g.Selected[1].X = 7;
    g.Selected[1].Y = 9;
    At(g, 2, 0).Sprite->X = 191.5;
    At(g, 2, 0).Sprite->Y = 60.5;
    Click(g, 2, 0);
    EXPECT_EQ(g.Selected[1].Index, 1);
    EXPECT_EQ(g.Selected[1].X, 192);
    EXPECT_EQ(g.Selected[1].Y, 60);
}

TEST(RemovePair, MovesThenScoresThenSearchesThenDrawsTheLine) {
    GameFixture f;
    TGame& g = f.game;
    FakeDrawControl draw;
    g.DXDraw = &draw;
    // Level 2 slides tiles left; without the C pair the A/B square is a dead end.
    BuildBoard(g, {"CAB", "CBA"});
    g.Level = 2;
    g.PairPoints = 19;
    g.PairSeconds = 4;
    f.seeds.Script = {testing::SeedWithoutBonus(g.Difficulty)};
    Click(g, 0, 0);
    Click(g, 0, 1);
    // The removal's sound, then the free shuffle of the pair search on the moved board.
    ASSERT_GE(f.host.Sounds.size(), 2u);
    EXPECT_EQ(f.host.Sounds[f.host.Sounds.size() - 2], "recycle");
    EXPECT_EQ(g.Score, 76);
    EXPECT_EQ(draw.Flips, 1); // the line's first pass comes last
    EXPECT_EQ(f.host.Sounds.back(), "#4");
    EXPECT_EQ(g.PairsRemoved, 1);
    EXPECT_FALSE(g.Searching);
    EXPECT_EQ(g.DXSpriteEngine.Root()->Count(), 4); // the search has purged the dead pair
    EXPECT_FALSE(Active(g.Selected[0]));
    EXPECT_FALSE(Active(g.Selected[1]));
    EXPECT_FALSE(g.LinkCorner[0].Linked || g.LinkCorner[1].Linked);
    EXPECT_FALSE(draw.OpsOf(OpKind::Polyline).empty());
    f.host.RunTurns(g);
    EXPECT_EQ(draw.Flips, 5);
    EXPECT_TRUE(g.LinkLineShown);
}

TEST(RemovePair, TheLastPairMovesNothingAndShufflesNothing) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, {"A..", "..A"});
    g.Level = 10;
    f.seeds.Script = {testing::SeedWithoutBonus(g.Difficulty)};
    Click(g, 0, 0);
    Click(g, 2, 1);
    EXPECT_EQ(testing::TilesLeft(g), 0);
    EXPECT_EQ(f.host.Sounds, (Strings{"Alert", "Alert", "recycle"}));
    EXPECT_EQ(g.DXSpriteEngine.Root()->Count(), 0);
}

TEST(RemovePair, AShuffleClearsTheSelectionAndOnlyMatchingTilesOnTheBoardGo) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, kBoard);
    g.ShufflesLeft = 3;
    Click(g, 0, 0);
    g.wash1Click();
    EXPECT_FALSE(Active(g.Selected[0]));
    EXPECT_FALSE(Active(g.Selected[1]));
    EXPECT_EQ(g.ShufflesLeft, 2);

    // Slots that still remember a picture no longer on their cell: nothing is taken.
    BuildBoard(g, kBoard);
    Click(g, 0, 1); // A
    Click(g, 1, 1); // J
    g.Selected[1].Picture = At(g, 0, 1).Picture; // as if an A had stood there when selected
    g.TryRemovePair();
    EXPECT_EQ(testing::TilesLeft(g), 24);
    EXPECT_EQ(g.PairsRemoved, 0);
}

TEST(RemovePair, WithAutoPlayOnClickedPairsGoOnlyWithCornersAlreadyLinked) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, kBoard);
    g.AutoPlay = true;
    Click(g, 0, 0);
    Click(g, 0, 1);
    EXPECT_EQ(testing::TilesLeft(g), 24);
    g.LinkCorner[0].Linked = true;
    g.LinkCorner[1].Linked = true;
    Click(g, 0, 1); // deselect...
    Click(g, 0, 1); // ...and reactivate: the pair attempt runs again, without a link test
    EXPECT_TRUE(At(g, 0, 0).Removed);
    EXPECT_TRUE(At(g, 0, 1).Removed);
}

TEST(DrawLinkLine, FivePassesOfGreenTheFirstAtOnceEachOtherOnATurnOfItsOwn) {
    GameFixture f;
    TGame& g = f.game;
    FakeDrawControl draw;
    g.DXDraw = &draw;
    BuildBoard(g, {"A.A", "BCD", "BCD"});
    Click(g, 2, 0); // the right tile first: its slot ends up on the left after the exchange
    Click(g, 0, 0);
    ASSERT_EQ(g.PairsRemoved, 1);
    EXPECT_EQ(draw.Flips, 1);
    EXPECT_EQ(f.host.TurnsAsked, 1);
    EXPECT_FALSE(g.LinkLineShown);
    f.host.RunTurns(g);
    EXPECT_TRUE(g.LinkLineShown);
    EXPECT_EQ(g.LinkPassesLeft, 0);
    // Both corners are the empty cell between, so each pass runs both branches.
    const auto lines = draw.OpsOf(OpKind::Polyline);
    ASSERT_EQ(lines.size(), 25u);
    const TPoint middle{90 + 50 + 25, 60 + 18};
    for (const auto& op : lines) {
        EXPECT_EQ(op.PenColor, 0x8000u);
        EXPECT_EQ(op.PenWidth, 3);
    }
    EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{middle, middle}));
    EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{middle, {90 + 100 + 25, 78}}));
    EXPECT_EQ(lines[2].Points, (std::vector<TPoint>{middle, {90 + 25, 78}}));
    EXPECT_EQ(lines[5].Points, (std::vector<TPoint>{middle, middle}));
    EXPECT_EQ(lines[6].Points, (std::vector<TPoint>{middle, {90 + 25, 78}}));
    EXPECT_EQ(g.Selected[0].Col, 0);
    EXPECT_EQ(draw.Flips, 5);
    EXPECT_FALSE(g.Searching);

    // Auto-play draws all five at once; a vertical neighbour pair gives one leg pair a pass.
    f.host.TurnsAsked = 0;
    draw.Clear();
    g.AutoPlay = true;
    g.Searching = true;
    g.LinkCorner[0] = At(g, 1, 1);
    g.LinkCorner[1] = At(g, 1, 2);
    g.DrawLinkLine(0x8000);
    EXPECT_EQ(f.host.TurnsAsked, 0);
    EXPECT_EQ(draw.OpsOf(OpKind::Polyline).size(), 15u);
    EXPECT_FALSE(g.Searching);
}

// A pass that fails (the surface lost) ends the search all the same.
TEST(DrawLinkLine, AFailedPassStillEndsTheSearch) {
    GameFixture f;
    TGame& g = f.game;
    FakeDrawControl draw;
    g.DXDraw = &draw;
    BuildBoard(g, kBoard);
    g.LinkCorner[0] = At(g, 0, 0);
    g.LinkCorner[1] = At(g, 0, 1);
    g.AutoPlay = true;
    g.DrawLinkLine(0x8000);
    EXPECT_EQ(draw.OpsOf(OpKind::Polyline).size(), 15u);
    draw.FlipThrows = true;
    g.Searching = true;
    EXPECT_THROW(g.DrawLinkLine(0x8000), std::runtime_error);
    EXPECT_FALSE(g.Searching);
}

// A click between two passes is handled in full, a further removal included, and its line's
// passes follow the first line's.
TEST(DrawLinkLine, AClickWhileTheLineIsDrawnIsHandledInFull) {
    GameFixture f;
    TGame& g = f.game;
    FakeDrawControl draw;
    g.DXDraw = &draw;
    BuildBoard(g, kBoard);
    Click(g, 5, 0);
    Click(g, 5, 1);
    ASSERT_EQ(f.host.TurnsAsked, 1);
    Click(g, 4, 3);
    Click(g, 5, 3);
    EXPECT_EQ(g.PairsRemoved, 2);
    EXPECT_EQ(g.LinkPassesLeft, 8);
    f.host.RunTurns(g);
    EXPECT_EQ(draw.Flips, 10);
    EXPECT_EQ(Layout(g), (Strings{"ABCDE.", "AJKJL.", "MNOPQR", "GGST.."}));
    testing::ExpectBoardConsistent(g, false);
}

} // namespace
} // namespace pelmoravan
