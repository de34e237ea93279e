#include "desktop/shell/score_ui.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

#include "media/binary_file.h"
#include "host/game_host.h"
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

bool UpdateScoresInWindow(QWidget* window, bool enter, std::int32_t score, const std::string& path) {
    TQtScoreUi ui(window);
    try {
        UpdateScores(enter, score, ui, ui, path);
        return true;
    } catch (const EFileError& e) {
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
