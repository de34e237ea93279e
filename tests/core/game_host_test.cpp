// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/fake_surface.h"
#include "core/file_size_limit.h"
#include "core/fakes.h"
#include "host/game_host.h"

namespace pelmoravan {
namespace {

namespace fs = std::filesystem;
using testing::FakeSeedSource;
using testing::FakeSurface;

// A window that records what the house asks of it.
class RecordingWindow final : public IGameWindow {
public:
    void ShowRequest(const TRequest& request) override {
        Shown.push_back(request);
        if (request.Kind == TRequestKind::StartError) {
            StartErrors.push_back(request.Text);
        } else if (request.Error) {
            Errors.push_back(request.Text);
        }
    }
    void CloseRequest(std::uint32_t id) override { Closed.push_back(id); }
    void RequestTurn() override { Turns += 1; }
    std::int32_t ScreenWidth() const override { return 1280; }
    void Terminate(int exitCode) override { ExitCodes.push_back(exitCode); }
    void SyncMenu() override { Syncs += 1; }
    void ShowCaption(const std::string& caption) override { Caption = caption; }
    void CloseWindow() override { ExitCodes.push_back(0); }

    int Syncs = 0;
    int Turns = 0;
    std::string Caption;
    std::vector<TRequest> Shown;
    std::vector<std::uint32_t> Closed;
    std::vector<int> ExitCodes;
    std::vector<std::string> Errors;
    std::vector<std::string> StartErrors;
};

// Pixels that log their drawing, shown by recording what each present sends.
class RecordingPlaySurface final : public IPlaySurface {
public:
    IPaintDevice& Pixels() override { return Log; }
    bool CanDraw() const override { return true; }
    void Present(const std::vector<TRect>& changed) override { Presents.push_back(changed); }
    FakeSurface Log{1280, 720};
    std::vector<std::vector<TRect>> Presents;
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
    std::vector<std::uint8_t> Track(const std::string&) override {
        std::vector<std::uint8_t> bytes(TrackSize, 0);
        std::copy_n("MThd", 4, bytes.begin());
        return bytes;
    }
    static constexpr std::size_t TrackSize = 4096;
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
            TFrontEndParts{Window, Surface, Timer, Output, Player, Tracks, std::make_unique<FakeSeedSource>()},
            std::move(options));
    }

    fs::path Dir;
    RecordingWindow Window;
    RecordingPlaySurface Surface;
    NoWake Wake;
    TFrameTimer Timer{Wake};
    SilentOutput Output;
    RecordingPlayer Player;
    OneTrack Tracks;
};

std::int64_t Area(const std::vector<TRect>& rects) {
    std::int64_t area = 0;
    for (const TRect& r : rects) {
        area += std::int64_t{r.Right - r.Left} * (r.Bottom - r.Top);
    }
    return area;
}

// A catalog with no pictures: the title cannot be drawn, which the window is told.
void NoPictures(TPictureCollection&, TPictureCollection&, TPictureCollection&, TWaveCollection&) {}

TEST_F(GameHostTest, StartsInTheAskedLanguageWithMusicAndTheTimerOn) {
    TStartOptions options;
    options.Language = 1;
    options.DataDir = Dir.string();
    auto host = Make(options);
    EXPECT_EQ(Timer.Interval(), 100);
    EXPECT_EQ(host->Game().TimerInterval, 100);
    EXPECT_EQ(host->Game().DXInput, &host->Keys());
    EXPECT_EQ(host->Game().DXSpriteEngine.Root()->Width, 1280);

    ASSERT_TRUE(TGameHost::CheckScoreFile(options.ScorePath(), [](const std::string&) {}));
    host->Start(NoPictures);
    EXPECT_EQ(host->Game().Language, 1);
    EXPECT_EQ(host->Game().Messages[10], "Remain Time : ");
    EXPECT_EQ(Window.Caption, "Pelmoravan v2.2");
    EXPECT_GT(Window.Syncs, 0);
    EXPECT_TRUE(Player.Playing);
    EXPECT_EQ(Player.FileName, (Dir / "back.MID").string());
    EXPECT_TRUE(Timer.Enabled());
}

