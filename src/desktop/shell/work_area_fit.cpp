// SPDX-License-Identifier: MIT
#include "desktop/shell/work_area_fit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace pelmoravan {

TWorkAreaFit::TWorkAreaFit(QWidget& window) : QObject(&window), FWindow(window) {
    window.installEventFilter(this);
}

void TWorkAreaFit::Fit(QWidget& window, std::function<void(QSize)> fitted) {
    auto* fit = window.findChild<TWorkAreaFit*>(QString(), Qt::FindDirectChildrenOnly);
    if (fit == nullptr) {
        fit = new TWorkAreaFit(window);
    }
    if (fitted) {
        fit->FFitted = std::move(fitted);
        fit->FFrame = QSize(-1, -1); // told at once
    }
    fit->Apply();
}

bool TWorkAreaFit::eventFilter(QObject* watched, QEvent* event) {
    // The frame arrives with a move (the window manager reparents the window into it); a new
    // work area or screen shows as a move or resize too, or at the next show.
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
        Apply();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void TWorkAreaFit::Apply() {
    QScreen* screen = FWindow.screen() != nullptr ? FWindow.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr || !FWindow.isWindow()) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize frame = FWindow.frameGeometry().size() - FWindow.geometry().size();
    if (frame == FFrame && area == FArea) {
        return; // fitted already: the moves and resizes of the fit itself end here
    }
    FFrame = frame;
    FArea = area;
    const QSize client = (area.size() - frame).expandedTo(QSize(1, 1));
    FWindow.setFixedSize(client);
    FWindow.move(area.topLeft()); // a window's position is that of its frame
    if (FFitted) {
        FFitted(client);
    }
}

} // namespace pelmoravan
