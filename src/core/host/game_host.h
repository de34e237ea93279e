#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "game/game.h"
#include "media/collection.h"
#include "media/frame_timer.h"
#include "media/key_latch.h"
#include "shell/command_line.h"
#include "ports/window.h"
#include "shell/menu_dispatch.h"
#include "shell/menu_model.h"

namespace pelmoravan {

// Where the options keep the music's track file.
std::string TrackPath(const TStartOptions& options);

// The parts a front end brings: its window, play surface, frame timer, sound output, music
// player and tracks, and its clock for the random seeds. They outlive the house.
struct TFrontEndParts {
    IGameWindow& Window;
    IDrawControl& Draw;
    TFrameTimer& Timer;
    IWaveOutput& WaveOutput;
    IMediaPlayer& Player;
    ITrackSource& Tracks;
    std::unique_ptr<ISeedSource> Seeds;
};

// The game's house: owns the game and what it works with (collections, menu model, effects,
// music, key latch, start options), wires them to the front end's parts once, and answers what
// the rules and the menu's commands ask, handing to the window only what only a window can do.
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
    const TStartOptions& Options() const { return FOptions; }

    // Filled by the front end's catalog loader.
    TPictureCollection ImageList;
    TPictureCollection DXImageList1; // "back", "gameover", "logo"
    TPictureCollection BackImage;    // tile backs "back1".."back10"
    TWaveCollection DXWaveList1;

    // The start-up texts, then the language the options ask for, as its menu command does.
    // Once the window shows its menu.
    void ApplyStartLanguage();
    // The first track and the frame timer; the window is ready.
    void Start();

    // --- the window's events ---
    void SurfaceResized(std::int32_t width, std::int32_t height);
    void MouseDown(TMouseButton button, std::int32_t x, std::int32_t y);
    // A key of the board cursor (arrows, Home, End, Space or Enter, Backspace).
    void BoardKey(TBoardKey key, bool ctrl);
    // A menu was opened or an item chosen.
    void RunMenuItem(TMenuItem item);
    // A shortcut key of an item: the opening handlers of its menus run and the shown menu follows;
    // tells whether the item may run now.
    bool PrepareShortcut(TMenuItem item);
    // The music player's end-of-play notification, delivered on the window's own loop.
    void MediaPlayer1Notify();
    // Ticks are driven by hand from now on: the timer stays off.
    void HoldTimer();

    // Makes sure the score file at path can be used, creating or resetting it; false after
    // telling report why not (standard error also gets the file and the system's reason). A
    // lock another copy holds for over a second leaves the check to the first record: one
    // line on standard error, and true.
    static bool CheckScoreFile(const std::string& path, const std::function<void(const std::string&)>& report);

    // IGameHost
    void PlaySound(const std::string& name) override { FEffects.PlaySound(name); }
    void PlaySoundAt(std::int32_t position) override { FEffects.PlaySoundAt(position); }
    void Tell(const TNews& news) override;
    void PlayMusic(bool start) override { FMusic.PlayMusic(start); }
    std::int32_t SurfaceWidth() const override { return FDraw.Surface().Width(); }
    std::int32_t SurfaceHeight() const override { return FDraw.Surface().Height(); }
    void EnableFrameTimer() override;
    void ApplyLanguage(std::uint8_t language) override;

private:
    // Hands the status band's text to the window when it has changed.
    void TellStatus();

    IGameWindow& FWindow;
    IDrawControl& FDraw;
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
    bool FTimerHeld = false;
    std::string FToldStatus;
};

} // namespace pelmoravan
