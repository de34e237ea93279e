// SPDX-License-Identifier: MIT
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

#include "desktop/media/dxdraw.h"
#include "desktop/shell/form1.h"
#include "desktop/shell/main_menu.h"
#include "modal_helpers.h"

namespace pelmoravan {
namespace {

using enum TMenuItem;

// 100 tile pictures named "1".."100", without pixels.
std::unique_ptr<TPictureCollection> TilePictures() {
    auto list = std::make_unique<TPictureCollection>();
    for (int i = 1; i <= 100; ++i) {
        list->Add(std::to_string(i));
    }
    return list;
}

class MenuWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (form.Game().ImageList == nullptr || form.Game().ImageList->Count() < 100) {
            form.Game().ImageList = pictures.get();
        }
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    TGame& game() { return form.Game(); }
    QAction* action(TMenuItem item) { return form.MainMenu1().Action(item); }
    QString text(TMenuItem item) { return action(item)->text(); }
    void press(Qt::Key key) { QTest::keyClick(&form, key); }
    // Opens a menu as the user would and closes it again.
    void open(TMenuItem item) {
        QMenu* menu = form.MainMenu1().Menu(item);
        menu->popup(QPoint(0, 0));
        menu->hide();
    }

    std::unique_ptr<TPictureCollection> pictures = TilePictures();
    TForm1 form;
};

TEST_F(MenuWindow, ChineseCaptionsAndShortcutsAfterStart) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Pelmoravan v2.2"));
    QStringList bar;
    for (QAction* a : form.menuBar()->actions()) {
        bar << a->text();
    }
    EXPECT_EQ(bar, (QStringList{"游戏", "设置", "其他", "关于", "退出"}));
    EXPECT_EQ(text(NewGame1), QStringLiteral("新游戏"));
    EXPECT_EQ(text(GameOver1), QStringLiteral("暂停"));
    EXPECT_EQ(text(EndGame1), QStringLiteral("结束游戏"));
    EXPECT_EQ(text(BackgroundMusic1), QStringLiteral("背景音乐"));
    EXPECT_EQ(text(N2), QStringLiteral("排名"));
    EXPECT_EQ(action(NewGame1)->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(action(GameOver1)->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(action(hint1)->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(action(wash1)->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_TRUE(action(EndGame1)->shortcut().isEmpty());
    EXPECT_EQ(form.menuBar()->objectName(), QStringLiteral("MainMenu1"));
    EXPECT_EQ(action(Hard1)->objectName(), QStringLiteral("Hard1"));
}

TEST_F(MenuWindow, LanguageSubmenuIsHiddenAndItsCommandsStillWork) {
    EXPECT_FALSE(action(Language1)->isVisible());
    for (TMenuItem item : {hint1, wash1, Auto1, N2}) {
        EXPECT_TRUE(action(item)->isVisible());
    }
    action(English1)->trigger();
    EXPECT_EQ(game().Language, 1);
    EXPECT_EQ(text(game1), QStringLiteral("Game"));
    EXPECT_EQ(text(BackgroundMusic1), QStringLiteral("BackGround Music"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Pelmoravan v2.2"));
    EXPECT_FALSE(action(Language1)->isVisible());
    open(Language1);
    EXPECT_TRUE(action(English1)->isChecked());
    EXPECT_FALSE(action(Chinese1)->isChecked());
    action(Chinese1)->trigger();
    EXPECT_EQ(game().Language, 0);
    EXPECT_EQ(text(game1), QStringLiteral("游戏"));
}

TEST_F(MenuWindow, F2StartsAGameOnlyOnTheTitleScreen) {
    press(Qt::Key_F2);
    ASSERT_EQ(game().GameState, TGameState::Playing);
    EXPECT_EQ(game().BoardColumns, 16);
    EXPECT_EQ(game().BoardRows, 10);
    // The menu was never opened: the shortcut itself must see that New Game is disabled now.
    game().Score = 77;
    game().Level = 4;
    press(Qt::Key_F2);
    EXPECT_EQ(game().Score, 77);
    EXPECT_EQ(game().Level, 4);
    EXPECT_FALSE(action(NewGame1)->isEnabled());
    game().GameState = TGameState::GameOver;
    press(Qt::Key_F2);
    EXPECT_EQ(game().GameState, TGameState::GameOver);
    EXPECT_EQ(game().Score, 77);
    game().GameState = TGameState::Title;
    press(Qt::Key_F2);
    EXPECT_EQ(game().GameState, TGameState::Playing);
    EXPECT_EQ(game().Score, 0);
    EXPECT_EQ(game().Level, 1);
}

TEST_F(MenuWindow, F3PausesAndResumes) {
    press(Qt::Key_F3);
    EXPECT_EQ(game().GameState, TGameState::Title);
    press(Qt::Key_F2);
    press(Qt::Key_F3);
    EXPECT_EQ(game().GameState, TGameState::Paused);
    // The caption follows the state at the next opening, not at the command.
    EXPECT_EQ(text(GameOver1), QStringLiteral("暂停"));
    open(game1);
    EXPECT_EQ(text(GameOver1), QStringLiteral("恢复"));
    EXPECT_FALSE(action(EndGame1)->isEnabled());
    press(Qt::Key_F2);  // no new game while paused
    EXPECT_EQ(game().GameState, TGameState::Paused);
    press(Qt::Key_F3);
    EXPECT_EQ(game().GameState, TGameState::Playing);
    open(game1);
    EXPECT_EQ(text(GameOver1), QStringLiteral("暂停"));
    EXPECT_TRUE(action(EndGame1)->isEnabled());
}

TEST_F(MenuWindow, DisabledItemsSwallowTheirShortcuts) {
    game().HintsLeft = 0;
    game().ShufflesLeft = 0;
    ASSERT_TRUE(action(hint1)->isEnabled());  // never opened yet
    press(Qt::Key_F4);
    press(Qt::Key_F5);
    EXPECT_FALSE(action(hint1)->isEnabled());
    EXPECT_FALSE(action(wash1)->isEnabled());
    // With shuffles left but on the title screen the command runs and uses up nothing.
    game().ShufflesLeft = 3;
    press(Qt::Key_F5);
    EXPECT_TRUE(action(wash1)->isEnabled());
    EXPECT_EQ(game().ShufflesLeft, 3);
    // Pause is disabled on the title screen and after the game is over.
    press(Qt::Key_F3);
    EXPECT_EQ(game().GameState, TGameState::Title);
    game().GameState = TGameState::GameOver;
    press(Qt::Key_F3);
    EXPECT_EQ(game().GameState, TGameState::GameOver);
}

// A screen reader's bridge holds each key press back, asks the reader, and sends it again: the
// second sending overrides shortcuts anew. Each F-key must still act once.
class TReaderHoldsKeys final : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !event->spontaneous()) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        QKeyEvent again(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                        static_cast<ushort>(key->count()));
        QCoreApplication::sendEvent(watched, &again);
        return true;
    }
};

TEST_F(MenuWindow, WithAReaderHoldingKeysBackEachFKeyActsOnce) {
    TReaderHoldsKeys reader;
    qApp->installEventFilter(&reader);
    press(Qt::Key_F2);
    EXPECT_EQ(game().GameState, TGameState::Playing);
    press(Qt::Key_F4);
    EXPECT_EQ(game().HintsLeft, 9);
    press(Qt::Key_F5);
    EXPECT_EQ(game().ShufflesLeft, 9);
    press(Qt::Key_F3);
    EXPECT_EQ(game().GameState, TGameState::Paused);
    qApp->removeEventFilter(&reader);
}

// F10 opens the first menu as a click on its caption would; Esc closes it and leaves the keyboard
// in the menu bar, and Esc again gives it back to the board without ending the game.
TEST_F(MenuWindow, F10OpensTheGameMenuAndEscLeavesTheBarWithoutEndingTheGame) {
    press(Qt::Key_F10);
    QMenu* menu = form.MainMenu1().Menu(game1);
    ASSERT_TRUE(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    QTest::keyClick(form.menuBar(), Qt::Key_Escape);
    form.Host().Keys().Poll();
    EXPECT_FALSE(form.Host().Keys().KeyDown(TKey::Escape));
    // The board's own Esc still ends the game.
    QTest::keyClick(form.DXDraw(), Qt::Key_Escape);
    form.Host().Keys().Poll();
    EXPECT_TRUE(form.Host().Keys().KeyDown(TKey::Escape));
}

TEST_F(MenuWindow, ShortcutsWithModifiersAreNotMenuKeys) {
    QTest::keyClick(&form, Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(game().GameState, TGameState::Title);
}

TEST_F(MenuWindow, DifficultyOnlyOnTheTitleScreen) {
    press(Qt::Key_F2);
    action(Hard1)->trigger();
    EXPECT_EQ(game().Difficulty, 1);
    EXPECT_FALSE(action(Hard1)->isChecked());  // the click does not set the mark by itself
    open(Level2);
    EXPECT_TRUE(action(Easy1)->isChecked());
    EXPECT_FALSE(action(Hard1)->isChecked());
    open(game1);
    action(EndGame1)->trigger();
    EXPECT_EQ(game().GameState, TGameState::Title);
    action(Hard1)->trigger();
    EXPECT_EQ(game().Difficulty, 3);
    open(Level2);
    EXPECT_TRUE(action(Hard1)->isChecked());
    EXPECT_FALSE(action(Easy1)->isChecked());
    press(Qt::Key_F2);
    EXPECT_EQ(game().GameState, TGameState::Playing);
    EXPECT_EQ(game().BoardRows, 15);
}

TEST_F(MenuWindow, SoundSwitchesAndTheirMarks) {
    action(Music1)->trigger();
    EXPECT_FALSE(game().SoundOn);
    action(BackgroundMusic1)->trigger();
    EXPECT_FALSE(game().MusicOn);
    open(Sound1);
    EXPECT_FALSE(action(Music1)->isChecked());
    EXPECT_FALSE(action(BackgroundMusic1)->isChecked());
    action(BackgroundMusic1)->trigger();
    open(Sound1);
    EXPECT_TRUE(game().MusicOn);
    EXPECT_TRUE(action(BackgroundMusic1)->isChecked());
    EXPECT_FALSE(action(Music1)->isChecked());
}

TEST_F(MenuWindow, AutoMarkFollowsTheGame) {
    action(Auto1)->trigger();  // title screen: nothing happens
    EXPECT_FALSE(game().AutoPlay);
    EXPECT_FALSE(action(Auto1)->isChecked());
    press(Qt::Key_F2);
    action(Auto1)->trigger();
    EXPECT_EQ(action(Auto1)->isChecked(), game().Auto1Checked);
    EXPECT_TRUE(game().Auto1Checked);
}

TEST_F(MenuWindow, ErrorsInsideACommandAreShownAndTheWindowGoesOn) {
    TPictureCollection empty;
    game().ImageList = &empty;
    press(Qt::Key_F2);
    auto* box = testing::ShownDialog<QMessageBox>(form);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Image '1' not found"));
    box->close();
    ASSERT_TRUE(testing::AllAnswered(form));
    EXPECT_TRUE(form.isVisible());
    game().ImageList = pictures.get();
}

TEST_F(MenuWindow, ExitClosesTheWindowAlsoDuringAGame) {
    const bool quitOnClose = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    press(Qt::Key_F2);
    action(Exit1)->trigger();
    EXPECT_FALSE(form.isVisible());
    QApplication::setQuitOnLastWindowClosed(quitOnClose);
}

// Started with --language english and a data folder: the captions and texts of the English
// command from the first frame on, and both files in that folder.
TEST(StartOptions, EnglishTextsAndTheDataFolderFromTheStart) {
    const QTemporaryDir dir;
    TStartOptions options;
    options.Language = 1;
    options.DataDir = dir.path().toStdString();
    ASSERT_TRUE(TGameHost::CheckScoreFile(options.ScorePath(), [](const std::string&) {}));
    TForm1 form(options);
    EXPECT_EQ(form.Game().Language, 1);
    QStringList bar;
    for (QAction* a : form.menuBar()->actions()) {
        bar << a->text();
    }
    EXPECT_EQ(bar, (QStringList{"Game", "Setting", "Other", "About", "Exit"}));
    const TMainMenu& menu = form.MainMenu1();
    EXPECT_EQ(menu.Action(NewGame1)->text(), QStringLiteral("New Game"));
    EXPECT_EQ(menu.Action(GameOver1)->text(), QStringLiteral("Pause"));
    EXPECT_EQ(menu.Action(Level2)->text(), QStringLiteral("Level"));
    EXPECT_EQ(menu.Action(BackgroundMusic1)->text(), QStringLiteral("BackGround Music"));
    EXPECT_EQ(menu.Action(N2)->text(), QStringLiteral("Sequence"));
    EXPECT_FALSE(menu.Action(Language1)->isVisible());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Pelmoravan v2.2"));
    EXPECT_EQ(form.Game().Messages[10], "Remain Time : ");
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("back.MID")));
    EXPECT_EQ(QFileInfo(dir.filePath("Pelmoravan.sco")).size(), 593);
}

} // namespace
} // namespace pelmoravan
