#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "shell/qt/form1.h"
#include "shell/qt/qt_translations.h"
#include "shell/qt/score_ui.h"
#include "shell/qt/startup_error.h"

namespace {

bool HasDisplay() {
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v != nullptr && *v != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char* argv[]) {
    if (!HasDisplay()) {
        std::fprintf(stderr, "pelmoravan: no display found (DISPLAY is not set); "
                             "to try it without one: xvfb-run -a ./play\n");
        return 1;
    }
    // Before any window: a score file that cannot be created or opened ends the program here.
    if (!pelmoravan::CheckScoreFileAtStartup()) {
        return 1;
    }
    QApplication app(argc, argv);
    pelmoravan::InstallQtTranslations(QLocale::system());
    // Lets a Wayland desktop match the window to its menu entry and icon (X11 uses the class).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pelmoravan.Pelmoravan"));
    // No named mutex: a second copy runs on its own anyway, and nothing ever reads it.
    std::unique_ptr<pelmoravan::TForm1> form;
    try {
        form = std::make_unique<pelmoravan::TForm1>();
    } catch (const std::exception& error) {
        // Building the window failed (a missing resource, an unwritable track file).
        pelmoravan::ReportStartupError(error.what());
        return 1;
    }
    form->show();
    return QApplication::exec();
}
