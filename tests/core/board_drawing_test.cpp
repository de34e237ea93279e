// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/screen_fixture.h"

namespace pelmoravan {
namespace {

using testing::DrawOp;
using testing::FakeTextHeight;
using testing::FakeTextWidth;
using testing::OpKind;

constexpr TColor kBlack = 0;
constexpr TColor kRed = 255;
constexpr TColor kYellow = 65535;
constexpr TColor kWhite = 16777215;

class BoardDrawing : public testing::ScreenFixture {};

TEST_F(BoardDrawing, OneCellBackPictureAndMarksCoverTheirPixels) {
    OneTileAt(108, 40, 5);
    game.Selected[1].Index = 0;
    game.Selected[1].X = 108;
    game.Selected[1].Y = 40;

    game.DrawPlayingScreen();

    const auto images = draw.OpsOf(OpKind::StretchDraw);
    ASSERT_EQ(images.size(), 2u);
    // Back: x 108..164, y 40..84 (right and bottom exclusive).
    EXPECT_EQ(images[0].Image, "back1");
    EXPECT_EQ(images[0].Rect, (TRect{108, 40, 165, 85}));
    // Picture 5 is the item at position 5, named "6": x 108..157, y 40..76.
    EXPECT_EQ(images[1].Image, "6");
    EXPECT_EQ(images[1].Rect, (TRect{108, 40, 158, 77}));

    const auto lines = draw.OpsOf(OpKind::Polyline);
    ASSERT_EQ(lines.size(), 2u);
    // Pressed in: dark top and left, light bottom and right, along x 111 and 156, y 43 and 75.
    EXPECT_EQ(lines[0].PenColor, kBlack);
    EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{111, 75}, {111, 43}, {156, 43}}));
    EXPECT_EQ(lines[1].PenColor, kWhite);
    EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{{156, 43}, {156, 75}, {111, 75}}));
    for (const DrawOp& line : lines) {
        EXPECT_EQ(line.PenWidth, 3);
        EXPECT_EQ(line.BrushStyle, TBrushStyle::bsClear);
    }
}

TEST_F(BoardDrawing, FrameFillsThenAllBacksThenAllPicturesInBoardOrder) {
    game.StartGame(1);
    game.Level = 4;
    // Two gaps: an emptied cell, and a cell whose sprite is gone.
    game.Board[0][0].Removed = true;
    game.Board[3][2].Sprite = nullptr;

    game.DrawPlayingScreen();

    const auto& ops = draw.Ops();
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops[0].Kind, OpKind::Fill);
    EXPECT_EQ(ops[0].Value, 0u);
    std::vector<DrawOp> backs, pictures;
    for (const DrawOp& op : ops) {
        if (op.Kind == OpKind::StretchDraw) {
            (op.Image == "back4" ? backs : pictures).push_back(op);
            // No back may come after a picture: it would cover it.
            if (op.Image == "back4") {
                EXPECT_TRUE(pictures.empty());
            }
        }
    }
    ASSERT_EQ(backs.size(), 158u);
    ASSERT_EQ(pictures.size(), 158u);
    std::size_t n = 0;
    for (std::int32_t col = 0; col < game.BoardColumns; ++col) {
        for (std::int32_t row = 0; row < game.BoardRows; ++row) {
            const TCell& cell = game.Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
            if (cell.Removed || cell.Sprite == nullptr) {
                continue;
            }
            EXPECT_EQ(backs[n].Rect, (TRect{cell.X, cell.Y, cell.X + 57, cell.Y + 45}));
            EXPECT_EQ(pictures[n].Rect, (TRect{cell.X, cell.Y, cell.X + 50, cell.Y + 37}));
            EXPECT_EQ(pictures[n].Image, std::to_string(cell.Picture + 1));
            ++n;
        }
    }
}

TEST_F(BoardDrawing, AFailingPictureIsSkippedAndTheFrameGoesOn) {
    game.StartGame(1);
    draw.Fake().FailingImages.insert(std::to_string(game.Board[0][0].Picture + 1));
    std::int32_t failing = 0;
    for (const auto& column : game.Board) {
        for (const TCell& cell : column) {
            failing += cell.Picture == game.Board[0][0].Picture ? 1 : 0;
        }
    }

    game.DrawPlayingScreen();

    std::int32_t pictures = 0;
    for (const DrawOp& op : draw.OpsOf(OpKind::StretchDraw)) {
        pictures += op.Image.rfind("back", 0) == 0 ? 0 : 1;
    }
    EXPECT_EQ(pictures, 160 - failing);
    EXPECT_NE(draw.TextOp("Scores : 0"), nullptr);
}

