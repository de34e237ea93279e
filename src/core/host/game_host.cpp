// SPDX-License-Identifier: MIT
#include "host/game_host.h"

#include <algorithm>

#include <cstdio>
#include <exception>
#include <set>
#include <stdexcept>

#include "media/binary_file.h"
#include "screen/board_words.h"
#include "screen/status_lines.h"
#include "shell/apply_language.h"
#include "shell/data_dir.h"
#include "shell/score_file.h"
#include "shell/score_flow.h"

namespace pelmoravan {

namespace {

// The score files checked in this process, whatever the answers: a start without its check is a
// front end's mistake, told at once rather than met later as a file error in the middle of play.
std::set<std::string>& CheckedScoreFiles() {
    static std::set<std::string> checked;
    return checked;
}

} // namespace

std::string TrackPath(const TStartOptions& options) { return DataFilePath(options.DataDir, MusicTrackFileName); }

TGameHost::TGameHost(TFrontEndParts parts, TStartOptions options)
    : FWindow(parts.Window, FEnded),
      FRequests(FWindow),
      FScoreStorage(parts.ScoreStorage),
      FPlay(parts.Surface),
      FTimer(parts.Timer),
      FSeeds(std::move(parts.Seeds)),
      FChosenSeeds(options.Seed ? std::make_unique<TCountingSeedSource>(*options.Seed) : nullptr),
      FMusicRandom(FSeeds.get()),
      FGame(std::make_unique<TGame>(FWindow, *this, FChosenSeeds ? *FChosenSeeds : *FSeeds)),
      FOptions(std::move(options)),
      FEffects(DXWaveList1, parts.WaveOutput),
      FMusic(parts.Player, parts.Tracks, FMusicRandom, TrackPath(FOptions)) {
    TGame& g = *FGame;
    g.ImageList = &ImageList;
    g.DXImageList1 = &DXImageList1;
    g.BackImage = &BackImage;
    g.UprightImageList = &UprightImageList;
    g.DXDraw = &FPlay;
    g.DXInput = &FKeys;
    g.DXSpriteEngine.SurfacesInitialized(SurfaceWidth(), SurfaceHeight());

    FTimer.SetInterval(TGame::FrameInterval);
    g.TimerInterval = FTimer.Interval();
    FTimer.OnTimer = [this](std::int32_t LagCount) {
        if (FEnded) {
            return;
        }
        try {
            FGame->DXTimer1Timer(LagCount);
            // The flows waiting for a tick (the score file's lock) go on after the game's.
            FTicks.Tick();
        } catch (const std::exception& error) {
            ReportError(error.what());
        }
        SweepFlows();
        TellStatus();
    };
}

TGameHost::~TGameHost() {
    FTimer.SetEnabled(false);
    FTimer.OnTimer = nullptr;
    // The flows go before what they refer to, and nothing resumes them any more.
    FTicks.Clear();
    FRequests.Clear();
    FFlows.clear();
}

void TGameHost::TWindowGate::Terminate(int exitCode) {
    FEnded = true;
    FWindow.Terminate(exitCode);
}

void TGameHost::TWindowGate::CloseWindow() {
    FEnded = true;
    FWindow.CloseWindow();
}

bool TGameHost::Accepts(const char* event) {
    if (FStarted && !FEnded) {
        return true;
    }
    // Said once before the start and once after the end.
    bool& said = FStarted ? FDropAfterEndSaid : FDropBeforeStartSaid;
    if (!said) {
        said = true;
        std::fprintf(stderr, "pelmoravan: %s %s dropped: the game %s\n", event, "event",
                     FStarted ? "was asked to end" : "has not started");
        std::fflush(stderr);
    }
    return false;
}

void TGameHost::Run(TFlow<> flow) {
    FFlows.push_back(std::move(flow));
    FFlows.back().Start();
    SweepFlows();
}

bool TGameHost::Waiting() const {
    return RequestOpen() || std::any_of(FFlows.begin(), FFlows.end(), [](const TFlow<>& flow) { return !flow.Done(); });
}

void TGameHost::SweepFlows() {
    for (std::size_t i = 0; i < FFlows.size();) {
        if (!FFlows[i].Done()) {
            ++i;
            continue;
        }
        std::exception_ptr error = FFlows[i].Error();
        FFlows.erase(FFlows.begin() + static_cast<std::ptrdiff_t>(i));
        if (error) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                ReportError(e.what());
            }
        }
    }
}

