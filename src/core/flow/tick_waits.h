// SPDX-License-Identifier: MIT
#pragma once
#include <utility>
#include <vector>

#include "flow/flow.h"

namespace pelmoravan {

// Flows that wait for the next tick of the frame timer (the score file's lock, tried again each
// tick). The house calls Tick after each tick it handed to the game.
class TTickWaits {
public:
    struct TNext {
        TTickWaits& Waits;
        bool await_ready() const noexcept { return false; }
        void await_suspend(co::coroutine_handle<> waiting) { Waits.FWaiting.push_back(waiting); }
        void await_resume() const noexcept {}
    };
    TNext Next() { return TNext{*this}; }
    bool Empty() const { return FWaiting.empty(); }
    // Lets every flow waiting now go on; those that wait again wait for the next tick.
    void Tick() {
        std::vector<co::coroutine_handle<>> due = std::exchange(FWaiting, {});
        for (co::coroutine_handle<> waiting : due) {
            waiting.resume();
        }
    }
    // Forgets the waiting flows without resuming them: their owner is destroying them.
    void Clear() { FWaiting.clear(); }

private:
    std::vector<co::coroutine_handle<>> FWaiting;
};

} // namespace pelmoravan
