// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/board_builder.h"
#include "core/screen_fixture.h"

namespace pelmoravan {
namespace {

using testing::ExpectBoardConsistent;

// Whole games on auto-play, every tick through the frame loop by hand, the end-of-difficulty
// questions answered from a script. The sanitizers watch for crashes and leaks; the checks below
// watch the board, the sprites, the score and the score list after every tick.
class Soak : public testing::ScreenFixture {
protected:
    // What one cleared difficulty left behind.
    struct Cleared {
        std::int32_t Difficulty;
        std::int32_t Levels;
        std::int32_t FinalScore;
    };

    Soak() {
        game.Messages[40] = "Congratulation!Next Level?";
        game.Messages[41] = "Congratulation! You Pass All Level,Again?";
        // While the question is open the timer goes on ticking: such a tick may only present.
        host.OnQuestion = [this] { NestedTick("the question"); };
    }

    void NestedTick(const char* during) {
        const std::int32_t level = game.Level;
        const std::int32_t score = game.Score;
        const std::int32_t pairs = game.PairsRemoved;
        const std::int32_t seconds = game.SecondTicks;
        const std::int32_t sprites = LiveSprites();
        game.DXTimer1Timer(1);
        NestedTicks += 1;
        EXPECT_EQ(game.Level, level) << during;
        EXPECT_EQ(game.Score, score) << during;
        EXPECT_EQ(game.PairsRemoved, pairs) << during;
        EXPECT_EQ(game.SecondTicks, seconds) << during;
        EXPECT_EQ(LiveSprites(), sprites) << during;
    }

    static std::int32_t DeadSprites(TGame& g) {
        TSpriteEngine* root = g.DXSpriteEngine.Root();
        std::int32_t dead = 0;
        for (std::int32_t i = 0; i < root->Count(); ++i) {
            dead += root->Items(i)->IsDead ? 1 : 0;
        }
        return dead;
    }

    // Ticks until the game is back on the title screen, stop() says enough, or the budget is
    // spent. Fails at the first tick that breaks a rule.
    template <typename Stop>
    void Play(int budget, Stop stop) {
        std::int32_t pairs = game.PairsRemoved;
        std::int32_t score = game.Score;
        std::int32_t level = game.Level;
        std::int32_t difficulty = game.Difficulty;
        std::int32_t tiles = game.TileCount;
        std::size_t offers = host.Offers.size();
        std::size_t sounds = host.Sounds.size();
        for (int tick = 0; tick < budget && game.GameState == TGameState::Playing && !stop(); ++tick) {
            game.DXTimer1Timer(1);
            host.AnswerAll(); // the dialogs after the tenth level, as the window answers them later
            draw.Clear(); // the frames themselves are other tests' business
            TickCount += 1;
            const auto where = [&] {
                return "tick " + std::to_string(TickCount) + ", difficulty " + std::to_string(difficulty) +
                       ", level " + std::to_string(level);
            };
            ASSERT_NE(game.GameState, TGameState::GameOver) << "time ran out at " << where();
            ASSERT_FALSE(game.DialogShown || game.Shuffling || game.Searching) << where();

            bool shuffled = false;
            for (std::size_t i = sounds; i < host.Sounds.size(); ++i) {
                shuffled = shuffled || host.Sounds[i] == "#4";
            }
            sounds = host.Sounds.size();

            const bool newOffer = host.Offers.size() != offers;
            if (newOffer) {
                // The end of a difficulty: offered once, with the score it ended on.
                ASSERT_EQ(host.Offers.size(), offers + 1) << where();
                ASSERT_EQ(level, 10) << where();
                ASSERT_EQ(pairs, tiles / 2) << "the tenth level was not cleared at " << where();
                EXPECT_TRUE(host.Offers.back().Enter);
                EXPECT_EQ(host.Offers.back().Score, score) << where();
                Done.push_back({difficulty, LevelsCleared + 1, score});
                LevelsCleared = 0;
                offers = host.Offers.size();
            } else if (game.Level != level) {
                ASSERT_EQ(game.Level, level + 1) << where();
                ASSERT_EQ(pairs, tiles / 2) << "a level ended with tiles left at " << where();
                LevelsCleared += 1;
            } else {
                ASSERT_EQ(game.Difficulty, difficulty) << where();
                ASSERT_GE(game.Score, score) << "the score fell at " << where();
                ASSERT_TRUE(game.PairsRemoved == pairs || game.PairsRemoved == pairs + 1) << where();
            }
            const bool removed = !newOffer && game.Level == level && game.PairsRemoved == pairs + 1;

            if (game.GameState == TGameState::Playing) {
                // One live sprite per tile left; the only dead ones are those this tick marked.
                // (LiveSprites counts the engine's list, dead ones included.)
                ASSERT_EQ(LiveSprites() - DeadSprites(game), game.TileCount - 2 * game.PairsRemoved)
                    << where();
                if (removed) {
                    ASSERT_EQ(DeadSprites(game), 2) << where();
                } else if (game.Level == level && !newOffer) {
                    ASSERT_EQ(DeadSprites(game), 0) << where();
                }
                if (removed || shuffled) {
                    Removals += removed ? 1 : 0;
                    Shuffles += shuffled ? 1 : 0;
                    ExpectBoardConsistent(game);
                    if (HasFatalFailure()) {
                        FAIL() << where();
                    }
                }
            }
            pairs = game.PairsRemoved;
            score = game.Score;
            level = game.Level;
            difficulty = game.Difficulty;
            tiles = game.TileCount;
        }
    }

