// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>

#include "core/board_builder.h"

// The first draws of a deal, a shuffle and a refill from scripted reseed values, worked out by
// hand from seed := seed x 134775813 + 1 (mod 2^32), random(n) := (seed x n) >> 32. Any change
// in the order, count or range of the draws, or in where the generator is reseeded, moves them.
// The whole boards below guard the rest.

namespace pelmoravan {
namespace {

using testing::At;
using testing::GameFixture;

// Seed 0 -> 1: random(16) = 16 >> 32 = 0; then 134775814: random(10) = 1347758140 >> 32 = 0.
// So a pick reseeded with 0 is column 0, row 0, and a round whose two picks both are is a no-op.
constexpr std::uint32_t kCornerSeed = 0;

TEST(PinnedDraws, DealTakesANewPictureForEachGroupUntilAnUnusedOneComes) {
    GameFixture f;
    // Reseeds at the ends of the groups of four: the first keeps picture 1 without a draw.
    // Seed 0: 1 x 99 >> 32 = 0 -> picture 1, used; 134775814 x 99 = 13342805586 >> 32 = 3 -> 4.
    // Seed 0 again: 1 and 4 are used; 3698175007 x 99 = 366119325693 >> 32 = 85 -> 86.
    // Seed 2: 269551627 x 99 = 26685611073 >> 32 = 6 -> 7.
    f.seeds.Script = {5, 0, 0, 2};
    f.game.StartGame(1);
    std::map<std::int32_t, std::int32_t> pictureOfIndex; // the mix carries Index with the tile
    for (const auto& column : f.game.Board) {
        for (const TCell& cell : column) {
            pictureOfIndex[cell.Index] = cell.Picture;
        }
    }
    const std::int32_t expected[20] = {1, 1, 1, 1, 1, 1, 1, 1, 4, 4, 4, 4, 86, 86, 86, 86, 7, 7, 7, 7};
    for (std::int32_t j = 0; j < 20; ++j) {
        EXPECT_EQ(pictureOfIndex[j], expected[j]) << "Index " << j;
    }
}

struct TileAt {
    std::int32_t Picture, Index;
    bool operator==(const TileAt&) const = default;
};

TileAt TileOf(TGame& g, std::int32_t col, std::int32_t row) {
    return {At(g, col, row).Picture, At(g, col, row).Index};
}

TEST(PinnedDraws, ShuffleReseedsBeforeEachPickAndDrawsTheColumnFirst) {
    GameFixture f;
    TGame& g = f.game;
    g.StartGame(1);
    std::vector<std::vector<TileAt>> before(16, std::vector<TileAt>(10));
    for (std::int32_t col = 0; col < 16; ++col) {
        for (std::int32_t row = 0; row < 10; ++row) {
            before[col][row] = TileOf(g, col, row);
        }
    }
    // Seed 3 -> 404327440: x 16 = 6469239040 >> 32 = 1; -> 2235038801: x 10 >> 32 = 5.
    // Seed 0xFFFFFFFF -> 4160191484: x 16 >> 32 = 15; -> 866343917: x 10 >> 32 = 2.
    // So the first round exchanges (1, 5) with (15, 2); the other 270 rounds change nothing.
    f.seeds.Script = {kCornerSeed, 3, 0xFFFFFFFFu};
    f.seeds.Script.insert(f.seeds.Script.end(), 270 * 2, kCornerSeed);
    f.seeds.Next = 77; // a reseed beyond the script would draw elsewhere
    g.MixTiles();
    EXPECT_TRUE(f.seeds.Script.empty());
    EXPECT_EQ(f.seeds.Next, 77u);
    for (std::int32_t col = 0; col < 16; ++col) {
        for (std::int32_t row = 0; row < 10; ++row) {
            std::pair<int, int> from{col, row};
            if (from == std::pair{1, 5}) {
                from = {15, 2};
            } else if (from == std::pair{15, 2}) {
                from = {1, 5};
            }
            EXPECT_EQ(TileOf(g, col, row), before[from.first][from.second]) << col << "," << row;
        }
    }
    testing::ExpectBoardConsistent(g);
}

TEST(PinnedDraws, RefillRedrawsAnEmptyCellWithoutReseeding) {
    GameFixture f;
    TGame& g = f.game;
    g.StartGame(1);
    // Empty (0, 0) and (9, 9) as a removal would.
    for (const auto& [slot, col, row] : {std::tuple{0, 0, 0}, std::tuple{1, 9, 9}}) {
        TCell& cell = At(g, col, row);
        cell.Removed = true;
        cell.Sprite->MarkDead();
        cell.Sprite = nullptr;
        g.RemovedPair[static_cast<std::size_t>(slot)] = cell;
    }
    const TileAt first = TileOf(g, 13, 2);
    const TileAt second = TileOf(g, 4, 6);
    // Seed 0: (0, 0) is empty, so on without a reseed: 3698175007 x 16 >> 32 = 13,
    // 870078620 x 10 >> 32 = 2; then 1172187917 x 16 >> 32 = 4, 2884733762 x 10 >> 32 = 6.
    f.seeds.Script = {kCornerSeed};
    f.seeds.Next = 77;
    g.ApplyMovementRule(10);
    EXPECT_EQ(f.seeds.Next, 77u);
    EXPECT_EQ(TileOf(g, 0, 0), first);
    EXPECT_EQ(TileOf(g, 9, 9), second);
    EXPECT_TRUE(At(g, 13, 2).Removed);
    EXPECT_TRUE(At(g, 4, 6).Removed);
    EXPECT_EQ(testing::TilesLeft(g), 158);
}

// The board as picture numbers, row by row.
std::vector<std::string> Pictures(TGame& g) {
    std::vector<std::string> rows;
    for (std::int32_t row = 0; row < g.BoardRows; ++row) {
        std::string line;
        for (std::int32_t col = 0; col < g.BoardColumns; ++col) {
            char field[4];
            std::snprintf(field, sizeof field, "%3d", At(g, col, row).Picture);
            line += field;
        }
        rows.push_back(line);
    }
    return rows;
}

// The first board of each difficulty with the counter counting up from 12345, as dealt and
// mixed today.
const std::vector<std::string> kBoards[3] = {
    {
        " 30 54 51 64 76 70 91 79 11 14  8 20 24 20 48 33",
        " 51 33 51 60 54 85 76 95  8  8 14 17 20 27 24  1",
        " 54  1 48 79 48 76 95 91 88 14 11 14 27 24 14 33",
        " 48 45  1 82 70 70 85 85 11 95 20 20 14 33 33 30",
        "  1 60 51 57 79 91 73  8  2  5 17 14 20 30 30 30",
        " 33 57 54  1 64 88 79 73  2 11  5 24 17 24 33 30",
        " 42 42 67 64 57 82  2  5 82 17 11 17 30 27 20 42",
        " 30 45 57 64 67 60 91 98 88 11 17  5 27 27 27  1",
        " 45  1 42 67 73 67 88 95  2 98 17 24 11 27 27 24",
        "  1 60 70 45 82 73 76 98 98 85 11 24 14 17 33 20",
    },
    {
        " 38 45 57 70 73 98 85 11 11  5 14 39 33 35 74 61",
        " 74 54 67 51 82 95 91 27 24 36 24 39 61 16 16  1",
        " 51  1 54 64 67 82  5  2 30 36 16 16 61 31 31 74",
        " 60 31 64 88 51 76 95 88  5 20 50 33  4 31 38 42",
        "  1 48 54 57 82 79  8 17 98  8 35 24 36 61 58 31",
        " 48 67 51 76 88 95  5 27 17 91 33 55 50 55  1 31",
        " 38 60 73 60 76 91 88 24 20 30 33 58 55 74 31  1",
        " 58 48 64  1 70 85 79 98 14 30 17 35 61 39 61 45",
        " 48 38 60 64 54 79  2 91 20 50 11 20 55  4  4 38",
        " 45  1 70 73 85 98 11  2 14 27 35 30 74 38 58 42",
        " 42 57 45 70 95 73 17 14 85 27 39  4 74 74 38 74",
        " 42 57 38 76 79 67 82  8  8  2 36 61 50 61  1 31",
    },
    {
        " 54 57 70 85 64  5 14 27  4 55 33 83 55 92 77  1",
        " 51 26 76 51 91 95 20  2 16 55 58 62 86 43 89 42",
        " 48 60 51 82 82 85 98 33 11 61 36 96 38 34 86  1",
        " 54  1 70 76 98 88 20 33 50 36 74 31 38 92 26 34",
        " 51 10 60 64 82 11 11 36 24 24 31 83 96 77 77  1",
        "  1 73 79 67 98  5  8 20 27 50  4 58 92 89 10 43",
        " 10 42 54  2 88 95 73 39 16  4 16 62 89 34 34 92",
        " 54 45 76 64 79 24 91  5 39 27 31 61 62 74 10 26",
        " 10 64 67 73 70 17  8 39  8 58 50 35 86 74 65 26",
        " 77 42 48 85 57 24 17 14 50 61 58 16 92 89 10 45",
        " 57 60 67 88  5 91 14 95 17 30 96 86 89 26 34 42",
        "  1 57 82 85 88  2 20 30 11 30 74 83 86 92 77 43",
        " 26 45  1 60 17 70 91 36 35 38 96 38 86 77 43 89",
        " 45 48 67 79  8  2 98 39 30 33 35 31 55 65 65  1",
        " 34 76 79 48 95 73 14 27 35  4 61 65 83 62 43 43",
    },
};

TEST(PinnedDraws, FirstBoardOfEachDifficulty) {
    for (std::int32_t difficulty = 1; difficulty <= 3; ++difficulty) {
        GameFixture f;
        f.game.StartGame(difficulty);
        EXPECT_EQ(Pictures(f.game), kBoards[difficulty - 1]) << "difficulty " << difficulty;
    }
}

} // namespace
} // namespace pelmoravan
