// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

#include "core/board_builder.h"

namespace pelmoravan {
namespace {

using testing::At;
using testing::BuildBoard;
using testing::GameFixture;
using testing::Layout;
using Strings = std::vector<std::string>;

TEST(FindPair, ThePictureOfTheLowestIndexComesFirstThenTheLowestPair) {
    GameFixture f;
    TGame& g = f.game;
    // Index runs down the columns. A holds 0, 4, 6, 8: (0,4) is walled in, (0,6) links over the
    // top. The B pair at 1 and 2 are plain neighbours, yet A comes first.
    BuildBoard(g, {"ACA", "BAD", "BCA"});
    g.HintsLeft = 2;
    g.hint1Click();
    EXPECT_EQ(g.HintPair[0].Index, 0);
    EXPECT_EQ(g.HintPair[1].Index, 6);
    EXPECT_TRUE(g.HintPair[0].Hinted && g.HintPair[1].Hinted);
    EXPECT_EQ(f.host.Sounds, Strings{"notify"});
    EXPECT_EQ(g.HintsLeft, 1);
    EXPECT_EQ(testing::TilesLeft(g), 9);

    // No A pair links at all: the next picture by lowest Index is B.
    BuildBoard(g, {"ACE", "BAD", "BCA"});
    g.FindPair(g.HintPair[0], g.HintPair[1], false);
    EXPECT_EQ(g.HintPair[0].Index, 1);
    EXPECT_EQ(g.HintPair[1].Index, 2);
    EXPECT_FALSE(g.HintPair[0].Hinted || g.HintPair[1].Hinted); // a quiet search ends a highlight
}

// The first pair in the documented order, found the slow way with the link test as judge.
std::pair<std::int32_t, std::int32_t> ExpectedPair(TGame& g) {
    std::vector<const TCell*> tiles;
    for (const auto& column : g.Board) {
        for (const TCell& cell : column) {
            if (!cell.Removed) {
                tiles.push_back(&cell);
            }
        }
    }
    std::sort(tiles.begin(), tiles.end(),
              [](const TCell* a, const TCell* b) { return a->Index < b->Index; });
    std::vector<std::int32_t> kinds;
    for (const TCell* t : tiles) {
        if (std::find(kinds.begin(), kinds.end(), t->Picture) == kinds.end()) {
            kinds.push_back(t->Picture);
        }
    }
    for (const std::int32_t kind : kinds) {
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            for (std::size_t j = i + 1; j < tiles.size(); ++j) {
                if (tiles[i]->Picture != kind || tiles[j]->Picture != kind) {
                    continue;
                }
                TCell c1;
                TCell c2;
                g.LinkTest(*tiles[i], *tiles[j], c1, c2);
                if (c1.Linked && c2.Linked) {
                    return {tiles[i]->Index, tiles[j]->Index};
                }
            }
        }
    }
    return {-1, -1};
}

TEST(FindPair, OnRandomBoardsTakesTheFirstLinkablePairOrShufflesOnce) {
    std::mt19937 rng(77);
    int found = 0;
    for (int board = 0; board < 400; ++board) {
        GameFixture f;
        TGame& g = f.game;
        Strings text(8, std::string(10, '.'));
        // From few pictures on a sparse board to many on a crowded one, where dead ends are common.
        const int pictures = std::uniform_int_distribution<int>(4, 52)(rng);
        const int empty = std::uniform_int_distribution<int>(0, 30)(rng);
        for (auto& row : text) {
            for (char& ch : row) {
                const bool gap = std::uniform_int_distribution<int>(0, 99)(rng) < empty;
                ch = gap ? '.' : testing::LetterOf(std::uniform_int_distribution<int>(1, pictures)(rng));
            }
        }
        BuildBoard(g, text);
        // Shuffle the deal so that Index order differs from board order.
        g.MixTiles();
        const auto expected = ExpectedPair(g);
        g.FindPair(g.HintPair[0], g.HintPair[1], true);
        if (expected.first >= 0) {
            found += 1;
            ASSERT_EQ(g.HintPair[0].Index, expected.first) << board;
            ASSERT_EQ(g.HintPair[1].Index, expected.second) << board;
            ASSERT_TRUE(f.host.Sounds.empty());
        } else {
            ASSERT_FALSE(g.HintPair[0].Linked && g.HintPair[1].Linked);
            ASSERT_EQ(f.host.Sounds, Strings{"#4"});
        }
        ASSERT_FALSE(g.Searching);
        testing::ExpectBoardConsistent(g, false);
    }
    EXPECT_GT(found, 100);
}

TEST(FindPair, ADeadEndIsShuffledForFreeAndAHintCostsNothing) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, {"AB..", "BA..", "...."});
    g.HintsLeft = 3;
    g.ShufflesLeft = 4;
    g.hint1Click();
    EXPECT_FALSE(g.HintPair[0].Hinted);
    EXPECT_EQ(g.HintsLeft, 3);
    EXPECT_EQ(g.ShufflesLeft, 4);
    EXPECT_EQ(f.host.Sounds, Strings{"#4"});
    // The empty cells stay empty; only the four tiles change places.
    const Strings after = Layout(g);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(after[r][c] == '.', r == 2 || c >= 2);
        }
    }
    testing::ExpectBoardConsistent(g);
}

