// SPDX-License-Identifier: MIT
#pragma once
#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>

#include "shell/command_line.h"
#include "desktop/shell/board_reader.h"
#include "host/game_host.h"

namespace pelmoravan {

class TDXDraw;
class TGameAudio;
class TDXTimer;
class TKeyboardState;
class TMainMenu;

// The main window: the game's house shown with Qt. It owns the house for the whole run, and
// shows its surface, menu and dialogs. A dialog is modal to this window only and opened without
// waiting (open()); its answer reaches the house on a later turn of the event loop.
class TForm1 : public QMainWindow, public IGameWindow, private IBoardCells {
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
    TGameAudio& Audio() const { return *FAudio; }
    void EnableFrameTimer() { FHost->EnableFrameTimer(); }

    // IGameWindow
    void ShowRequest(const TRequest& request) override;
    void CloseRequest(std::uint32_t id) override;
    void RequestTurn() override;
    std::int32_t ScreenWidth() const override;
    // Ends the event loop with this exit code; no request is shown afterwards.
    void Terminate(int exitCode = 0) override;
    void SyncMenu() override;
    void ShowCaption(const std::string& caption) override;
    void CloseWindow() override { close(); }
    // A screen reader hears the board's words: the cursor's cell words by that cell taking the
    // reader's focus, the rest of a turn's words as one notice. The status band is the
    // surface's description, read when asked.
    void Speak(const TSpokenWords& words) override;
    void Say(const std::string& text, bool urgent) override;
    void ShowStatus(const std::string& text) override;

    // The dialog of the house's request shown now (opened once the window shows), null when
    // none is.
    QDialog* ShownRequest() const { return FShown; }

protected:
    void showEvent(QShowEvent* event) override;
    // F2 to F5 and F10, from whichever of the window's widgets had the focus.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // IBoardCells
    int Columns() const override;
    int Rows() const override;
    QString CellName(int col, int row) const override;
    QRect CellRect(int col, int row) const override;

    void FillWorkArea();
    void FormShow();
    // The dialog for a request, not yet shown; null for a kind this window does not know.
    QDialog* MakeDialog(const TRequest& request);
    QString Caption(const TRequest& request) const;

    TDXDraw* FDXDraw = nullptr;
    TDXTimer* FDXTimer1 = nullptr;
    TKeyboardState* FDXInput = nullptr;
    TMainMenu* FMainMenu = nullptr;
    std::unique_ptr<TGameAudio> FAudio; // DXSound1 and MediaPlayer1
    std::unique_ptr<TGameHost> FHost;
    std::unique_ptr<TBoardReader> FReader;
    // The words last told for the cursor's cell: they name it while the cursor stays there.
    struct TCursorWords {
        int Col = -1;
        int Row = -1;
        QString Text;
    } FCursorWords;
    QPointer<QDialog> FShown;
    std::uint32_t FShownId = 0;
    bool FTurnAsked = false;
    bool FEnding = false;
};

} // namespace pelmoravan