// Errors of the first frame and a tick reach the window; the game goes on. A start made out of
// order fails at once, naming the step.
TEST_F(GameHostTest, ErrorsGoToTheWindowAndAStartOutOfOrderFailsNamingTheStep) {
    TStartOptions options;
    std::ofstream(Dir / "file") << "not a folder";
    options.DataDir = (Dir / "file").string(); // the track cannot be written
    auto host = Make(options);
    try {
        host->Start(NoPictures);
        ADD_FAILURE() << "started without the score file check";
    } catch (const std::logic_error& error) {
        EXPECT_NE(std::string(error.what()).find("CheckScoreFile"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(Timer.Enabled());

    TGameHost::CheckScoreFile(options.ScorePath(), [](const std::string&) {}); // fails: no folder either
    host.reset(); // a house gives its parts back before the next takes them
    host = Make(options);
    ::testing::internal::CaptureStderr();
    host->Start(NoPictures); // the track's line, and the first frame's error shown
    ASSERT_EQ(Window.Errors.size(), 1u);
    EXPECT_NE(Window.Errors[0].find("logo"), std::string::npos) << Window.Errors[0];
    host->Answer(Window.Shown[0].Id, {});
    EXPECT_TRUE(Window.StartErrors.empty()); // a track that cannot be written stops no start
    EXPECT_TRUE(Timer.Enabled());
    EXPECT_THROW(host->Start(NoPictures), std::logic_error);

    ASSERT_TRUE(Timer.OnTimer);
    EXPECT_NO_THROW(Timer.OnTimer(1)); // the title screen's pictures were never loaded
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find((Dir / "file").string()), std::string::npos) << said; // the track's file named
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 3) << said; // the first frame's, the track's, the tick's
}

// A track file that cannot be written (a folder or a FIFO in its place, a full disk) never
// stops the start: one line names the file and the reason, the game starts with music switched
// off, and switching it on tries again.
TEST_F(GameHostTest, ATrackThatCannotBeWrittenNeverStopsTheStart) {
    TStartOptions options;
    options.DataDir = Dir.string();
    ASSERT_TRUE(TGameHost::CheckScoreFile(options.ScorePath(), [](const std::string&) {}));
    const fs::path track = Dir / "back.MID";
    const std::string file = "\"" + track.string() + "\"";
    for (const std::string obstacle : {"folder", "fifo", "full disk"}) {
        SCOPED_TRACE(obstacle);
        fs::remove_all(track);
        std::optional<TFileSizeLimit> full;
        std::string said;
        if (obstacle == "folder") {
            fs::create_directory(track);
            said = "Cannot create file " + file + ". Is a directory";
        } else if (obstacle == "fifo") {
            ASSERT_EQ(::mkfifo(track.c_str(), 0600), 0);
            said = "Cannot create file " + file + ". Not a regular file";
        } else {
            full.emplace(1024); // the track's writes fail part-way, the line fits
            said = "cannot write " + file + ": File too large";
        }
        Window = RecordingWindow{};
        Player = RecordingPlayer{};
        auto host = Make(options);
        ::testing::internal::CaptureStderr();
        host->Start(NoPictures);
        const std::string atStart = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(atStart.find("pelmoravan: " + said + "\n"), std::string::npos) << atStart;
        host->Answer(Window.Shown.back().Id, {}); // the first frame's error, without pictures
        EXPECT_TRUE(Timer.Enabled());
        EXPECT_TRUE(Window.StartErrors.empty());
        EXPECT_FALSE(Player.Playing);
        EXPECT_FALSE(host->Game().MusicOn);
        EXPECT_FALSE(host->Menu().Item(TMenuItem::BackgroundMusic1).Checked);

        // Switched on while the obstacle is still there: told, and the game goes on.
        ::testing::internal::CaptureStderr();
        host->MenuItem(TMenuItem::BackgroundMusic1);
        const std::string whenOn = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(whenOn.find("pelmoravan: " + said + "\n"), std::string::npos) << whenOn;
        EXPECT_FALSE(Player.Playing);
        EXPECT_EQ(Window.Errors.size(), 2u); // the first frame's and the menu's
        host->Answer(Window.Shown.back().Id, {});

        // Once it is gone, switching the music on again plays.
        full.reset();
        if (obstacle != "full disk") {
            fs::remove(track);
        }
        host->MenuItem(TMenuItem::BackgroundMusic1); // off: the next track is written
        host->MenuItem(TMenuItem::BackgroundMusic1); // on
        EXPECT_TRUE(Player.Playing);
        EXPECT_TRUE(fs::is_regular_file(track));
        EXPECT_EQ(fs::file_size(track), OneTrack::TrackSize);
        EXPECT_EQ(Window.Errors.size(), 2u);
    }
    // Nothing half-written is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 2);
}

// What a copy killed while writing left beside the score file and the track goes at the next
// start, once it is a minute old; backups, fresh files, look-alikes, links and other users'
// files stay.
TEST_F(GameHostTest, AStartRemovesWhatKilledCopiesLeftHalfWrittenAndNothingElse) {
    const auto plant = [&](const std::string& name, bool old) {
        std::ofstream(Dir / name) << "half";
        if (old) {
            fs::last_write_time(Dir / name, fs::file_time_type::clock::now() - std::chrono::minutes(2));
        }
    };
    const std::vector<std::string> stale = {"Pelmoravan.sco.tmp-a1B2c3", "back.MID.tmp-Zz09aa"};
    std::vector<std::string> kept = {"Pelmoravan.sco.tmp-fresh1", "Pelmoravan.sco.bak", "Pelmoravan.sco.bak123",
                                     "Pelmoravan.sco.x1Y2z3",     "Pelmoravan.sco.tmp-toolong", "Pelmoravan.sco.tmp-ab.c12",
                                     "other.tmp-abcdef",          "Pelmoravan.sco.tmp-link01"};
    for (const std::string& name : stale) {
        plant(name, true);
    }
    for (const std::string& name : kept) {
        if (name.find("link") != std::string::npos) {
            fs::create_symlink(Dir / "Pelmoravan.sco.bak", Dir / name);
            timespec times[2] = {{0, UTIME_OMIT}, {1, 0}};
            ::utimensat(AT_FDCWD, (Dir / name).c_str(), times, AT_SYMLINK_NOFOLLOW);
        } else {
            plant(name, name != "Pelmoravan.sco.tmp-fresh1");
        }
    }
    if (::geteuid() == 0) {
        kept.push_back("back.MID.tmp-others");
        plant(kept.back(), true);
        ASSERT_EQ(::chown((Dir / kept.back()).c_str(), 65534, 65534), 0);
    }

    TStartOptions options;
    options.DataDir = Dir.string();
    ASSERT_TRUE(TGameHost::CheckScoreFile(options.ScorePath(), [](const std::string&) {}));
    Make(options)->Start(NoPictures);

    std::set<std::string> expected(kept.begin(), kept.end());
    expected.insert({"Pelmoravan.sco", "back.MID"});
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(Dir)) {
        found.insert(entry.path().filename().string());
    }
    EXPECT_EQ(found, expected);
}

