#include "desktop/shell/score_ui.h"

#include <QApplication>
#include <QEventLoop>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "media/binary_file.h"
#include "host/game_host.h"
#include "shell/language_tables.h"
#include "desktop/shell/scores_dialog.h"
#include "desktop/shell/startup_error.h"

namespace pelmoravan {

std::optional<std::string> TQtScoreUi::InputName(const std::string& caption, const std::string& prompt,
                                                 const std::string& preset) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(FWindow, QString::fromStdString(caption), QString::fromStdString(prompt),
                              QLineEdit::Normal, QString::fromStdString(preset), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return answer.toStdString();
}

void TQtScoreUi::ShowScoreList(const TScoreEntries& entries) {
    // Parented only so that it is centred over the window; it is gone when it closes.
    TfmScores dialog(FWindow);
    dialog.Fill(entries);
    dialog.exec();
}

TQtScoreUi::~TQtScoreUi() { delete FBusy; }

QString TQtScoreUi::Caption() const {
    return FWindow != nullptr ? FWindow->windowTitle() : QStringLiteral("Pelmoravan");
}

// A nested event loop: the window draws, the frame timer ticks and keys are read meanwhile.
// Exit code 1 is this wait's own end; anything else is the application ending.
bool TQtScoreUi::RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, [&loop] { loop.exit(1); });
    if (FBusy != nullptr) {
        QObject::connect(FBusy, &QDialog::finished, &loop, [&loop] { loop.exit(1); });
    }
    return loop.exec() == 1 && (FBusy != nullptr || !FEnding || !FEnding());
}

void TQtScoreUi::ShowBusy(const std::string& text) {
    FCancelled = false;
    FBusy = new QMessageBox(QMessageBox::Information, Caption(), QString::fromStdString(text), QMessageBox::Cancel,
                            FWindow);
    FBusy->setWindowModality(Qt::ApplicationModal);
    FBusy->button(QMessageBox::Cancel)->setText(QString::fromUtf8(ControlTexts(FLanguage).Cancel));
    // Cancel, Esc or the close button: the player stops waiting.
    QObject::connect(FBusy, &QDialog::finished, FBusy, [this] { FCancelled = true; });
    FBusy->show();
}

void TQtScoreUi::CloseBusy() {
    if (FBusy != nullptr) {
        FBusy->disconnect(FBusy);
        delete FBusy;
    }
}

void TQtScoreUi::TellNotRecorded(const std::string& text) {
    QMessageBox box(QMessageBox::Information, Caption(), QString::fromStdString(text), QMessageBox::Ok, FWindow);
    box.button(QMessageBox::Ok)->setText(QString::fromUtf8(ControlTexts(FLanguage).Ok));
    box.exec();
}

bool UpdateScoresInWindow(QWidget* window, bool enter, std::int32_t score, const std::string& path,
                          std::uint8_t language, std::function<bool()> ending) {
    TQtScoreUi ui(window, language, std::move(ending));
    try {
        UpdateScores(enter, score, ui, ui, path, nullptr, &ui);
        return true;
    } catch (const EFileError& e) {
        std::fprintf(stderr, "pelmoravan: %s\n", e.Detail().c_str());
        std::fflush(stderr);
        QMessageBox::critical(window, QStringLiteral("Pelmoravan"), QString::fromStdString(e.what()));
        return false;
    }
}

bool CheckScoreFileAtStartup(const std::string& path, int argc, char** argv) {
    return TGameHost::CheckScoreFile(path, [argc, argv](const std::string& message) {
        ReportStartupError(message, argc, argv);
    });
}

} // namespace pelmoravan
