#include <gtest/gtest.h>

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
    game.GameState = GetParam().State;
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
