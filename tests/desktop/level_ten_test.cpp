// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/lock_holder.h"
#include "desktop/media/dx_timer.h"
#include "desktop/media/dxdraw.h"
#include "desktop/shell/form1.h"
#include "desktop/shell/scores_dialog.h"
#include "game/tile_sprite.h"
#include "modal_helpers.h"
#include "shell/language_tables.h"
#include "shell/score_file.h"

namespace pelmoravan {
namespace {

using namespace pelmoravan::testing;

// Everything a stray click, key or tick could change behind the dialogs.
struct Behind {
    TGameState GameState;
    std::int32_t Difficulty, Level, Score, PairsRemoved, HintsLeft, ShufflesLeft;
    std::int32_t MouseX, MouseY, Selected0, Selected1, SecondTicks, DisplayTicks, Sprites;
    bool AutoPlay, SoundOn, MusicOn;
    std::vector<std::int32_t> Board; // picture, negative where removed

    static Behind Of(TGame& g) {
        Behind b{g.GameState, g.Difficulty, g.Level, g.Score, g.PairsRemoved, g.HintsLeft, g.ShufflesLeft,
                 g.MouseX, g.MouseY, g.Selected[0].Index, g.Selected[1].Index, g.SecondTicks, g.DisplayTicks,
                 g.DXSpriteEngine.Root()->Count(), g.AutoPlay, g.SoundOn, g.MusicOn, {}};
        for (const auto& column : g.Board) {
            for (const TCell& cell : column) {
                b.Board.push_back(cell.Removed ? -cell.Picture : cell.Picture);
            }
        }
        return b;
    }
};

void ExpectSame(const Behind& a, const Behind& b, const char* while_) {
    SCOPED_TRACE(while_);
    EXPECT_EQ(a.GameState, b.GameState);
    EXPECT_EQ(a.Difficulty, b.Difficulty);
    EXPECT_EQ(a.Level, b.Level);
    EXPECT_EQ(a.Score, b.Score);
    EXPECT_EQ(a.PairsRemoved, b.PairsRemoved);
    EXPECT_EQ(a.HintsLeft, b.HintsLeft);
    EXPECT_EQ(a.ShufflesLeft, b.ShufflesLeft);
    EXPECT_EQ(a.MouseX, b.MouseX) << "a click reached the play surface";
    EXPECT_EQ(a.MouseY, b.MouseY) << "a click reached the play surface";
    EXPECT_EQ(a.Selected0, b.Selected0);
    EXPECT_EQ(a.Selected1, b.Selected1);
    EXPECT_EQ(a.SecondTicks, b.SecondTicks) << "the level clock ran";
    EXPECT_EQ(a.DisplayTicks, b.DisplayTicks);
    EXPECT_EQ(a.Sprites, b.Sprites);
    EXPECT_EQ(a.AutoPlay, b.AutoPlay);
    EXPECT_EQ(a.SoundOn, b.SoundOn);
    EXPECT_EQ(a.MusicOn, b.MusicOn);
    EXPECT_EQ(a.Board, b.Board) << "a new board was dealt";
}

std::string FileBytes(const char* path) {
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

TScoreEntries RecordedScores() {
    const std::string bytes = FileBytes(ScoreFileName);
    const auto entries =
        DecodeScoreFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return entries.value_or(TScoreEntries{});
}

// The main window in a fresh working directory with the tenth level of Easy just cleared: a
// few ticks finish the difficulty. The frame timer stands still; the test ticks by hand.
class LevelTen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(Dir.path()));
        ASSERT_TRUE(TGameHost::CheckScoreFile(ScoreFileName, [](const std::string&) {}));
        Form = std::make_unique<WatchedForm>();
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));

        TGame& g = Form->Game();
        g.StartGame(1);
        Form->DXTimer1().SetEnabled(false);
        g.Level = 10;
        g.Score = 4321;
        g.MouseX = 7;
        g.MouseY = 9;
        Tiles = g.Board;
        for (auto& column : g.Board) {
            for (TCell& cell : column) {
                cell.Removed = true;
                cell.Sprite->MarkDead();
                cell.Sprite = nullptr;
            }
        }
    }
    void TearDown() override {
        Form.reset();
        QDir::setCurrent(Previous);
    }

    // Ticks until the window shows a dialog of type T (at most ticks of them).
    template <class T>
    T* TickUntilShown(int ticks = 30) {
        for (int i = 0; i < ticks; ++i) {
            if (auto* shown = ShownDialog<T>(*Form, 0)) {
                return shown;
            }
            Tick(*Form);
            QCoreApplication::processEvents();
        }
        return ShownDialog<T>(*Form, 0);
    }

    // Clicks where tiles stood and on the menu bar, and every key the game knows, sent to the
    // main window the way the window system delivers a player's input; and five ticks.
    void DisturbTheMainWindow() {
        QWindow* main = Form->windowHandle();
        ASSERT_NE(main, nullptr);
        TDXDraw* draw = Form->DXDraw();
        for (const auto& [col, row] : {std::pair{0, 0}, std::pair{7, 4}, std::pair{15, 9}}) {
            const TCell& cell = Tiles[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
            const QPoint at = draw->mapTo(Form.get(), QPoint(cell.X + 20, cell.Y + 15));
            QTest::mouseClick(main, Qt::LeftButton, {}, at);
            QTest::mouseClick(main, Qt::RightButton, {}, at);
        }
        QTest::mouseClick(main, Qt::LeftButton, {}, Form->menuBar()->geometry().topLeft() + QPoint(12, 8));
        for (const Qt::Key key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F9, Qt::Key_Escape}) {
            QTest::keyClick(main, key);
        }
        for (int i = 0; i < 5; ++i) {
            Tick(*Form);
        }
    }

    // The keys a player may press at a dialog itself, leaving out those that answer it.
    static void DisturbTheDialog(QWidget* dialog) {
        for (const Qt::Key key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F9}) {
            QTest::keyClick(dialog, key);
        }
    }

    QTemporaryDir Dir;
    QString Previous;
    std::unique_ptr<WatchedForm> Form;
    TBoard Tiles; // the cleared level's board as it was dealt
};

