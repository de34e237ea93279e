// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "core/screen_fixture.h"

namespace pelmoravan {
namespace {

using testing::DrawOp;
using testing::OpKind;

class FrameLoop : public testing::ScreenFixture {
protected:
    std::vector<OpKind> TickKinds(std::int32_t lag = 1) {
        draw.Clear();
        game.DXTimer1Timer(lag);
        return draw.Kinds();
    }
};

// Records the move counts the sprite step hands down.
class StepRecorder : public TSprite {
public:
    using TSprite::TSprite;
    void OnStep(std::int32_t moveCount) override { Steps.push_back(moveCount); }
    std::vector<std::int32_t> Steps;
};

class FailingSprite : public TSprite {
public:
    using TSprite::TSprite;
    void OnStep(std::int32_t) override { throw std::runtime_error("step failed"); }
};

// --- the guards ---

enum class Guard { Dialog, Shuffle, Search };

class GuardedTick : public FrameLoop, public ::testing::WithParamInterface<Guard> {};

TEST_P(GuardedTick, OnlyPresentsTheSurface) {
    game.StartGame(1);
    game.AutoPlay = true;
    game.SecondTicks = 9;
    game.Board[0][0].Sprite->MarkDead();
    keys.Down = {TKey::Escape, TKey::F9};
    switch (GetParam()) {
    case Guard::Dialog: game.DialogShown = true; break;
    case Guard::Shuffle: game.Shuffling = true; break;
    case Guard::Search: game.Searching = true; break;
    }

    EXPECT_EQ(TickKinds(), (std::vector<OpKind>{OpKind::Release, OpKind::Flip}));
    EXPECT_EQ(keys.Polls, 0);
    EXPECT_EQ(host.TerminateRequests, 0);
    EXPECT_EQ(host.SaveDialogs, 0);
    EXPECT_EQ(game.SecondTicks, 9);
    EXPECT_EQ(game.ElapsedSeconds, 0);
    EXPECT_EQ(game.AutoTicks, 0);
    EXPECT_EQ(LiveSprites(), 160); // no purge either
}

INSTANTIATE_TEST_SUITE_P(AllThree, GuardedTick,
                         ::testing::Values(Guard::Dialog, Guard::Shuffle, Guard::Search));

TEST_F(FrameLoop, TickDuringTheEndOfDifficultyQuestionChangesNothing) {
    game.StartGame(1);
    game.Level = 10;
    ClearBoard();
    host.Answers = {false};
    std::vector<OpKind> nested;
    std::int32_t secondTicksInside = -1;
    host.OnQuestion = [&] {
        const std::size_t before = draw.Ops().size();
        secondTicksInside = game.SecondTicks;
        game.DXTimer1Timer(1);
        EXPECT_EQ(game.SecondTicks, secondTicksInside);
        for (std::size_t i = before; i < draw.Ops().size(); ++i) {
            nested.push_back(draw.Ops()[i].Kind);
        }
    };

    // No banner after the tenth level, but the five ticks still pass before the question.
    Ticks(4);
    EXPECT_TRUE(host.Questions.empty());
    Ticks(1);
    ASSERT_EQ(host.Questions.size(), 1u);
    EXPECT_TRUE(game.DialogShown);
    host.AnswerAll();
    EXPECT_EQ(nested, (std::vector<OpKind>{OpKind::Release, OpKind::Flip}));
    EXPECT_EQ(game.GameState, TGameState::Title);
    EXPECT_FALSE(game.DialogShown);
}

// --- title screen ---

TEST_F(FrameLoop, TitleShowsTheLogoWavingAtOneAndAHalfTimesItsSize) {
    EXPECT_EQ(TickKinds(), (std::vector<OpKind>{OpKind::Fill, OpKind::WaveDraw, OpKind::Release,
                                                OpKind::Flip}));
    EXPECT_EQ(draw.Ops()[0].Value, 0u);
    const DrawOp& logo = draw.Ops()[1];
    EXPECT_EQ(logo.Image, "logo");
    EXPECT_EQ(logo.X, 128); // covers x 128..727, y 45..494 on 1016 x 690
    EXPECT_EQ(logo.Y, 45);
    EXPECT_EQ(logo.W, 600);
    EXPECT_EQ(logo.H, 450);
    EXPECT_EQ(logo.Pattern, 0);
    EXPECT_EQ(logo.Amplitude, 4);
    EXPECT_EQ(logo.Wavelength, 200);
    EXPECT_EQ(logo.Phase, 10);
    EXPECT_EQ(game.LogoTicks, 1);

    TickKinds();
    EXPECT_EQ(draw.OpsOf(OpKind::WaveDraw)[0].Phase, 20);
}

TEST_F(FrameLoop, FirstFrameShowsTheTitleAsItStandsWithoutATick) {
    draw.Clear();
    game.PresentTitleScreen();
    EXPECT_EQ(draw.Kinds(), (std::vector<OpKind>{OpKind::Fill, OpKind::WaveDraw, OpKind::Release, OpKind::Flip}));
    EXPECT_EQ(draw.OpsOf(OpKind::WaveDraw)[0].Phase, 0);
    EXPECT_EQ(game.LogoTicks, 0);
    EXPECT_EQ(keys.Polls, 0);
    TickKinds();
    EXPECT_EQ(draw.OpsOf(OpKind::WaveDraw)[0].Phase, 10); // the first tick's frame is unchanged

    game.StartGame(1);
    draw.Clear();
    game.PresentTitleScreen();
    EXPECT_TRUE(draw.Ops().empty());
}

TEST_F(FrameLoop, TitleOnASurfaceTooSmallForTheLogoStartsOffItsEdges) {
    draw.Fake().W = 694;
    draw.Fake().H = 428;
    TickKinds();
    const DrawOp logo = draw.OpsOf(OpKind::WaveDraw).at(0);
    EXPECT_EQ(logo.X, -33);
    EXPECT_EQ(logo.Y, -86);
}

// --- the game clock ---

TEST_F(FrameLoop, TenPlayingTicksMakeOneSecondWhateverTheLag) {
    game.StartGame(1);
    Ticks(9, 3); // late ticks still count once each
    EXPECT_EQ(game.ElapsedSeconds, 0);
    EXPECT_EQ(game.SecondTicks, 9);
    Ticks(1);
    EXPECT_EQ(game.ElapsedSeconds, 1);
    EXPECT_EQ(game.SecondTicks, 0);

    // A second is counted in frames of the timer's interval.
    game.TimerInterval = 50;
    Ticks(19);
    EXPECT_EQ(game.ElapsedSeconds, 1);
    Ticks(1);
    EXPECT_EQ(game.ElapsedSeconds, 2);
}

TEST_F(FrameLoop, LagCountGoesToTheSpritesOnly) {
    auto* recorder = new StepRecorder(game.DXSpriteEngine.Root()); // owned by the engine
    game.DXTimer1Timer(3);
    game.DXTimer1Timer(1);
    EXPECT_EQ(recorder->Steps, (std::vector<std::int32_t>{3, 1}));
    EXPECT_EQ(game.LogoTicks, 2);
}

TEST_F(FrameLoop, AFailingSpriteStepDoesNotStopTheFrame) {
    new FailingSprite(game.DXSpriteEngine.Root()); // owned by the engine
    EXPECT_EQ(TickKinds(), (std::vector<OpKind>{OpKind::Fill, OpKind::WaveDraw, OpKind::Release,
                                                OpKind::Flip}));
}

TEST_F(FrameLoop, NothingIsDrawnOrCountedWhileTheSurfaceCannotBeDrawn) {
    game.StartGame(1);
    draw.Drawable = false;
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(TickKinds().empty());
    }
    EXPECT_EQ(game.ElapsedSeconds, 0);
    EXPECT_EQ(game.SecondTicks, 0);
    EXPECT_EQ(keys.Polls, 10);
}

TEST_F(FrameLoop, APlayingFrameThatCannotBePresentedIsDropped) {
    game.StartGame(1);
    draw.FlipThrows = true;
    EXPECT_NO_THROW(game.DXTimer1Timer(1));
    EXPECT_EQ(game.SecondTicks, 1);
}

TEST_F(FrameLoop, AutoPlayStepsEverySecondPlayingTick) {
    game.StartGame(1);
    game.AutoPlay = true;
    std::vector<std::int32_t> counts;
    for (int i = 0; i < 5; ++i) {
        game.DXTimer1Timer(1);
        counts.push_back(game.AutoTicks);
    }
    EXPECT_EQ(counts, (std::vector<std::int32_t>{1, 0, 1, 0, 1}));

    // Paused, the pacing stands still; off, it does not count at all.
    game.GameState = TGameState::Paused;
    Ticks(3);
    EXPECT_EQ(game.AutoTicks, 1);
    game.GameState = TGameState::Playing;
    game.AutoPlay = false;
    Ticks(3);
    EXPECT_EQ(game.AutoTicks, 1);
}

TEST_F(FrameLoop, AutoPlayRemovesAtMostOnePairEveryTwoTicksAndShowsEachLinkLineOneFrame) {
    game.StartGame(1);
    game.AutoPlay = true;
    std::int32_t before = 0;
    int removals = 0;
    for (int i = 1; i <= 40; ++i) {
        draw.Clear();
        game.DXTimer1Timer(1);
        EXPECT_LE(game.PairsRemoved, i / 2) << i;
        const bool filled = !draw.OpsOf(OpKind::Fill).empty();
        if (game.PairsRemoved > before) {
            // The removal's frame keeps the board the line was drawn on.
            EXPECT_FALSE(filled) << i;
            removals += 1;
        } else if (i > 1) {
            EXPECT_TRUE(filled) << i;
        }
        before = game.PairsRemoved;
    }
    EXPECT_GE(removals, 5);
}

TEST_F(FrameLoop, AutoPlayClearsALevelAndTheLoopStartsTheNext) {
    game.StartGame(1);
    game.AutoPlay = true;
    int ticks = 0;
    while (game.Level == 1 && ticks < 3000) {
        game.DXTimer1Timer(1);
        ticks += 1;
    }
    EXPECT_EQ(game.Level, 2);
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_EQ(game.PairsRemoved, 0);
    EXPECT_EQ(LiveSprites(), 160);
    // 80 pairs at one per two ticks, then the five-tick pause; shuffles only add to that.
    EXPECT_GE(ticks, 80 * 2 + 5);
}

// --- time up and the game-over screen ---

TEST_F(FrameLoop, ThirtiethTickRunsOutOfTimeThenTwentyGameOverTicksThenTheTitle) {
    game.StartGame(1);
    game.ElapsedSeconds = game.TimeLimit - 3;
    game.SecondTicks = 0;
    game.Score = 777;
    game.Selected[0].Index = 4;
    game.Selected[1].Index = 9;

    Ticks(29);
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_EQ(game.ElapsedSeconds, game.TimeLimit - 1);

    // The 30th tick: time is up, and the frame it draws is an empty black surface.
    EXPECT_EQ(TickKinds(), (std::vector<OpKind>{OpKind::Fill, OpKind::Release, OpKind::Flip}));
    EXPECT_EQ(game.GameState, TGameState::GameOver);
    EXPECT_EQ(game.Selected[0].Index, -1);
    EXPECT_EQ(game.Selected[1].Index, -1);
    EXPECT_EQ(game.Score, 777);
    EXPECT_TRUE(host.Offers.empty());
    for (const auto& column : game.Board) {
        for (const TCell& cell : column) {
            EXPECT_TRUE(cell.Removed);
        }
    }
    for (std::int32_t i = 0; i < LiveSprites(); ++i) {
        EXPECT_TRUE(game.DXSpriteEngine.Root()->Items(i)->IsDead);
    }

    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(game.GameState, TGameState::GameOver) << i;
        // Over the last frame, not on a cleared surface.
        EXPECT_EQ(TickKinds(), (std::vector<OpKind>{OpKind::Draw, OpKind::Release, OpKind::Flip}));
        EXPECT_EQ(draw.Ops()[0].Image, "gameover");
        EXPECT_EQ(draw.Ops()[0].X, 408);
        EXPECT_EQ(draw.Ops()[0].Y, 270);
    }
    EXPECT_EQ(game.GameState, TGameState::Title);
    EXPECT_EQ(game.DisplayTicks, 0);
    EXPECT_EQ(game.Level, 1); // an empty engine after time-up is not a cleared level
    EXPECT_EQ(TickKinds()[1], OpKind::WaveDraw);
}