// What a front end no longer does itself: the house presents only the blocks a frame changed,
// everything after a repaint caught a frame half drawn; a shortcut runs its item only while the
// item's menu would enable it.
TEST_F(GameHostTest, TheHousePresentsWhatChangedAndChecksAShortcutsItem) {
    TStartOptions options;
    options.DataDir = Dir.string();
    ASSERT_TRUE(TGameHost::CheckScoreFile(options.ScorePath(), [](const std::string&) {}));
    auto host = Make(options);
    ::testing::internal::CaptureStderr();
    host->Start(NoPictures); // the title cannot be drawn: said, and the tests below go on
    ::testing::internal::GetCapturedStderr();
    host->Answer(Window.Shown.back().Id, {});
    Surface.Presents.clear();
    ICanvas& canvas = host->Draw().Surface().Canvas();
    host->Draw().Surface().Fill(0);
    host->Draw().Flip();
    ASSERT_EQ(Surface.Presents.size(), 1u);
    EXPECT_EQ(Area(Surface.Presents[0]), 1280 * 720); // a new surface is sent whole
    host->Draw().Surface().Fill(0);
    canvas.FillRect({70, 40, 80, 50});
    host->Draw().Flip();
    ASSERT_EQ(Surface.Presents.size(), 2u);
    EXPECT_EQ(Surface.Presents[1], (std::vector<TRect>{{64, 32, 128, 64}}));
    host->Draw().Surface().Fill(0);
    canvas.FillRect({70, 40, 80, 50});
    host->Draw().Flip(); // the same frame: nothing to paint or present
    EXPECT_EQ(Surface.Presents.size(), 2u);
    host->Draw().Surface().Fill(0);
    host->SurfaceRepainting();
    canvas.FillRect({70, 40, 80, 50});
    host->Draw().Flip();
    ASSERT_EQ(Surface.Presents.size(), 3u);
    EXPECT_EQ(Area(Surface.Presents[2]), 1280 * 720);

    host->Game().GameState = TGameState::Playing; // playing: New Game is disabled, Pause enabled
    EXPECT_FALSE(host->MenuItem(TMenuItem::NewGame1, true));
    EXPECT_EQ(host->Game().GameState, TGameState::Playing);
    EXPECT_TRUE(host->MenuItem(TMenuItem::GameOver1, true));
    EXPECT_EQ(host->Game().GameState, TGameState::Paused);
}

