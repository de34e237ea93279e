// SPDX-License-Identifier: MIT
// The yardstick for the game's start-up: an empty Qt main window of the same size, mapped and
// left to run until it is closed (or Esc).
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>

namespace {

class TBareWindow final : public QMainWindow {
protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            close();
        }
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TBareWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(1024, 768);
    window.show();
    return QApplication::exec();
}
