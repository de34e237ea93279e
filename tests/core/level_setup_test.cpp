// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/fakes.h"
#include "game/tile_sprite.h"

namespace pelmoravan {
namespace {

using testing::GameFixture;

std::map<std::int32_t, int> PictureCounts(const TGame& g) {
    std::map<std::int32_t, int> counts;
    for (const auto& column : g.Board) {
        for (const TCell& cell : column) {
            if (!cell.Removed) {
                counts[cell.Picture] += 1;
            }
        }
    }
    return counts;
}

// How many pictures cover 4, 6 and 8 tiles.
std::map<int, int> GroupSizes(const std::map<std::int32_t, int>& counts) {
    std::map<int, int> sizes;
    for (const auto& [picture, n] : counts) {
        if (picture != 1) {
            sizes[n] += 1;
        }
    }
    return sizes;
}

struct DealCase {
    std::int32_t Difficulty;
    std::int32_t Columns, Rows;
    int Distinct;
    std::map<int, int> Sizes; // tiles per picture -> pictures, picture 1 left out
};

class DealStatistics : public ::testing::TestWithParam<DealCase> {};

TEST_P(DealStatistics, EveryLevelDealsTheSameShapeOfPictures) {
    const DealCase c = GetParam();
    for (std::uint32_t seed : {1u, 99u, 123456789u, 0xFFFFFFF0u}) {
        GameFixture f;
        f.seeds.Next = seed;
        f.game.StartGame(c.Difficulty);
        for (int level = 1; level <= 10; ++level) {
            const TGame& g = f.game;
            ASSERT_EQ(g.BoardColumns, c.Columns);
            ASSERT_EQ(g.BoardRows, c.Rows);
            const auto counts = PictureCounts(g);
            EXPECT_EQ(static_cast<int>(counts.size()), c.Distinct) << "level " << level;
            EXPECT_EQ(counts.at(1), 8);
            EXPECT_EQ(GroupSizes(counts), c.Sizes);
            EXPECT_FALSE(counts.contains(100));
            for (const auto& [picture, n] : counts) {
                EXPECT_GE(picture, 1);
                EXPECT_LE(picture, 99);
                EXPECT_EQ(n % 2, 0);
            }
            f.game.AdvanceLevel();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    ByDifficulty, DealStatistics,
    ::testing::Values(DealCase{1, 16, 10, 31, {{4, 22}, {8, 8}}},
                      DealCase{2, 16, 12, 43, {{4, 38}, {8, 4}}},
                      DealCase{3, 16, 15, 55, {{4, 46}, {6, 8}}}));

TEST(Deal, WalksColumnsInGroupsBeforeTheMix) {
    GameFixture f;
    TGame& g = f.game;
    g.GameState = TGameState::Playing;
    g.Difficulty = 1;
    g.Level = 1;
    g.CellWidth = 50;
    g.CellHeight = 37;
    // Stop before the mix by looking at the deal through the indices the mix carries along:
    // the tile with Index j was dealt at column j / rows, row j % rows.
    g.SetupLevel();
    std::map<std::int32_t, std::int32_t> pictureOfIndex;
    std::set<std::int32_t> indices;
    for (const auto& column : g.Board) {
        for (const TCell& cell : column) {
            pictureOfIndex[cell.Index] = cell.Picture;
            indices.insert(cell.Index);
        }
    }
    ASSERT_EQ(indices.size(), 160u);
    EXPECT_EQ(*indices.begin(), 0);
    EXPECT_EQ(*indices.rbegin(), 159);
    // Batch A: groups of 4 consecutive indices; picture 1 covers the first two groups.
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(pictureOfIndex[j], 1) << j;
    }
    for (int start = 8; start < 96; start += 4) {
        for (int j = start; j < start + 4; ++j) {
            EXPECT_EQ(pictureOfIndex[j], pictureOfIndex[start]) << j;
        }
        EXPECT_NE(pictureOfIndex[start], pictureOfIndex[start - 1]) << start;
    }
    // Batch B: groups of 8.
    for (int start = 96; start < 160; start += 8) {
        for (int j = start; j < start + 8; ++j) {
            EXPECT_EQ(pictureOfIndex[j], pictureOfIndex[start]) << j;
        }
    }
}

TEST(Deal, DrawsFromTheReseededGeneratorBeforeEachGroup) {
    // Two games whose counter gives the same values deal the same pictures.
    GameFixture a;
    GameFixture b;
    a.seeds.Next = b.seeds.Next = 4242;
    a.game.StartGame(2);
    b.game.StartGame(2);
    EXPECT_EQ(PictureCounts(a.game), PictureCounts(b.game));
    // Easy: a reseed after every full group (24 in batch A, 8 in batch B), then the mix: one
    // at its start and two per round.
    GameFixture c;
    c.game.StartGame(1);
    EXPECT_EQ(c.seeds.Calls, 24 + 8 + 1 + 271 * 2);
}

TEST(Deal, FallsBackToPictureOneBeyondTheImageList) {
    GameFixture f;
    f.pictures = testing::MakeTilePictures(10);
    f.game.ImageList = f.pictures.get();
    f.game.StartGame(1);
    for (const auto& [picture, n] : PictureCounts(f.game)) {
        EXPECT_LE(picture, 10);
        EXPECT_EQ(n % 2, 0);
    }
}

TEST(Deal, PlacesCellsOnThePitchCentredOnTheSurface) {
    GameFixture f;
    f.host.Width = 1024;
    f.host.Height = 700;
    f.game.StartGame(1);
    const TGame& g = f.game;
    EXPECT_EQ(g.BoardLeft, (1024 - 16 * 50) / 2);
    EXPECT_EQ(g.BoardTop, (700 - 10 * 37) / 2);
    for (int col = 0; col < g.BoardColumns; ++col) {
        for (int row = 0; row < g.BoardRows; ++row) {
            const TCell& cell = g.Board[col][row];
            EXPECT_EQ(cell.Col, col);
            EXPECT_EQ(cell.Row, row);
            EXPECT_EQ(cell.X, col * 50 + g.BoardLeft);
            EXPECT_EQ(cell.Y, row * 37 + g.BoardTop);
            EXPECT_FALSE(cell.Removed);
        }
    }
    // A surface narrower than the board puts the left edge off screen, truncating toward zero.
    f.host.Width = 799;
    f.game.StartGame(1);
    EXPECT_EQ(f.game.BoardLeft, 0);
    f.host.Width = 797;
    f.game.StartGame(1);
    EXPECT_EQ(f.game.BoardLeft, -1);
}

TEST(ChooseBoardSize, GivesTheMostNearlySquareRectangle) {
    const std::vector<std::tuple<int, int, int>> cases = {
        {160, 16, 10}, {192, 16, 12}, {240, 16, 15}, {1, 1, 1}, {7, 7, 1}, {16, 4, 4}, {2, 2, 1}};
    for (auto [n, columns, rows] : cases) {
        std::int32_t c = 0, r = 0;
        TGame::ChooseBoardSize(n, c, r);
        EXPECT_EQ(c, columns) << n;
        EXPECT_EQ(r, rows) << n;
    }
}

TEST(StartGame, SetsTheLevelValues) {
    GameFixture f;
    TGame& g = f.game;
    g.StartGame(1);
    EXPECT_EQ(g.GameState, TGameState::Playing);
    EXPECT_EQ(g.Level, 1);
    EXPECT_EQ(g.HintsLeft, 10);
    EXPECT_EQ(g.ShufflesLeft, 10);
    EXPECT_EQ(g.TimeLimit, 480);
    EXPECT_EQ(g.PairSeconds, 4); // round(360 / 80) = 4.5 -> 4
    EXPECT_EQ(g.LevelPoints, 1000 + 500);
    EXPECT_EQ(g.PairPoints, 19); // 1500 / 80 = 18.75
    EXPECT_EQ(g.CellWidth, 50);
    EXPECT_EQ(g.CellHeight, 37);
    EXPECT_EQ(g.TileDrawWidth, 57);
    EXPECT_EQ(g.TileDrawHeight, 45);
    EXPECT_EQ(g.Selected[0].Index, -1);
    EXPECT_EQ(g.Selected[1].Index, -1);
    EXPECT_EQ(f.host.TimerEnables, 1);

    g.HintsLeft = 3;
    g.ElapsedSeconds = 77;
    g.SecondTicks = 5;
    g.AdvanceLevel();
    EXPECT_EQ(g.Level, 2);
    EXPECT_EQ(g.PairSeconds, 6); // round(480 / 80)
    EXPECT_EQ(g.HintsLeft, 4);
    EXPECT_EQ(g.ShufflesLeft, 11);
    EXPECT_EQ(g.ElapsedSeconds, 0);
    EXPECT_EQ(g.SecondTicks, 0);
    EXPECT_EQ(f.host.TimerEnables, 2);
}

TEST(StartGame, NormalLevelThreeScoresFiftySevenAPair) {
    GameFixture f;
    f.game.StartGame(2);
    f.game.AdvanceLevel();
    f.game.AdvanceLevel();
    EXPECT_EQ(f.game.LevelPoints, 5500);
    EXPECT_EQ(f.game.PairPoints, 57);
    EXPECT_EQ(f.game.TimeLimit, 540);
}

TEST(StartGame, IgnoredWhilePausedAndAdvanceOnlyWhilePlaying) {
    GameFixture f;
    TGame& g = f.game;
    g.AdvanceLevel();
    EXPECT_EQ(g.Level, 0);
    g.StartGame(1);
    g.GameState = TGameState::Paused;
    g.Score = 50;
    g.StartGame(3);
    EXPECT_EQ(g.Difficulty, 1);
    EXPECT_EQ(g.Score, 50);
    g.AdvanceLevel();
    EXPECT_EQ(g.Level, 1);
}

TEST(StartGame, SmallScreenShrinksCellsAndStaysSet) {
    GameFixture f;
    f.host.Screen = 800;
    f.host.Width = 800;
    f.host.Height = 560;
    f.game.StartGame(1);
    EXPECT_TRUE(f.game.SmallScreen);
    EXPECT_EQ(f.game.CellWidth, 37);
    EXPECT_EQ(f.game.CellHeight, 28);
    EXPECT_EQ(f.game.TileDrawWidth, 42);
    EXPECT_EQ(f.game.TileDrawHeight, 33);
    EXPECT_EQ(f.game.BoardTop, (560 - 10 * 28) / 2 + 28);
    f.host.Screen = 1280;
    f.game.StartGame(1);
    EXPECT_TRUE(f.game.SmallScreen);
    EXPECT_EQ(f.game.CellWidth, 37);

    GameFixture wide;
    wide.host.Screen = 1024;
    wide.game.StartGame(1);
    EXPECT_FALSE(wide.game.SmallScreen);
    GameFixture narrow;
    narrow.host.Screen = 799;
    narrow.game.StartGame(1);
    EXPECT_FALSE(narrow.game.SmallScreen);
}

// Plays levels 1..10 by advancing, leaving the tenth level's set-up to the question.
void ClearTenLevels(TGame& g) {
    for (int level = 1; level <= 10; ++level) {
        g.AdvanceLevel();
    }
}

TEST(EndOfDifficulty, YesOnHardStartsEasyAfreshAndOffersTheScoreOnce) {
    GameFixture f;
    TGame& g = f.game;
    g.Messages[40] = "next";
    g.Messages[41] = "again";
    g.StartGame(3);
    g.Score = 12345;
    f.host.Answers = {true};
    ClearTenLevels(g);
    f.host.AnswerAll();
    ASSERT_EQ(f.host.Questions.size(), 1u);
    EXPECT_EQ(f.host.Questions[0], "again");
    ASSERT_EQ(f.host.Offers.size(), 1u);
    EXPECT_TRUE(f.host.Offers[0].Enter);
    EXPECT_EQ(f.host.Offers[0].Score, 12345);
    EXPECT_EQ(f.host.Sounds, std::vector<std::string>{"tada"});
    EXPECT_EQ(g.GameState, TGameState::Playing);
    EXPECT_EQ(g.Difficulty, 1);
    EXPECT_EQ(g.Level, 1);
    EXPECT_EQ(g.Score, 0);
    EXPECT_FALSE(g.DialogShown);
    EXPECT_EQ(g.BoardColumns, 16);
    EXPECT_EQ(g.BoardRows, 10);
    EXPECT_EQ(g.TimeLimit, 480);
    EXPECT_EQ(g.PairSeconds, 6); // from the 480 s the first of the two set-ups left, not 360
    // The board was dealt twice; the engine holds the second deal's sprites and the dead
    // first ones until the purge.
    g.DXSpriteEngine.PurgeDead();
    EXPECT_EQ(g.DXSpriteEngine.Root()->Count(), 160);
    for (const auto& column : g.Board) {
        for (const TCell& cell : column) {
            EXPECT_FALSE(cell.Removed);
            EXPECT_FALSE(cell.Sprite->IsDead);
        }
    }
}

TEST(EndOfDifficulty, YesOnEasyGoesOnToNormal) {
    GameFixture f;
    f.game.Messages[40] = "next";
    f.game.StartGame(1);
    f.host.Answers = {true};
    ClearTenLevels(f.game);
    f.host.AnswerAll();
    EXPECT_EQ(f.host.Questions, std::vector<std::string>{"next"});
    EXPECT_EQ(f.game.Difficulty, 2);
    EXPECT_EQ(f.game.BoardRows, 12);
    EXPECT_EQ(f.game.TileCount, 192);
    EXPECT_EQ(f.game.PairSeconds, 6); // Rnd(540 / 96), not Rnd(420 / 96)
}

TEST(EndOfDifficulty, NoReturnsToTheTitleAndOffersTheScoreOnlyOnce) {
    for (int difficulty = 1; difficulty <= 3; ++difficulty) {
        GameFixture f;
        TGame& g = f.game;
        g.StartGame(difficulty);
        g.Score = 900 + difficulty;
        f.host.Answers = {false};
        ClearTenLevels(g);
        f.host.AnswerAll();
        EXPECT_EQ(g.GameState, TGameState::Title);
        EXPECT_EQ(g.Level, 1);
        ASSERT_EQ(f.host.Offers.size(), 1u) << difficulty;
        EXPECT_EQ(f.host.Offers[0].Score, 900 + difficulty);
        EXPECT_FALSE(g.DialogShown);
        EXPECT_EQ(g.Score, 900 + difficulty);
    }
}

// The set-up after the tenth level waits for the answer: until then the question is open with
// the guard set, and a tick changes nothing behind it.
TEST(EndOfDifficulty, NothingMovesUntilTheQuestionIsAnswered) {
    GameFixture f;
    TGame& g = f.game;
    g.StartGame(1);
    ClearTenLevels(g);
    ASSERT_EQ(f.host.Questions.size(), 1u);
    EXPECT_TRUE(g.DialogShown);
    EXPECT_EQ(g.Level, 1);
    const std::int32_t seconds = g.SecondTicks;
    f.host.OnQuestion = [&] { g.DXTimer1Timer(1); };
    f.host.Answers = {false};
    f.host.AnswerAll();
    EXPECT_EQ(g.SecondTicks, seconds);
    EXPECT_FALSE(g.DialogShown);
    EXPECT_EQ(g.GameState, TGameState::Title);
}

TEST(SetupLevel, TitleScreenComputesValuesButBuildsNoBoard) {
    GameFixture f;
    TGame& g = f.game;
    g.Difficulty = 2;
    g.Level = 1;
    g.DifficultyPoints = 1000;
    g.LevelStepPoints = 500;
    g.SetupLevel();
    EXPECT_EQ(g.TileCount, 192);
    EXPECT_EQ(g.TimeLimit, 540);
    EXPECT_TRUE(g.Board.empty());
    EXPECT_EQ(g.DXSpriteEngine.Root()->Count(), 0);
}

TEST(CreateTileSprites, MirrorsEveryCellInIndexOrder) {
    GameFixture f;
    TGame& g = f.game;
    g.StartGame(1);
    TSpriteEngine* root = g.DXSpriteEngine.Root();
    ASSERT_EQ(root->Count(), 160);
    for (std::int32_t i = 0; i < root->Count(); ++i) {
        auto* s = dynamic_cast<TMonoSprite*>(root->Items(i));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Index, i);
        EXPECT_EQ(s->Z, 2);
        EXPECT_EQ(s->Width, 50);
        EXPECT_EQ(s->Height, 37);
        ASSERT_NE(s->Image, nullptr);
        EXPECT_EQ(s->Image->Name, std::to_string(s->Picture));
    }
    for (const auto& column : g.Board) {
        for (const TCell& cell : column) {
            const TMonoSprite* s = cell.Sprite;
            EXPECT_EQ(s->Index, cell.Index);
            EXPECT_EQ(s->Picture, cell.Picture);
            EXPECT_EQ(s->Col, cell.Col);
            EXPECT_EQ(s->Row, cell.Row);
            EXPECT_EQ(s->X, cell.X);
            EXPECT_EQ(s->Y, cell.Y);
        }
    }
    // The next level queues the old sprites dead; both generations count until the purge.
    g.AdvanceLevel();
    EXPECT_EQ(root->Count(), 320);
    EXPECT_EQ(root->SpriteTotal, 320);
    g.DXSpriteEngine.PurgeDead();
    EXPECT_EQ(root->Count(), 160);
    EXPECT_EQ(dynamic_cast<TMonoSprite*>(root->Items(0))->Index, 0);
}

} // namespace
} // namespace pelmoravan
