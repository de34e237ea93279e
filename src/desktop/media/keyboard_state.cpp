// SPDX-License-Identifier: MIT
#include "desktop/media/keyboard_state.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <optional>

namespace pelmoravan {

namespace {

std::optional<TKey> GameKey(int key) {
    switch (key) {
    case Qt::Key_Escape:
        return TKey::Escape;
    case Qt::Key_F9:
        return TKey::F9;
    default:
        return std::nullopt;
    }
}

} // namespace

TKeyboardState::TKeyboardState(QWidget* window, TKeyLatch& latch, QObject* parent)
    : QObject(parent), FWindow(window), FLatch(latch) {
    // Key events go to whichever widget of the window has the focus; watching the application
    // sees them all.
    qApp->installEventFilter(this);
}

TKeyboardState::~TKeyboardState() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

bool TKeyboardState::InWindow(QObject* object) const {
    // The menu bar, once it has the keyboard (F10, or Esc out of one of its menus), takes its own
    // keys: the Esc that leaves it does not end the game.
    if (FWindow == nullptr || !object->isWidgetType() || qobject_cast<QMenuBar*>(object) != nullptr) {
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
        const auto gameKey = GameKey(key->key());
        if (!gameKey) {
            break;
        }
        if (event->type() == QEvent::KeyPress) {
            FLatch.Press(*gameKey);
        } else {
            FLatch.Release(*gameKey);
        }
        break;
    }
    case QEvent::WindowDeactivate:
        if (watched == FWindow) {
            FLatch.LetGoAll();
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace pelmoravan
