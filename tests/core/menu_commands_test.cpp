// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "core/board_builder.h"
#include "shell/apply_language.h"
#include "shell/menu_commands.h"
#include "shell/menu_model.h"

namespace pelmoravan {
namespace {

using testing::GameFixture;
using enum TMenuItem;

struct MenuTest : ::testing::Test {
    MenuTest() { ApplyLanguage(game, menu, 0); }
    GameFixture f;
    TGame& game = f.game;
    TMainMenuModel menu;

    bool Enabled(TMenuItem item) const { return menu.Item(item).Enabled; }
    bool Checked(TMenuItem item) const { return menu.Item(item).Checked; }
    // A shortcut key as the window dispatches it.
    template <typename Command>
    void Press(TMenuItem item, Command command) {
        if (menu.PrepareShortcut(item, game)) {
            command(game);
        }
    }
    std::int32_t LiveSprites() const {
        TSpriteEngine* root = game.DXSpriteEngine.Root();
        std::int32_t live = 0;
        for (std::int32_t i = 0; i < root->Count(); ++i) {
            live += root->Items(i)->IsDead ? 0 : 1;
        }
        return live;
    }
};

TEST_F(MenuTest, EveryItemIsEnabledAndUncheckedBeforeTheFirstOpening) {
    for (std::size_t i = 0; i < MenuItemCount; ++i) {
        const auto item = static_cast<TMenuItem>(i);
        EXPECT_TRUE(menu.Item(item).Enabled) << MenuItemInfo(item).Name;
        EXPECT_FALSE(menu.Item(item).Checked) << MenuItemInfo(item).Name;
    }
}

TEST_F(MenuTest, GameMenuFollowsTheScreenState) {
    struct Case {
        std::uint8_t state;
        bool newGame, pause, endGame;
        const char* pauseCaption;
    };
    const Case cases[] = {
        {0, true, false, false, "暂停"},
        {1, false, true, true, "暂停"},
        {2, false, true, false, "恢复"},
        {3, false, false, false, "暂停"},
    };
    for (const Case& c : cases) {
        game.GameState = static_cast<TGameState>(c.state);
        menu.game1Click(game);
        EXPECT_EQ(Enabled(NewGame1), c.newGame) << int(c.state);
        EXPECT_EQ(Enabled(GameOver1), c.pause) << int(c.state);
        EXPECT_EQ(Enabled(EndGame1), c.endGame) << int(c.state);
        EXPECT_EQ(menu.Item(GameOver1).Caption, c.pauseCaption) << int(c.state);
    }
}

TEST_F(MenuTest, StatesKeepTheirValuesBetweenOpenings) {
    game.GameState = TGameState::Playing;
    menu.game1Click(game);
    game.GameState = TGameState::Title;
    EXPECT_FALSE(Enabled(NewGame1));
    EXPECT_TRUE(Enabled(EndGame1));
    menu.game1Click(game);
    EXPECT_TRUE(Enabled(NewGame1));
    EXPECT_FALSE(Enabled(EndGame1));
}

TEST_F(MenuTest, OtherMenuLooksOnlyAtTheCounters) {
    game.GameState = TGameState::Title;
    game.HintsLeft = 3;
    game.ShufflesLeft = 0;
    menu.other1Click(game);
    EXPECT_TRUE(Enabled(hint1));
    EXPECT_FALSE(Enabled(wash1));
    game.HintsLeft = 0;
    game.ShufflesLeft = 1;
    menu.other1Click(game);
    EXPECT_FALSE(Enabled(hint1));
    EXPECT_TRUE(Enabled(wash1));
    // Sequence, Auto and the hidden Language submenu are never disabled.
    EXPECT_TRUE(Enabled(N2));
    EXPECT_TRUE(Enabled(Auto1));
}

TEST_F(MenuTest, CheckMarksOfDifficultySoundAndLanguage) {
    for (std::int32_t d = 1; d <= 3; ++d) {
        game.Difficulty = d;
        menu.Level2Click(game);
        EXPECT_EQ(Checked(Easy1), d == 1);
        EXPECT_EQ(Checked(Normal1), d == 2);
        EXPECT_EQ(Checked(Hard1), d == 3);
        EXPECT_TRUE(Enabled(Easy1) && Enabled(Normal1) && Enabled(Hard1));
    }
    game.SoundOn = false;
    game.MusicOn = true;
    menu.Sound1Click(game);
    EXPECT_FALSE(Checked(Music1));
    EXPECT_TRUE(Checked(BackgroundMusic1));
    game.Language = 1;
    menu.Language1Click(game);
    EXPECT_FALSE(Checked(Chinese1));
    EXPECT_TRUE(Checked(English1));
}

TEST_F(MenuTest, FixedShortcutsAndTheHiddenLanguageSubmenu) {
    EXPECT_STREQ(MenuItemInfo(NewGame1).Shortcut, "F2");
    EXPECT_STREQ(MenuItemInfo(GameOver1).Shortcut, "F3");
    EXPECT_STREQ(MenuItemInfo(hint1).Shortcut, "F4");
    EXPECT_STREQ(MenuItemInfo(wash1).Shortcut, "F5");
    int withShortcut = 0;
    for (std::size_t i = 0; i < MenuItemCount; ++i) {
        withShortcut += *MenuItemInfo(static_cast<TMenuItem>(i)).Shortcut != '\0' ? 1 : 0;
    }
    EXPECT_EQ(withShortcut, 4);
    EXPECT_FALSE(MenuItemInfo(Language1).Visible);
    EXPECT_EQ(MenuItemInfo(Chinese1).Parent, Language1);
    EXPECT_EQ(MenuItemInfo(hint1).Parent, other1);
    EXPECT_EQ(MenuItemInfo(Hard1).Parent, Level2);
    EXPECT_EQ(MenuItemInfo(Level2).Parent, Level1);
    EXPECT_FALSE(MenuItemInfo(Exit1).Parent.has_value());
}

TEST_F(MenuTest, F2StartsAGameOnlyOnTheTitleScreen) {
    Press(NewGame1, NewGame1Click);
    ASSERT_EQ(game.GameState, TGameState::Playing);
    EXPECT_EQ(game.BoardColumns * game.BoardRows, 160);
    game.Score = 1234;
    Press(NewGame1, NewGame1Click);  // during a game
    EXPECT_EQ(game.Score, 1234);
    game.GameState = TGameState::Paused;
    Press(NewGame1, NewGame1Click);  // paused
    EXPECT_EQ(game.GameState, TGameState::Paused);
    game.GameState = TGameState::GameOver;
    Press(NewGame1, NewGame1Click);  // game over
    EXPECT_EQ(game.GameState, TGameState::GameOver);
    EXPECT_EQ(game.Score, 1234);
}

TEST_F(MenuTest, F3PausesAndResumesOnlyDuringAGame) {
    Press(GameOver1, TogglePause);
    EXPECT_EQ(game.GameState, TGameState::Title);
    game.StartGame(1);
    Press(GameOver1, TogglePause);
    EXPECT_EQ(game.GameState, TGameState::Paused);
    menu.game1Click(game);
    EXPECT_EQ(menu.Item(GameOver1).Caption, "恢复");
    Press(GameOver1, TogglePause);
    EXPECT_EQ(game.GameState, TGameState::Playing);
    game.GameState = TGameState::GameOver;
    Press(GameOver1, TogglePause);
    EXPECT_EQ(game.GameState, TGameState::GameOver);
}

TEST_F(MenuTest, TogglePauseItselfIgnoresTitleAndGameOver) {
    for (std::uint8_t s : {0, 3}) {
        game.GameState = static_cast<TGameState>(s);
        TogglePause(game);
        EXPECT_EQ(game.GameState, static_cast<TGameState>(s));
    }
}

TEST_F(MenuTest, F4AndF5NeedTheirCountersEvenWhenTheMenuWasNeverOpened) {
    game.HintsLeft = 0;
    int hints = 0;
    Press(hint1, [&](TGame&) { ++hints; });
    EXPECT_EQ(hints, 0);
    game.ShufflesLeft = 2;
    int shuffles = 0;
    Press(wash1, [&](TGame&) { ++shuffles; });
    EXPECT_EQ(shuffles, 1);
}

TEST_F(MenuTest, EndGameClearsTheBoardAndKeepsTheCounters) {
    game.StartGame(1);
    game.Selected[0] = game.Board[0][0];
    game.Selected[1] = game.Board[1][0];
    game.ElapsedSeconds = 42;
    game.HintsLeft = 7;
    game.ShufflesLeft = 4;
    game.Score = 900;
    ASSERT_EQ(LiveSprites(), 160);
    Press(EndGame1, EndGame);
    EXPECT_EQ(game.GameState, TGameState::Title);
    EXPECT_EQ(LiveSprites(), 0);
    EXPECT_EQ(game.Selected[0].Index, -1);
    EXPECT_EQ(game.Selected[1].Index, -1);
    for (const auto& column : game.Board) {
        for (const TCell& cell : column) {
            EXPECT_TRUE(cell.Removed);
        }
    }
    EXPECT_EQ(game.ElapsedSeconds, 42);
    EXPECT_EQ(game.HintsLeft, 7);
    EXPECT_EQ(game.ShufflesLeft, 4);
    EXPECT_EQ(game.Score, 900);
    EXPECT_TRUE(f.host.Offers.empty());
    game.DXSpriteEngine.PurgeDead();
    EXPECT_EQ(game.DXSpriteEngine.Root()->Count(), 0);
}

TEST_F(MenuTest, EndGameWhilePausedDoesNothing) {
    game.StartGame(1);
    TogglePause(game);
    EndGame(game);  // the command checks the state too, not only the menu
    EXPECT_EQ(game.GameState, TGameState::Paused);
    EXPECT_EQ(LiveSprites(), 160);
    EXPECT_FALSE(game.Board[0][0].Removed);
    Press(EndGame1, EndGame);
    EXPECT_EQ(game.GameState, TGameState::Paused);
}

TEST_F(MenuTest, DifficultyChangesOnlyOnTheTitleScreen) {
    game.StartGame(1);
    Hard1Click(game);
    EXPECT_EQ(game.Difficulty, 1);
    menu.Level2Click(game);
    EXPECT_TRUE(Checked(Easy1));
    EXPECT_FALSE(Checked(Hard1));
    TogglePause(game);
    Normal1Click(game);
    EXPECT_EQ(game.Difficulty, 1);
    TogglePause(game);
    EndGame(game);
    Hard1Click(game);
    EXPECT_EQ(game.Difficulty, 3);
    menu.Level2Click(game);
    EXPECT_TRUE(Checked(Hard1));
    Press(NewGame1, NewGame1Click);
    EXPECT_EQ(game.GameState, TGameState::Playing);
    EXPECT_EQ(game.Difficulty, 3);
    EXPECT_EQ(game.BoardColumns, 16);
    EXPECT_EQ(game.BoardRows, 15);
    game.GameState = TGameState::GameOver;
    Easy1Click(game);
    EXPECT_EQ(game.Difficulty, 3);
    game.GameState = TGameState::Title;
    Normal1Click(game);
    EXPECT_EQ(game.Difficulty, 2);
    Easy1Click(game);
    EXPECT_EQ(game.Difficulty, 1);
}

TEST_F(MenuTest, SoundAndMusicSwitches) {
    Music1Click(game);
    EXPECT_FALSE(game.SoundOn);
    EXPECT_TRUE(game.MusicOn);
    Music1Click(game);
    EXPECT_TRUE(game.SoundOn);
    EXPECT_FALSE(BackgroundMusic1Click(game));
    EXPECT_FALSE(game.MusicOn);
    EXPECT_TRUE(BackgroundMusic1Click(game));
    EXPECT_TRUE(game.MusicOn);
    EXPECT_TRUE(game.SoundOn);
    menu.Sound1Click(game);
    EXPECT_TRUE(Checked(Music1));
    EXPECT_TRUE(Checked(BackgroundMusic1));
}

TEST(EffectsSwitch, OffSilencesEveryEffectButTheFinale) {
    for (const bool on : {true, false}) {
        GameFixture f;
        TGame& g = f.game;
        if (!on) {
            Music1Click(g);
        }
        testing::BuildBoard(g, {"AAB", "CCB"});
        g.Level = 1;
        g.HintsLeft = 1;
        g.ShufflesLeft = 1;
        f.seeds.Script = {testing::SeedWithoutBonus(1)};
        g.DXDrawMouseDown(TMouseButton::mbLeft, 90 + 25, 60 + 18);
        g.DXDrawMouseDown(TMouseButton::mbLeft, 90 + 75, 60 + 18);
        ASSERT_EQ(testing::TilesLeft(g), 4);
        g.hint1Click();
        g.wash1Click();
        g.StartGame(1);
        for (int level = 1; level <= 10; ++level) {
            g.AdvanceLevel();
        }
        ASSERT_EQ(f.host.Questions.size(), 1u);
        using Sounds = std::vector<std::string>;
        const Sounds expected =
            on ? Sounds{"Alert", "Alert", "recycle", "notify", "#4", "tada"} : Sounds{"tada"};
        EXPECT_EQ(f.host.Sounds, expected);
    }
}

TEST_F(MenuTest, LanguageCommandsSetTheLanguageAndRelabel) {
    English1Click(game, menu);
    EXPECT_EQ(game.Language, 1);
    EXPECT_EQ(game.Messages[10], "Remain Time : ");
    EXPECT_EQ(menu.Item(NewGame1).Caption, "New Game");
    EXPECT_EQ(menu.WindowCaption(), "Pelmoravan v2.2");
    menu.Language1Click(game);
    EXPECT_TRUE(Checked(English1));
    Chinese1Click(game, menu);
    EXPECT_EQ(game.Language, 0);
    EXPECT_EQ(menu.Item(NewGame1).Caption, "新游戏");
}

} // namespace
} // namespace pelmoravan
