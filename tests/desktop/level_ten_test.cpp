#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "desktop/media/dxdraw.h"
#include "game/tile_sprite.h"
#include "desktop/shell/form1.h"
#include "desktop/shell/score_ui.h"
#include "desktop/shell/scores_dialog.h"
#include "shell/score_file.h"

namespace pelmoravan {
namespace {

// The main window with the frame loop's two ways out of the game counted instead of taken:
// quitting would end the test program, and a save dialog would wait for an answer.
class WatchedForm final : public TForm1 {
public:
    void Terminate() override { Terminations += 1; }
    void ShowSaveDialog() override { SaveDialogs += 1; }
    int Terminations = 0;
    int SaveDialogs = 0;
};

// Answers the modal dialogs in the order they come, each with its own handler. A dialog nobody
// expected is counted and rejected, so that a fault shows as a failure rather than a hang.
class ModalScript {
public:
    ModalScript() {
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Look(); });
        FTimer.start(10);
    }
    void Then(std::function<void(QWidget*)> handler) { FHandlers.push_back(std::move(handler)); }
    bool Done() const { return FHandlers.empty(); }
    int Unexpected = 0;

private:
    void Look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (FBusy || modal == nullptr || !modal->isVisible() || modal == FCurrent) {
            return;
        }
        FCurrent = modal;
        if (FHandlers.empty()) {
            Unexpected += 1;
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
            else modal->close();
            return;
        }
        auto handler = std::move(FHandlers.front());
        FHandlers.pop_front();
        FBusy = true; // a handler that waits lets this timer run again
        handler(modal);
        FBusy = false;
    }

    QTimer FTimer;
    std::deque<std::function<void(QWidget*)>> FHandlers;
    QPointer<QWidget> FCurrent;
    bool FBusy = false;
};

// Everything a stray click or key could change behind the question.
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

void ExpectSame(const Behind& a, const Behind& b) {
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

// The main window in a fresh working directory with the tenth level of Easy just cleared: the
// frame loop's fifth tick from now finishes the difficulty and asks whether to go on.
class QuestionGuard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(Dir.path()));
        ASSERT_TRUE(UpdateScoresInWindow(nullptr, false, -1));
        Form = std::make_unique<WatchedForm>();
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));

        TGame& g = Form->Game();
        g.StartGame(1);
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

    // The name prompt and the score list come first, as the score reaches the list.
    void AnswerScoreDialogs() {
        Script.Then([](QWidget* modal) {
            auto* input = qobject_cast<QInputDialog*>(modal);
            ASSERT_NE(input, nullptr);
            input->setTextValue(QStringLiteral("Tester"));
            input->accept();
        });
        Script.Then([](QWidget* modal) {
            auto* list = qobject_cast<TfmScores*>(modal);
            ASSERT_NE(list, nullptr);
            list->Button1->click();
        });
    }

    // Clicks where tiles stood and on the menu bar, and every key the game knows, sent to the
    // main window the way the window system delivers a player's input.
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
    }

    // The keys a player may press at the question itself, leaving out those that answer it.
    static void DisturbTheQuestion(QMessageBox* box) {
        for (const Qt::Key key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F9}) {
            QTest::keyClick(box, key);
        }
    }

    // Ticks the frame loop by hand until the question has come and gone.
    void TickThroughTheQuestion() {
        for (int tick = 0; tick < 10 && !Script.Done(); ++tick) {
            Form->Game().DXTimer1Timer(1);
        }
        EXPECT_TRUE(Script.Done());
        EXPECT_EQ(Script.Unexpected, 0);
    }

    QTemporaryDir Dir;
    QString Previous;
    std::unique_ptr<WatchedForm> Form;
    TBoard Tiles; // the cleared level's board as it was dealt
    ModalScript Script;
};

TEST_F(QuestionGuard, InputWhileTheQuestionIsOpenChangesNothingAndYesStartsNormal) {
    AnswerScoreDialogs();
    QString question;
    Script.Then([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        question = box->text();
        TGame& g = Form->Game();
        EXPECT_TRUE(g.DialogShown);
        const Behind before = Behind::Of(g);
        DisturbTheMainWindow();
        DisturbTheQuestion(box);
        QTest::qWait(400); // the frame timer goes on ticking meanwhile
        ExpectSame(before, Behind::Of(g));
        EXPECT_EQ(QApplication::activeModalWidget(), box);
        EXPECT_TRUE(box->isVisible()) << "a key answered the question";
        box->button(QMessageBox::Yes)->click();
    });
    TickThroughTheQuestion();

    TGame& g = Form->Game();
    EXPECT_EQ(question, QString::fromStdString(g.Messages[40]));
    EXPECT_FALSE(g.DialogShown);
    EXPECT_EQ(g.GameState, TGameState::Playing);
    EXPECT_EQ(g.Difficulty, 2);
    EXPECT_EQ(g.Level, 1);
    EXPECT_EQ(g.Score, 0);
    // Nothing held over from the question reaches the game once it is gone.
    QTest::qWait(300);
    for (int i = 0; i < 3; ++i) g.DXTimer1Timer(1);
    EXPECT_EQ(g.GameState, TGameState::Playing) << "paused or ended by a key pressed during the question";
    EXPECT_EQ(Form->Terminations, 0);
    EXPECT_EQ(Form->SaveDialogs, 0);
    EXPECT_EQ(g.DXSpriteEngine.Root()->Count(), 192);
    EXPECT_EQ(g.HintsLeft, 10);
    EXPECT_EQ(g.ShufflesLeft, 10);
    EXPECT_EQ(g.Selected[0].Index, -1);
}

TEST_F(QuestionGuard, EscAtTheQuestionAnswersNoAndDoesNotEndTheGame) {
    AnswerScoreDialogs();
    Script.Then([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        DisturbTheMainWindow();
        QTest::qWait(200);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    TickThroughTheQuestion();

    TGame& g = Form->Game();
    EXPECT_EQ(g.GameState, TGameState::Title);
    EXPECT_EQ(g.Difficulty, 1);
    QTest::qWait(300);
    for (int i = 0; i < 3; ++i) g.DXTimer1Timer(1);
    EXPECT_EQ(Form->Terminations, 0);
    EXPECT_EQ(Form->SaveDialogs, 0);
    EXPECT_EQ(g.MouseX, 7);
    EXPECT_EQ(g.MouseY, 9);

    // The score was recorded once, under the name given.
    QFile file(QStringLiteral("Pelmoravan.sco"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const auto entries = DecodeScoreFile(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                         static_cast<std::size_t>(bytes.size()));
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ((*entries)[0].Name, "Tester");
    EXPECT_EQ((*entries)[0].Score, 4321);
    EXPECT_EQ((*entries)[1].Score, 0);
}

} // namespace
} // namespace pelmoravan
