// SPDX-License-Identifier: MIT
#include "desktop/shell/startup_error.h"

#include <QApplication>
#include <QByteArray>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>
#include <optional>

#include "desktop/shell/platform_guard.h"

namespace pelmoravan {

namespace {

// The Qt platform the program runs on, or would: the application's, else -platform or
// QT_QPA_PLATFORM, without its options ("offscreen:size=...").
QString PlatformName(int argc, char** argv) {
    if (QGuiApplication::instance() != nullptr) {
        return QGuiApplication::platformName();
    }
    QString platform = QString::fromLocal8Bit(qgetenv("QT_QPA_PLATFORM"));
    for (int i = 1; argv != nullptr && i + 1 < argc; ++i) {
        const QByteArray arg = argv[i];
        if (arg == "-platform" || arg == "--platform") {
            platform = QString::fromLocal8Bit(argv[i + 1]);
        }
    }
    return platform.section(QLatin1Char(':'), 0, 0);
}

} // namespace

void ReportStartupError(const std::string& text, int argc, char** argv) {
    std::fprintf(stderr, "pelmoravan: %s\n", text.c_str());
    std::fflush(stderr);
    // Nobody could see a box there, nor close it: the line is all.
    if (const QString platform = PlatformName(argc, argv);
        platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
        return;
    }
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
