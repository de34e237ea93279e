#include "media/qt/error_report.h"

#include <QMessageBox>

namespace pelmoravan {

void ReportError(QWidget* parent, const std::exception& error) {
    static bool showing = false;
    if (showing) {
        return;
    }
    showing = true;
    QMessageBox::critical(parent, parent != nullptr ? parent->windowTitle() : QString(),
                          QString::fromUtf8(error.what()));
    showing = false;
}

} // namespace pelmoravan
