#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/fake_surface.h"
#include "core/fakes.h"
#include "host/game_host.h"

namespace pelmoravan {
namespace {

namespace fs = std::filesystem;
using testing::FakeDrawControl;
using testing::FakeSeedSource;

// A window that records what the house asks of it.
class RecordingWindow final : public IGameWindow {
public:
    bool AskYesNo(const std::string&) override { return false; }
    void UpdateScores(bool, std::int32_t) override {}
    void ProcessOneMessage() override {}
    std::int32_t ScreenWidth() const override { return 1280; }
    void Terminate() override {}
    void ShowSaveDialog() override {}
    void SyncMenu() override { Syncs += 1; }
    void ShowCaption(const std::string& caption) override { Caption = caption; }
    void ShowAbout() override {}
    void CloseWindow() override {}
    void ReportError(const std::string& message) override { Errors.push_back(message); }
    void ReportCommandError(const std::string& message) override { Errors.push_back(message); }
    void ReportStartError(const std::string& message) override { StartErrors.push_back(message); }

    int Syncs = 0;
    std::string Caption;
    std::vector<std::string> Errors;
    std::vector<std::string> StartErrors;
};

struct NoWake final : IWakeUp {
    std::uint32_t Now() override { return 0; }
    void Arm(std::uint32_t) override {}
    void Disarm() override {}
};

class SilentOutput final : public IWaveOutput {
public:
    bool Initialized() const override { return true; }
    void Play(const TWaveCollectionItem&) override {}
};

class RecordingPlayer final : public IMediaPlayer {
public:
    void Close() override { Playing = false; }
    TPlayerMode Mode() const override { return Playing ? TPlayerMode::Playing : TPlayerMode::NotReady; }
    void SetFileName(const std::string& path) override { FileName = path; }
    void Open() override {}
    void Play() override { Playing = true; }
    bool Playing = false;
    std::string FileName;
};

class OneTrack final : public ITrackSource {
public:
    std::vector<std::uint8_t> Track(const std::string&) override { return {'M', 'T', 'h', 'd'}; }
};

class GameHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("pelmoravan-host-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::unique_ptr<TGameHost> Make(TStartOptions options) {
        return std::make_unique<TGameHost>(
            TFrontEndParts{Window, Draw, Timer, Output, Player, Tracks, std::make_unique<FakeSeedSource>()},
            std::move(options));
    }

    fs::path Dir;
    RecordingWindow Window;
    FakeDrawControl Draw;
    NoWake Wake;
    TFrameTimer Timer{Wake};
    SilentOutput Output;
    RecordingPlayer Player;
    OneTrack Tracks;
};

TEST_F(GameHostTest, StartsInTheAskedLanguageWithMusicAndTheTimerOn) {
    TStartOptions options;
    options.Language = 1;
    options.DataDir = Dir.string();
    auto host = Make(options);
    EXPECT_EQ(Timer.Interval(), 100);
    EXPECT_EQ(host->Game().TimerInterval, 100);
    EXPECT_EQ(host->Game().DXInput, &host->Keys());
    EXPECT_EQ(host->Game().DXSpriteEngine.Root()->Width, 1280);

    host->ApplyStartLanguage();
    EXPECT_EQ(host->Game().Language, 1);
    EXPECT_EQ(host->Game().Messages[10], "Remain Time : ");
    EXPECT_EQ(Window.Caption, "Pelmoravan v2.2");
    EXPECT_GT(Window.Syncs, 0);

    host->Start();
    EXPECT_TRUE(Player.Playing);
    EXPECT_EQ(Player.FileName, (Dir / "back.MID").string());
    EXPECT_TRUE(Timer.Enabled());
    host->HoldTimer();
    host->EnableFrameTimer();
    EXPECT_FALSE(Timer.Enabled()); // ticks driven by hand stay so
}

// Errors of a tick and of the start reach the window; the game goes on.
TEST_F(GameHostTest, ErrorsGoToTheWindowInsteadOfOutOfTheLoop) {
    TStartOptions options;
    options.DataDir = (Dir / "missing" / "folder").string(); // the track cannot be written
    auto host = Make(options);
    host->Start();
    ASSERT_EQ(Window.StartErrors.size(), 1u);
    EXPECT_TRUE(Timer.Enabled());

    ASSERT_TRUE(Timer.OnTimer);
    EXPECT_NO_THROW(Timer.OnTimer(1)); // the title screen's pictures were never loaded
    ASSERT_EQ(Window.Errors.size(), 1u);
    EXPECT_NE(Window.Errors[0].find("logo"), std::string::npos) << Window.Errors[0];
}

TEST_F(GameHostTest, ScoreFileCheckMakesTheFileOrSaysWhyNot) {
    std::vector<std::string> told;
    auto report = [&told](const std::string& message) { told.push_back(message); };
    const fs::path file = Dir / "Pelmoravan.sco";
    EXPECT_TRUE(TGameHost::CheckScoreFile(file.string(), report));
    EXPECT_EQ(fs::file_size(file), 593u);
    EXPECT_FALSE(TGameHost::CheckScoreFile(Dir.string(), report)); // a folder, not a file
    EXPECT_EQ(told.size(), 1u);
}

} // namespace
} // namespace pelmoravan
