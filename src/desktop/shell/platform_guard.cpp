// SPDX-License-Identifier: MIT
#include "desktop/shell/platform_guard.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace pelmoravan {
namespace {

struct THeldMessage {
    QtMsgType Type;
    QByteArray Category;
    QString Text;
};

QtMessageHandler gPrevious = nullptr;
std::vector<THeldMessage> gHeld;
std::string gPlatform;
std::string gDisplay;

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Qt's own wording lists the plugins it has: "Available platform plugins are: a, b, c."
bool QtHasPlugin(const QString& fatal, const std::string& platform) {
    const auto match = QRegularExpression(QStringLiteral("Available platform plugins are: ([^.\\n]*)")).match(fatal);
    const QString name = QString::fromStdString(platform).section(QLatin1Char(':'), 0, 0);
    return match.hasMatch() && match.captured(1).split(QStringLiteral(", ")).contains(name);
}

void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        gHeld.push_back({type, QByteArray(context.category != nullptr ? context.category : ""), text});
        return;
    }
    if (!gPlatform.empty() && !QtHasPlugin(text, gPlatform)) {
        std::fprintf(stderr, "pelmoravan: cannot open the display: Qt has no platform \"%s\"\n", gPlatform.c_str());
    } else {
        const std::string platform = gPlatform.empty() ? "xcb" : gPlatform;
        std::fprintf(stderr, "pelmoravan: cannot open the display \"%s\" (Qt platform %s)\n", gDisplay.c_str(),
                     platform.c_str());
    }
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

TPlatformGuard::TPlatformGuard(int argc, char** argv) {
    gPlatform = Variable("QT_QPA_PLATFORM");
    std::string display;
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-platform" || arg == "--platform") {
            gPlatform = argv[i + 1];
        } else if (arg == "-display" || arg == "--display") {
            display = argv[i + 1];
        }
    }
    if (display.empty()) {
        display = gPlatform.rfind("wayland", 0) == 0 ? Variable("WAYLAND_DISPLAY") : Variable("DISPLAY");
    }
    gDisplay = display.empty() ? "(none set)" : display;
    gHeld.clear();
    gPrevious = qInstallMessageHandler(Hold);
}

TPlatformGuard::~TPlatformGuard() {
    qInstallMessageHandler(gPrevious);
    for (const THeldMessage& message : gHeld) {
        qt_message_output(message.Type, QMessageLogContext(nullptr, 0, nullptr, message.Category.constData()),
                          message.Text);
    }
    gHeld.clear();
}

} // namespace pelmoravan
