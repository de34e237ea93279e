#pragma once
#include <QMainWindow>
#include <memory>

#include "shell/command_line.h"
#include "host/game_host.h"

namespace pelmoravan {

class TDXDraw;
class TGameAudio;
class TDXTimer;
class TKeyboardState;
class TMainMenu;

// The main window: the game's house shown with Qt. It owns the house for the whole run, and
// shows its surface, menu and dialogs.
class TForm1 : public QMainWindow, public IGameWindow {
    Q_OBJECT
public:
    explicit TForm1(TStartOptions options = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    TGameHost& Host() { return *FHost; }
    TGame& Game() { return FHost->Game(); }
    TDXDraw* DXDraw() const { return FDXDraw; }
    TDXTimer& DXTimer1() const { return *FDXTimer1; }
    TWaveCollection& DXWaveList1() { return FHost->DXWaveList1; }
    TMainMenu& MainMenu1() const { return *FMainMenu; }
    void EnableFrameTimer() { FHost->EnableFrameTimer(); }

    // IGameWindow
    bool AskYesNo(const std::string& text) override;
    void UpdateScores(bool enter, std::int32_t score) override;
    void ProcessOneMessage() override;
    std::int32_t ScreenWidth() const override;
    void Terminate() override;
    void ShowSaveDialog() override;
    void SyncMenu() override;
    void ShowCaption(const std::string& caption) override;
    void ShowAbout() override;
    void CloseWindow() override { close(); }
    void ReportError(const std::string& message) override;
    void ReportCommandError(const std::string& message) override;
    // The start ends: the caller reports it and the program ends.
    void ReportStartError(const std::string& message) override;
    // A screen reader hears the play surface: the board's words as its accessible name, the
    // status band as its description.
    void Say(const std::string& text, bool urgent) override;
    void ShowStatus(const std::string& text) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillWorkArea();
    void FormShow();

    TDXDraw* FDXDraw = nullptr;
    TDXTimer* FDXTimer1 = nullptr;
    TKeyboardState* FDXInput = nullptr;
    TMainMenu* FMainMenu = nullptr;
    std::unique_ptr<TGameAudio> FAudio; // DXSound1 and MediaPlayer1
    std::unique_ptr<TGameHost> FHost;
    bool FWordsSaid = false; // until then the surface is named for what it is
};

} // namespace pelmoravan
