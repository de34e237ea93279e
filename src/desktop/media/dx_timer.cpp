// SPDX-License-Identifier: MIT
#include "desktop/media/dx_timer.h"

#include <QGuiApplication>

namespace pelmoravan {

TDXTimer::TDXTimer(QObject* parent) : QObject(parent) {
    FElapsed.start();
    FWake.setSingleShot(true);
    FWake.setTimerType(Qt::PreciseTimer);
    connect(&FWake, &QTimer::timeout, this, [this] { CheckTick(); });
    FTimer.OnTimer = [this](std::int32_t LagCount) {
        if (OnTimer) {
            OnTimer(*this, LagCount);
        }
    };
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        FTimer.ApplicationActiveChanged(QGuiApplication::applicationState() == Qt::ApplicationActive);
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    ApplicationActiveChanged(state == Qt::ApplicationActive);
                });
    }
}

TDXTimer::~TDXTimer() { FWake.stop(); }

void TDXTimer::SetClock(TClockSource clock) { FClockSource = std::move(clock); }

std::uint32_t TDXTimer::Now() {
    if (FClockSource) {
        return FClockSource();
    }
    return static_cast<std::uint32_t>(FElapsed.elapsed());
}

void TDXTimer::Arm(std::uint32_t ms) { FWake.start(static_cast<int>(ms)); }

} // namespace pelmoravan
