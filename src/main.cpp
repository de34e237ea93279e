#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "shell/qt/form1.h"

namespace {

bool HasDisplay() {
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v != nullptr && *v != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

// Not there yet: the best-score file check runs here, before any window exists.
void CheckScoreFileAtStartup() {}

} // namespace

int main(int argc, char* argv[]) {
    if (!HasDisplay()) {
        std::fprintf(stderr, "pelmoravan: no display found (DISPLAY is not set); "
                             "to try it without one: xvfb-run -a ./play\n");
        return 1;
    }
    CheckScoreFileAtStartup();
    QApplication app(argc, argv);
    // No named mutex: a second copy runs on its own anyway, and nothing ever reads it.
    pelmoravan::TForm1 form;
    form.show();
    return QApplication::exec();
}
