// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/music.h"
#include "flow/request_queue.h"
#include "flow/tick_waits.h"
#include "audio/sound_effects.h"
#include "game/game.h"
#include "media/collection.h"
#include "media/frame_timer.h"
#include "media/key_latch.h"
#include "media/play_draw.h"
#include "shell/command_line.h"
#include "ports/score_storage.h"
#include "ports/window.h"
#include "shell/menu_dispatch.h"
#include "shell/menu_model.h"

namespace pelmoravan {

// Where the options keep the music's track file.
std::string TrackPath(const TStartOptions& options);

// Loads the front end's files and fills the four empty collections from its copies of the
// catalog's: tile
// pictures, screens ("back", "gameover", "logo"), tile backs ("back1".."back10") and waves (the
// nine effects; a front end without sound may leave it empty). Throws what it cannot load.
using TCatalogFill = std::function<void(TPictureCollection& tiles, TPictureCollection& screens,
                                        TPictureCollection& backs, TWaveCollection& waves)>;

// The parts a front end brings: its window, play surface, frame timer, sound output, music
// player and tracks, its clock for the random seeds, and where the score file is shared beyond
// the file system (the page's storage; null elsewhere). They outlive the house.
struct TFrontEndParts {
    IGameWindow& Window;
    IPlaySurface& Surface;
    TFrameTimer& Timer;
    IWaveOutput& WaveOutput;
    IMediaPlayer& Player;
    ITrackSource& Tracks;
    std::unique_ptr<ISeedSource> Seeds;
    IScoreStorage* ScoreStorage = nullptr;
};

// The game's house: owns the game and what it works with (collections, drawing stack, menu
// model, effects, music, key latch, start options), wires them to the front end's parts once,
// and does what every front end would otherwise repeat. A front end makes it, calls
// CheckScoreFile and Start, and then hands it its events, all on its one thread.
class TGameHost final : public IGameHost {
public:
    TGameHost(TFrontEndParts parts, TStartOptions options = {});
    ~TGameHost() override;
    TGameHost(const TGameHost&) = delete;
    TGameHost& operator=(const TGameHost&) = delete;

    TGame& Game() { return *FGame; }
    const TGame& Game() const { return *FGame; }
    TMainMenuModel& Menu() { return FMenu; }
    const TMainMenuModel& Menu() const { return FMenu; }
    TKeyLatch& Keys() { return FKeys; }
    TPlayDraw& Draw() { return FPlay; }
    const TStartOptions& Options() const { return FOptions; }

    TPictureCollection ImageList;
    TPictureCollection DXImageList1; // "back", "gameover", "logo"
    TPictureCollection BackImage;    // tile backs "back1".."back10"
    // The tile pictures on tall plates, for a front end that shows the board upright; it fills
    // them (media/upright_tile.h) in the order of ImageList, or leaves them empty.
    TPictureCollection UprightImageList;
    TWaveCollection DXWaveList1;

    // The start, once the window shows its menu, in this order: the start-up texts and the
    // language the options ask for, the catalog, the first frame (the title, without waiting for
    // a tick), the first track and the frame timer. What fill throws ends the start; a first
    // track that cannot be written or played does not: one line on standard error names the
    // file (or the track) and the reason, and the game starts with music switched off. Throws
    // std::logic_error, naming the step, when CheckScoreFile was not made for the options'
    // score file before the first frame (before this call, or while fill loads the front end's
    // files), or when the house was started already.
    void Start(const TCatalogFill& fill);

    // --- the window's events. Any that comes before Start or after the program was asked to
    // end is dropped (and said once on standard error). While a request is open, board clicks
    // and keys are dropped and no menu item runs. ---
    // The answer to the request with this id (ports/requests.h). An answer to any other is
    // ignored, as is one after the end.
    void Answer(std::uint32_t id, const TAnswer& answer);
    // The turn the window was asked for with RequestTurn: the link line's next pass.
    void Turn();
    // A start that failed (the front end's files could not be loaded): shown as a request, and
    // the program ends with exit code 1 once it is answered. It may come before Start finished.
    void ReportStartError(const std::string& message);
    // Exit asks first while a game is in progress: where a finger may hit it by mistake.
    void AskBeforeExit(bool asks);
    // Whether a request is shown or waits for its turn.
    bool RequestOpen() const { return FRequests.Open(); }
    // Whether the game waits on the player or on its storage: a request shown or waiting, or a
    // sequence of steps under way (the end of a difficulty, the score file's wait).
    bool Waiting() const;
    // The play surface's pixels took this size. The title is shown again at once.
    void SurfaceResized(std::int32_t width, std::int32_t height);
    // The front end is about to show the pixels outside a present (a repaint it was asked for).
    void SurfaceRepainting() { FPlay.Repainting(); }
    // A press at (x, y) of the surface as shown: while the board is upright, the house turns it
    // back into the board's geometry.
    void MouseDown(TMouseButton button, std::int32_t x, std::int32_t y);
    // The board is shown turned for an upright screen, or level again (ports/README.md: the
    // surface takes the turned size first, and SurfaceResized follows). Presses and the
    // cursor's arrows are then taken as shown; the rules never see the turn.
    void ShowBoardUpright(bool upright);
    bool BoardUpright() const { return FGame->BoardUpright; }
    // The main pointer is a finger (coarse), and one of the page's CSS pixels is cssPixel
    // surface pixels: taps then find the tile meant (TGame::SelectTouchedTile). A mouse keeps
    // the exact hit test.
    void TouchPointer(bool coarse, double cssPixel);
    // A key of the board cursor (arrows, Home, End, Space or Enter, Backspace).
    void BoardKey(TBoardKey key, bool ctrl);
    // A menu was opened or an item chosen from the shown menu, or (byShortcut) an item's
    // shortcut key was pressed, which first runs its menus' opening handlers and brings the
    // shown menu up to date. An item runs only while it is enabled. True when it ran. Ticks may
    // run nested inside (a command's dialog).
    bool MenuItem(TMenuItem item, bool byShortcut = false);
    // The music player's end-of-play notification, delivered on the front end's thread.
    void MediaPlayer1Notify();

