// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "core/board_builder.h"

namespace pelmoravan {
namespace {

using testing::At;
using testing::BuildBoard;
using testing::GameFixture;

bool Occupied(TGame& g, int c, int r) {
    if (c < 0 || c >= g.BoardColumns || r < 0 || r >= g.BoardRows) {
        return false;
    }
    return !At(g, c, r).Removed;
}

// Breadth-first search by number of straight segments over the board and its one-cell ring:
// obviously right, and sharing nothing with the game's scan.
bool ReferenceLinked(TGame& g, int ac, int ar, int bc, int br) {
    const int w = g.BoardColumns + 2;
    const int h = g.BoardRows + 2;
    std::vector<int> segments(static_cast<std::size_t>(w * h), 99);
    std::deque<std::pair<int, int>> queue{{ac, ar}};
    segments[static_cast<std::size_t>((ar + 1) * w + ac + 1)] = 0;
    const int dc[] = {1, -1, 0, 0};
    const int dr[] = {0, 0, 1, -1};
    while (!queue.empty()) {
        const auto [c, r] = queue.front();
        queue.pop_front();
        const int d = segments[static_cast<std::size_t>((r + 1) * w + c + 1)];
        if (d == 3) {
            continue;
        }
        for (int k = 0; k < 4; ++k) {
            int x = c + dc[k];
            int y = r + dr[k];
            while (x >= -1 && x <= g.BoardColumns && y >= -1 && y <= g.BoardRows) {
                if (x == bc && y == br) {
                    return true;
                }
                if (Occupied(g, x, y)) {
                    break;
                }
                int& s = segments[static_cast<std::size_t>((y + 1) * w + x + 1)];
                if (s > d + 1) {
                    s = d + 1;
                    queue.emplace_back(x, y);
                }
                x += dc[k];
                y += dr[k];
            }
        }
    }
    return false;
}

// Walks the polyline through the given points and fails on a diagonal leg, a step off the ring,
// or a tile in the way; the last point is the far tile.
::testing::AssertionResult ClearPath(TGame& g, const std::vector<TCell>& corners) {
    // A corner on a tile's own cell is a leg of length zero.
    std::vector<TCell> points;
    for (const TCell& p : corners) {
        if (points.empty() || points.back().Col != p.Col || points.back().Row != p.Row) {
            points.push_back(p);
        }
    }
    int c = points[0].Col;
    int r = points[0].Row;
    const TCell& last = points.back();
    for (std::size_t i = 1; i < points.size(); ++i) {
        const TCell& p = points[i];
        if (p.Col != c && p.Row != r) {
            return ::testing::AssertionFailure() << "diagonal leg to " << p.Col << "," << p.Row;
        }
        while (c != p.Col || r != p.Row) {
            c += p.Col > c ? 1 : (p.Col < c ? -1 : 0);
            r += p.Row > r ? 1 : (p.Row < r ? -1 : 0);
            if (c < -1 || c > g.BoardColumns || r < -1 || r > g.BoardRows) {
                return ::testing::AssertionFailure() << "off the ring at " << c << "," << r;
            }
            const bool atEnd = i + 1 == points.size() && c == last.Col && r == last.Row;
            if (!atEnd && Occupied(g, c, r)) {
                return ::testing::AssertionFailure() << "tile in the way at " << c << "," << r;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(LinkTest, AgreesWithABreadthFirstSearchAndFindsClearPaths) {
    std::mt19937 rng(20240611);
    int linked = 0;
    int notLinked = 0;
    for (int board = 0; board < 3000; ++board) {
        GameFixture f;
        TGame& g = f.game;
        const int cols = std::uniform_int_distribution<int>(2, 16)(rng);
        const int rows = std::uniform_int_distribution<int>(2, 15)(rng);
        const double fill = std::uniform_real_distribution<double>(0.2, 0.97)(rng);
        std::vector<std::string> text(static_cast<std::size_t>(rows), std::string(cols, '.'));
        std::vector<std::pair<int, int>> tiles;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                if (std::uniform_real_distribution<double>(0, 1)(rng) < fill) {
                    text[r][c] = 'A';
                    tiles.emplace_back(c, r);
                }
            }
        }
        if (tiles.size() < 2) {
            continue;
        }
        BuildBoard(g, text);
        std::uniform_int_distribution<std::size_t> pick(0, tiles.size() - 1);
        for (int n = 0; n < 8; ++n) {
            const auto [ac, ar] = tiles[pick(rng)];
            const auto [bc, br] = tiles[pick(rng)];
            if (ac == bc && ar == br) {
                continue;
            }
            TCell& c1 = g.LinkCorner[0];
            TCell& c2 = g.LinkCorner[1];
            c1.Linked = true; // a stale result must not survive
            c2.Linked = true;
            c1.Hinted = true;
            g.LinkTest(At(g, ac, ar), At(g, bc, br), c1, c2);
            const bool found = c1.Linked && c2.Linked;
            ASSERT_EQ(found, ReferenceLinked(g, ac, ar, bc, br))
                << "board " << board << " pair " << ac << "," << ar << " - " << bc << "," << br;
            if (!found) {
                // A failed test ends on the ring below the board, its last visit: a hint judged
                // after a failed search reads these records.
                notLinked += 1;
                ASSERT_EQ(c1.Row, g.BoardRows);
                ASSERT_EQ(c2.Row, g.BoardRows);
                ASSERT_FALSE(c1.Hinted);
                continue;
            }
            linked += 1;
            const bool neighbours = std::abs(ac - bc) + std::abs(ar - br) == 1;
            if (neighbours) {
                ASSERT_EQ(c1.Index, At(g, ac, ar).Index);
                ASSERT_EQ(c2.Index, At(g, bc, br).Index);
                continue;
            }
            const TCell& u = br < ar ? At(g, bc, br) : At(g, ac, ar);
            const TCell& l = br < ar ? At(g, ac, ar) : At(g, bc, br);
            ASSERT_TRUE(ClearPath(g, {u, c1, c2, l})) << "board " << board;
            for (const TCell* c : {&c1, &c2}) {
                ASSERT_EQ(c->X, g.BoardLeft + c->Col * g.CellWidth);
                ASSERT_EQ(c->Y, g.BoardTop + c->Row * g.CellHeight);
            }
        }
    }
    // Both answers must have been exercised plenty.
    EXPECT_GT(linked, 3000);
    EXPECT_GT(notLinked, 3000);
}

struct LinkResult {
    bool linked;
    TCell c1;
    TCell c2;
};

LinkResult Link(TGame& g, int ac, int ar, int bc, int br) {
    TCell c1;
    TCell c2;
    g.LinkTest(At(g, ac, ar), At(g, bc, br), c1, c2);
    return {c1.Linked && c2.Linked, c1, c2};
}

TEST(LinkTest, NeighboursAreLinkedWhateverSurroundsThemFirstTileFirst) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, {"ABCD", "EFGH", "IJKL"});
    const LinkResult below = Link(g, 1, 2, 1, 1); // second tile above the first
    ASSERT_TRUE(below.linked);
    EXPECT_EQ(below.c1.Index, At(g, 1, 2).Index);
    EXPECT_EQ(below.c2.Index, At(g, 1, 1).Index);
    const LinkResult beside = Link(g, 2, 1, 1, 1);
    ASSERT_TRUE(beside.linked);
    EXPECT_EQ(beside.c1.Col, 2);
    EXPECT_EQ(beside.c2.Col, 1);
    // Diagonal with both shared neighbours taken, no other way on a full board.
    EXPECT_FALSE(Link(g, 1, 1, 2, 2).linked);
}

TEST(LinkTest, StraightLinesGiveTheCornersTheirOwnRules) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, {"AAAAA", "AA.AA", "A..AA", "AA.AA", "AAAAA"});
    // One column: the upper tile and the lower tile, whichever is given first.
    LinkResult column = Link(g, 2, 4, 2, 0);
    ASSERT_TRUE(column.linked);
    EXPECT_EQ(column.c1.Row, 0);
    EXPECT_EQ(column.c2.Row, 4);
    EXPECT_EQ(column.c1.Col, 2);
    // One row, two apart: both corners are the cell just right of the left tile.
    for (const auto& [first, second] : {std::pair{0, 3}, std::pair{3, 0}}) {
        LinkResult row = Link(g, first, 2, second, 2);
        ASSERT_TRUE(row.linked);
        EXPECT_EQ(row.c1.Col, 1);
        EXPECT_EQ(row.c2.Col, 1);
        EXPECT_EQ(row.c1.Row, 2);
        EXPECT_EQ(row.c2.Row, 2);
    }
}

