#pragma once
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace pelmoravan::testing {

// Runs handler on the next modal dialog once it is up (from inside its own event loop).
inline void OnNextModal(std::function<void(QWidget*)> handler) {
    auto* timer = new QTimer(qApp);
    auto pending = std::make_shared<std::function<void(QWidget*)>>(std::move(handler));
    QObject::connect(timer, &QTimer::timeout, timer, [timer, pending] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        (*pending)(modal);
    });
    timer->start(10);
}

} // namespace pelmoravan::testing