TEST_F(FrameLoop, ABonusCountLeftRunningShortensTheGameOverScreen) {
    game.GameState = TGameState::GameOver;
    game.DisplayTicks = 15;
    Ticks(4);
    EXPECT_EQ(game.GameState, TGameState::GameOver);
    Ticks(1);
    EXPECT_EQ(game.GameState, TGameState::Title);
}

TEST_F(FrameLoop, TimeBonusMovesThePointOfTimeUp) {
    game.StartGame(1);
    game.ElapsedSeconds = game.TimeLimit - 1;
    game.SecondTicks = 9;
    game.TimeLimit += 10;
    Ticks(1);
    EXPECT_EQ(game.GameState, TGameState::Playing);
    Ticks(99);
    EXPECT_EQ(game.GameState, TGameState::Playing);
    Ticks(1);
    EXPECT_EQ(game.GameState, TGameState::GameOver);
}

// --- pause ---

TEST_F(FrameLoop, PauseCoversTheTilesAndStopsEveryCounter) {
    game.StartGame(1);
    game.Board[2][3].Removed = true;
    game.Board[2][3].Sprite->MarkDead();
    game.Board[5][0].Removed = true;
    game.Board[5][0].Sprite->MarkDead();
    game.AutoPlay = true;
    game.BonusKind = 2;
    game.HintPair[0].Hinted = true;
    game.HintPair[1].Hinted = true;
    game.GameState = TGameState::Paused;
    game.SecondTicks = 7;

    for (int i = 0; i < 10; ++i) {
        TickKinds();
        const auto backs = draw.OpsOf(OpKind::StretchDraw);
        ASSERT_EQ(backs.size(), 158u);
        EXPECT_EQ(backs[0].Image, "back1");
        const auto& ops = draw.Ops();
        ASSERT_EQ(ops.size(), 158u + 3u);
        EXPECT_EQ(ops[158].Kind, OpKind::Draw);
        EXPECT_EQ(ops[158].Image, "back");
        EXPECT_EQ(ops[158].X, 408);
        EXPECT_EQ(ops[158].Y, 270);
        EXPECT_EQ(ops[159].Kind, OpKind::Release);
        EXPECT_EQ(ops[160].Kind, OpKind::Flip);
    }
    EXPECT_EQ(game.ElapsedSeconds, 0);
    EXPECT_EQ(game.SecondTicks, 7);
    EXPECT_EQ(game.AutoTicks, 0);
    EXPECT_EQ(game.DisplayTicks, 0);
    EXPECT_EQ(game.HintTicks, 0);
    EXPECT_EQ(game.PairsRemoved, 0);

    game.GameState = TGameState::Playing;
    game.AutoPlay = false; // a removal would move the clock from 0 to 1 by itself
    Ticks(3);
    EXPECT_EQ(game.ElapsedSeconds, 1);
}

