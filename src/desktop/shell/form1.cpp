// SPDX-License-Identifier: MIT
#include "desktop/shell/form1.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <exception>

#include "desktop/audio/qt_track_source.h"
#include "desktop/audio/game_audio.h"
#include "desktop/media/asset_loader.h"
#include "desktop/media/dx_timer.h"
#include "desktop/media/dxdraw.h"
#include "desktop/media/keyboard_state.h"
#include "desktop/shell/about_dialog.h"
#include "desktop/shell/main_menu.h"
#include "desktop/shell/scores_dialog.h"
#include "desktop/shell/work_area_fit.h"
#include "screen/board_words.h"
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

    InstallBoardReaderFactory();
    FDXDraw = new TDXDraw(this);
    setCentralWidget(FDXDraw);
    FReader = std::make_unique<TBoardReader>(*FDXDraw, static_cast<IBoardCells&>(*this));
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
    // A missing resource ends the start: its message is shown, and the program ends with exit
    // code 1 once it is closed. The first frame is shown again at the window's size when it is
    // shown.
    try {
        FHost->Start([](TPictureCollection& tiles, TPictureCollection& screens, TPictureCollection& backs,
                        TWaveCollection& waves) { LoadCatalog(tiles, screens, backs, waves); });
    } catch (const std::exception& error) {
        FHost->ReportStartError(error.what());
    }
    FDXDraw->move(FDXDraw->x(), 0);
    FDXDraw->setFocus();
}

TForm1::~TForm1() {
    // What reaches the house goes before it: closing the window still sends events, and a
    // dialog destroyed with the window answers nothing.
    disconnect(FDXDraw, nullptr, this, nullptr);
    if (FShown != nullptr) {
        FShown->disconnect(this);
        delete FShown;
    }
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
    // A request that came before the window showed (a start-up error) opens over it now, so
    // that it takes the keyboard from the window rather than the window from it.
    if (FShown != nullptr && !FShown->isVisible()) {
        QTimer::singleShot(0, FShown, [dialog = FShown.data()] { dialog->open(); });
    }
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier && FMainMenu != nullptr) {
        if (event->key() == Qt::Key_F10) {
            FMainMenu->OpenBar();
            event->accept();
            return;
        }
        if (const auto item = TMainMenu::ShortcutItem(event->key())) {
            FMainMenu->RunShortcut(*item);
            event->accept();
            return;
        }
    }
    QMainWindow::keyPressEvent(event);
}

// The window always covers the desktop work area and cannot be resized; the frame the window
// manager adds, once known, is taken off the client size so that the whole window fits.
void TForm1::FillWorkArea() {
    // The game lays itself out for the fitted client area; a window made smaller than that (a
    // tiling window manager, a screen too small) shows the surface scaled down.
    TWorkAreaFit::Fit(*this, [this](QSize client) { FDXDraw->SetFittedWindowSize(client); });
}

void TForm1::FormShow() {
    FDXDraw->resize(centralWidget()->size());
}

std::int32_t TForm1::ScreenWidth() const {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    return s != nullptr ? s->geometry().width() : 0;
}

void TForm1::Terminate(int exitCode) {
    FEnding = true;
    QCoreApplication::exit(exitCode);
}

void TForm1::RequestTurn() {
    if (FTurnAsked) {
        return;
    }
    FTurnAsked = true;
    QTimer::singleShot(0, this, [this] {
        FTurnAsked = false;
        FHost->Turn();
    });
}

QString TForm1::Caption(const TRequest& request) const {
    return request.Caption.empty() ? windowTitle() : QString::fromStdString(request.Caption);
}

namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A message box whose one button says text; Esc and the close button finish it too.
QMessageBox* MessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption, const std::string& text,
                        QMessageBox::StandardButton button, const QString& buttonText) {
    auto* box = new QMessageBox(icon, caption, QString::fromStdString(text), button, owner);
    box->button(button)->setText(buttonText);
    box->setEscapeButton(button);
    return box;
}

} // namespace

QDialog* TForm1::MakeDialog(const TRequest& request) {
    const TControlTexts& texts = ControlTexts(Game().Language);
    const QString button = request.Button.empty() ? Text(texts.Ok) : QString::fromStdString(request.Button);
    switch (request.Kind) {
    case TRequestKind::YesNo: {
        auto* box = new QMessageBox(QMessageBox::Question, Caption(request), QString::fromStdString(request.Text),
                                    QMessageBox::Yes | QMessageBox::No, this);
        box->button(QMessageBox::Yes)->setText(Text(texts.Yes));
        box->button(QMessageBox::No)->setText(Text(texts.No));
        box->setEscapeButton(QMessageBox::No);
        return box;
    }
    case TRequestKind::NameEntry: {
        auto* input = new QInputDialog(this);
        input->setInputMode(QInputDialog::TextInput);
        input->setWindowTitle(Caption(request));
        input->setLabelText(QString::fromStdString(request.Text));
        input->setTextValue(QString::fromStdString(request.Preset));
        return input;
    }
    case TRequestKind::ScoreList: {
        auto* list = new TfmScores(this);
        list->Fill(request);
        return list;
    }
    case TRequestKind::Message:
        return MessageBox(this, request.Error ? QMessageBox::Critical : QMessageBox::Information, Caption(request),
                          request.Text, QMessageBox::Ok, button);
    case TRequestKind::About: {
        auto* about = new TFormAbout(this);
        about->ApplyTexts(request);
        return about;
    }
    case TRequestKind::SaveFile: {
        // Whatever name is chosen, nothing is saved.
        auto* save = new QFileDialog(this);
        save->setAcceptMode(QFileDialog::AcceptSave);
        return save;
    }
    case TRequestKind::ScoreBusy:
        return MessageBox(this, QMessageBox::Information, Caption(request), request.Text, QMessageBox::Cancel,
                          request.Button.empty() ? Text(texts.Cancel) : QString::fromStdString(request.Button));
    case TRequestKind::StartError:
        return MessageBox(this, QMessageBox::Critical, Caption(request), request.Text, QMessageBox::Ok, button);
    }
    return nullptr;
}

