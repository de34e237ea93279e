// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "core/board_builder.h"
#include "screen/board_words.h"
#include "shell/apply_language.h"

namespace pelmoravan {
namespace {

using testing::BuildBoard;
using testing::GameFixture;

// What the last thing told says, in English.
std::string LastWords(GameFixture& f) {
    f.game.Language = 1;
    return f.host.News.empty() ? std::string() : NewsWords(f.game, f.host.News.back()).Text;
}

// The moves the front ends' tests do not make: edges, Ctrl over empty cells, Home and End,
// Backspace, the pause, and what a new game and a new level do to the cursor.
TEST(BoardCursor, EdgesJumpsRowEndsBackspaceAndPauseAndNewLevels) {
    GameFixture f;
    TGame& g = f.game;
    BuildBoard(g, {"AB.A", "CDDC"}); // A elephant, C camel
    auto key = [&](TBoardKey k, bool ctrl = false) { g.BoardKey(k, ctrl); };
    auto at = [&] { return std::pair{g.CursorCol, g.CursorRow}; };

    key(TBoardKey::Left); // the first key only shows it
    EXPECT_EQ(LastWords(f), "elephant 1 1");
    key(TBoardKey::Left); // the edge holds it
    EXPECT_EQ(at(), std::pair(0, 0));
    key(TBoardKey::Right);
    key(TBoardKey::Right, true); // over the empty cell to the next tile
    EXPECT_EQ(at(), std::pair(3, 0));
    key(TBoardKey::Right, true); // no tile that way: it stays
    EXPECT_EQ(at(), std::pair(3, 0));
    key(TBoardKey::Home);
    key(TBoardKey::Down);
    EXPECT_EQ(at(), std::pair(0, 1));
    key(TBoardKey::End);
    key(TBoardKey::Up);
    key(TBoardKey::Left);
    EXPECT_EQ(LastWords(f), "empty 3"); // along the row: the column alone

    key(TBoardKey::Down);
    key(TBoardKey::Right);
    key(TBoardKey::Act);
    EXPECT_EQ(LastWords(f), "camel selected");
    key(TBoardKey::Back);
    EXPECT_EQ(g.Selected[1].Index, -1);
    EXPECT_EQ(LastWords(f), "camel deselected");

    key(TBoardKey::Act);
    const auto told = f.host.News.size();
    g.GameState = TGameState::Paused; // paused: nothing moves, nothing is taken back, nothing is told
    key(TBoardKey::Left);
    key(TBoardKey::Back);
    EXPECT_EQ(at(), std::pair(3, 1));
    EXPECT_NE(g.Selected[1].Index, -1);
    EXPECT_EQ(f.host.News.size(), told);

    GameFixture h;
    ApplyLanguageTexts(h.game, 0);
    h.game.StartGame(1);
    EXPECT_FALSE(h.game.CursorShown);
    h.game.BoardKey(TBoardKey::Down, false);
    h.game.BoardKey(TBoardKey::Down, false);
    h.game.AdvanceLevel();
    EXPECT_EQ(std::pair(h.game.CursorCol, h.game.CursorRow), std::pair(0, 0));
    EXPECT_TRUE(h.game.CursorShown);
    EXPECT_EQ(NewsWords(h.game, h.host.News.back()).Text, "第二关：左移，160张牌");
    h.game.StartGame(1);
    EXPECT_FALSE(h.game.CursorShown);
}

} // namespace
} // namespace pelmoravan
