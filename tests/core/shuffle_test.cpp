// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>

#include "core/board_builder.h"
#include "game/tile_sprite.h"

namespace pelmoravan {
namespace {

using testing::GameFixture;

std::map<std::int32_t, int> Pictures(const TGame& g) {
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

void ExpectSpritesAtTheirCells(const TGame& g) {
    for (int col = 0; col < g.BoardColumns; ++col) {
        for (int row = 0; row < g.BoardRows; ++row) {
            const TCell& cell = g.Board[col][row];
            if (cell.Removed) {
                continue;
            }
            ASSERT_NE(cell.Sprite, nullptr);
            EXPECT_EQ(cell.Sprite->X, cell.X);
            EXPECT_EQ(cell.Sprite->Y, cell.Y);
            EXPECT_EQ(cell.Sprite->Col, col);
            EXPECT_EQ(cell.Sprite->Row, row);
            EXPECT_EQ(cell.Sprite->Index, cell.Index);
            EXPECT_EQ(cell.Sprite->Picture, cell.Picture);
        }
    }
}

TEST(MixTiles, KeepsPicturesGapsAndSpritesTogether) {
    GameFixture f;
    TGame& g = f.game;
    g.StartGame(3);
    // Empty a scattering of cells as removals would.
    for (int col = 0; col < g.BoardColumns; col += 3) {
        for (int row = col % 2; row < g.BoardRows; row += 2) {
            g.Board[col][row].Removed = true;
        }
    }
    const auto before = Pictures(g);
    std::vector<std::pair<int, int>> gaps;
    for (int col = 0; col < g.BoardColumns; ++col) {
        for (int row = 0; row < g.BoardRows; ++row) {
            if (g.Board[col][row].Removed) {
                gaps.emplace_back(col, row);
            }
        }
    }
    g.MixTiles();
    EXPECT_EQ(Pictures(g), before);
    for (auto [col, row] : gaps) {
        EXPECT_TRUE(g.Board[col][row].Removed);
    }
    ExpectSpritesAtTheirCells(g);
}

TEST(MixTiles, ActuallyMovesTiles) {
    GameFixture f;
    f.game.StartGame(1);
    // After the deal's own mix, count tiles that left their dealt position.
    int moved = 0;
    for (const auto& column : f.game.Board) {
        for (const TCell& cell : column) {
            moved += cell.Index != cell.Col * f.game.BoardRows + cell.Row ? 1 : 0;
        }
    }
    EXPECT_GT(moved, 100);
}

TEST(MixTiles, RunsItsRoundsWithAReseedBeforeEveryDraw) {
    GameFixture f;
    f.game.StartGame(1);
    const int before = f.seeds.Calls;
    f.game.MixTiles();
    EXPECT_EQ(f.seeds.Calls - before, 1 + 271 * 2);
    f.game.StartGame(2);
    const int normal = f.seeds.Calls;
    f.game.MixTiles();
    EXPECT_EQ(f.seeds.Calls - normal, 1 + 331 * 2);
}

TEST(MixTiles, SingleTileStaysAndEmptyBoardIsLeftAlone) {
    GameFixture f;
    TGame& g = f.game;
    g.StartGame(1);
    for (auto& column : g.Board) {
        for (TCell& cell : column) {
            cell.Removed = true;
        }
    }
    const int calls = f.seeds.Calls;
    g.MixTiles(); // must return, not draw forever
    EXPECT_EQ(f.seeds.Calls, calls);

    TCell& last = g.Board[5][7];
    last.Removed = false;
    const TMonoSprite* sprite = last.Sprite;
    g.MixTiles();
    EXPECT_FALSE(g.Board[5][7].Removed);
    EXPECT_EQ(g.Board[5][7].Sprite, sprite);
    EXPECT_EQ(sprite->X, g.Board[5][7].X);
}

TEST(Wash1Click, AfterTheLastPairChargesNothingAndPlaysNothing) {
    GameFixture f;
    TGame& g = f.game;
    testing::BuildBoard(g, {"AA"});
    g.Level = 1;
    g.ShufflesLeft = 3;
    f.seeds.Script = {testing::SeedWithoutBonus(g.Difficulty)};
    g.DXDrawMouseDown(TMouseButton::mbLeft, 90 + 25, 60 + 18);
    g.DXDrawMouseDown(TMouseButton::mbLeft, 90 + 75, 60 + 18);
    ASSERT_EQ(testing::TilesLeft(g), 0);
    f.host.Sounds.clear();
    g.wash1Click();
    EXPECT_EQ(g.ShufflesLeft, 3);
    EXPECT_TRUE(f.host.Sounds.empty());
    // One tile back on the board: the command shuffles and charges again.
    g.Board[0][0].Removed = false;
    g.wash1Click();
    EXPECT_EQ(g.ShufflesLeft, 2);
    EXPECT_EQ(f.host.Sounds, std::vector<std::string>{"#4"});
}

TEST(ExchangeTiles, SwapsTheTileButNotThePlace) {
    TCell a{10, 20, 1, 7, 0, 0, false, true, true, nullptr};
    TCell b{30, 40, 2, 9, 1, 2, true, false, false, nullptr};
    TGame::ExchangeTiles(a, b);
    EXPECT_EQ(a.X, 10);
    EXPECT_EQ(a.Y, 20);
    EXPECT_EQ(a.Col, 0);
    EXPECT_EQ(a.Index, 2);
    EXPECT_EQ(a.Picture, 9);
    EXPECT_TRUE(a.Removed);
    EXPECT_FALSE(a.Hinted);
    EXPECT_TRUE(a.Linked); // stays with the position
    EXPECT_EQ(b.Row, 2);
    EXPECT_EQ(b.Index, 1);
    EXPECT_TRUE(b.Hinted);
    EXPECT_FALSE(b.Linked);
}

} // namespace
} // namespace pelmoravan