TEST(FindPair, DoesNothingInsideASearchOrAShuffle) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, {"AA", "BB"});
    g.HintPair[0].Index = -7;
    for (bool* guard : {&g.Searching, &g.Shuffling}) {
        *guard = true;
        g.FindPair(g.HintPair[0], g.HintPair[1], true);
        EXPECT_EQ(g.HintPair[0].Index, -7);
        EXPECT_TRUE(*guard);
        *guard = false;
    }
    // The hint then judges by the flag it finds.
    g.HintsLeft = 1;
    g.Searching = true;
    g.HintPair[0].Hinted = true;
    g.hint1Click();
    EXPECT_EQ(g.HintsLeft, 0);
    g.hint1Click(); // none left
    EXPECT_EQ(f.host.Sounds, Strings{"notify"});
}

TEST(Commands, DoNothingOutsidePlay) {
    for (const std::uint8_t state : {0, 2, 3}) {
        GameFixture f;
        TGame& g = f.game;
        BuildBoard(g, {"AB", "AB"});
        g.GameState = static_cast<TGameState>(state);
        g.HintsLeft = 1;
        g.ShufflesLeft = 1;
        g.hint1Click();
        g.wash1Click();
        g.Auto1Click();
        EXPECT_EQ(g.HintsLeft, 1);
        EXPECT_EQ(g.ShufflesLeft, 1);
        EXPECT_FALSE(g.AutoPlay || g.Auto1Checked);
        EXPECT_EQ(testing::TilesLeft(g), 4);
        EXPECT_TRUE(f.host.Sounds.empty());
    }
}

TEST(Shuffle, MixesAtOnceAndIsChargedEvenWhenAShuffleRuns) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, {"ABCD", "ABCD"});
    g.ShufflesLeft = 2;
    g.wash1Click();
    EXPECT_FALSE(g.Shuffling);
    EXPECT_EQ(f.host.Sounds, Strings{"#4"});
    EXPECT_EQ(g.ShufflesLeft, 1);
    EXPECT_EQ(f.host.TurnsAsked, 0); // nothing waits for the front end's loop

    g.Shuffling = true;
    g.wash1Click();
    EXPECT_EQ(g.ShufflesLeft, 0);
    EXPECT_EQ(f.host.Sounds, Strings{"#4"});
}

class SilentHost final : public testing::FakeHost {
public:
    void PlaySoundAt(std::int32_t) override { throw std::runtime_error("no wave at 4"); }
};

TEST(Shuffle, ASoundThatCannotPlayIsIgnoredAndALoneTileStays) {
    SilentHost host;
    testing::FakeSeedSource seeds;
    auto pictures = testing::MakeTilePictures();
    TGame g(host, host, seeds);
    g.ImageList = pictures.get();
    BuildBoard(g, {"...", ".A.", "..."});
    EXPECT_NO_THROW(g.Shuffle());
    EXPECT_EQ(Layout(g), (Strings{"...", ".A.", "..."}));
    EXPECT_FALSE(g.Shuffling);
    // An emptied board waiting for the next level: nothing to mix, nothing hangs or is charged.
    BuildBoard(g, {"..", ".."});
    g.ShufflesLeft = 1;
    g.SoundOn = false;
    g.wash1Click();
    EXPECT_EQ(g.ShufflesLeft, 1);
}

TEST(Auto1Click, SwitchingOnTakesTwoPairsAndSwitchingOffOne) {
    GameFixture f;
    TGame& g = f.game;
    g.StartGame(1);
    g.Auto1Click();
    EXPECT_TRUE(g.AutoPlay);
    EXPECT_TRUE(g.Auto1Checked);
    EXPECT_EQ(g.PairsRemoved, 2);
    // Inside the search the removal's own search is held off: one step, one pair.
    g.AutoPlayStep();
    EXPECT_EQ(g.PairsRemoved, 3);
    EXPECT_EQ(f.host.TurnsAsked, 0); // auto-play draws its link lines whole
    g.Auto1Click();
    EXPECT_FALSE(g.AutoPlay);
    EXPECT_FALSE(g.Auto1Checked);
    EXPECT_EQ(g.PairsRemoved, 4);
    g.AutoPlayStep(); // off: only a hint-like search
    EXPECT_EQ(g.PairsRemoved, 4);
    EXPECT_TRUE(g.HintPair[0].Hinted);
    testing::ExpectBoardConsistent(g);
}

} // namespace
} // namespace pelmoravan