TFlow<> TGameHost::UpdateScores(bool enter, std::int32_t score) {
    TScoreFlowParts parts{FRequests, FTicks, FScoreStorage, FOptions.ScorePath(), FGame->Language,
                          FGame->TickThreshold(1000), {}};
    // Esc still ends the program while the lock is waited for, until the box about it shows:
    // behind the dialogs the frame loop reads no keys.
    parts.Ending = [this] {
        FKeys.Poll();
        if (!FKeys.KeyDown(TKey::Escape)) {
            return false;
        }
        FWindow.Terminate(0);
        return true;
    };
    return UpdateScoresFlow(std::move(parts), enter, score);
}

void TGameHost::RequestTurn() {
    if (!FEnded) {
        FWindow.RequestTurn();
    }
}

void TGameHost::ReportError(const std::string& message) {
    // Said on standard error too, so that none is lost behind another dialog or a closed window.
    std::fprintf(stderr, "pelmoravan: %s\n", message.c_str());
    std::fflush(stderr);
    // An error that comes back every tick (a picture missing from a frame) is one box, not ten a
    // second.
    if (FEnded || FRequests.Holds(TRequestKind::Message, message)) {
        return;
    }
    TRequest shown;
    shown.Kind = TRequestKind::Message;
    shown.Error = true;
    shown.Text = message;
    FRequests.Post(std::move(shown));
}

void TGameHost::ReportStartError(const std::string& message) {
    std::fprintf(stderr, "pelmoravan: %s\n", message.c_str());
    std::fflush(stderr);
    TRequest shown;
    shown.Kind = TRequestKind::StartError;
    shown.Error = true;
    shown.Text = message;
    FRequests.Post(std::move(shown), [this](const TAnswer&) { FWindow.Terminate(1); });
}

void TGameHost::Answer(std::uint32_t id, const TAnswer& answer) {
    if (FEnded) {
        return;
    }
    try {
        if (!FRequests.Answer(id, answer)) {
            std::fprintf(stderr, "pelmoravan: an answer to request %u, which is not shown, was ignored\n", id);
            std::fflush(stderr);
        }
    } catch (const std::exception& error) {
        ReportError(error.what());
    }
    SweepFlows();
    TellStatus();
}

void TGameHost::Turn() {
    if (!Accepts("turn")) {
        return;
    }
    try {
        FGame->LinkLineTurn();
    } catch (const std::exception& error) {
        ReportError(error.what());
    }
}

void TGameHost::AskBeforeExit(bool asks) { FGame->ExitAsks = asks; }

void TGameHost::Start(const TCatalogFill& fill) {
    if (FStarted) {
        throw std::logic_error("start-up: the house was started already");
    }
    FStarted = true;
    // The texts before the catalog: a window whose files arrive slowly (the page's) shows its
    // menu meanwhile.
    ApplyLanguage(0);
    if (FOptions.Language) {
        MenuItem(*FOptions.Language == 1 ? TMenuItem::English1 : TMenuItem::Chinese1);
    }
    fill(ImageList, DXImageList1, BackImage, DXWaveList1);
    if (CheckedScoreFiles().count(FOptions.ScorePath()) == 0) {
        throw std::logic_error("start-up: the score file check (TGameHost::CheckScoreFile) was not made for " +
                               FOptions.ScorePath() + " before the first frame");
    }
    PresentTitle();
    try {
        PlayMusic(true);
    } catch (const EFileError&) {
        StartWithoutMusic(""); // the music named the file and the reason
    } catch (const std::exception& error) {
        StartWithoutMusic(error.what());
    }
    EnableFrameTimer();
}

void TGameHost::StartWithoutMusic(const std::string& why) {
    if (!why.empty()) {
        std::fprintf(stderr, "pelmoravan: %s\n", why.c_str());
        std::fflush(stderr);
    }
    // Switched off, as the menu then shows: switching it on tries the track again.
    FGame->MusicOn = false;
    FMenu.SetChecked(TMenuItem::BackgroundMusic1, false);
    FWindow.SyncMenu();
}

void TGameHost::PresentTitle() {
    try {
        FGame->PresentTitleScreen();
    } catch (const std::exception& error) {
        ReportError(error.what());
    }
}