    void Play(int budget) {
        Play(budget, [] { return false; });
    }

    // Auto-play switched on from the menu, as a player would, at level 1 of a new game.
    void StartOnAutoPlay(std::int32_t difficulty) {
        game.StartGame(difficulty);
        game.Auto1Click();
        ASSERT_TRUE(game.AutoPlay);
        ASSERT_TRUE(game.Auto1Checked);
        ASSERT_EQ(game.PairsRemoved, 2); // switching on takes two pairs at once
        game.DXSpriteEngine.PurgeDead();
        ExpectBoardConsistent(game);
    }

    std::int32_t TickCount = 0;
    std::int32_t NestedTicks = 0;
    std::int32_t LevelsCleared = 0;
    std::int32_t Removals = 0;
    std::int32_t Shuffles = 0;
    std::vector<Cleared> Done;
};

TEST_F(Soak, AllThirtyLevelsGoingOnTwiceThenStopping) {
    host.Answers = {true, true, false};
    StartOnAutoPlay(1);
    Play(40000);
    ASSERT_FALSE(HasFatalFailure());

    ASSERT_EQ(Done.size(), 3u);
    for (std::size_t i = 0; i < Done.size(); ++i) {
        EXPECT_EQ(Done[i].Difficulty, static_cast<std::int32_t>(i) + 1);
        EXPECT_EQ(Done[i].Levels, 10) << "difficulty " << Done[i].Difficulty;
        EXPECT_GT(Done[i].FinalScore, 0);
    }
    // Hard pays more per pair than Easy.
    EXPECT_LT(Done[0].FinalScore, Done[2].FinalScore);
    EXPECT_EQ(host.Questions, (std::vector<std::string>{game.Messages[40], game.Messages[40], game.Messages[41]}));
    EXPECT_EQ(std::count(host.Sounds.begin(), host.Sounds.end(), "tada"), 3);
    EXPECT_EQ(game.GameState, TGameState::Title);
    EXPECT_EQ(game.Level, 1);
    EXPECT_EQ(game.Difficulty, 3); // "No" keeps the difficulty that was just finished
    // Every level cleared pair by pair: 80, 96 and 120 pairs a level, two of them at switch-on.
    EXPECT_EQ(Removals + 2, 10 * (80 + 96 + 120));
    EXPECT_GT(Shuffles, 0);
    EXPECT_EQ(NestedTicks, 3); // one tick behind each question; a shuffle lets none in

    // The title screen carries on with the last board in memory.
    const std::int32_t logo = game.LogoTicks;
    Ticks(20);
    EXPECT_EQ(game.LogoTicks, logo + 20);
    EXPECT_EQ(host.Offers.size(), 3u);
}

TEST_F(Soak, StoppingAfterEasyOffersTheScoreOnceAndANewGameStartsClean) {
    host.Answers = {false};
    StartOnAutoPlay(1);
    Play(15000);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(Done.size(), 1u);
    EXPECT_EQ(Done[0].Difficulty, 1);
    EXPECT_EQ(Done[0].Levels, 10);
    EXPECT_EQ(host.Offers.size(), 1u);
    EXPECT_EQ(game.GameState, TGameState::Title);

    // The next game from the title: level 1 of Easy, a full board, nothing carried over.
    game.AutoPlay = false;
    game.Auto1Checked = false;
    game.StartGame(game.Difficulty);
    Ticks(1);
    EXPECT_EQ(game.Level, 1);
    EXPECT_EQ(game.Score, 0);
    EXPECT_EQ(game.PairsRemoved, 0);
    EXPECT_EQ(LiveSprites(), 160);
    EXPECT_EQ(DeadSprites(game), 0);
    ExpectBoardConsistent(game);
}

TEST_F(Soak, GoingOnAfterHardStartsEasyAfreshWithOneBoard) {
    host.Answers = {true};
    StartOnAutoPlay(3);
    Play(15000, [this] { return !host.Offers.empty(); });
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(Done.size(), 1u);
    EXPECT_EQ(Done[0].Difficulty, 3);
    EXPECT_EQ(Done[0].Levels, 10);
    EXPECT_EQ(host.Questions, std::vector<std::string>{game.Messages[41]});
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_EQ(game.Difficulty, 1);
    EXPECT_EQ(game.Level, 1);
    EXPECT_EQ(game.Score, 0);
    // The board is dealt twice after "Yes"; the first deal's sprites go at the next purge.
    EXPECT_EQ(LiveSprites(), 2 * 160);
    EXPECT_EQ(DeadSprites(game), 160);
    Ticks(1);
    EXPECT_LE(DeadSprites(game), 2); // a pair auto-play may just have taken
    EXPECT_EQ(LiveSprites() - DeadSprites(game), 160 - 2 * game.PairsRemoved);
    ExpectBoardConsistent(game);
    // And auto-play goes on into the new game.
    Play(200);
    EXPECT_GT(game.PairsRemoved, 0);
    EXPECT_EQ(game.Difficulty, 1);
}

} // namespace
} // namespace pelmoravan
