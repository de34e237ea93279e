// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <tuple>

#include "core/fakes.h"
#include "shell/apply_language.h"
#include "shell/command_line.h"
#include "shell/dialog_texts.h"
#include "shell/language_tables.h"
#include "shell/menu_model.h"

namespace pelmoravan {
namespace {

using testing::GameFixture;
using enum TMenuItem;

struct LanguageTest : ::testing::Test {
    GameFixture f;
    TGame& game = f.game;
    TMainMenuModel menu;
};

TEST_F(LanguageTest, ChineseFillsEntriesOneToFortyEightAndLeavesTheRestEmpty) {
    ApplyLanguage(game, menu, 0);
    EXPECT_EQ(game.Messages[1], "无变化");
    EXPECT_EQ(game.Messages[9], "上下集中");
    EXPECT_EQ(game.Messages[10], "时间剩余 : ");
    EXPECT_EQ(game.Messages[11], "提示(F4)剩余 :");
    EXPECT_EQ(game.Messages[12], "重洗(F5)剩余 : ");
    EXPECT_EQ(game.Messages[13], " 次");
    EXPECT_EQ(game.Messages[40], "恭喜过关,继续下一难度");
    EXPECT_EQ(game.Messages[41], "恭喜通关,重新开始?");
    EXPECT_EQ(game.Messages[42], "见缝插针");
    EXPECT_EQ(game.Messages[44], "Pelmoravan v2.2");
    EXPECT_EQ(game.Messages[46], "恢复");
    for (int n = 1; n <= 46; ++n) {
        EXPECT_FALSE(game.Messages[n].empty()) << "entry " << n;
    }
    EXPECT_TRUE(game.Messages[0].empty());
    EXPECT_TRUE(game.Messages[47].empty());
    EXPECT_TRUE(game.Messages[48].empty());
    for (int n = 49; n <= 100; ++n) {
        EXPECT_TRUE(game.Messages[n].empty()) << "entry " << n;
    }
    EXPECT_EQ(game.LevelNames[1], "第一关");
    EXPECT_EQ(game.LevelNames[10], "第十关");
    EXPECT_EQ(game.BonusNames[1], "提示增加");
    EXPECT_EQ(game.BonusNames[2], "重新洗牌增加");
    EXPECT_EQ(game.BonusNames[4], "时间增加");
    EXPECT_TRUE(game.BonusNames[5].empty());
}

TEST_F(LanguageTest, EnglishKeepsItsOddSpacingAndEmptyUnits) {
    ApplyLanguage(game, menu, 1);
    EXPECT_EQ(game.Messages[9], "Top and  Bottom To Center");
    EXPECT_EQ(game.Messages[11], "Remain Hint(F4) : ");
    EXPECT_EQ(game.Messages[12], "Remain Shuffle(F5) : ");
    EXPECT_TRUE(game.Messages[13].empty());
    EXPECT_TRUE(game.Messages[14].empty());
    EXPECT_EQ(game.Messages[15], "  Type pictures");
    EXPECT_EQ(game.Messages[30], "BackGround Music");
    EXPECT_EQ(game.Messages[40], "Congratulation!Next Level?");
    EXPECT_EQ(game.Messages[41], "Congratulation! You Pass All Level,Again?");
    EXPECT_EQ(game.Messages[42], "Make use of every bit of time or space");
    EXPECT_EQ(game.Messages[44], "Pelmoravan v2.2");
    EXPECT_EQ(game.LevelNames[5], "Fifths Step");
    EXPECT_EQ(game.BonusNames[3], "Scores Add");
    EXPECT_TRUE(game.BonusNames[5].empty());
}

// The status lines are label + count + unit: no space before a Chinese count, none after an
// English one.
TEST_F(LanguageTest, HintLineIsBuiltByPlainConcatenation) {
    ApplyLanguage(game, menu, 0);
    EXPECT_EQ(game.Messages[11] + "7" + game.Messages[13], "提示(F4)剩余 :7 次");
    ApplyLanguage(game, menu, 1);
    EXPECT_EQ(game.Messages[11] + "7" + game.Messages[13], "Remain Hint(F4) : 7");
}

TEST_F(LanguageTest, TablesHoldTheirCounts) {
    EXPECT_EQ(ChineseLevelNames.size() - 1, 10u);
    EXPECT_EQ(ChineseMessages.size() - 1, 48u);
    EXPECT_EQ(ChineseBonusNames.size() - 1, 5u);
    for (int n = 1; n <= 10; ++n) {
        EXPECT_FALSE(ChineseLevelNames[n].empty());
        EXPECT_FALSE(EnglishLevelNames[n].empty());
        EXPECT_NE(ChineseLevelNames[n], EnglishLevelNames[n]);
    }
}

TEST_F(LanguageTest, SwitchingBackAndForthRestoresEveryText) {
    ApplyLanguage(game, menu, 0);
    const auto chinese = game.Messages;
    const auto chineseLevels = game.LevelNames;
    const auto chineseBonus = game.BonusNames;
    ApplyLanguage(game, menu, 1);
    EXPECT_EQ(game.Messages[19], "Game");
    EXPECT_EQ(menu.Item(game1).Caption, "Game");
    ApplyLanguage(game, menu, 0);
    EXPECT_EQ(game.Messages, chinese);
    EXPECT_EQ(game.LevelNames, chineseLevels);
    EXPECT_EQ(game.BonusNames, chineseBonus);
    EXPECT_EQ(menu.Item(game1).Caption, "游戏");
}

TEST_F(LanguageTest, ChineseCaptionsAfterStart) {
    EXPECT_EQ(menu.WindowCaption(), "Pelmoravan");
    EXPECT_EQ(menu.Item(GameOver1).Caption, "Pause Game ");
    ApplyLanguage(game, menu, 0);
    EXPECT_EQ(menu.WindowCaption(), "Pelmoravan v2.2");
    EXPECT_EQ(menu.Item(game1).Caption, "游戏");
    EXPECT_EQ(menu.Item(Level1).Caption, "设置");
    EXPECT_EQ(menu.Item(other1).Caption, "其他");
    EXPECT_EQ(menu.Item(about).Caption, "关于");
    EXPECT_EQ(menu.Item(Exit1).Caption, "退出");
    EXPECT_EQ(menu.Item(GameOver1).Caption, "暂停");
    EXPECT_EQ(menu.Item(EndGame1).Caption, "结束游戏");
    EXPECT_EQ(menu.Item(N2).Caption, "排名");
    EXPECT_EQ(menu.Item(Music1).Caption, "音效");
    EXPECT_EQ(menu.Item(BackgroundMusic1).Caption, "背景音乐");
    EXPECT_EQ(menu.Item(wash1).Caption, "重洗");
    EXPECT_EQ(menu.Item(Auto1).Caption, "自动");
}

TEST_F(LanguageTest, SettingAndHintCaptionsInBothLanguages) {
    const std::tuple<TMenuItem, const char*, const char*> cases[] = {
        {Level2, "等级", "Level"}, {Easy1, "容易", "Easy"},   {Normal1, "一般", "Normal"},
        {Hard1, "困难", "Hard"},   {Sound1, "声音", "Sound"}, {hint1, "提示", "Hint"}};
    for (const auto& [item, chinese, english] : cases) {
        ApplyLanguage(game, menu, 0);
        EXPECT_EQ(menu.Item(item).Caption, chinese);
        ApplyLanguage(game, menu, 1);
        EXPECT_EQ(menu.Item(item).Caption, english);
    }
}

TEST_F(LanguageTest, SwitchingWhilePausedLabelsThePauseItemResume) {
    game.GameState = TGameState::Paused;
    ApplyLanguage(game, menu, 1);
    EXPECT_EQ(menu.Item(GameOver1).Caption, "Resume");
    ApplyLanguage(game, menu, 0);
    EXPECT_EQ(menu.Item(GameOver1).Caption, "恢复");
    game.GameState = TGameState::Playing;
    ApplyLanguage(game, menu, 0);
    EXPECT_EQ(menu.Item(GameOver1).Caption, "暂停");
}

TEST_F(LanguageTest, AnyOtherValueOnlyReappliesTheCaptions) {
    ApplyLanguage(game, menu, 1);
    game.Messages[19] = "Changed";
    ApplyLanguage(game, menu, 7);
    EXPECT_EQ(game.Messages[19], "Changed");
    EXPECT_EQ(game.Messages[20], "New Game");
    EXPECT_EQ(menu.Item(game1).Caption, "Changed");
}

TEST_F(LanguageTest, TextsDoNotTouchTheLanguageField) {
    game.Language = 0;
    ApplyLanguage(game, menu, 1);
    EXPECT_EQ(game.Language, 0);
}

// One version: what the build read is what the caption, the About box and --version show.
TEST_F(LanguageTest, TheVersionReadsTheSameEverywhere) {
    EXPECT_STREQ(PELMORAVAN_BUILD_VERSION, GameVersion);
    for (std::uint8_t language : {0, 1}) {
        ApplyLanguage(game, menu, language);
        EXPECT_EQ(menu.WindowCaption(), "Pelmoravan v2.2");
    }
    EXPECT_STREQ(AboutVersion, "(Ver 2.2)");
    EXPECT_EQ(VersionText(), "pelmoravan 2.2\n");
}

} // namespace
} // namespace pelmoravan
