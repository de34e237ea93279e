#include "host/game_host.h"

#include <cstdio>
#include <exception>

#include "media/binary_file.h"
#include "screen/board_words.h"
#include "screen/status_lines.h"
#include "shell/apply_language.h"
#include "shell/data_dir.h"
#include "shell/score_file.h"
#include "shell/silent_score_ui.h"

namespace pelmoravan {

std::string TrackPath(const TStartOptions& options) { return DataFilePath(options.DataDir, MusicTrackFileName); }

TGameHost::TGameHost(TFrontEndParts parts, TStartOptions options)
    : FWindow(parts.Window),
      FDraw(parts.Draw),
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
    g.DXDraw = &parts.Draw;
    g.DXInput = &FKeys;
    g.DXSpriteEngine.SurfacesInitialized(SurfaceWidth(), SurfaceHeight());

    FTimer.SetInterval(TGame::FrameInterval);
    g.TimerInterval = FTimer.Interval();
    FTimer.OnTimer = [this](std::int32_t LagCount) {
        try {
            FGame->DXTimer1Timer(LagCount);
        } catch (const std::exception& error) {
            FWindow.ReportError(error.what());
        }
        TellStatus();
    };
}

TGameHost::~TGameHost() {
    FTimer.SetEnabled(false);
    FTimer.OnTimer = nullptr;
}

void TGameHost::ApplyStartLanguage() {
    ApplyLanguage(0);
    if (FOptions.Language) {
        pelmoravan::RunMenuItem(*FOptions.Language == 1 ? TMenuItem::English1 : TMenuItem::Chinese1, *FGame,
                                FMenu);
    }
}

void TGameHost::Start() {
    try {
        PlayMusic(true);
    } catch (const std::exception& error) {
        FWindow.ReportStartError(error.what());
    }
    EnableFrameTimer();
}

void TGameHost::SurfaceResized(std::int32_t width, std::int32_t height) {
    FGame->DXSpriteEngine.SurfacesInitialized(width, height);
}

void TGameHost::MouseDown(TMouseButton button, std::int32_t x, std::int32_t y) {
    try {
        FGame->DXDrawMouseDown(button, x, y);
    } catch (const std::exception& error) {
        FWindow.ReportError(error.what());
    }
    TellStatus();
}

void TGameHost::BoardKey(TBoardKey key, bool ctrl) {
    try {
        FGame->BoardKey(key, ctrl);
    } catch (const std::exception& error) {
        FWindow.ReportError(error.what());
    }
    TellStatus();
}

void TGameHost::Tell(const TNews& news) {
    const TSpokenWords words = NewsWords(*FGame, news);
    if (!words.Text.empty()) {
        FWindow.Say(words.Text, words.Urgent);
    }
}

void TGameHost::TellStatus() {
    std::string status = StatusAnnouncement(*FGame);
    if (status != FToldStatus) {
        FWindow.ShowStatus(status);
        FToldStatus = std::move(status);
    }
}

void TGameHost::RunMenuItem(TMenuItem item) {
    pelmoravan::RunMenuItem(item, *FGame, FMenu);
    TellStatus();
}

bool TGameHost::PrepareShortcut(TMenuItem item) {
    const bool enabled = FMenu.PrepareShortcut(item, *FGame);
    FWindow.SyncMenu();
    return enabled;
}

void TGameHost::MediaPlayer1Notify() {
    try {
        FMusic.MediaPlayer1Notify(FGame->MusicOn);
    } catch (const std::exception& error) {
        FWindow.ReportError(error.what()); // the next track could not be written: play on
    }
}

void TGameHost::HoldTimer() {
    FTimerHeld = true;
    FTimer.SetEnabled(false);
}

void TGameHost::EnableFrameTimer() { FTimer.SetEnabled(!FTimerHeld); }

void TGameHost::ApplyLanguage(std::uint8_t language) {
    pelmoravan::ApplyLanguage(*FGame, FMenu, language);
    FWindow.SyncMenu();
    FWindow.ShowCaption(FMenu.WindowCaption());
}

bool TGameHost::CheckScoreFile(const std::string& path, const std::function<void(const std::string&)>& report) {
    TNoWaitScoreUi silent; // the check neither asks nor shows
    try {
        pelmoravan::UpdateScores(false, -1, silent, silent, path);
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