TEST(LinkTest, TheRingOutsideTheBoardCarriesPathsAndPixelPositions) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, {"AAAAA", "AAAAA", "AAAAA", "AAAAA"});
    // Top row, a tile between: through row -1.
    LinkResult top = Link(g, 0, 0, 4, 0);
    ASSERT_TRUE(top.linked);
    EXPECT_EQ(top.c1.Row, -1);
    EXPECT_EQ(top.c2.Row, -1);
    EXPECT_EQ(top.c1.Y, At(g, 0, 0).Y - g.CellHeight);
    EXPECT_EQ(top.c1.Col, 0);
    EXPECT_EQ(top.c2.Col, 4);
    EXPECT_EQ(top.c2.X, At(g, 4, 0).X);
    // Column 0 with tiles between: through column -1.
    LinkResult left = Link(g, 0, 3, 0, 1);
    ASSERT_TRUE(left.linked);
    EXPECT_EQ(left.c1.Col, -1);
    EXPECT_EQ(left.c2.Col, -1);
    EXPECT_EQ(left.c1.X, At(g, 0, 0).X - g.CellWidth);
    EXPECT_EQ(left.c1.Row, 1); // upper tile's corner first
    EXPECT_EQ(left.c2.Row, 3);
    // Bottom and right ring: one cell beyond the last row and column.
    LinkResult bottom = Link(g, 1, 3, 3, 3);
    ASSERT_TRUE(bottom.linked);
    EXPECT_EQ(bottom.c1.Row, 4);
    EXPECT_EQ(bottom.c1.Y, At(g, 1, 3).Y + g.CellHeight);
    LinkResult right = Link(g, 4, 1, 4, 3);
    ASSERT_TRUE(right.linked);
    EXPECT_EQ(right.c1.Col, 5);
    EXPECT_EQ(right.c1.X, At(g, 4, 1).X + g.CellWidth);
    // Opposite corners of a full board would need three turns.
    EXPECT_FALSE(Link(g, 0, 0, 4, 3).linked);
    EXPECT_FALSE(Link(g, 1, 1, 3, 2).linked);
}

