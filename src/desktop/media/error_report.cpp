#include "desktop/media/error_report.h"

#include <QMessageBox>

namespace pelmoravan {

void ReportError(QWidget* parent, const std::exception& error) { ReportError(parent, std::string(error.what())); }

void ReportError(QWidget* parent, const std::string& message) {
    static bool showing = false;
    if (showing) {
        return;
    }
    showing = true;
    QMessageBox::critical(parent, parent != nullptr ? parent->windowTitle() : QString(),
                          QString::fromStdString(message));
    showing = false;
}

} // namespace pelmoravan