TEST_F(BoardDrawing, SmallScreenBacksUseTheirOwnSize) {
    host.Screen = 900;
    game.StartGame(1);
    game.DrawPlayingScreen();
    const auto images = draw.OpsOf(OpKind::StretchDraw);
    const TCell& cell = game.Board[0][0];
    EXPECT_EQ(images.front().Rect, (TRect{cell.X, cell.Y, cell.X + 42, cell.Y + 33}));
    EXPECT_EQ(images.back().Rect.Right - images.back().Rect.Left, 37);
    EXPECT_EQ(images.back().Rect.Bottom - images.back().Rect.Top, 28);
}

// --- status band ---

class StatusBand : public testing::ScreenFixture {
protected:
    void SetUp() override {
        game.GameState = TGameState::Playing;
        game.Level = 2;
        game.TimeLimit = 480;
        game.HintsLeft = 7;
        game.ShufflesLeft = 3;
        game.Score = 1234;
    }
    // The red part of the bar, the second fill of the band.
    TRect Bar() {
        const auto fills = draw.OpsOf(OpKind::FillRect);
        EXPECT_EQ(fills.size(), 2u);
        return fills.size() == 2 ? fills[1].Rect : TRect{};
    }
};

TEST_F(StatusBand, BarAndFrameSitCentredOnTheDisplay) {
    game.ElapsedSeconds = 120;
    game.DrawStatusBand();

    const auto fills = draw.OpsOf(OpKind::FillRect);
    ASSERT_EQ(fills.size(), 2u);
    // On a 1024-pixel display the bar spans x 362..661 inside a white frame x 361..662.
    EXPECT_EQ(fills[0].Rect, (TRect{361, 9, 663, 31}));
    EXPECT_EQ(fills[0].BrushColor, kWhite);
    EXPECT_EQ(fills[0].BrushStyle, TBrushStyle::bsSolid);
    // 360 s of 480 left: round(0.75 x 300) = 225 pixels.
    EXPECT_EQ(fills[1].Rect, (TRect{362, 10, 362 + 225, 30}));
    EXPECT_EQ(fills[1].BrushColor, kRed);

    const DrawOp* score = draw.TextOp("Scores : 1234");
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(score->X, 682);
    EXPECT_EQ(score->Y, 10);
    EXPECT_EQ(score->FontColor, kRed);
    EXPECT_EQ(score->FontSize, 12);
}

TEST_F(StatusBand, BarWidthRoundsHalvesToEven) {
    // Seconds played of 480 -> red pixels. 44 and 308 seconds left are exact halves that a
    // double quotient misses, one above, one below.
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {479, 1}, {420, 38}, {300, 112}, {0, 300}, {436, 28}, {172, 192}};
    for (const auto& [elapsed, width] : cases) {
        draw.Clear();
        game.ElapsedSeconds = elapsed;
        game.DrawStatusBand();
        EXPECT_EQ(Bar().Right, 362 + width) << elapsed;
    }
}

TEST_F(StatusBand, FourWhiteLinesOnBlackBoxes) {
    game.ElapsedSeconds = 43;
    game.DrawStatusBand();

    const std::pair<std::string, std::int32_t> lines[] = {{"Remain Time : 437", 10},
                                                          {"Remain Hint(F4) : 7", 25},
                                                          {"Remain Shuffle(F5) : 3", 40},
                                                          {"Second Step", 55}};
    for (const auto& [text, y] : lines) {
        const DrawOp* op = draw.TextOp(text);
        ASSERT_NE(op, nullptr) << text;
        EXPECT_EQ(op->X, 10);
        EXPECT_EQ(op->Y, y);
        EXPECT_EQ(op->FontColor, kWhite);
        EXPECT_EQ(op->FontSize, 9);
        EXPECT_EQ(op->BrushStyle, TBrushStyle::bsSolid);
        EXPECT_EQ(op->BrushColor, kBlack);
    }
}

TEST_F(StatusBand, ChineseCountersEndWithTheirUnit) {
    game.Messages[11] = "剩余提示 : ";
    game.Messages[12] = "剩余重洗 : ";
    game.Messages[13] = " 次";
    game.DrawStatusBand();
    EXPECT_NE(draw.TextOp("剩余提示 : 7 次"), nullptr);
    EXPECT_NE(draw.TextOp("剩余重洗 : 3 次"), nullptr);
}

