#include "desktop/shell/form1.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <stdexcept>

#include "desktop/audio/qt_track_source.h"
#include "desktop/audio/game_audio.h"
#include "desktop/media/asset_loader.h"
#include "desktop/media/dx_timer.h"
#include "desktop/media/dxdraw.h"
#include "desktop/media/error_report.h"
#include "desktop/media/keyboard_state.h"
#include "desktop/shell/about_dialog.h"
#include "desktop/shell/main_menu.h"
#include "desktop/shell/score_ui.h"
#include "desktop/shell/work_area_fit.h"
#include "shell/language_tables.h"

namespace pelmoravan {

TForm1::TForm1(TStartOptions options, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Pelmoravan"));
    resize(694, 428);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);

    FDXDraw = new TDXDraw(this);
    setCentralWidget(FDXDraw);
    FDXTimer1 = new TDXTimer(this);
    // The sound device and the soundfont start once the event loop runs, so that they take no
    // time from the window's first frame; the music asked for below starts as soon as they are up.
    FAudio = std::make_unique<TGameAudio>(std::make_unique<TQtTrackSource>(), stderr, false);
    FHost = std::make_unique<TGameHost>(TFrontEndParts{*this, *FDXDraw, FDXTimer1->Timer(), FAudio->WaveOutput(),
                                                       FAudio->MediaPlayer1(), FAudio->Tracks(),
                                                       std::make_unique<TSteadyClockSeedSource>()},
                                        std::move(options));
    connect(FDXDraw, &TDXDraw::Repainting, this, [this] { FHost->SurfaceRepainting(); });
    connect(FDXDraw, &TDXDraw::SurfaceResized, this, [this](int width, int height) { FHost->SurfaceResized(width, height); });
    connect(FDXDraw, &TDXDraw::MouseDown, this, [this](Qt::MouseButton button, int x, int y) {
        if (const auto Button = ToMouseButton(button)) {
            FHost->MouseDown(*Button, x, y);
        }
    });
    connect(FDXDraw, &TDXDraw::BoardKey, this, [this](TBoardKey key, bool ctrl) { FHost->BoardKey(key, ctrl); });
    FDXInput = new TKeyboardState(this, FHost->Keys(), this);
    QTimer::singleShot(0, this, [this] { FAudio->DXSound1().Start(); });
    // The end of a track is seen on the audio thread; the house hears of it on this one.
    FAudio->MediaPlayer1().Post = [this](std::function<void()> task) {
        QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
    };
    FAudio->MediaPlayer1().OnNotify = [this] { FHost->MediaPlayer1Notify(); };
    FMainMenu = new TMainMenu(*this, *menuBar());
    // A missing resource ends the start with its message. The first frame is shown again at
    // the window's size when it is shown.
    FHost->Start([](TPictureCollection& tiles, TPictureCollection& screens, TPictureCollection& backs,
                    TWaveCollection& waves) { LoadCatalog(tiles, screens, backs, waves); });
    FDXDraw->move(FDXDraw->x(), 0);
    FDXDraw->setFocus();
}

TForm1::~TForm1() {
    // What reaches the house goes before it: closing the window still sends events.
    disconnect(FDXDraw, nullptr, this, nullptr);
    delete FDXInput;
    delete FMainMenu;
    FMainMenu = nullptr;
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FillWorkArea();
    FormShow();
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

bool TForm1::AskYesNo(const std::string& text) {
    const auto answer = QMessageBox::question(this, windowTitle(), QString::fromStdString(text),
                                              QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes;
}

// A file error is shown in a message box and the game goes on.
void TForm1::UpdateScores(bool enter, std::int32_t score) {
    // The frame loop reads no keys while the score is being offered; Esc still ends the game
    // while the score file's lock is waited for, until the box about it shows.
    UpdateScoresInWindow(this, enter, score, FHost->Options().ScorePath(), Game().Language, [this] {
        FHost->Keys().Poll();
        if (!FHost->Keys().KeyDown(TKey::Escape)) {
            return false;
        }
        Terminate();
        return true;
    });
}

void TForm1::ProcessOneMessage() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

std::int32_t TForm1::ScreenWidth() const {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    return s != nullptr ? s->geometry().width() : 0;
}

void TForm1::Terminate() { QApplication::quit(); }

// The chosen name is deliberately unused: nothing is saved.
void TForm1::ShowSaveDialog() { static_cast<void>(QFileDialog::getSaveFileName(this)); }

void TForm1::SyncMenu() {
    if (FMainMenu != nullptr) {
        FMainMenu->Sync();
    }
}

void TForm1::ShowCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
    if (!FWordsSaid) {
        FDXDraw->setAccessibleName(QString::fromUtf8(ControlTexts(Game().Language).PlayArea.data(), static_cast<qsizetype>(ControlTexts(Game().Language).PlayArea.size())));
    }
}

namespace {

// Sets one of the surface's accessible texts and tells the reader so, even when the words are
// the same as the last ones ("not linked" twice must be heard twice).
void TellReader(QWidget* widget, const QString& text, QAccessible::Event change) {
    const bool same = change == QAccessible::NameChanged ? widget->accessibleName() == text
                                                         : widget->accessibleDescription() == text;
    if (change == QAccessible::NameChanged) {
        widget->setAccessibleName(text);
    } else {
        widget->setAccessibleDescription(text);
    }
    if (same) {
        QAccessibleEvent event(widget, change);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace

void TForm1::Say(const std::string& text, bool urgent) {
    static_cast<void>(urgent); // the toolkit's readers have one channel for a widget's name
    FWordsSaid = true;
    TellReader(FDXDraw, QString::fromStdString(text), QAccessible::NameChanged);
}

void TForm1::ShowStatus(const std::string& text) {
    TellReader(FDXDraw, QString::fromStdString(text), QAccessible::DescriptionChanged);
}

void TForm1::ShowAbout() { aboutClick(this); }

void TForm1::ReportError(const std::string& message) { pelmoravan::ReportError(this, message); }

void TForm1::ReportCommandError(const std::string& message) {
    QMessageBox::warning(this, windowTitle(), QString::fromStdString(message));
}

void TForm1::ReportStartError(const std::string& message) { throw std::runtime_error(message); }

} // namespace pelmoravan
