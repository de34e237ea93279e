// SPDX-License-Identifier: MIT
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "media/frame_timer.h"

namespace pelmoravan {

// The frame timer on Qt: the core's timer rules, woken by a precise single-shot QTimer and
// following the application's activation.
class TDXTimer final : public QObject, private IWakeUp {
    Q_OBJECT
public:
    using TDXTimerEvent = std::function<void(TDXTimer& Sender, std::int32_t LagCount)>;
    using TClockSource = std::function<std::uint32_t()>;

    // Created stopped; the owner sets Enabled once OnTimer is in place.
    explicit TDXTimer(QObject* parent = nullptr);
    ~TDXTimer() override;

    std::int32_t Interval() const { return FTimer.Interval(); }
    void SetInterval(std::int32_t interval) { FTimer.SetInterval(interval); }
    bool Enabled() const { return FTimer.Enabled(); }
    // Setting the value it already has changes nothing.
    void SetEnabled(bool enabled) { FTimer.SetEnabled(enabled); }
    bool ActiveOnly() const { return FTimer.ActiveOnly(); }
    void SetActiveOnly(bool activeOnly) { FTimer.SetActiveOnly(activeOnly); }
    std::int32_t FrameRate() const { return FTimer.FrameRate(); }

    TDXTimerEvent OnTimer;
    // The core timer it wakes; an owner that sets its OnTimer takes the place of the one above.
    TFrameTimer& Timer() { return FTimer; }

    // Running and counting time (not stopped, and not waiting for the application to return).
    bool Attached() const { return FTimer.Attached(); }
    // A wake-up is scheduled.
    bool Armed() const { return FWake.isActive(); }

    // The millisecond clock; tests substitute their own.
    void SetClock(TClockSource clock);
    // Follows the application's activation; wired to Qt at construction, callable by tests.
    void ApplicationActiveChanged(bool active) { FTimer.ApplicationActiveChanged(active); }
    // What a wake-up does: tick if one is due, then sleep until the next.
    void CheckTick() { FTimer.Wake(); }

private:
    // IWakeUp
    std::uint32_t Now() override;
    void Arm(std::uint32_t ms) override;
    void Disarm() override { FWake.stop(); }

    QTimer FWake;
    QElapsedTimer FElapsed;
    TClockSource FClockSource;
    TFrameTimer FTimer{*this};
};

} // namespace pelmoravan
