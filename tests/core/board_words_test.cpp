// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "core/board_builder.h"
#include "core/fake_surface.h"
#include "screen/board_words.h"
#include "shell/apply_language.h"
#include "shell/menu_commands.h"

namespace pelmoravan {
namespace {

using testing::At;
using testing::BuildBoard;
using testing::FakeDrawControl;
using testing::GameFixture;

// A listener's game on the moving levels, by keys alone: what is heard after each key.
struct Listener {
    GameFixture f;
    TGame& g = f.game;
    FakeDrawControl draw;
    std::size_t heard = 0;

    explicit Listener(const std::vector<std::string>& rows, std::int32_t level, std::uint8_t language = 1) {
        g.DXDraw = &draw;
        BuildBoard(g, rows);
        ApplyLanguageTexts(g, language);
        g.Language = language;
        g.Level = level;
        g.TimeLimit = 480;
        g.HintsLeft = 10;
        g.ShufflesLeft = 10;
        f.seeds.Script = {testing::SeedWithoutBonus(g.Difficulty)};
    }
    // The words told since the last call, in order.
    std::vector<TSpokenWords> Since() {
        std::vector<TSpokenWords> out;
        for (; heard < f.host.News.size(); ++heard) {
            out.push_back(NewsWords(g, f.host.News[heard]));
        }
        return out;
    }
    // The outcome a key brought (a removal follows the second tile's selection).
    TSpokenWords Outcome(TBoardKey k) {
        g.BoardKey(k, false);
        for (const TSpokenWords& words : Since()) {
            if (words.Kind == TWordsKind::Outcome) {
                return words;
            }
        }
        return {};
    }
    std::string Key(TBoardKey k, bool ctrl = false) {
        g.BoardKey(k, ctrl);
        const auto said = Since();
        return said.empty() ? std::string() : said.front().Text;
    }
};

TEST(BoardWords, ALevelTwoPairByKeysNamesThePairTheSlideAndTheCursorCellThenMTPauseAndUpright) {
    // A elephant, B giraffe, C camel, D rabbit. Level 2 slides tiles left into the gaps.
    Listener l({"AABC", "BCDD"}, 2);
    EXPECT_EQ(l.Key(TBoardKey::Back), "nothing selected");
    EXPECT_EQ(l.Key(TBoardKey::Right), "elephant 1 1"); // the first key only shows the cursor
    EXPECT_EQ(l.Key(TBoardKey::Act), "elephant selected");
    EXPECT_EQ(l.Key(TBoardKey::Right), "elephant 2");
    const TSpokenWords removal = l.Outcome(TBoardKey::Act);
    // The pair taken, not what slid into its cells; then the slide and the cell under the cursor.
    EXPECT_EQ(removal.Text, "two elephants removed, 6 tiles left; moved Left; camel 2 1");
    EXPECT_TRUE(removal.Urgent);
    EXPECT_EQ(testing::Layout(l.g), (std::vector<std::string>{"BC..", "BCDD"}));

    // M walks the camels in reading order and wraps; on a lone picture it stays.
    EXPECT_EQ(l.Key(TBoardKey::Match), "camel 2 2");
    EXPECT_EQ(l.Key(TBoardKey::Match), "camel 2 1");
    EXPECT_EQ(l.Key(TBoardKey::Down), "camel 2");
    EXPECT_EQ(l.Key(TBoardKey::Right), "rabbit 3");

    const std::string status = l.Key(TBoardKey::Status);
    EXPECT_EQ(status, "Second Step, Left; " + std::to_string(l.g.TimeLimit - l.g.ElapsedSeconds) +
                          " seconds left, 10 hints, 10 shuffles, " + std::to_string(l.g.Score) + " points");

    // Paused: the board's keys tell nothing; T still does; resuming tells where the cursor is.
    TogglePause(l.g);
    auto said = l.Since();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].Kind, TWordsKind::Paused);
    EXPECT_EQ(said[0].Text, "paused");
    for (TBoardKey k : {TBoardKey::Left, TBoardKey::Match, TBoardKey::Act, TBoardKey::Back}) {
        EXPECT_EQ(l.Key(k), "");
    }
    EXPECT_EQ(l.Key(TBoardKey::Status), status);
    TogglePause(l.g);
    said = l.Since();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].Kind, TWordsKind::Resumed);
    EXPECT_EQ(said[0].Text, "resumed; rabbit 3 2");

    // Shown upright, the board's column c, row r is the screen's column r, row c.
    l.g.BoardUpright = true;
    EXPECT_EQ(l.Key(TBoardKey::Match), "rabbit 2 4");
    EXPECT_EQ(l.Key(TBoardKey::Up), "empty 1");
    l.g.Language = 0;
    EXPECT_EQ(l.Key(TBoardKey::Match), "空 1 4"); // no picture to match: where it is, again
}

TEST(BoardWords, TheJumpRuleNamesTheTilesThatLandedInThePairsCells) {
    Listener l({"AAB", "CBC"}, 10);
    l.Key(TBoardKey::Right);
    l.Key(TBoardKey::Act);
    l.Key(TBoardKey::Right);
    const std::string removed = l.Outcome(TBoardKey::Act).Text;
    const auto name = [&](std::int32_t col, std::int32_t row) {
        return PictureWord(l.g, At(l.g, col, row).Picture) + " " + std::to_string(col + 1) + " " +
               std::to_string(row + 1);
    };
    ASSERT_FALSE(At(l.g, 0, 0).Removed || At(l.g, 1, 0).Removed);
    EXPECT_EQ(removed, "two elephants removed, 4 tiles left; new tiles at " + name(0, 0) + " and " + name(1, 0) +
                           "; " + name(1, 0));
}

} // namespace
} // namespace pelmoravan