// --- level cleared ---

TEST_F(FrameLoop, EmptiedBoardShowsTheNextNameForFiveTicksThenAdvances) {
    game.StartGame(1);
    game.PairsRemoved = 80;
    const std::int32_t enablesBefore = host.TimerEnables;
    ClearBoard();
    EXPECT_EQ(LiveSprites(), 160); // dead but counted until the next purge

    for (int i = 1; i <= 4; ++i) {
        TickKinds();
        EXPECT_NE(draw.TextOp("Second Step"), nullptr) << i;
        EXPECT_EQ(game.Level, 1);
        EXPECT_EQ(game.DisplayTicks, i);
    }
    TickKinds();
    EXPECT_EQ(game.Level, 2);
    EXPECT_EQ(game.PairsRemoved, 0);
    EXPECT_EQ(game.DisplayTicks, 0);
    EXPECT_EQ(game.ElapsedSeconds, 0);
    EXPECT_EQ(game.HintsLeft, 11);
    EXPECT_EQ(host.TimerEnables, enablesBefore + 1);
    EXPECT_EQ(LiveSprites(), 160);
}

TEST_F(FrameLoop, ClockRunsOnDuringTheLevelClearedPause) {
    game.StartGame(1);
    game.ElapsedSeconds = game.TimeLimit - 1;
    game.SecondTicks = 7;
    ClearBoard();
    Ticks(3); // the third tick reaches the limit before the pause is over
    EXPECT_EQ(game.GameState, TGameState::GameOver);
    Ticks(10);
    EXPECT_EQ(game.Level, 1);
}

