// SPDX-License-Identifier: MIT
#pragma once
#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

#if __has_include(<coroutine>)
#include <coroutine>
namespace pelmoravan::co {
using std::coroutine_handle;
using std::noop_coroutine;
using std::suspend_always;
} // namespace pelmoravan::co
#else
// The page's compiler still keeps coroutines in the experimental namespace.
#include <experimental/coroutine>
namespace pelmoravan::co {
using std::experimental::coroutine_handle;
using std::experimental::noop_coroutine;
using std::experimental::suspend_always;
} // namespace pelmoravan::co
#endif

namespace pelmoravan {

// A sequence of the game's steps that waits for the player or for time without blocking the
// front end: a dialog's answer, the next tick, the page's storage. It starts when awaited by
// another flow or handed to the house (TFlowRunner), and resumes from the front end's events.
// A flow's frame refers to the game and the house; the house owns and destroys what is left of
// the flows it runs.
// Await only named locals (TFlow<> offer = ...; co_await offer;): GCC 12 destroys some
// temporaries of a co_await expression twice.
template <typename T>
class TFlow;

namespace flow_detail {

struct TPromiseBase {
    co::coroutine_handle<> Continuation;
    std::exception_ptr Error;
    // Set while the awaiting flow starts this one: an end reached meanwhile is noticed there.
    bool Starting = false;

    co::suspend_always initial_suspend() noexcept { return {}; }
    // The awaiting flow goes on by a plain resume rather than by handing over its handle: the
    // page's compiler cannot lower that hand-over without WebAssembly's tail calls, which not
    // every browser has. Flows nest a few deep, so the stack stays small.
    struct TFinal {
        bool await_ready() noexcept { return false; }
        template <typename P>
        void await_suspend(co::coroutine_handle<P> done) noexcept {
            TPromiseBase& promise = done.promise();
            if (!promise.Starting && promise.Continuation) {
                promise.Continuation.resume(); // nothing here touches this frame afterwards
            }
        }
        void await_resume() noexcept {}
    };
    TFinal final_suspend() noexcept { return {}; }
    void unhandled_exception() { Error = std::current_exception(); }
};

template <typename T>
struct TPromise : TPromiseBase {
    std::optional<T> Value;
    TFlow<T> get_return_object();
    void return_value(T value) { Value = std::move(value); }
};

template <>
struct TPromise<void> : TPromiseBase {
    TFlow<void> get_return_object();
    void return_void() {}
};

} // namespace flow_detail

template <typename T = void>
class [[nodiscard]] TFlow {
public:
    using promise_type = flow_detail::TPromise<T>;
    using THandle = co::coroutine_handle<promise_type>;

    explicit TFlow(THandle handle) : FHandle(handle) {}
    TFlow(TFlow&& other) noexcept : FHandle(std::exchange(other.FHandle, {})) {}
    TFlow& operator=(TFlow&& other) noexcept {
        if (this != &other) {
            Destroy();
            FHandle = std::exchange(other.FHandle, {});
        }
        return *this;
    }
    TFlow(const TFlow&) = delete;
    TFlow& operator=(const TFlow&) = delete;
    ~TFlow() { Destroy(); }

    bool Done() const { return !FHandle || FHandle.done(); }
    // Runs the flow until it first waits, or to its end.
    void Start() { FHandle.resume(); }
    // What ended it, when an exception did.
    std::exception_ptr Error() const { return FHandle ? FHandle.promise().Error : nullptr; }

    // Awaited by another flow: this one runs, and the awaiting one goes on when it ends.
    bool await_ready() const noexcept { return false; }
    // Runs this one at once; false (the awaiting flow goes straight on) when it ended meanwhile.
    bool await_suspend(co::coroutine_handle<> awaiting) noexcept {
        FHandle.promise().Continuation = awaiting;
        FHandle.promise().Starting = true;
        FHandle.resume();
        FHandle.promise().Starting = false;
        return !FHandle.done();
    }
    T await_resume() {
        if (FHandle.promise().Error) {
            std::rethrow_exception(FHandle.promise().Error);
        }
        if constexpr (!std::is_void_v<T>) {
            return std::move(*FHandle.promise().Value);
        }
    }

private:
    void Destroy() {
        if (FHandle) {
            FHandle.destroy();
            FHandle = {};
        }
    }
    THandle FHandle;
};

namespace flow_detail {

template <typename T>
TFlow<T> TPromise<T>::get_return_object() {
    return TFlow<T>(co::coroutine_handle<TPromise<T>>::from_promise(*this));
}

inline TFlow<void> TPromise<void>::get_return_object() {
    return TFlow<void>(co::coroutine_handle<TPromise<void>>::from_promise(*this));
}

} // namespace flow_detail

// Where a flow waits for something the house will deliver: the house keeps the handle and
// resumes it once with the value.
template <typename T>
struct TWaitSlot {
    co::coroutine_handle<> Waiting;
    std::optional<T> Value;

    bool Pending() const { return static_cast<bool>(Waiting); }
    // Hands the value over and lets the waiting flow go on, inside this call.
    void Deliver(T value) {
        Value = std::move(value);
        co::coroutine_handle<> waiting = std::exchange(Waiting, {});
        if (waiting) {
            waiting.resume();
        }
    }
};

} // namespace pelmoravan