    // Makes sure the score file at path can be used, creating or resetting it; false after
    // telling report why not (standard error also gets the file and the system's reason). A
    // lock another copy holds for over a second leaves the check to the first record: one
    // line on standard error, and true. Each front end makes it before the
    // first frame, whatever its answer: the desktop before its toolkit starts, the page while
    // its files load.
    static bool CheckScoreFile(const std::string& path, const std::function<void(const std::string&)>& report);

    // IGameHost
    void PlaySound(const std::string& name) override { FEffects.PlaySound(name); }
    void PlaySoundAt(std::int32_t position) override { FEffects.PlaySoundAt(position); }
    void Tell(const TNews& news) override;
    void PlayMusic(bool start) override { FMusic.PlayMusic(start); }
    // The surface as the board's geometry sees it: while the board is upright, turned back.
    std::int32_t SurfaceWidth() const override { return FGame->BoardUpright ? FPlay.Height() : FPlay.Width(); }
    std::int32_t SurfaceHeight() const override { return FGame->BoardUpright ? FPlay.Width() : FPlay.Height(); }
    void EnableFrameTimer() override;
    void ApplyLanguage(std::uint8_t language) override;
    TRequestQueue& Requests() override { return FRequests; }
    void Run(TFlow<> flow) override;
    TFlow<> UpdateScores(bool enter, std::int32_t score) override;
    void RequestTurn() override;
    void ReportError(const std::string& message) override;

private:
    // The window as the game and the requests reach it: it notes that the program was asked to
    // end, after which nothing more reaches the game.
    class TWindowGate final : public IGameWindow {
    public:
        TWindowGate(IGameWindow& window, bool& ended) : FWindow(window), FEnded(ended) {}
        void ShowRequest(const TRequest& request) override { FWindow.ShowRequest(request); }
        void CloseRequest(std::uint32_t id) override { FWindow.CloseRequest(id); }
        void RequestTurn() override { FWindow.RequestTurn(); }
        std::int32_t ScreenWidth() const override { return FWindow.ScreenWidth(); }
        void Terminate(int exitCode) override;
        void SyncMenu() override { FWindow.SyncMenu(); }
        void ShowCaption(const std::string& caption) override { FWindow.ShowCaption(caption); }
        void CloseWindow() override;
        void Speak(const TSpokenWords& words) override { FWindow.Speak(words); }
        void Say(const std::string& text, bool urgent) override { FWindow.Say(text, urgent); }
        void ShowStatus(const std::string& text) override { FWindow.ShowStatus(text); }

    private:
        IGameWindow& FWindow;
        bool& FEnded;
    };

    // False, and the event dropped, before Start and after the end.
    bool Accepts(const char* event);
    // Ends the flows that are done, showing the error that ended one.
    void SweepFlows();
    // Hands the status band's text to the window when it has changed.
    void TellStatus();
    // The title as it stands, shown without a tick.
    void PresentTitle();
    // The first track failed: why (when the music has not told it already) on standard error,
    // and music switched off.
    void StartWithoutMusic(const std::string& why);

    bool FEnded = false;
    bool FDropBeforeStartSaid = false;
    bool FDropAfterEndSaid = false;
    TWindowGate FWindow;
    TRequestQueue FRequests;
    TTickWaits FTicks;
    IScoreStorage* FScoreStorage;
    TPlayDraw FPlay;
    TFrameTimer& FTimer;
    std::unique_ptr<ISeedSource> FSeeds;
    // --seed: the game's reseeds count from the player's number instead of reading the clock.
    std::unique_ptr<ISeedSource> FChosenSeeds;
    // The music draws its tracks on a generator of its own, from the clock: a track that ends
    // mid-game takes no seed from a chosen game.
    TRandom FMusicRandom;
    std::unique_ptr<TGame> FGame;
    TMainMenuModel FMenu;
    TKeyLatch FKeys;
    TStartOptions FOptions;
    TSoundEffects FEffects;
    TBackgroundMusic FMusic;
    bool FStarted = false;
    std::string FToldStatus;
    // Last: the flows refer to everything above and go first.
    std::vector<TFlow<>> FFlows;
};

} // namespace pelmoravan
