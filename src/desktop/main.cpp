// SPDX-License-Identifier: MIT
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "shell/command_line.h"
#include "shell/data_dir.h"
#include "desktop/shell/form1.h"
#include "desktop/shell/platform_guard.h"
#include "desktop/shell/qt_options.h"
#include "desktop/shell/qt_translations.h"
#include "desktop/shell/score_ui.h"
#include "desktop/shell/startup_error.h"

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
    using pelmoravan::TCommandLine;
    // Read before anything needs a display or touches a file.
    const TCommandLine line = pelmoravan::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc),
                                                           std::getenv("XDG_DATA_HOME"), std::getenv("HOME"),
                                                           pelmoravan::QtOptions());
    switch (line.Action) {
    case TCommandLine::TAction::Help: std::fputs(pelmoravan::UsageText(pelmoravan::QtOptions()).c_str(), stdout); return 0;
    case TCommandLine::TAction::Version: std::fputs(pelmoravan::VersionText().c_str(), stdout); return 0;
    case TCommandLine::TAction::Error: std::fprintf(stderr, "%s\n", line.Error.c_str()); return 2;
    case TCommandLine::TAction::Run: break;
    }
    if (!HasDisplay() && !line.Platform) {
        std::fprintf(stderr, "pelmoravan: no display found (DISPLAY is not set); "
                             "to try it without one: xvfb-run -a %s\n",
                     argc > 0 && argv[0] != nullptr ? argv[0] : "pelmoravan");
        return 1;
    }
    pelmoravan::TStartOptions options = line.Options;
    if (!options.Language) {
        // No --language: the player's own, as the locale names it. Nothing is saved.
        options.Language = pelmoravan::LocaleLanguage(
            pelmoravan::MessagesLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")));
    }
    if (!options.DataDir.empty()) {
        if (const std::string error = pelmoravan::MakeDataDir(options.DataDir); !error.empty()) {
            pelmoravan::ReportStartupError(error, argc, argv);
            return 1;
        }
    }
    // Before any window: a score file that cannot be created or opened ends the program here.
    if (!pelmoravan::CheckScoreFileAtStartup(options.ScorePath(), argc, argv)) {
        return 1;
    }
    auto guard = std::make_unique<pelmoravan::TPlatformGuard>(argc, argv);
    QApplication app(argc, argv);
    guard.reset();
    pelmoravan::InstallQtTranslations(QLocale::system());
    // Lets a Wayland desktop match the window to its menu entry and icon (X11 uses the class).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pelmoravan.Pelmoravan"));
    // No named mutex: a second copy runs on its own anyway, and nothing ever reads it.
    std::unique_ptr<pelmoravan::TForm1> form;
    try {
        form = std::make_unique<pelmoravan::TForm1>(options);
    } catch (const std::exception& error) {
        // Building the window failed (a missing resource, an unwritable track file).
        pelmoravan::ReportStartupError(error.what());
        return 1;
    }
    form->show();
    const int code = QApplication::exec();
    // Everything the player keeps (the score file) is on disk by now. Tearing down the sound
    // device would keep the process alive for a tenth of a second or more after the window is
    // gone (SDL lets the last buffers drain), so the system reclaims it all instead.
    std::fflush(nullptr);
    std::_Exit(code);
}
