#pragma once
#include <QMainWindow>
#include <memory>

#include "game/game.h"
#include "media/collection.h"
#include "shell/command_line.h"

namespace pelmoravan {

class TDXDraw;
class TGameAudio;
class TDXTimer;
class TKeyboardState;
class TMainMenu;

// The main window: owns the game, its collections and the play surface for the whole run,
// and answers what the rules ask of the desktop.
class TForm1 : public QMainWindow, public IGameHost {
    Q_OBJECT
public:
    explicit TForm1(TStartOptions options = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    TGame& Game() { return *FGame; }
    TDXDraw* DXDraw() const { return FDXDraw; }
    TDXTimer& DXTimer1() const { return *FDXTimer1; }
    TWaveCollection& DXWaveList1() { return FDXWaveList1; }

    // IGameHost
    bool AskYesNo(const std::string& text) override;
    void UpdateScores(bool enter, std::int32_t score) override;
    void PlaySound(const std::string& name) override;
    void PlaySoundAt(std::int32_t position) override;
    void ProcessOneMessage() override;
    std::int32_t ScreenWidth() const override;
    std::int32_t SurfaceWidth() const override;
    std::int32_t SurfaceHeight() const override;
    void EnableFrameTimer() override;
    void Terminate() override;
    void ShowSaveDialog() override;

    void ApplyLanguage(std::uint8_t language);
    void PlayMusic(bool start);
    TMainMenu& MainMenu1() const { return *FMainMenu; }
    // Sequence: the score list (UpdateScores with enter and no score).
    void ShowScoreList();
    // About: the About dialog.
    void ShowAbout();
    // The music player's end-of-play notification, on the window's thread.
    void MediaPlayer1Notify();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillWorkArea();
    void FormShow();
    void PresentFirstFrame();
    void CreateMediaComponents();

    TSteadyClockSeedSource FSeedSource;
    TPictureCollection FImageList;
    TPictureCollection FDXImageList1;
    TPictureCollection FBackImage;
    TWaveCollection FDXWaveList1;
    std::unique_ptr<TGame> FGame;
    TDXDraw* FDXDraw = nullptr;
    TDXTimer* FDXTimer1 = nullptr;
    TKeyboardState* FDXInput = nullptr;
    TMainMenu* FMainMenu = nullptr;
    std::unique_ptr<TGameAudio> FAudio; // DXSound1 and MediaPlayer1
    TStartOptions FOptions;
    bool FFirstFramePresented = false;
};

} // namespace pelmoravan
