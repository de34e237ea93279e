#include "media/qt/dx_timer.h"

#include <QGuiApplication>

namespace pelmoravan {

TDXTimer::TDXTimer(QObject* parent) : QObject(parent) {
    FElapsed.start();
    FWake.setSingleShot(true);
    FWake.setTimerType(Qt::PreciseTimer);
    connect(&FWake, &QTimer::timeout, this, [this] { CheckTick(); });
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        FApplicationActive = QGuiApplication::applicationState() == Qt::ApplicationActive;
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    ApplicationActiveChanged(state == Qt::ApplicationActive);
                });
    }
}

TDXTimer::~TDXTimer() { FWake.stop(); }

void TDXTimer::SetInterval(std::int32_t interval) {
    FClock.SetInterval(interval);
    if (FAttached) {
        Arm();
    }
}

void TDXTimer::SetEnabled(bool enabled) {
    if (enabled == FEnabled) {
        return;
    }
    FEnabled = enabled;
    UpdateAttachment();
}

void TDXTimer::SetActiveOnly(bool activeOnly) {
    FActiveOnly = activeOnly;
    UpdateAttachment();
}

void TDXTimer::SetClock(TClockSource clock) { FClockSource = std::move(clock); }

void TDXTimer::ApplicationActiveChanged(bool active) {
    FApplicationActive = active;
    UpdateAttachment();
}

std::uint32_t TDXTimer::Now() const {
    if (FClockSource) {
        return FClockSource();
    }
    return static_cast<std::uint32_t>(FElapsed.elapsed());
}

void TDXTimer::UpdateAttachment() {
    const bool attach = FEnabled && (FApplicationActive || !FActiveOnly);
    if (attach == FAttached) {
        return;
    }
    FAttached = attach;
    if (attach) {
        FClock.Attach(Now());
        Arm();
    } else {
        FWake.stop();
    }
}

void TDXTimer::Arm() {
    // Never sooner than due; a wake-up that comes early simply sleeps again.
    std::uint32_t wait = FClock.MillisecondsUntilDue(Now());
    // Interval 0 means "as often as possible"; a millisecond's sleep keeps that from spinning.
    if (FClock.Interval() == 0) {
        wait = 1;
    }
    FWake.start(static_cast<int>(std::min<std::uint32_t>(wait, INT32_MAX)));
}

void TDXTimer::CheckTick() {
    if (!FAttached) {
        return;
    }
    const std::int32_t lag = FClock.Check(Now());
    // Re-armed before the handler runs, so that ticks keep coming inside a modal dialog the
    // handler opens.
    Arm();
    if (lag > 0 && OnTimer) {
        OnTimer(*this, lag);
    }
}

} // namespace pelmoravan
