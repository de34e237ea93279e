// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/screen_fixture.h"
#include "screen/status_lines.h"
#include "shell/apply_language.h"
#include "shell/exit_question.h"
#include "shell/language_tables.h"
#include "shell/play_buttons.h"

namespace pelmoravan {
namespace {

using enum TMenuItem;

struct PageControls : testing::ScreenFixture {
    TMainMenuModel menu;
    PageControls() { ApplyLanguage(game, menu, 0); }
};

// --- the touch buttons: new game and pause follow the menu's own rules; hint and shuffle act,
// and count, only in a game ---

using ButtonCase = std::tuple<std::uint8_t, std::int32_t, std::int32_t, std::vector<bool>, std::string>;

struct PlayButtonStates : PageControls, ::testing::WithParamInterface<ButtonCase> {};

TEST_P(PlayButtonStates, FollowTheScreenAndLeaveTheMenuAsItWas) {
    const auto& [state, hints, shuffles, enabled, pauseCaption] = GetParam();
    game.GameState = static_cast<TGameState>(state);
    game.HintsLeft = hints;
    game.ShufflesLeft = shuffles;
    const TMainMenuModel before = menu;

    const auto buttons = PlayButtons(menu, game);
    const std::vector<TMenuItem> items{NewGame1, GameOver1, hint1, wash1};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i].Item, items[i]);
        EXPECT_EQ(buttons[i].Enabled, enabled[i]) << "button " << i;
    }
    for (std::size_t i = 0; i < 2; ++i) {
        TMainMenuModel shortcut = before;
        EXPECT_EQ(shortcut.PrepareShortcut(items[i], game), enabled[i]) << "button " << i;
    }
    const bool inGame = state == 1 || state == 2;
    EXPECT_EQ(buttons[0].Caption, "新游戏");
    EXPECT_EQ(buttons[1].Caption, pauseCaption);
    EXPECT_EQ(buttons[2].Caption, inGame ? "提示 " + std::to_string(hints) : "提示");
    EXPECT_EQ(buttons[3].Caption, inGame ? "重洗 " + std::to_string(shuffles) : "重洗");
    for (std::size_t i = 0; i < MenuItemCount; ++i) { // shown states change only on opening
        const auto item = static_cast<TMenuItem>(i);
        EXPECT_EQ(menu.Item(item).Enabled, before.Item(item).Enabled);
        EXPECT_EQ(menu.Item(item).Caption, before.Item(item).Caption);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachScreen, PlayButtonStates,
    ::testing::Values(ButtonCase{0, 10, 10, {true, false, false, false}, "暂停"},
                      ButtonCase{1, 0, 3, {false, true, false, true}, "暂停"},
                      ButtonCase{1, 4, 0, {false, true, true, false}, "暂停"},
                      ButtonCase{2, 2, 5, {false, true, false, false}, "恢复"},
                      ButtonCase{3, 25, 27, {false, false, false, false}, "暂停"}));

// --- Exit on a touch screen ---

struct ExitQuestion : PageControls, ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(ExitQuestion, AsksOnlyWhileAGameIsInProgressAndHoldsTheClock) {
    const std::uint8_t state = GetParam();
    const bool inProgress = state == 1 || state == 2;
    game.StartGame(1);
    game.GameState = static_cast<TGameState>(state);
    const std::int32_t secondTicks = game.SecondTicks;
    std::vector<testing::OpKind> nested;
    host.OnQuestion = [&] {
        AskToExit(game, "again"); // one question at a time
        draw.Clear();
        game.DXTimer1Timer(1);
        nested = draw.Kinds();
    };
    for (const bool answer : {false, true}) {
        host.MenuCalls.clear();
        host.Answers = {answer};
        AskToExit(game, "quit?");
        host.AnswerAll();
        const bool closed = host.MenuCalls == std::vector<std::string>{"close"};
        EXPECT_EQ(closed, !inProgress || answer);
        EXPECT_FALSE(game.DialogShown);
    }
    const std::vector<std::string> asked{"quit?", "quit?"};
    EXPECT_EQ(host.Questions, inProgress ? asked : std::vector<std::string>());
    if (inProgress) {
        EXPECT_EQ(nested, (std::vector<testing::OpKind>{testing::OpKind::Release, testing::OpKind::Flip}));
        EXPECT_EQ(game.SecondTicks, secondTicks);
    }
}

INSTANTIATE_TEST_SUITE_P(EachState, ExitQuestion, ::testing::Values(0, 1, 2, 3));

// --- what the page reads out ---

TEST_F(PageControls, AnnouncementSaysWhatTheBandShowsWithTimeInWholeTens) {
    EXPECT_EQ(StatusAnnouncement(game), ""); // the title
    game.StartGame(1);
    game.Score = 1234;
    for (const auto& [elapsed, said] : std::vector<std::pair<int, std::string>>{
             {game.TimeLimit - 127, "130"}, {game.TimeLimit - 120, "120"}, {game.TimeLimit - 1, "10"},
             {game.TimeLimit, "0"}}) {
        game.ElapsedSeconds = elapsed;
        EXPECT_EQ(StatusAnnouncement(game), "第一关 无变化. 时间剩余 : " + said +
                                                ". 提示(F4)剩余 :10 次. 重洗(F5)剩余 : 10 次. Scores : 1234.");
    }
    game.BonusKind = 3;
    game.BonusAmount = 50;
    ApplyLanguage(game, menu, 1);
    game.Level = 10;
    game.GameState = TGameState::Paused;
    game.ElapsedSeconds = 0;
    EXPECT_EQ(StatusAnnouncement(game),
              "Tenth Step Make use of every bit of time or space. Remain Time : " +
                  std::to_string((game.TimeLimit + 9) / 10 * 10) +
                  ". Remain Hint(F4) : 10. Remain Shuffle(F5) : 10. Scores : 1234. 50 Scores Add.");
    game.GameState = TGameState::GameOver;
    EXPECT_EQ(StatusAnnouncement(game), "");
}

TEST(ControlTexts, EveryEntryIsFilledInBothLanguages) {
    for (const std::uint8_t language : {0, 1}) {
        const TControlTexts& t = ControlTexts(language);
        for (const std::string_view text : {t.Yes, t.No, t.Ok, t.Cancel, t.Save, t.SaveAs, t.FileName, t.Ended,
                                            t.StartAgain, t.TurnDevice, t.PlayArea, t.PlayCommands, t.Menu,
                                            t.ExitQuestion, t.ScoresNotKept}) {
            EXPECT_FALSE(text.empty()) << "language " << int(language);
        }
    }
    EXPECT_EQ(ControlTexts(0).Yes, "是");
    EXPECT_EQ(ControlTexts(1).Yes, "Yes");
}

} // namespace
} // namespace pelmoravan