// --- keys ---

class EscapeKey : public FrameLoop, public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(EscapeKey, EndsTheProgramOnEveryScreen) {
    game.StartGame(1);
    game.GameState = static_cast<TGameState>(GetParam());
    keys.Down = {TKey::Escape};
    EXPECT_TRUE(TickKinds().empty());
    EXPECT_EQ(host.TerminateRequests, 1);
    for (std::int32_t i = 0; i < LiveSprites(); ++i) {
        EXPECT_TRUE(game.DXSpriteEngine.Root()->Items(i)->IsDead);
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, EscapeKey, ::testing::Values(0, 1, 2, 3));

TEST_F(FrameLoop, F9OpensOneSaveDialogPerPress) {
    game.StartGame(1);
    keys.Down = {TKey::F9};
    Ticks(3); // held down over three ticks
    EXPECT_EQ(host.SaveDialogs, 1);
    EXPECT_EQ(draw.Flips, 3); // the tick goes on after the dialog
    host.AnswerAll();

    keys.Down.clear();
    Ticks(1);
    keys.Down = {TKey::F9};
    Ticks(1);
    EXPECT_EQ(host.SaveDialogs, 2);
}

TEST_F(FrameLoop, TicksWhileTheSaveDialogIsOpenOpenNoSecondOne) {
    game.StartGame(1);
    keys.Down = {TKey::F9};
    Ticks(1);
    Ticks(2);
    // Even a release and a new press seen while the first dialog is up opens nothing.
    keys.Down.clear();
    Ticks(1);
    keys.Down = {TKey::F9};
    Ticks(1);
    EXPECT_EQ(host.SaveDialogs, 1);
    EXPECT_EQ(game.SecondTicks, 5); // the nested ticks ran as frames
}

} // namespace
} // namespace pelmoravan