// What the house enforces of the contract: nothing reaches the game before the start or after
// the end; requests show one at a time in the order asked, each answered once; an error that
// comes while another shows waits its turn and is on standard error at once; while a request is
// open no click, key or menu item reaches the game.
TEST_F(GameHostTest, TheHouseKeepsTheContract) {
    TStartOptions options;
    options.DataDir = Dir.string();
    ASSERT_TRUE(TGameHost::CheckScoreFile(options.ScorePath(), [](const std::string&) {}));
    auto host = Make(options);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(host->MenuItem(TMenuItem::NewGame1, true));
    host->MouseDown(TMouseButton::mbLeft, 10, 10);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "pelmoravan: menu event dropped: the game has not started\n"); // said once
    EXPECT_EQ(host->Game().GameState, TGameState::Title);

    ::testing::internal::CaptureStderr();
    host->Start(NoPictures);      // the title's pictures are missing: an error shows
    host->ReportError("second");  // waits behind it
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("pelmoravan: second\n"), std::string::npos) << said;
    ASSERT_EQ(Window.Shown.size(), 1u);
    EXPECT_TRUE(host->RequestOpen());
    EXPECT_FALSE(host->MenuItem(TMenuItem::NewGame1, true)); // refused behind a dialog
    EXPECT_EQ(host->Game().GameState, TGameState::Title);
    host->Answer(Window.Shown[0].Id + 7, {}); // not shown: ignored
    ASSERT_EQ(Window.Shown.size(), 1u);
    host->Answer(Window.Shown[0].Id, {});
    ASSERT_EQ(Window.Shown.size(), 2u);
    EXPECT_EQ(Window.Shown[1].Text, "second");
    host->Answer(Window.Shown[0].Id, {}); // answered already: ignored
    EXPECT_TRUE(host->RequestOpen());
    host->Answer(Window.Shown[1].Id, {});
    EXPECT_FALSE(host->RequestOpen());

    auto closeAll = [&] {
        while (host->RequestOpen()) {
            const std::size_t before = Window.Shown.size();
            host->Answer(Window.Shown.back().Id, {});
            ASSERT_TRUE(!host->RequestOpen() || Window.Shown.size() == before + 1); // the next shows
        }
    };
    EXPECT_TRUE(host->MenuItem(TMenuItem::NewGame1, true));
    EXPECT_EQ(host->Game().GameState, TGameState::Playing);
    closeAll(); // what the first frame could not draw without pictures
    EXPECT_TRUE(host->MenuItem(TMenuItem::about));
    ASSERT_EQ(Window.Shown.back().Kind, TRequestKind::About);
    const std::int32_t elapsed = host->Game().SecondTicks;
    Timer.OnTimer(1); // play goes on behind About
    EXPECT_EQ(host->Game().SecondTicks, elapsed + 1);
    EXPECT_FALSE(host->MenuItem(TMenuItem::GameOver1, true));
    EXPECT_EQ(host->Game().GameState, TGameState::Playing);
    closeAll(); // About, then what the tick could not draw

    EXPECT_TRUE(host->MenuItem(TMenuItem::Exit1));
    EXPECT_EQ(Window.ExitCodes, std::vector<int>{0});
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(host->MenuItem(TMenuItem::GameOver1, true));
    host->BoardKey(TBoardKey::Right, false);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "pelmoravan: menu event dropped: the game was asked to end\n");
    EXPECT_EQ(host->Game().GameState, TGameState::Playing);
}

// A start that fails is shown, and the program ends with exit code 1 once it is closed.
TEST_F(GameHostTest, AStartErrorEndsTheProgramWhenClosed) {
    auto host = Make({});
    ::testing::internal::CaptureStderr();
    host->ReportStartError("no pictures");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "pelmoravan: no pictures\n");
    ASSERT_EQ(Window.StartErrors, std::vector<std::string>{"no pictures"});
    EXPECT_TRUE(Window.ExitCodes.empty());
    host->Answer(Window.Shown[0].Id, {});
    EXPECT_EQ(Window.ExitCodes, std::vector<int>{1});
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
