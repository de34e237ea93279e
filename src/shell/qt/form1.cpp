#include "shell/qt/form1.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "audio/qt/qt_track_source.h"
#include "audio/sdl/game_audio.h"
#include "media/qt/asset_loader.h"
#include "media/qt/dx_timer.h"
#include "media/qt/dxdraw.h"
#include "media/qt/error_report.h"
#include "media/qt/keyboard_state.h"
#include "shell/qt/about_dialog.h"
#include "shell/qt/main_menu.h"
#include "shell/qt/score_ui.h"
#include "shell/qt/work_area_fit.h"

namespace pelmoravan {

TForm1::TForm1(TStartOptions options, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      FGame(std::make_unique<TGame>(*this, FSeedSource)), FOptions(std::move(options)) {
    setWindowTitle(QStringLiteral("Pelmoravan"));
    resize(694, 428);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);

    FDXDraw = new TDXDraw(this);
    setCentralWidget(FDXDraw);
    CreateMediaComponents();
    // The sound device and the soundfont start once the event loop runs, so that they take no
    // time from the window's first frame; the music asked for below starts as soon as they are up.
    FAudio = std::make_unique<TGameAudio>(FDXWaveList1, FGame->Rng, std::make_unique<TQtTrackSource>(),
                                          FOptions.TrackPath(), stderr, false);
    QTimer::singleShot(0, this, [this] { FAudio->DXSound1().Start(); });
    connect(&FAudio->MediaPlayer1(), &TSdlMusicPlayer::Notify, this, &TForm1::MediaPlayer1Notify);
    FMainMenu = new TMainMenu(*this, *menuBar());
    FGame->ImageList = &FImageList;

    TGame& g = *FGame;
    g.BonusKind = -1;
    g.GameState = 0;
    g.Language = 0;
    ApplyLanguage(0);
    if (FOptions.Language) { // as the Language submenu's commands do
        *FOptions.Language == 1 ? FMainMenu->English1Click() : FMainMenu->Chinese1Click();
    }
    g.MusicOn = true;
    g.SoundOn = true;
    g.Difficulty = 1;
    g.CellWidth = 50;
    g.CellHeight = 38;
    g.TimeBarWidth = 300;
    g.TimeBarHeight = 20;
    g.TimeBarTop = 10;
    g.TimeBarColor = 255;
    PlayMusic(true);
    FDXDraw->move(FDXDraw->x(), 0);
    // Enabled from the start; it ticks once the application is active.
    FDXTimer1->SetEnabled(true);
}

// The media components of the window in the order it builds them: the collections loaded from
// the resources (a missing one ends the start with its message), the play surface handed to the
// game and its sprite engine, the key state and the frame timer.
void TForm1::CreateMediaComponents() {
    LoadCatalog(FImageList, FDXImageList1, FBackImage, FDXWaveList1);
    TGame& g = *FGame;
    g.DXImageList1 = &FDXImageList1;
    g.BackImage = &FBackImage;
    g.DXDraw = FDXDraw;
    g.DXSpriteEngine.SurfacesInitialized(FDXDraw->SurfaceWidth(), FDXDraw->SurfaceHeight());
    connect(FDXDraw, &TDXDraw::SurfaceResized, this, [this](int width, int height) {
        FGame->DXSpriteEngine.SurfacesInitialized(width, height);
    });
    connect(FDXDraw, &TDXDraw::MouseDown, this, [this](Qt::MouseButton button, int x, int y) {
        const auto Button = ToMouseButton(button);
        if (!Button) {
            return;
        }
        try {
            FGame->DXDrawMouseDown(*Button, x, y);
        } catch (const std::exception& error) {
            ReportError(this, error);
        }
    });
    FDXInput = new TKeyboardState(this, this);
    g.DXInput = FDXInput;
    FDXTimer1 = new TDXTimer(this);
    FDXTimer1->SetInterval(100);
    FDXTimer1->SetActiveOnly(true);
    g.TimerInterval = FDXTimer1->Interval();
    FDXTimer1->OnTimer = [this](TDXTimer&, std::int32_t LagCount) {
        try {
            FGame->DXTimer1Timer(LagCount);
        } catch (const std::exception& error) {
            ReportError(this, error);
        }
    };
}

TForm1::~TForm1() = default;

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FillWorkArea();
    FormShow();
    PresentFirstFrame();
    // Without a window manager (a bare X server) nothing else would make the window active, and
    // the frame timer only ticks for the active application.
    activateWindow();
}

// The window always covers the desktop work area and cannot be resized; the frame the window
// manager adds, once known, is taken off the client size so that the whole window fits.
void TForm1::FillWorkArea() { TWorkAreaFit::Fit(*this); }

void TForm1::FormShow() {
    FDXDraw->resize(centralWidget()->size());
}

// The window maps with the title on it instead of a blank surface for the timer's first
// interval; the tick that follows comes when it would have anyway.
void TForm1::PresentFirstFrame() {
    if (FFirstFramePresented) {
        return;
    }
    FFirstFramePresented = true;
    try {
        FGame->PresentTitleScreen();
    } catch (const std::exception& error) {
        ReportError(this, error);
    }
}

bool TForm1::AskYesNo(const std::string& text) {
    const auto answer = QMessageBox::question(this, windowTitle(), QString::fromStdString(text),
                                              QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes;
}

// A file error is shown in a message box and the game goes on.
void TForm1::UpdateScores(bool enter, std::int32_t score) {
    UpdateScoresInWindow(this, enter, score, FOptions.ScorePath());
}

void TForm1::PlaySound(const std::string& name) { FAudio->PlaySound(name); }
void TForm1::PlaySoundAt(std::int32_t position) { FAudio->PlaySoundAt(position); }

void TForm1::PlayMusic(bool start) { FAudio->PlayMusic(start); }

void TForm1::MediaPlayer1Notify() {
    try {
        FAudio->MediaPlayer1Notify(FGame->MusicOn);
    } catch (const std::exception& error) {
        ReportError(this, error); // the next track could not be written: say so, play on
    }
}

void TForm1::ProcessOneMessage() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

std::int32_t TForm1::ScreenWidth() const {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    return s != nullptr ? s->geometry().width() : 0;
}

std::int32_t TForm1::SurfaceWidth() const { return FDXDraw->SurfaceWidth(); }
std::int32_t TForm1::SurfaceHeight() const { return FDXDraw->SurfaceHeight(); }

void TForm1::EnableFrameTimer() { FDXTimer1->SetEnabled(true); }

void TForm1::Terminate() { QApplication::quit(); }

// The chosen name is deliberately unused: nothing is saved.
void TForm1::ShowSaveDialog() { static_cast<void>(QFileDialog::getSaveFileName(this)); }

void TForm1::ApplyLanguage(std::uint8_t language) { FMainMenu->ApplyLanguage(language); }

void TForm1::ShowScoreList() { UpdateScores(true, -1); }

void TForm1::ShowAbout() { aboutClick(this); }

} // namespace pelmoravan
