#include <gtest/gtest.h>

#include "core/board_builder.h"
#include "core/fake_surface.h"
#include "screen/board_words.h"
#include "shell/apply_language.h"

namespace pelmoravan {
namespace {

using testing::At;
using testing::BuildBoard;
using testing::FakeDrawControl;
using testing::GameFixture;
using testing::OpKind;

// What the last thing told says, in English.
std::string LastWords(GameFixture& f) {
    f.game.Language = 1;
    return f.host.News.empty() ? std::string() : NewsWords(f.game, f.host.News.back()).Text;
}

// A = elephant, B = giraffe. Row 0 holds an empty cell between B and the other A.
TEST(BoardCursor, KeysAloneWalkTheBoardSelectAndRemoveAPairAndSayEachStep) {
    GameFixture f;
    TGame& g = f.game;
    FakeDrawControl draw;
    g.DXDraw = &draw;
    BuildBoard(g, {"AB.A", "CDDC"});
    auto key = [&](TBoardKey k, bool ctrl = false) { g.BoardKey(k, ctrl); };
    auto at = [&] { return std::pair{g.CursorCol, g.CursorRow}; };
    auto framed = [&] {
        draw.Ops().clear();
        g.DrawPlayingScreen();
        int magenta = 0;
        for (const auto& op : draw.OpsOf(OpKind::FillRect)) {
            magenta += op.BrushColor == 0xFF00FF ? 1 : 0;
        }
        return magenta;
    };

    EXPECT_EQ(framed(), 0); // hidden until the first key
    key(TBoardKey::Right);  // shows it where it is
    EXPECT_EQ(at(), std::pair(0, 0));
    EXPECT_EQ(LastWords(f), "elephant, column 1, row 1");
    EXPECT_EQ(framed(), 4);
    key(TBoardKey::Left); // stops at the edge
    EXPECT_EQ(at(), std::pair(0, 0));
    key(TBoardKey::Right);
    key(TBoardKey::Right, true); // Ctrl jumps over the empty cell to the next tile
    EXPECT_EQ(at(), std::pair(3, 0));
    EXPECT_EQ(LastWords(f), "elephant, column 4, row 1");
    key(TBoardKey::Home);
    key(TBoardKey::Act);
    EXPECT_EQ(LastWords(f), "elephant selected");
    key(TBoardKey::End);
    key(TBoardKey::Left);
    EXPECT_EQ(LastWords(f), "empty, column 3, row 1");
    key(TBoardKey::Right);
    key(TBoardKey::Act);
    EXPECT_TRUE(At(g, 0, 0).Removed);
    EXPECT_TRUE(At(g, 3, 0).Removed);
    EXPECT_EQ(LastWords(f), "two elephants removed, 5 tiles left");

    // Backspace takes back a selection, as the right button does.
    key(TBoardKey::Down);
    key(TBoardKey::Act);
    EXPECT_NE(g.Selected[1].Index, -1);
    key(TBoardKey::Back);
    EXPECT_EQ(g.Selected[1].Index, -1);
    EXPECT_EQ(LastWords(f), "camel deselected");

    // Paused: nothing moves and nothing is told.
    const auto told = f.host.News.size();
    g.GameState = 2;
    key(TBoardKey::Left);
    key(TBoardKey::Back);
    EXPECT_EQ(at(), std::pair(3, 1));
    EXPECT_EQ(f.host.News.size(), told);
    g.GameState = 1;

    // A click hides the cursor and leaves it on the clicked cell; the next key only shows it.
    g.DXDrawMouseDown(TMouseButton::mbLeft, g.BoardLeft + 1 * g.CellWidth + 25, g.BoardTop + 1 * g.CellHeight + 18);
    EXPECT_FALSE(g.CursorShown);
    EXPECT_EQ(framed(), 0);
    key(TBoardKey::Up);
    EXPECT_EQ(at(), std::pair(1, 1));
    EXPECT_TRUE(g.CursorShown);
}

TEST(BoardCursor, ANewGameHidesItAndANewLevelTakesItHomeStillShown) {
    GameFixture f;
    TGame& g = f.game;
    ApplyLanguageTexts(g, 0);
    g.StartGame(1);
    EXPECT_FALSE(g.CursorShown);
    g.BoardKey(TBoardKey::Down, false);
    g.BoardKey(TBoardKey::Down, false);
    g.BoardKey(TBoardKey::End, false);
    EXPECT_EQ(std::pair(g.CursorCol, g.CursorRow), std::pair(g.BoardColumns - 1, 1));
    g.AdvanceLevel();
    EXPECT_EQ(std::pair(g.CursorCol, g.CursorRow), std::pair(0, 0));
    EXPECT_TRUE(g.CursorShown);
    EXPECT_EQ(NewsWords(g, f.host.News.back()).Text, "第二关：左移，160张牌");
    g.StartGame(1);
    EXPECT_FALSE(g.CursorShown);
}

} // namespace
} // namespace pelmoravan