void TForm1::ShowRequest(const TRequest& request) {
    if (FEnding) {
        return; // the program is ending: nobody would answer
    }
    QDialog* dialog = MakeDialog(request);
    if (dialog == nullptr) {
        return;
    }
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    FShown = dialog;
    FShownId = request.Id;
    const std::uint32_t id = request.Id;
    const TRequestKind kind = request.Kind;
    // Its buttons, Esc and the close button all end in finished, once; the house hears of it on
    // a later turn, never from inside the dialog's own signal.
    connect(dialog, &QDialog::finished, this, [this, dialog, id, kind](int result) {
        dialog->disconnect(this);
        if (FShown == dialog) {
            FShown = nullptr;
        }
        TAnswer answer;
        if (kind == TRequestKind::YesNo) {
            auto* box = static_cast<QMessageBox*>(dialog);
            answer.Accepted = box->clickedButton() == box->button(QMessageBox::Yes);
        } else if (kind == TRequestKind::NameEntry) {
            answer.Accepted = result == QDialog::Accepted;
            answer.Name = static_cast<QInputDialog*>(dialog)->textValue().toStdString();
        } else if (kind == TRequestKind::ScoreBusy) {
            answer.Accepted = false;
        } else {
            answer.Accepted = result == QDialog::Accepted;
        }
        QTimer::singleShot(0, this, [this, id, answer] { FHost->Answer(id, answer); });
    });
    if (isVisible()) {
        dialog->open();
    }
}

void TForm1::CloseRequest(std::uint32_t id) {
    if (FShown == nullptr || FShownId != id) {
        return;
    }
    QDialog* dialog = FShown;
    FShown = nullptr;
    dialog->disconnect(this);
    delete dialog; // never from inside its own signals: the house calls on a tick or an answer
}

void TForm1::SyncMenu() {
    if (FMainMenu != nullptr) {
        FMainMenu->Sync();
    }
}

void TForm1::ShowCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
    FDXDraw->setAccessibleName(Text(ControlTexts(Game().Language).PlayArea));
}

int TForm1::Columns() const {
    return FHost->Game().GameState == TGameState::Playing ? FHost->Game().BoardColumns : 0;
}

int TForm1::Rows() const { return FHost->Game().GameState == TGameState::Playing ? FHost->Game().BoardRows : 0; }

QString TForm1::CellName(int col, int row) const {
    const TGame& game = FHost->Game();
    if (col < 0 || row < 0 || col >= Columns() || row >= Rows() || static_cast<std::size_t>(col) >= game.Board.size() ||
        static_cast<std::size_t>(row) >= game.Board[static_cast<std::size_t>(col)].size()) {
        return {};
    }
    const TCell& cell = game.Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
    if (FCursorWords.Col == col && FCursorWords.Row == row && game.CursorShown && game.CursorCol == col &&
        game.CursorRow == row) {
        return FCursorWords.Text;
    }
    return QString::fromStdString(CellWords(game, cell.Removed ? -1 : cell.Picture, col, row));
}

QRect TForm1::CellRect(int col, int row) const {
    const TGame& game = FHost->Game();
    if (CellName(col, row).isEmpty()) {
        return {};
    }
    const TCell& cell = game.Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
    return QRect(cell.X, cell.Y, game.CellWidth, game.CellHeight);
}

void TForm1::Speak(const TSpokenWords& words) {
    std::optional<std::pair<int, int>> cell;
    if (words.Kind == TWordsKind::Cell && words.Col >= 0 && words.Row >= 0) {
        cell = std::pair(words.Col, words.Row);
        // The focused cell is named by the words told for it: a move tells only what it changed.
        FCursorWords = {words.Col, words.Row, QString::fromStdString(words.Text)};
    }
    if (words.Kind == TWordsKind::Paused) {
        FReader->Quiet(); // the pause is told alone: what came before stays under the cover
    }
    // A turn's words are heard whole, none said over another: urgency changes nothing here.
    FReader->Tell(words.Text, cell, Game().Language == 1 ? ". " : "。");
}

void TForm1::Say(const std::string& text, bool urgent) {
    TSpokenWords words;
    words.Text = text;
    words.Kind = TWordsKind::Outcome;
    words.Urgent = urgent;
    Speak(words);
}

void TForm1::ShowStatus(const std::string& text) { FDXDraw->setAccessibleDescription(QString::fromStdString(text)); }

} // namespace pelmoravan
