// SPDX-License-Identifier: MIT
#pragma once
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "desktop/media/dx_timer.h"
#include "desktop/shell/form1.h"

namespace pelmoravan::testing {

// The main window with its ways out counted instead of taken: ending the event loop would end
// the test program.
class WatchedForm : public TForm1 {
public:
    using TForm1::TForm1;
    void Terminate(int exitCode) override { ExitCodes.push_back(exitCode); }
    std::vector<int> ExitCodes;
};

// The dialog of type T the window shows for the house's request, once it is up; null when none
// came within the time (the event loop runs meanwhile, and with it the frame timer).
template <class T>
T* ShownDialog(TForm1& form, int timeoutMs = 5000) {
    const auto shown = [&form] {
        T* found = qobject_cast<T*>(form.ShownRequest());
        return found != nullptr && found->isVisible() ? found : nullptr;
    };
    if (timeoutMs > 0 && !QTest::qWaitFor([&] { return shown() != nullptr; }, timeoutMs)) {
        return nullptr;
    }
    return shown();
}

// Waits until no request is shown or waiting: the house has every answer.
inline bool AllAnswered(TForm1& form) {
    return QTest::qWaitFor([&] { return form.ShownRequest() == nullptr && !form.Host().RequestOpen(); });
}

// One tick of the frame timer as the house gets it, whether or not the timer runs.
inline void Tick(TForm1& form) { form.DXTimer1().Timer().OnTimer(1); }

// Runs handler on the next modal dialog a blocking call shows (the start-up check's box, shown
// before any window exists), from inside its own event loop.
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
