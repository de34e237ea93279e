#include "desktop/shell/startup_error.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <optional>

#include "desktop/shell/platform_guard.h"

namespace pelmoravan {

void ReportStartupError(const std::string& text, int argc, char** argv) {
    std::fprintf(stderr, "pelmoravan: %s\n", text.c_str());
    std::fflush(stderr);
    const QString message = QString::fromStdString(text);
    if (QApplication::instance() != nullptr) {
        QMessageBox::critical(nullptr, QStringLiteral("Pelmoravan"), message);
        return;
    }
    char name[] = "pelmoravan";
    char* alone[] = {name, nullptr};
    if (argv == nullptr) {
        argc = 1;
        argv = alone;
    }
    std::optional<TPlatformGuard> guard(std::in_place, argc, argv);
    QApplication app(argc, argv);
    guard.reset();
    QMessageBox::critical(nullptr, QStringLiteral("Pelmoravan"), message);
}

} // namespace pelmoravan
