// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "core/board_builder.h"

namespace pelmoravan {
namespace {

using testing::At;
using testing::BuildBoard;
using testing::ExpectBoardConsistent;
using testing::GameFixture;
using testing::Layout;

// Empties a cell as a removal does and names it in the removed pair.
void Empty(TGame& g, int slot, int col, int row) {
    TCell& cell = At(g, col, row);
    cell.Removed = true;
    cell.Sprite->MarkDead();
    cell.Sprite = nullptr;
    g.RemovedPair[static_cast<std::size_t>(slot)] = cell;
}

struct MoveCase {
    std::int32_t mode;
    std::vector<std::string> board;
    std::pair<int, int> a; // (col, row)
    std::pair<int, int> b;
    std::vector<std::string> expected;
};

const std::vector<std::string> kRow = {"ABCDEFGHIJKLMNOP", "abcdefghijklmnop"};

// Two lines of 15 rows: the left column moves, the right one stays.
std::vector<std::string> Column15() {
    std::vector<std::string> rows;
    for (char ch = 'A'; ch <= 'O'; ++ch) {
        rows.push_back({ch, static_cast<char>(ch - 'A' + 'a')});
    }
    return rows;
}

std::vector<std::string> WithColumn(const std::string& left) {
    std::vector<std::string> rows = Column15();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rows[r][0] = left[r];
    }
    return rows;
}

TEST(ApplyMovementRule, EachModeClosesItsLinesWhicheverGapComesFirst) {
    const std::vector<MoveCase> cases = {
        {1, kRow, {3, 0}, {7, 0}, {"ABC.EFG.IJKLMNOP", kRow[1]}},
        {2, kRow, {3, 0}, {7, 0}, {"ABCEFGIJKLMNOP..", kRow[1]}},
        {3, kRow, {3, 0}, {7, 0}, {"..ABCEFGIJKLMNOP", kRow[1]}},
        // Left and right apart, MidCol 7: the middle columns do nothing.
        {4, kRow, {7, 0}, {8, 0}, {"ABCDEFG..JKLMNOP", kRow[1]}},
        {4, kRow, {2, 0}, {12, 0}, {"ABDEFGH..IJKLNOP", kRow[1]}},
        {4, kRow, {2, 0}, {5, 0}, {"ABDEGH..IJKLMNOP", kRow[1]}},
        {4, kRow, {10, 0}, {13, 0}, {"ABCDEFGH..IJLMOP", kRow[1]}},
        // Toward the middle.
        {5, kRow, {7, 0}, {8, 0}, {".ABCDEFGJKLMNOP.", kRow[1]}},
        {5, kRow, {2, 0}, {5, 0}, {"..ABDEGHIJKLMNOP", kRow[1]}},
        {5, kRow, {9, 0}, {12, 0}, {"ABCDEFGHIKLNOP..", kRow[1]}},
        {6, Column15(), {0, 3}, {0, 9}, WithColumn("ABCEFGHIKLMNO..")},
        {7, Column15(), {0, 3}, {0, 9}, WithColumn("..ABCEFGHIKLMNO")},
        // Fifteen rows: the upper part is rows 0..7, the lower rows 8..14.
        {8, Column15(), {0, 7}, {0, 8}, WithColumn("ABCDEFG..JKLMNO")},
        {8, Column15(), {0, 3}, {0, 12}, WithColumn("ABCEFGH..IJKLNO")},
        {8, Column15(), {0, 1}, {0, 4}, WithColumn("ACDFGH..IJKLMNO")},
        {8, Column15(), {0, 10}, {0, 13}, WithColumn("ABCDEFGH..IJLMO")},
        {9, Column15(), {0, 7}, {0, 8}, WithColumn(".ABCDEFGJKLMNO.")},
        {9, Column15(), {0, 2}, {0, 5}, WithColumn("..ABDEGHIJKLMNO")},
        {9, Column15(), {0, 9}, {0, 12}, WithColumn("ABCDEFGHIKLNO..")},
        {11, kRow, {3, 0}, {7, 0}, {"ABC.EFG.IJKLMNOP", kRow[1]}},
    };
    for (const MoveCase& c : cases) {
        for (const bool swapped : {false, true}) {
            GameFixture f;
            TGame& g = f.game;
            BuildBoard(g, c.board);
            const auto first = swapped ? c.b : c.a;
            const auto second = swapped ? c.a : c.b;
            Empty(g, 0, first.first, first.second);
            Empty(g, 1, second.first, second.second);
            g.ApplyMovementRule(c.mode);
            EXPECT_EQ(Layout(g), c.expected) << "mode " << c.mode << " gaps " << c.a.first << ","
                                             << c.a.second << " and " << c.b.first << ","
                                             << c.b.second << (swapped ? " swapped" : "");
            ExpectBoardConsistent(g, false);
        }
    }
}

TEST(ApplyMovementRule, EarlierGapsTravelWithTheTiles) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, {"ABCDEF.HIJKLMNOP", kRow[1]});
    Empty(g, 0, 2, 0);
    Empty(g, 1, 4, 1);
    g.ApplyMovementRule(2);
    EXPECT_EQ(Layout(g), (std::vector<std::string>{"ABDEF.HIJKLMNOP.", "abcdfghijklmnop."}));
    ExpectBoardConsistent(g, false);
}

TEST(ApplyMovementRule, RandomRefillMovesTwoTilesIntoTheGaps) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, {"A..B", "A..B"});
    Empty(g, 0, 0, 0);
    Empty(g, 1, 0, 1);
    g.ApplyMovementRule(10);
    EXPECT_EQ(Layout(g), (std::vector<std::string>{"B...", "B..."}));
    ExpectBoardConsistent(g, false);
}

TEST(ApplyMovementRule, RandomRefillKeepsTheBoardWholeAndStopsOnAnEmptyBoard) {
    for (std::uint32_t seed = 1; seed < 60; ++seed) {
        GameFixture f;
        f.seeds.Next = seed * 7919u;
        TGame& g = f.game;
        BuildBoard(g, {"ABCDE", "FGHIJ", "KLMNO"});
        Empty(g, 0, 1, 1);
        Empty(g, 1, 3, 2);
        g.ApplyMovementRule(10);
        EXPECT_FALSE(At(g, 1, 1).Removed);
        EXPECT_FALSE(At(g, 3, 2).Removed);
        EXPECT_EQ(testing::TilesLeft(g), 13);
        ExpectBoardConsistent(g, false);
    }
    // The last pair gone: nothing can be drawn, and nothing hangs.
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, {"A.", ".A"});
    Empty(g, 0, 0, 0);
    Empty(g, 1, 1, 1);
    g.ApplyMovementRule(10);
    EXPECT_EQ(testing::TilesLeft(g), 0);
}

} // namespace
} // namespace pelmoravan
