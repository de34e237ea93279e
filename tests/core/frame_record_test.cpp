// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/screen_fixture.h"
#include "media/canvas_state.h"
#include "media/frame_record.h"

namespace pelmoravan {
namespace {

using testing::OpKind;

// The front ends' play surface: the game's drawing kept by the record, painted on a logging
// device, and presented only when the record says so.
class RecordedDraw final : public IDrawControl {
public:
    testing::FakeSurface Device{1016, 690};
    TFrameRecord Record{Device};
    TCanvas Canvas{Record};
    int Presents = 0;

    bool CanDraw() override { return true; }
    void Flip() override {
        if (Record.EndFrame()) {
            ++Presents;
        }
    }
    ISurface& Surface() override { return Canvas; }
};

class FrameRecord : public testing::ScreenFixture {
protected:
    RecordedDraw recorded;

    FrameRecord() { game.DXDraw = &recorded; }

    // What one tick painted, and whether it was presented.
    std::size_t Tick(bool& presented) {
        recorded.Device.Ops.clear();
        const int before = recorded.Presents;
        game.DXTimer1Timer(1);
        presented = recorded.Presents > before;
        return recorded.Device.Ops.size();
    }
};

struct TScreenCase {
    const char* Name;
    std::int32_t State;
    bool Moves; // the screen changes from one tick to the next
};

class RepeatedTick : public FrameRecord, public ::testing::WithParamInterface<TScreenCase> {};

TEST_P(RepeatedTick, PaintsAndPresentsOnlyWhatChanges) {
    game.StartGame(1);
    game.GameState = static_cast<TGameState>(GetParam().State);
    bool presented = false;
    EXPECT_GT(Tick(presented), 0u);
    EXPECT_TRUE(presented);
    const std::size_t painted = Tick(presented);
    EXPECT_EQ(presented, GetParam().Moves);
    EXPECT_EQ(painted > 0, GetParam().Moves);
}

INSTANTIATE_TEST_SUITE_P(Screens, RepeatedTick,
                         ::testing::Values(TScreenCase{"Title", 0, true}, TScreenCase{"Playing", 1, false},
                                           TScreenCase{"Paused", 2, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

enum class Outside { LinkLine, Resize };

class DrawnOutsideTheTick : public FrameRecord, public ::testing::WithParamInterface<Outside> {};

TEST_P(DrawnOutsideTheTick, MakesTheNextTickPaintAndPresentInFull) {
    game.StartGame(1);
    bool presented = false;
    const std::size_t full = Tick(presented);
    Tick(presented);
    ASSERT_FALSE(presented);
    switch (GetParam()) {
    case Outside::LinkLine:
        recorded.Canvas.SetPenWidth(3);
        recorded.Canvas.Polyline({{10, 10}, {60, 10}});
        recorded.Flip();
        EXPECT_EQ(recorded.Presents, 2);
        break;
    case Outside::Resize:
        recorded.Record.Invalidate();
        break;
    }
    EXPECT_EQ(Tick(presented), full);
    EXPECT_TRUE(presented);
    Tick(presented);
    EXPECT_FALSE(presented);
}

INSTANTIATE_TEST_SUITE_P(Cases, DrawnOutsideTheTick,
                         ::testing::Values(Outside::LinkLine, Outside::Resize));

// A frame drawn over the last one, without a fill first, as the paused and game-over screens do.
struct TOverlayCase {
    const char* Name;
    void (*Draw)(ISurface& surface, const TPictureCollectionItem& picture);
    bool PaintsAgain; // drawn twice, its pixels would differ from drawn once
};

class RepeatedOverlay : public ::testing::TestWithParam<TOverlayCase> {};

TEST_P(RepeatedOverlay, IsSkippedOnlyWhenDrawingItAgainChangesNothing) {
    testing::FakeSurface device{200, 100};
    TFrameRecord record{device};
    TCanvas canvas{record};
    TPictureCollectionItem picture;
    picture.Picture = std::make_shared<testing::FakePicture>(40, 30);
    for (int frame = 0; frame < 3; ++frame) {
        device.Ops.clear();
        GetParam().Draw(canvas, picture);
        EXPECT_EQ(record.EndFrame(), frame == 0 || GetParam().PaintsAgain) << "frame " << frame;
        EXPECT_EQ(device.Ops.empty(), frame > 0 && !GetParam().PaintsAgain) << "frame " << frame;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RepeatedOverlay,
    ::testing::Values(
        TOverlayCase{"Pictures", [](ISurface& s, const TPictureCollectionItem& p) {
                         s.Draw(p, 5, 5, 0);
                         s.StretchDraw(p, {50, 5, 90, 35}, 0);
                         s.Canvas().FillRect({0, 0, 4, 4});
                     }, false},
        // Glyph edges and strokes blend with what is under them.
        TOverlayCase{"Text", [](ISurface& s, const TPictureCollectionItem& p) {
                         s.Draw(p, 5, 5, 0);
                         s.Canvas().SetBrushStyle(TBrushStyle::bsClear);
                         s.Canvas().TextOut(5, 5, "Pause");
                     }, true},
        TOverlayCase{"Line", [](ISurface& s, const TPictureCollectionItem&) {
                         s.Canvas().Polyline({{1, 1}, {30, 20}});
                     }, true}),
    [](const auto& info) { return std::string(info.param.Name); });

// Two frames alike but for one change: the blocks reported changed cover the change, where it
// was and where it went, and nothing far from it.
struct TDamageCase {
    const char* Name;
    std::uint32_t Fill = 0;
    TPoint Picture{10, 10};
    std::string Text = "Time : 120";
    TRect Covered;        // must be reported
    bool Everything = false;
};

class FrameDamage : public ::testing::TestWithParam<TDamageCase> {};

TEST_P(FrameDamage, CoversWhatChangedAndLittleElse) {
    testing::FakeSurface device{640, 320};
    TFrameRecord record{device, true};
    TCanvas canvas{record};
    TPictureCollectionItem picture;
    picture.Picture = std::make_shared<testing::FakePicture>(40, 30);
    auto frame = [&](const TDamageCase& f) {
        canvas.Fill(f.Fill);
        canvas.Draw(picture, f.Picture.X, f.Picture.Y, 0);
        canvas.TextOut(400, 250, f.Text);
        ASSERT_TRUE(record.EndFrame());
    };
    frame(TDamageCase{});
    const std::vector<TRect> first = record.TakeChanged();
    ASSERT_EQ(first, (std::vector<TRect>{{0, 0, 640, 32}, {0, 32, 640, 64}, {0, 64, 640, 96}, {0, 96, 640, 128},
                                         {0, 128, 640, 160}, {0, 160, 640, 192}, {0, 192, 640, 224},
                                         {0, 224, 640, 256}, {0, 256, 640, 288}, {0, 288, 640, 320}}));
    frame(GetParam());
    const std::vector<TRect> changed = record.TakeChanged();
    std::int64_t area = 0;
    for (const TRect& r : changed) {
        area += std::int64_t{r.Right - r.Left} * (r.Bottom - r.Top);
    }
    bool covered = true;
    const TRect& c = GetParam().Covered;
    for (std::int32_t y = c.Top; y < c.Bottom; ++y) {
        for (std::int32_t x = c.Left; x < c.Right; ++x) {
            covered = covered && std::any_of(changed.begin(), changed.end(), [&](const TRect& r) {
                          return r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom;
                      });
        }
    }
    if (GetParam().Everything) {
        EXPECT_EQ(area, 640 * 320);
    } else {
        EXPECT_TRUE(covered);
        EXPECT_LE(area, 640 * 320 / 4);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FrameDamage,
    ::testing::Values(TDamageCase{"PictureMoved", 0, {300, 100}, "Time : 120", {300, 100, 340, 130}},
                      TDamageCase{"PictureWasHere", 0, {300, 100}, "Time : 120", {10, 10, 50, 40}},
                      TDamageCase{"TextChanged", 0, {10, 10}, "Time : 119", {400, 250, 400 + 80, 250 + 10}},
                      TDamageCase{"FillChanged", 0x10, {10, 10}, "Time : 120", {}, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FrameRecord, APaintedFrameKeepsTheOrderOfItsCalls) {
    game.StartGame(1);
    game.DXDraw = &draw;
    game.DXTimer1Timer(1);
    const std::vector<OpKind> direct = draw.Kinds();
    game.DXDraw = &recorded;
    bool presented = false;
    Tick(presented);
    std::vector<OpKind> kept;
    for (const auto& op : recorded.Device.Ops) {
        kept.push_back(op.Kind);
    }
    // The direct surface logs the game's releases and the flip; the record releases once.
    std::erase(kept, OpKind::Release);
    std::vector<OpKind> expected = direct;
    std::erase(expected, OpKind::Release);
    std::erase(expected, OpKind::Flip);
    EXPECT_EQ(kept, expected);
}

} // namespace
} // namespace pelmoravan
