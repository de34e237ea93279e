// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>

#include "core/board_builder.h"

namespace pelmoravan {
namespace {

using testing::At;
using testing::ExpectBoardConsistent;
using testing::GameFixture;

void ClickCell(TGame& g, const TCell& cell, TMouseButton button = TMouseButton::mbLeft) {
    g.DXDrawMouseDown(button, cell.X + g.CellWidth / 2, cell.Y + g.CellHeight / 2);
}

// An active slot must name a tile that shows the picture it remembers: otherwise a pair attempt
// could take two different pictures.
void ExpectSelectionTrue(TGame& g) {
    for (const TCell& slot : g.Selected) {
        if (slot.Index == -1) {
            continue;
        }
        const TCell& cell = At(g, slot.Col, slot.Row);
        ASSERT_FALSE(cell.Removed);
        ASSERT_EQ(cell.Picture, slot.Picture);
    }
}

const TCell* RandomTile(TGame& g, std::mt19937& rng, std::int32_t picture = -1) {
    std::vector<const TCell*> tiles;
    for (const auto& column : g.Board) {
        for (const TCell& cell : column) {
            if (!cell.Removed && (picture == -1 || cell.Picture == picture)) {
                tiles.push_back(&cell);
            }
        }
    }
    if (tiles.empty()) {
        return nullptr;
    }
    return tiles[std::uniform_int_distribution<std::size_t>(0, tiles.size() - 1)(rng)];
}

TEST(Invariants, HoldAfterAnySequenceOfClicksMovesAndShuffles) {
    std::mt19937 rng(4242);
    for (std::int32_t difficulty = 1; difficulty <= 3; ++difficulty) {
        GameFixture f;
        TGame& g = f.game;
        g.StartGame(difficulty);
        for (std::int32_t level = 1; level <= 10; ++level) {
            ASSERT_EQ(g.Level, level);
            for (int step = 0; step < 150; ++step) {
                const int roll = std::uniform_int_distribution<int>(0, 99)(rng);
                const TCell* target = nullptr;
                if (roll < 40) {
                    target = RandomTile(g, rng);
                } else if (roll < 70) {
                    // Often the partner picture, so that pairs really go.
                    const bool chosen = g.Selected[1].Index != -1;
                    target = RandomTile(g, rng, chosen ? g.Selected[1].Picture : -1);
                } else if (roll < 78) {
                    g.ShufflesLeft = 5;
                    g.wash1Click();
                } else if (roll < 86) {
                    g.HintsLeft = 5;
                    g.hint1Click();
                } else if (roll < 92) {
                    g.DXDrawMouseDown(TMouseButton::mbRight, 0, 0);
                } else if (roll < 95) {
                    g.Auto1Click();
                } else {
                    g.DXSpriteEngine.PurgeDead();
                }
                if (target != nullptr) {
                    ClickCell(g, *target);
                }
                ASSERT_FALSE(g.Searching || g.Shuffling);
                ExpectBoardConsistent(g);
                ExpectSelectionTrue(g);
                if (::testing::Test::HasFatalFailure()) {
                    FAIL() << "difficulty " << difficulty << " level " << level << " step " << step;
                }
            }
            g.AutoPlay = false;
            g.Auto1Checked = false;
            g.AdvanceLevel();
            f.host.AnswerAll(); // the dialogs after the tenth level
        }
        EXPECT_EQ(g.GameState, TGameState::Title); // the question after level 10 was answered No
    }
}

// The frame loop's part, by hand: purge and step the sprites, one auto-play move, and a new level
// once the engine is empty.
TEST(AutoPlay, ClearsEveryLevelOfEveryDifficulty) {
    for (std::int32_t difficulty = 1; difficulty <= 3; ++difficulty) {
        GameFixture f;
        TGame& g = f.game;
        g.StartGame(difficulty);
        g.Auto1Click();
        ASSERT_TRUE(g.AutoPlay);
        int levelsCleared = 0;
        int shuffles = 0;
        for (int tick = 0; tick < 20000 && g.GameState == TGameState::Playing; ++tick) {
            g.DXSpriteEngine.PurgeDead();
            g.DXSpriteEngine.Advance(1);
            if (g.DXSpriteEngine.Root()->Count() == 0) {
                EXPECT_EQ(g.PairsRemoved, g.TileCount / 2) << "level " << g.Level;
                levelsCleared += 1;
                g.AdvanceLevel();
                f.host.AnswerAll();
                g.PairsRemoved = 0;
                continue;
            }
            const std::size_t sounds = f.host.Sounds.size();
            g.AutoPlayStep();
            for (std::size_t i = sounds; i < f.host.Sounds.size(); ++i) {
                shuffles += f.host.Sounds[i] == "#4" ? 1 : 0;
            }
            ASSERT_FALSE(g.Searching || g.Shuffling);
            ExpectBoardConsistent(g);
        }
        EXPECT_EQ(levelsCleared, 10) << "difficulty " << difficulty;
        EXPECT_EQ(g.GameState, TGameState::Title);
        EXPECT_EQ(f.host.Questions.size(), 1u);
        EXPECT_GT(g.Score, 0);
        // Dead ends were shuffled for free: the stock only grew, by level and by bonus.
        EXPECT_GT(shuffles, 0);
        EXPECT_GE(g.ShufflesLeft, 10 + 10);
    }
}

} // namespace
} // namespace pelmoravan
