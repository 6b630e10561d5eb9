#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "PostTo.h"

namespace orvane {

// The two kinds of call a worker thread makes into the GUI thread. Post()
// is fire and forget, for what needs no answer (a control's new value, a
// message box). TryCall() and Call() wait for the function's answer: the
// "synchronous window call". Both kinds go through the GUI thread's one
// queue in the order they are made, so a worker's waited call sees the
// effect of everything it posted before.
//
// Unlike a blocking queued connection this can be shut down: Shutdown()
// wakes every waiting worker (their calls return no answer), drops what is
// posted and not yet run, and refuses new calls, so a window that closes
// never deadlocks against a worker that is calling into it.
//
// From the GUI thread every call runs the function directly.
class GuiCall {
public:
    explicit GuiCall(QObject* guiObject) : m_context(guiObject) {}
    ~GuiCall() { Shutdown(); }

    bool OnGuiThread() const { return QThread::currentThread() == m_context->thread(); }

    // Runs `f` on the GUI thread without waiting for it; `f` must own what
    // it uses (capture by value). Any thread.
    template <class F>
    void Post(F&& f) {
        if (OnGuiThread()) {
            f();
            return;
        }
        {
            std::lock_guard lock(m_mutex);
            if (m_shutdown) return;
        }
        PostTo(m_context, [open = m_open, f = std::forward<F>(f)]() mutable {
            if (open->load()) f();
        });
    }

    // The answer of `f`, or nothing when the call was cancelled or refused
    // at shutdown: a worker that needs a real answer (a confirmation, a
    // control's value it will send) tells the two apart.
    template <class F>
    auto TryCall(F&& f)
        -> std::optional<std::conditional_t<std::is_void_v<decltype(f())>, bool, decltype(f())>> {
        using R = decltype(f());
        using Answer = std::conditional_t<std::is_void_v<R>, bool, R>;
        if (OnGuiThread()) {
            if constexpr (std::is_void_v<R>) {
                f();
                return true;
            } else {
                return f();
            }
        }
        auto state = std::make_shared<State>();
        {
            std::lock_guard lock(m_mutex);
            if (m_shutdown) return std::nullopt;
            m_pending.push_back(state);
        }
        std::optional<Answer> result;
        std::function<void()> job = [&, state] {
            if constexpr (std::is_void_v<R>) {
                f();
                result = true;
            } else {
                result = f();
            }
        };
        PostTo(m_context, [state, job = std::move(job)] {
            std::unique_lock lock(state->mutex);
            if (state->cancelled) return;
            state->running = true;
            lock.unlock();
            job();
            lock.lock();
            state->done = true;
            state->cv.notify_all();
        });
        std::unique_lock lock(state->mutex);
        state->cv.wait(lock, [&] { return state->done || (state->cancelled && !state->running); });
        const bool done = state->done;
        lock.unlock();
        Forget(state);
        if (!done) return std::nullopt;
        return result;
    }

    // TryCall for answers whose empty value is harmless (a control's text
    // shown nowhere once the window is gone): a cancelled call gives R().
    template <class F>
    auto Call(F&& f) -> decltype(f()) {
        using R = decltype(f());
        if constexpr (std::is_void_v<R>) {
            TryCall(std::forward<F>(f));
        } else {
            return TryCall(std::forward<F>(f)).value_or(R());
        }
    }

    // From the GUI thread: cancel what is queued and refuse new calls.
    void Shutdown() {
        std::lock_guard lock(m_mutex);
        m_shutdown = true;
        m_open->store(false);
        for (auto& s : m_pending) {
            std::lock_guard sl(s->mutex);
            s->cancelled = true;
            s->cv.notify_all();
        }
    }

    bool IsShutDown() const {
        std::lock_guard lock(m_mutex);
        return m_shutdown;
    }

    // How many workers wait for an answer now.
    int WaitingCalls() const {
        std::lock_guard lock(m_mutex);
        return static_cast<int>(m_pending.size());
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
        bool running = false;
        bool cancelled = false;
    };

    void Forget(const std::shared_ptr<State>& state) {
        std::lock_guard lock(m_mutex);
        std::erase(m_pending, state);
    }

    QObject* m_context;
    // Read by posted calls when they run, which may be after this is gone.
    std::shared_ptr<std::atomic<bool>> m_open = std::make_shared<std::atomic<bool>>(true);
    mutable std::mutex m_mutex;
    bool m_shutdown = false;
    std::vector<std::shared_ptr<State>> m_pending;
};

}  // namespace orvane
