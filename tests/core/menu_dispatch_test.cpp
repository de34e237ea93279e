// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/fakes.h"
#include "media/key_latch.h"
#include "shell/apply_language.h"
#include "shell/menu_dispatch.h"

namespace pelmoravan {
namespace {

using testing::GameFixture;
using enum TMenuItem;

struct MenuDispatchTest : ::testing::Test {
    MenuDispatchTest() { ApplyLanguage(f.game, menu, 0); }
    GameFixture f;
    TMainMenuModel menu;
    std::vector<std::string>& calls = f.host.MenuCalls;
    void Run(TMenuItem item) { RunMenuItem(item, f.game, menu); }
};

TEST_F(MenuDispatchTest, EachItemReachesTheWindowAsTheDesktopMenuDoes) {
    Run(N2);
    Run(about);
    Run(Exit1);
    Run(English1);
    EXPECT_EQ(calls, (std::vector<std::string>{"scores", "about", "close", "language 1"}));
    EXPECT_EQ(f.game.Language, 1);

    calls.clear();
    f.host.OnPlayMusic = [] { throw std::runtime_error("no track"); };
    Run(BackgroundMusic1); // music was on: switched off, the player is told, its error shown
    EXPECT_FALSE(f.game.MusicOn);
    EXPECT_EQ(calls, (std::vector<std::string>{"sync", "music off", "error no track"}));
}

TEST_F(MenuDispatchTest, OpeningAMenuRunsItsHandlerAndAutoPlaySetsItsCheckMark) {
    f.game.GameState = TGameState::Playing;
    Run(game1);
    EXPECT_FALSE(menu.Item(NewGame1).Enabled);
    EXPECT_TRUE(menu.Item(EndGame1).Enabled);
    f.game.GameState = TGameState::Title; // the command does nothing here; the mark still follows the game's
    f.game.Auto1Checked = true;
    Run(Auto1);
    EXPECT_TRUE(menu.Item(Auto1).Checked);
    EXPECT_EQ(calls, (std::vector<std::string>{"sync", "sync"}));
}

TEST(KeyLatchTest, APressBetweenTwoPollsCountsOnceAndAHeldKeyUntilReleased) {
    TKeyLatch keys;
    keys.Press(TKey::F9);
    keys.Release(TKey::F9);
    keys.Poll();
    EXPECT_TRUE(keys.KeyDown(TKey::F9));
    keys.Poll();
    EXPECT_FALSE(keys.KeyDown(TKey::F9));

    keys.Press(TKey::Escape);
    keys.Poll();
    keys.Poll();
    EXPECT_TRUE(keys.KeyDown(TKey::Escape));
    keys.LetGoAll();
    keys.Poll();
    EXPECT_FALSE(keys.KeyDown(TKey::Escape));
}

} // namespace
} // namespace pelmoravan
