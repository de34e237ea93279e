#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "audio/web/web_audio.h"
#include "game/game.h"
#include "media/collection.h"
#include "media/key_latch.h"
#include "media/web/web_surface.h"
#include "media/web/web_timer.h"
#include "shell/menu_dispatch.h"
#include "shell/menu_model.h"

namespace pelmoravan {

// The page's main window: owns the game, its collections, the play surface, the frame timer,
// the sound and the menu for the whole visit, and answers what the rules ask of the page.
class TWebForm final : public IGameHost, public IMenuWindow {
public:
    // language 0 Chinese, 1 English; seed 0 for the clock's seeds, else fixed ones from it.
    TWebForm(std::uint8_t language, std::uint32_t seed, std::int32_t width, std::int32_t height);
    ~TWebForm() override;

    TGame& Game() { return *FGame; }
    TWebDraw& DXDraw() { return FDXDraw; }
    const TMainMenuModel& Menu() const { return FMenu; }

    // Loads the catalog (waiting for the page) and starts the timer and the music.
    void Start();

    // --- the page's events ---
    void MouseDown(std::int32_t button, std::int32_t x, std::int32_t y);
    void KeyEvent(TKey key, bool down);
    void LetGoKeys() { FKeys.LetGoAll(); }
    // A menu was opened or an item chosen.
    void MenuItem(TMenuItem item);
    // A shortcut key ("F2".."F5"): its menus' opening handlers, then the item if it is enabled.
    void Shortcut(TMenuItem item);
    // The viewport's size: taken up at once on the title and game-over screens, else when the
    // player starts the next game.
    void ViewportResized(std::int32_t width, std::int32_t height);

    // Tests drive the ticks by hand: the timer stays off from now on.
    void HoldTimer() {
        FTimerHeld = true;
        FTimer.Timer().SetEnabled(false);
    }

    // IGameHost
    bool AskYesNo(const std::string& text) override;
    void UpdateScores(bool enter, std::int32_t score) override;
    void PlaySound(const std::string& name) override;
    void PlaySoundAt(std::int32_t position) override;
    void ProcessOneMessage() override;
    // The surface's width: the page is the screen the game is shown on.
    std::int32_t ScreenWidth() const override;
    std::int32_t SurfaceWidth() const override { return FDXDraw.WebSurface().Width(); }
    std::int32_t SurfaceHeight() const override { return FDXDraw.WebSurface().Height(); }
    void EnableFrameTimer() override { FTimer.Timer().SetEnabled(!FTimerHeld); }
    void Terminate() override;
    void ShowSaveDialog() override;

    // IMenuWindow
    void SyncMenu() override;
    void ApplyLanguage(std::uint8_t language) override;
    void PlayMusic(bool start) override;
    void ShowScoreList() override { UpdateScores(true, -1); }
    void ShowAbout() override;
    void CloseWindow() override { Terminate(); }
    void ReportCommandError(const std::string& message) override;

private:
    // The surface takes the viewport's size.
    void TakeUpViewport();

    std::unique_ptr<ISeedSource> FSeedSource;
    TPictureCollection FImageList;
    TPictureCollection FDXImageList1;
    TPictureCollection FBackImage;
    TWaveCollection FDXWaveList1;
    std::unique_ptr<TGame> FGame;
    TWebDraw FDXDraw;
    TWebTimer FTimer;
    TKeyLatch FKeys;
    TMainMenuModel FMenu;
    TWebWaveOutput FWaveOutput;
    TWebMusicPlayer FPlayer;
    TWebTrackSource FTracks;
    TSoundEffects FEffects;
    TBackgroundMusic FMusic;
    std::int32_t FViewportWidth;
    std::int32_t FViewportHeight;
    bool FEnded = false;
    bool FTimerHeld = false;
};

} // namespace pelmoravan
