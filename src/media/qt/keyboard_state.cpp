#include "media/qt/keyboard_state.h"

#include <QApplication>
#include <QKeyEvent>

namespace pelmoravan {

namespace {

int QtKey(TKey key) {
    switch (key) {
    case TKey::Escape:
        return Qt::Key_Escape;
    case TKey::F9:
        return Qt::Key_F9;
    }
    return Qt::Key_unknown;
}

} // namespace

TKeyboardState::TKeyboardState(QWidget* window, QObject* parent)
    : QObject(parent), FWindow(window) {
    // Key events go to whichever widget of the window has the focus; watching the application
    // sees them all.
    qApp->installEventFilter(this);
}

TKeyboardState::~TKeyboardState() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

void TKeyboardState::Poll() {
    FPolled = FHeld;
    FPolled.unite(FTapped);
    FTapped.clear();
}

bool TKeyboardState::KeyDown(TKey key) const { return FPolled.contains(QtKey(key)); }

bool TKeyboardState::InWindow(QObject* object) const {
    if (FWindow == nullptr || !object->isWidgetType()) {
        return false;
    }
    return static_cast<QWidget*>(object)->window() == FWindow;
}

bool TKeyboardState::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat() || !InWindow(watched)) {
            break;
        }
        if (event->type() == QEvent::KeyPress) {
            FHeld.insert(key->key());
            FTapped.insert(key->key());
        } else {
            FHeld.remove(key->key());
        }
        break;
    }
    case QEvent::WindowDeactivate:
        if (watched == FWindow) {
            FHeld.clear();
            FTapped.clear();
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace pelmoravan