// The name entry, then the list, then the question, each shown once the one before is answered,
// modal to the window; meanwhile ticks only present and the window's input changes nothing.
TEST_F(LevelTen, NameListAndQuestionInTurnWithPlayStillBehindThemAndYesDealsTheNextDifficulty) {
    TGame& g = Form->Game();
    auto* input = TickUntilShown<QInputDialog>();
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->windowTitle(), QStringLiteral("No.1"));
    EXPECT_EQ(input->labelText(), QStringLiteral("Please Input Your Name:"));
    EXPECT_EQ(input->textValue(), QStringLiteral("Default User"));
    EXPECT_EQ(input->windowModality(), Qt::WindowModal);
    EXPECT_EQ(input->parentWidget(), Form.get());
    EXPECT_TRUE(g.DialogShown);
    Behind before = Behind::Of(g);
    DisturbTheMainWindow();
    ExpectSame(before, Behind::Of(g), "at the name entry");
    input->setTextValue(QStringLiteral("Tester"));
    input->accept();
    // The answer reaches the house on a later turn, not from inside the dialog's signal.
    EXPECT_EQ(Form->ShownRequest(), nullptr);
    EXPECT_TRUE(Form->Host().RequestOpen());

    auto* list = ShownDialog<TfmScores>(*Form);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->ListView1->topLevelItem(0)->text(1), QStringLiteral("Tester"));
    EXPECT_EQ(list->ListView1->topLevelItem(0)->text(2), QStringLiteral("4321"));
    EXPECT_EQ(RecordedScores()[0].Name, "Tester"); // on disk before the list shows
    DisturbTheMainWindow();
    ExpectSame(before, Behind::Of(g), "at the score list");
    list->Button1->click();

    auto* box = ShownDialog<QMessageBox>(*Form);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QString::fromStdString(g.Messages[40]));
    EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QString::fromUtf8(ChineseControlTexts.Yes));
    EXPECT_EQ(box->button(QMessageBox::No)->text(), QString::fromUtf8(ChineseControlTexts.No));
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    before = Behind::Of(g); // the level count went back to 1 before the question
    DisturbTheMainWindow();
    DisturbTheDialog(box);
    ExpectSame(before, Behind::Of(g), "at the question");
    ASSERT_EQ(Form->ShownRequest(), box) << "a key answered the question";
    box->button(QMessageBox::Yes)->click();

    ASSERT_TRUE(AllAnswered(*Form));
    EXPECT_FALSE(g.DialogShown);
    EXPECT_EQ(g.GameState, TGameState::Playing);
    EXPECT_EQ(g.Difficulty, 2);
    EXPECT_EQ(g.Level, 1);
    EXPECT_EQ(g.Score, 0);
    // Nothing held over from the dialogs reaches the game once they are gone.
    for (int i = 0; i < 3; ++i) {
        Tick(*Form);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(g.GameState, TGameState::Playing) << "paused or ended by a key pressed during the dialogs";
    EXPECT_TRUE(Form->ExitCodes.empty());
    EXPECT_EQ(Form->ShownRequest(), nullptr) << "F9 pressed behind the dialogs opened the save dialog";
    EXPECT_EQ(g.DXSpriteEngine.Root()->Count(), 192);
    EXPECT_EQ(g.HintsLeft, 10);
    EXPECT_EQ(g.ShufflesLeft, 10);
    EXPECT_EQ(g.Selected[0].Index, -1);
    EXPECT_EQ(RecordedScores()[1].Score, 0) << "the score was recorded twice";
}

