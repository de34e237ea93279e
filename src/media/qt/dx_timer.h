#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "media/timer_clock.h"

namespace pelmoravan {

// The frame timer. It sleeps until the next tick is due (a precise single-shot timer re-armed
// at every tick) instead of checking the clock between messages, so an idle game costs no CPU.
// A tick comes no sooner than Interval after the previous one; LagCount says how many intervals
// it covers. With ActiveOnly on it stops while the application is inactive, and on return the
// next tick comes one interval later.
class TDXTimer final : public QObject {
    Q_OBJECT
public:
    using TDXTimerEvent = std::function<void(TDXTimer& Sender, std::int32_t LagCount)>;
    using TClockSource = std::function<std::uint32_t()>;

    // Created stopped; the owner sets Enabled once OnTimer is in place.
    explicit TDXTimer(QObject* parent = nullptr);
    ~TDXTimer() override;

    std::int32_t Interval() const { return FClock.Interval(); }
    void SetInterval(std::int32_t interval);
    bool Enabled() const { return FEnabled; }
    // Setting the value it already has changes nothing.
    void SetEnabled(bool enabled);
    bool ActiveOnly() const { return FActiveOnly; }
    void SetActiveOnly(bool activeOnly);
    std::int32_t FrameRate() const { return FClock.FrameRate(); }

    TDXTimerEvent OnTimer;

    // Running and counting time (not stopped, and not waiting for the application to return).
    bool Attached() const { return FAttached; }
    // A wake-up is scheduled.
    bool Armed() const { return FWake.isActive(); }

    // The millisecond clock; tests substitute their own.
    void SetClock(TClockSource clock);
    // Follows the application's activation; wired to Qt at construction, callable by tests.
    void ApplicationActiveChanged(bool active);
    // What a wake-up does: tick if one is due, then sleep until the next.
    void CheckTick();

private:
    std::uint32_t Now() const;
    void UpdateAttachment();
    void Arm();

    TTimerClock FClock;
    QTimer FWake;
    QElapsedTimer FElapsed;
    TClockSource FClockSource;
    bool FEnabled = false;
    bool FActiveOnly = true;
    bool FApplicationActive = false;
    bool FAttached = false;
};

} // namespace pelmoravan