TEST_F(StatusBand, MovementRuleNameIsCentredInYellow) {
    game.DrawStatusBand();
    const DrawOp* rule = draw.TextOp("Left");
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->X, (1024 - FakeTextWidth(12, "Left")) / 2);
    EXPECT_EQ(rule->Y, 40);
    EXPECT_EQ(rule->FontColor, kYellow);
    EXPECT_EQ(rule->FontSize, 12);

    // Level 10 has its own name, not the tenth message.
    draw.Clear();
    game.Level = 10;
    game.DrawStatusBand();
    const std::string& name = game.Messages[42];
    const DrawOp* tenth = draw.TextOp(name);
    ASSERT_NE(tenth, nullptr);
    EXPECT_EQ(tenth->X, (1024 - FakeTextWidth(12, name)) / 2);
    EXPECT_NE(draw.TextOp("Tenth Step"), nullptr);
}

TEST_F(StatusBand, BonusMessageIsCentredOnItsNameAndEndsAfterThirtyFrames) {
    game.BonusKind = 3;
    game.BonusAmount = 350;
    game.DrawStatusBand();

    const DrawOp* bonus = draw.TextOp("350 Scores Add");
    ASSERT_NE(bonus, nullptr);
    EXPECT_EQ(bonus->X, (1024 - FakeTextWidth(12, "Scores Add")) / 2);
    EXPECT_EQ(bonus->Y, FakeTextHeight(12) + 10 + 20 + 20);
    EXPECT_EQ(bonus->FontColor, kRed);
    EXPECT_EQ(game.DisplayTicks, 1);

    for (int i = 2; i < 30; ++i) {
        game.DrawStatusBand();
    }
    EXPECT_EQ(game.BonusKind, 3);
    EXPECT_EQ(game.DisplayTicks, 29);
    game.DrawStatusBand();
    EXPECT_EQ(game.BonusKind, -1);
    EXPECT_EQ(game.DisplayTicks, 0);

    draw.Clear();
    game.DrawStatusBand();
    EXPECT_EQ(draw.OpsOf(OpKind::Text).size(), 6u); // the band alone
}

TEST_F(StatusBand, NoBonusMessageOutsideKindsOneToFour) {
    for (const std::int32_t kind : {-1, 0, 5, 6}) {
        draw.Clear();
        game.BonusKind = kind;
        game.BonusAmount = 1;
        game.DisplayTicks = 4;
        game.DrawStatusBand();
        EXPECT_EQ(draw.OpsOf(OpKind::Text).size(), 6u) << kind;
        EXPECT_EQ(game.BonusKind, kind);
        EXPECT_EQ(game.DisplayTicks, 4);
    }
}

TEST_F(StatusBand, UndrawableSurfaceDrawsNothingAndHoldsTheBonusCount) {
    game.BonusKind = 1;
    game.DisplayTicks = 29;
    draw.Drawable = false;
    game.DrawStatusBand();
    EXPECT_TRUE(draw.Ops().empty());
    EXPECT_EQ(game.BonusKind, 1);
    EXPECT_EQ(game.DisplayTicks, 29);
}

TEST_F(StatusBand, SkippedWithoutATimeLimit) {
    OneTileAt(108, 40, 5);
    game.TimeLimit = 0;
    game.DrawPlayingScreen();
    EXPECT_TRUE(draw.OpsOf(OpKind::Text).empty());
    EXPECT_TRUE(draw.OpsOf(OpKind::FillRect).empty());
}

// --- hint marks ---

class HintMarks : public testing::ScreenFixture {
protected:
    void SetUp() override {
        OneTileAt(108, 40, 5);
        game.HintPair[0].X = 108;
        game.HintPair[0].Y = 40;
        game.HintPair[1].X = 208;
        game.HintPair[1].Y = 77;
    }
};

TEST_F(HintMarks, TwoRaisedMarksForSixFrames) {
    game.HintPair[0].Hinted = true;
    game.HintPair[1].Hinted = true;

    game.DrawHintMarks();
    const auto lines = draw.OpsOf(OpKind::Polyline);
    ASSERT_EQ(lines.size(), 4u);
    // Raised: light top and left, dark bottom and right.
    EXPECT_EQ(lines[0].PenColor, kWhite);
    EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{111, 75}, {111, 43}, {156, 43}}));
    EXPECT_EQ(lines[1].PenColor, kBlack);
    EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{{156, 43}, {156, 75}, {111, 75}}));
    EXPECT_EQ(lines[2].Points, (std::vector<TPoint>{{211, 112}, {211, 80}, {256, 80}}));
    EXPECT_EQ(lines[2].PenWidth, 3);
    EXPECT_EQ(lines[2].BrushStyle, TBrushStyle::bsClear);
    EXPECT_EQ(game.HintTicks, 2);

    for (int frame = 2; frame <= 6; ++frame) {
        game.DrawHintMarks();
    }
    EXPECT_FALSE(game.HintPair[0].Hinted);
    EXPECT_FALSE(game.HintPair[1].Hinted);
    EXPECT_EQ(game.HintTicks, 0);
    EXPECT_EQ(draw.OpsOf(OpKind::Polyline).size(), 24u);

    game.DrawHintMarks();
    EXPECT_EQ(draw.OpsOf(OpKind::Polyline).size(), 24u);
}