void TGameHost::SurfaceResized(std::int32_t width, std::int32_t height) {
    FPlay.Resized();
    FGame->DXSpriteEngine.SurfacesInitialized(width, height);
    if (FStarted) {
        PresentTitle(); // the title at its new size, not a blank surface until the next tick
    }
}

void TGameHost::MouseDown(TMouseButton button, std::int32_t x, std::int32_t y) {
    if (!Accepts("mouse") || FRequests.Open()) {
        return;
    }
    try {
        const TPoint at = FGame->ShownPoint({x, y});
        FGame->DXDrawMouseDown(button, at.X, at.Y);
    } catch (const std::exception& error) {
        ReportError(error.what());
    }
    SweepFlows();
    TellStatus();
}

void TGameHost::ShowBoardUpright(bool upright) {
    if (FGame->BoardUpright == upright) {
        return;
    }
    FGame->BoardUpright = upright;
    // The next frame draws the whole board anew, the turned way.
    FGame->LinkLineShown = false;
    FPlay.Resized();
    TellStatus();
}

void TGameHost::TouchPointer(bool coarse, double cssPixel) {
    FGame->TouchPointer = coarse;
    FGame->TouchPixel = cssPixel > 0 ? cssPixel : 1.0;
}

void TGameHost::BoardKey(TBoardKey key, bool ctrl) {
    if (!Accepts("key") || FRequests.Open()) {
        return;
    }
    if (FGame->BoardUpright) {
        // The arrows move the cursor across the screen as the board shows.
        switch (key) {
        case TBoardKey::Left: key = TBoardKey::Up; break;
        case TBoardKey::Right: key = TBoardKey::Down; break;
        case TBoardKey::Up: key = TBoardKey::Left; break;
        case TBoardKey::Down: key = TBoardKey::Right; break;
        default: break;
        }
    }
    try {
        FGame->BoardKey(key, ctrl);
    } catch (const std::exception& error) {
        ReportError(error.what());
    }
    SweepFlows();
    TellStatus();
}

void TGameHost::Tell(const TNews& news) {
    const TSpokenWords words = NewsWords(*FGame, news);
    if (!words.Text.empty()) {
        FWindow.Speak(words);
    }
}

void TGameHost::TellStatus() {
    std::string status = StatusAnnouncement(*FGame);
    if (status != FToldStatus) {
        FWindow.ShowStatus(status);
        FToldStatus = std::move(status);
    }
}

bool TGameHost::MenuItem(TMenuItem item, bool byShortcut) {
    if (!Accepts("menu") || FRequests.Open()) {
        return false;
    }
    if (byShortcut) {
        FMenu.PrepareShortcut(item, *FGame);
        FWindow.SyncMenu();
    }
    const bool runs = HasChildren(item) || FMenu.Item(item).Enabled;
    if (runs) {
        pelmoravan::RunMenuItem(item, *FGame, FMenu);
    }
    SweepFlows();
    TellStatus();
    return runs;
}

void TGameHost::MediaPlayer1Notify() {
    if (!Accepts("music")) {
        return;
    }
    try {
        FMusic.MediaPlayer1Notify(FGame->MusicOn);
    } catch (const std::exception& error) {
        ReportError(error.what()); // the next track could not be written: play on
    }
}

void TGameHost::EnableFrameTimer() { FTimer.SetEnabled(true); }

void TGameHost::ApplyLanguage(std::uint8_t language) {
    pelmoravan::ApplyLanguage(*FGame, FMenu, language);
    FWindow.SyncMenu();
    FWindow.ShowCaption(FMenu.WindowCaption());
}

bool TGameHost::CheckScoreFile(const std::string& path, const std::function<void(const std::string&)>& report) {
    CheckedScoreFiles().insert(path);
    try {
        static_cast<void>(ReadScores(path, true)); // the check neither asks nor shows
        return true;
    } catch (const EScoreFileBusy& busy) {
        // The game starts all the same; the first record makes or resets the file as this
        // check would have.
        std::fprintf(stderr, "pelmoravan: %s; the score file is checked at the first record\n", busy.what());
        std::fflush(stderr);
        return true;
    } catch (const EFileError& error) {
        if (error.Detail() != error.what()) {
            std::fprintf(stderr, "pelmoravan: %s\n", error.Detail().c_str());
        }
        report(error.what());
        return false;
    }
}

} // namespace pelmoravan
