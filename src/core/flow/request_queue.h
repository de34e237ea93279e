// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

#include "flow/flow.h"
#include "ports/requests.h"
#include "ports/window.h"

namespace pelmoravan {

// The game's dialogs in the order they were asked for: one shown by the window at a time, the
// next once the shown one is answered. Nothing here waits; a flow that needs the answer awaits
// Ask, anything else hands a callback or none.
class TRequestQueue {
public:
    using TOnAnswer = std::function<void(const TAnswer&)>;

    explicit TRequestQueue(IGameWindow& window) : FWindow(window) {}
    TRequestQueue(const TRequestQueue&) = delete;
    TRequestQueue& operator=(const TRequestQueue&) = delete;

    // Queues the request and shows it when its turn comes; returns its id.
    std::uint32_t Post(TRequest request, TOnAnswer onAnswer = {});
    // The window's answer to the request it shows. False, and nothing happens, for any other id
    // (answered already, taken down, never shown).
    bool Answer(std::uint32_t id, const TAnswer& answer);
    // Takes a request down without an answer: the window closes it if shown, the queue forgets
    // it otherwise, and its callback is never called.
    void Withdraw(std::uint32_t id);
    // Whether a request of this kind with this text is shown or waits for its turn.
    bool Holds(TRequestKind kind, const std::string& text) const;
    // Whether a request is shown or waits for its turn.
    bool Open() const { return FShown.has_value() || !FWaiting.empty(); }
    // Forgets every request without calling back: the program is ending.
    void Clear();

    // co_await queue.Ask(request): the answer, once the window gives it.
    struct TAsk {
        TRequestQueue& Queue;
        TRequest Request;
        std::optional<TAnswer> Answer;
        bool await_ready() const noexcept { return false; }
        void await_suspend(co::coroutine_handle<> waiting) {
            // mutable: the page's library declares resume non-const.
            Queue.Post(std::move(Request), [this, waiting](const TAnswer& answer) mutable {
                Answer = answer;
                waiting.resume();
            });
        }
        TAnswer await_resume() { return Answer.value_or(TAnswer{}); }
    };
    TAsk Ask(TRequest request) { return TAsk{*this, std::move(request), std::nullopt}; }

private:
    struct TEntry {
        TRequest Request;
        TOnAnswer OnAnswer;
    };
    void ShowNext();

    IGameWindow& FWindow;
    std::deque<TEntry> FWaiting;
    std::optional<TEntry> FShown;
    std::uint32_t FNextId = 1;
    // While an answer is being delivered, what it asks next waits behind what was queued first.
    bool FDelivering = false;
};

} // namespace pelmoravan
