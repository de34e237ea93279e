#pragma once

namespace pelmoravan {

// Asyncify keeps one suspended call at a time: a call that waits for the page (a dialog, one
// turn of the event loop) may only wait when no other is waiting already. While one waits, the
// page still runs ticks and clicks, and they may reach calls that would wait again.
class TSuspension {
public:
    // Storage: the browser's storage, for the score list; no tick runs meanwhile.
    enum class TKind { Dialog, Yield, Storage };
    explicit TSuspension(TKind kind);
    ~TSuspension();
    TSuspension(const TSuspension&) = delete;
    TSuspension& operator=(const TSuspension&) = delete;

    // Some call is waiting now.
    static bool InFlight();
    // The waiting call is one turn of the event loop (not a dialog).
    static bool Yielding();
    // The waiting call waits for the browser's storage.
    static bool Storing();
};

} // namespace pelmoravan
