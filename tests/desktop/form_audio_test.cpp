// SPDX-License-Identifier: MIT
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "audio_fixtures.h"
#include "desktop/shell/form1.h"
#include "desktop/shell/main_menu.h"
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
        ASSERT_TRUE(TGameHost::CheckScoreFile(ScoreFileName, [](const std::string&) {}));
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
