// SPDX-License-Identifier: MIT
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "web/audio/web_audio.h"
#include "web/media/web_surface.h"
#include "web/media/web_timer.h"
#include "host/game_host.h"
#include "shell/play_buttons.h"
#include "web/shell/board_view.h"
#include "web/shell/web_score_storage.h"

namespace pelmoravan {

// The page's main window: the game's house shown in the page. It owns the house, the play
// surface, the frame timer and the sound for the whole visit, and shows the menu and dialogs.
class TWebForm final : public IGameWindow {
public:
    // language 0 Chinese, 1 English; seed as --seed gives it, none for the clock's seeds.
    TWebForm(std::uint8_t language, std::optional<std::uint32_t> seed, std::int32_t width, std::int32_t height);
    ~TWebForm() override;

    TGame& Game() { return FHost->Game(); }
    TWebDraw& DXDraw() { return FDXDraw; }
    const TMainMenuModel& Menu() const { return FHost->Menu(); }

    // Mounts the stored folder and fetches the catalog's files; once both are in, checks the
    // score file and starts the house: the texts, the catalog, the first frame, the music and
    // the timer. Returns at once.
    void Start();
    // The stored folder was mounted (ok) or could not be (the visit keeps its scores in memory).
    void Mounted(bool ok);

    // --- the page's events ---
    void MouseDown(std::int32_t button, std::int32_t x, std::int32_t y);
    void KeyEvent(TKey key, bool down);
    // A key of the board cursor, pressed while the board has the focus.
    void BoardKey(TBoardKey key, bool ctrl);
    void LetGoKeys() { FHost->Keys().LetGoAll(); }
    // A menu was opened or an item chosen.
    void MenuItem(TMenuItem item);
    // A shortcut key ("F2".."F5"): its menus' opening handlers, then the item if it is enabled.
    void Shortcut(TMenuItem item);
    // Whether the page's main pointer is coarse (a finger): a tap on the title starts a game, and
    // Exit asks before it ends one in progress.
    void SetTouch(bool touch);
    // The page's view is taller than wide (tall), and one CSS pixel is cssPixel surface pixels.
    void SetView(bool tall, double cssPixel);
    // Brings the page's play buttons and its board view up to date with the game; sends only
    // what changed.
    void SyncPage();

    // The page's answer to the request with this id (the dialog closed, by whatever means).
    void Answer(std::uint32_t id, const TAnswer& answer);
    // The turn asked for with RequestTurn.
    void Turn();

    TFrameTimer& FrameTimer() { return FTimer.Timer(); }
    TGameHost& Host() { return *FHost; }

    // IGameWindow
    void ShowRequest(const TRequest& request) override;
    void CloseRequest(std::uint32_t id) override;
    void RequestTurn() override;
    // The surface's width as the game lays itself out: the page is the screen it is shown on.
    std::int32_t ScreenWidth() const override;
    void Terminate(int exitCode) override;
    void SyncMenu() override;
    void ShowCaption(const std::string& caption) override;
    void CloseWindow() override;
    void Speak(const TSpokenWords& words) override;
    void ShowStatus(const std::string& text) override;

private:
    // Says once a visit that the browser's storage cannot keep the score list.
    void ScoresNotKept();
    // Once the folder and the files are in: the house's start; a failure is the start's error.
    void StartHouse();
    // Shows the board upright while a board is in play on a finger's tall screen, and level
    // otherwise: the surface takes the turned size.
    void TurnBoard();

    TWebDraw FDXDraw;
    // The size the game lays itself out for; the surface takes it turned while the board is
    // upright.
    std::int32_t FLayoutWidth;
    std::int32_t FLayoutHeight;
    bool FTall = false;
    double FCssPixel = 1.0;
    // The language the page speaks: the one it was asked for until the game's applies.
    std::uint8_t FLanguage;
    TWebTimer FTimer;
    TWebWaveOutput FWaveOutput;
    TWebMusicPlayer FPlayer;
    TWebTrackSource FTracks;
    std::unique_ptr<TGameHost> FHost;
    bool FTouch = false;
    std::array<TPlayButton, 4> FShownButtons{};
    TBoardViewSync FBoardView;
    bool FEnded = false;
    TWebScoreStorage FScoreStorage{[this] { ScoresNotKept(); }};
    bool FScoresNotKeptSaid = false;
    // The storage failed before the house started: said once it has.
    bool FScoresNotKeptLate = false;
    // The start waits for both the stored folder and the catalog's files.
    bool FMounted = false;
    bool FCatalogIn = false;
    std::string FCatalogFailure; // the file the page could not load
    std::string FCheckFailure;   // why the score file cannot be used
    bool FStarting = false;
    bool FHouseStarted = false;
};

} // namespace pelmoravan
