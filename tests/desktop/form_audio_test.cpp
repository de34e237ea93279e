#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

#include "audio_fixtures.h"
#include "modal_helpers.h"
#include "desktop/shell/about_dialog.h"
#include "desktop/shell/form1.h"
#include "desktop/shell/main_menu.h"
#include "desktop/shell/score_ui.h"
#include "desktop/shell/scores_dialog.h"
#include "shell/score_file.h"

namespace pelmoravan {
namespace {

using namespace pelmoravan::testing;
using enum TMenuItem;

// The main window in a fresh working directory, as after the start-up check.
class FormFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(Dir.path()));
    }
    void TearDown() override {
        Form.reset();
        QDir::setCurrent(Previous);
    }
    void MakeForm() {
        ASSERT_TRUE(UpdateScoresInWindow(nullptr, false, -1));
        Form = std::make_unique<TForm1>();
    }
    QAction* Action(TMenuItem item) { return Form->MainMenu1().Action(item); }

    QTemporaryDir Dir;
    QString Previous;
    std::unique_ptr<TForm1> Form;
};

TEST_F(FormFiles, StartLeavesTheScoreFileAndAPlayingTrackInTheWorkingDirectory) {
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", Dir.filePath(QStringLiteral("mix.raw")).toUtf8());
    MakeForm();
    EXPECT_EQ(QFileInfo(QStringLiteral("Pelmoravan.sco")).size(), 593);
    EXPECT_GT(QFileInfo(QStringLiteral("back.MID")).size(), 0);
    EXPECT_TRUE(Form->Game().MusicOn);
    QTest::qWait(1500);
    Form.reset();
    EXPECT_GT(Mix::Read(Dir.filePath(QStringLiteral("mix.raw"))).PeakRms(), 300.0);
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("back.MID"))); // the track file stays
}

TEST_F(FormFiles, AHintIsSilentWithEffectsOffAndHeardWithThemOn) {
    const QString mixPath = Dir.filePath(QStringLiteral("mix.raw"));
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", mixPath.toUtf8());
    MakeForm();
    Action(BackgroundMusic1)->trigger(); // music off, so that only effects are left
    QTest::qWait(200);
    TGame& game = Form->Game();
    game.StartGame(1);
    ASSERT_EQ(game.GameState, TGameState::Playing);

    const qint64 offStart = QFileInfo(mixPath).size();
    game.SoundOn = false;
    game.hint1Click();
    QTest::qWait(600);
    const qint64 onStart = QFileInfo(mixPath).size();
    game.SoundOn = true;
    const std::int32_t hints = game.HintsLeft;
    game.hint1Click();
    EXPECT_EQ(game.HintsLeft, hints - 1); // the hint was given, so "notify" was asked for
    QTest::qWait(600);
    Form.reset();

    const Mix mix = Mix::Read(mixPath);
    const auto at = [&](qint64 bytes) { return mix.Samples.begin() + static_cast<std::ptrdiff_t>(bytes / 2); };
    ASSERT_GT(mix.Samples.size(), static_cast<std::size_t>(onStart / 2));
    EXPECT_TRUE(std::all_of(at(offStart), at(onStart), [](std::int16_t v) { return v == 0; }));
    EXPECT_TRUE(std::any_of(at(onStart), mix.Samples.end(), [](std::int16_t v) { return v > 1000 || v < -1000; }));
}

TEST_F(FormFiles, SequenceShowsTheTenRowsOfTheFile) {
    MakeForm();
    int rows = 0;
    QString firstRank;
    OnNextModal([&](QWidget* modal) {
        auto* scores = qobject_cast<TfmScores*>(modal);
        ASSERT_NE(scores, nullptr);
        rows = scores->ListView1->topLevelItemCount();
        firstRank = scores->ListView1->topLevelItem(0)->text(0);
        scores->Button1->click();
    });
    Action(N2)->trigger();
    EXPECT_EQ(rows, 10);
    EXPECT_EQ(firstRank, QStringLiteral("1"));
}

TEST_F(FormFiles, AFinishedDifficultyRecordsTheNameAndListsIt) {
    MakeForm();
    QString listed;
    OnNextModal([&](QWidget* modal) {
        auto* input = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), QStringLiteral("No.1"));
        input->setTextValue(QStringLiteral("李雷"));
        input->accept();
        OnNextModal([&](QWidget* list) {
            auto* scores = qobject_cast<TfmScores*>(list);
            ASSERT_NE(scores, nullptr);
            listed = scores->ListView1->topLevelItem(0)->text(1) + QLatin1Char(' ') +
                     scores->ListView1->topLevelItem(0)->text(2);
            scores->Button1->click();
        });
    });
    Form->UpdateScores(true, 2600); // what the rules call after level 10
    EXPECT_EQ(listed, QStringLiteral("李雷 2600"));
}

TEST_F(FormFiles, AScoreFileErrorFromTheMenuIsShownAndTheWindowGoesOn) {
    MakeForm();
    ASSERT_TRUE(QFile::remove(QStringLiteral("Pelmoravan.sco")));
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("Pelmoravan.sco")));
    QString text;
    OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        box->accept();
    });
    Action(N2)->trigger();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot open file \"Pelmoravan.sco\".")));
    EXPECT_TRUE(Form->isEnabled());
}

TEST_F(FormFiles, AboutCommandOpensTheAboutBox) {
    MakeForm();
    QString caption;
    OnNextModal([&](QWidget* modal) {
        caption = modal->windowTitle();
        if (auto* about = qobject_cast<TFormAbout*>(modal)) about->Button1->click();
        else modal->close();
    });
    Action(about)->trigger();
    EXPECT_EQ(caption, QStringLiteral("关于"));
}

TEST_F(FormFiles, MusicSwitchStopsAndRestartsWithAFreshFile) {
    MakeForm();
    QFile::remove(QStringLiteral("back.MID"));
    Action(BackgroundMusic1)->trigger(); // off
    EXPECT_FALSE(Form->Game().MusicOn);
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("back.MID"))); // switching off writes the next track too
    QFile::remove(QStringLiteral("back.MID"));
    Action(BackgroundMusic1)->trigger(); // on
    EXPECT_TRUE(Form->Game().MusicOn);
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("back.MID")));
}

} // namespace
} // namespace pelmoravan