TEST(LinkTest, AThreeTurnPathIsNotALink) {
    GameFixture f;
    TGame& g = f.game;
    // A leaves down and right, B up and left, the two legs never meet in one straight piece.
    BuildBoard(g, {"AAAAAA", "AA..AA", "AA.AAA", "AA...A", "AAAAAA", "AAAAAA"});
    EXPECT_FALSE(Link(g, 1, 1, 4, 4).linked);
    EXPECT_FALSE(Link(g, 4, 4, 1, 1).linked);
}

TEST(LinkTest, TheExchangeDecidesWhichColumnIsTriedFirst) {
    GameFixture f;
    TGame& g = f.game;
    // The pair at (1,3) and (3,1) links through column 2 and through column -1.
    BuildBoard(g, {"AAAAAA", "...AAA", "AA.AAA", ".A.AAA", "AAAAAA"});
    // Second tile above the first: from the right tile's column leftward, column 2 comes first.
    LinkResult exchanged = Link(g, 1, 3, 3, 1);
    ASSERT_TRUE(exchanged.linked);
    EXPECT_EQ(exchanged.c1.Col, 2);
    EXPECT_EQ(exchanged.c1.Row, 1); // the upper tile's corner
    EXPECT_EQ(exchanged.c2.Row, 3);
    // First tile above: outward left from the left tile first, so column -1 wins.
    LinkResult plain = Link(g, 3, 1, 1, 3);
    ASSERT_TRUE(plain.linked);
    EXPECT_EQ(plain.c1.Col, -1);
    EXPECT_EQ(plain.c2.Col, -1);
}

TEST(LinkTest, RowsAboveTheUpperTileComeBeforeRowsBetween) {
    GameFixture f;
    TGame& g = f.game;
    // Linkable through row 0 and through row 2; no vertical middle leg works.
    BuildBoard(g, {"A...A", "AAA.A", "A...A", "AAAAA", "AAAAA"});
    for (const bool swap : {false, true}) {
        LinkResult r = swap ? Link(g, 3, 3, 1, 1) : Link(g, 1, 1, 3, 3);
        ASSERT_TRUE(r.linked) << swap;
        EXPECT_EQ(r.c1.Row, 0) << swap;
        EXPECT_EQ(r.c1.Col, 1) << swap;
        EXPECT_EQ(r.c2.Col, 3) << swap;
    }
}

} // namespace
} // namespace pelmoravan