TEST_F(HintMarks, SlotOneAloneIsNeverDrawn) {
    game.HintPair[1].Hinted = true;
    game.DrawHintMarks();
    EXPECT_TRUE(draw.Ops().empty());
    EXPECT_EQ(game.HintTicks, 0);
}

TEST_F(HintMarks, UndrawableSurfaceHoldsTheCountButStillTestsTheLimit) {
    game.HintPair[0].Hinted = true;
    game.HintPair[1].Hinted = true;
    draw.Drawable = false;
    game.HintTicks = 5;
    game.DrawHintMarks();
    EXPECT_EQ(game.HintTicks, 5);
    EXPECT_TRUE(game.HintPair[0].Hinted);

    game.HintTicks = 12;
    game.DrawHintMarks();
    EXPECT_FALSE(game.HintPair[0].Hinted);
    EXPECT_EQ(game.HintTicks, 0);
}

TEST_F(HintMarks, SelectionMarksComeBeforeHintMarks) {
    game.Selected[0].Index = 3;
    game.Selected[0].X = 308;
    game.Selected[0].Y = 40;
    game.HintPair[0].Hinted = true;
    game.HintPair[1].Hinted = true;
    game.DrawPlayingScreen();
    const auto lines = draw.OpsOf(OpKind::Polyline);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].Points[0], (TPoint{311, 75}));
    EXPECT_EQ(lines[0].PenColor, kBlack);
    EXPECT_EQ(lines[2].Points[0], (TPoint{111, 75}));
    EXPECT_EQ(lines[2].PenColor, kWhite);
}

// --- level-cleared banner and the link line ---

TEST_F(BoardDrawing, LevelClearedBannerNamesTheNextLevel) {
    OneTileAt(108, 40, 5);
    game.Level = 3;
    ClearBoard();
    game.DXSpriteEngine.PurgeDead();

    game.DrawPlayingScreen();

    const DrawOp* banner = draw.TextOp("Fourth Step");
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->X, (1024 - FakeTextWidth(30, "Fourth Step")) / 2);
    EXPECT_EQ(banner->Y, (690 - FakeTextHeight(30)) / 2);
    EXPECT_EQ(banner->FontColor, kRed);
    EXPECT_EQ(banner->FontSize, 30);
    EXPECT_EQ(game.DisplayTicks, 1);
    // The band is still there over the empty board.
    EXPECT_NE(draw.TextOp("Third Step"), nullptr);
}

TEST_F(BoardDrawing, NoBannerAfterTheTenthLevel) {
    OneTileAt(108, 40, 5);
    game.Level = 10;
    ClearBoard();
    game.DXSpriteEngine.PurgeDead();
    game.DrawPlayingScreen();
    for (const DrawOp& op : draw.OpsOf(OpKind::Text)) {
        EXPECT_NE(op.FontSize, 30) << op.Text;
    }
    EXPECT_EQ(game.DisplayTicks, 1);
}

TEST_F(BoardDrawing, FrameAfterALinkLineKeepsTheBoardUnderIt) {
    OneTileAt(108, 40, 5);
    game.LinkLineShown = true;

    game.DrawPlayingScreen();
    EXPECT_TRUE(draw.OpsOf(OpKind::Fill).empty());
    EXPECT_TRUE(draw.OpsOf(OpKind::StretchDraw).empty());
    EXPECT_NE(draw.TextOp("Scores : 0"), nullptr);
    EXPECT_FALSE(game.LinkLineShown);

    // Exactly one frame: the next one repaints the board.
    draw.Clear();
    game.DrawPlayingScreen();
    EXPECT_EQ(draw.OpsOf(OpKind::Fill).size(), 1u);
    EXPECT_EQ(draw.OpsOf(OpKind::StretchDraw).size(), 2u);
}

} // namespace
} // namespace pelmoravan