// Cancel at the name entry records the offered name; Esc at the question answers No and goes
// back to the title without ending the program.
TEST_F(LevelTen, CancelKeepsTheOfferedNameAndEscAtTheQuestionGoesBackToTheTitle) {
    auto* input = TickUntilShown<QInputDialog>();
    ASSERT_NE(input, nullptr);
    input->setTextValue(QStringLiteral("Ignored"));
    QTest::keyClick(input, Qt::Key_Escape);
    auto* list = ShownDialog<TfmScores>(*Form);
    ASSERT_NE(list, nullptr);
    QTest::keyClick(list, Qt::Key_Escape);
    auto* box = ShownDialog<QMessageBox>(*Form);
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Escape);
    ASSERT_TRUE(AllAnswered(*Form));

    TGame& g = Form->Game();
    EXPECT_EQ(g.GameState, TGameState::Title);
    EXPECT_EQ(g.Difficulty, 1);
    EXPECT_TRUE(Form->ExitCodes.empty());
    const TScoreEntries scores = RecordedScores();
    EXPECT_EQ(scores[0].Name, "Default User");
    EXPECT_EQ(scores[0].Score, 4321);
    EXPECT_EQ(scores[1].Score, 0);
}

// Another copy holds the score file's lock: the lock is tried on each tick and the busy box
// shows after a second of them; Cancel gives the record up, says so, and the question follows.
TEST_F(LevelTen, ALockHeldElsewhereShowsTheBusyBoxAfterASecondAndCancelRecordsNothing) {
    const std::string before = FileBytes(ScoreFileName);
    LockHolder holder(ScoreFileName);
    int ticks = 0;
    while (Form->ShownRequest() == nullptr && ticks < 40) {
        Tick(*Form);
        ticks += 1;
    }
    auto* busy = ShownDialog<QMessageBox>(*Form, 0);
    ASSERT_NE(busy, nullptr);
    // Five ticks clear the level; ten more are the second waited.
    EXPECT_GE(ticks, 10);
    EXPECT_LE(ticks, 16);
    EXPECT_EQ(busy->text(), QString::fromUtf8(ChineseControlTexts.ScoreFileBusy));
    EXPECT_EQ(busy->button(QMessageBox::Cancel)->text(), QString::fromUtf8(ChineseControlTexts.Cancel));
    EXPECT_EQ(busy->windowModality(), Qt::WindowModal);
    Tick(*Form);
    ASSERT_EQ(Form->ShownRequest(), busy) << "a tick took the box down while the lock is held";
    QTest::keyClick(busy, Qt::Key_Escape);

    // The next try of the lock hears of the Cancel.
    auto* told = TickUntilShown<QMessageBox>(3);
    ASSERT_NE(told, nullptr);
    EXPECT_EQ(told->text(), QString::fromUtf8(ChineseControlTexts.ScoreNotRecorded));
    told->button(QMessageBox::Ok)->click();
    auto* question = ShownDialog<QMessageBox>(*Form);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text(), QString::fromStdString(Form->Game().Messages[40]));
    question->button(QMessageBox::No)->click();
    ASSERT_TRUE(AllAnswered(*Form));
    holder.LetGo();
    EXPECT_EQ(FileBytes(ScoreFileName), before);
    EXPECT_TRUE(Form->ExitCodes.empty());
}

} // namespace
} // namespace pelmoravan
