#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include "PostTo.h"

namespace orvane {

// A posted GUI update that only ever shows the latest state: workers call
// Request() as often as they like (it never waits), and the GUI thread runs
// `apply` once for any number of requests, at most once per `minInterval`.
// For progress bars and status text fed by a receive thread, which must not
// stall on a GUI thread that is busy drawing.
//
// `apply` reads the state it shows itself (atomics the workers write before
// calling Request); it runs on the context object's thread only, and never
// after the context is gone.
class CoalescedPost {
public:
    CoalescedPost(QObject* context, std::function<void()> apply,
                  std::chrono::milliseconds minInterval = std::chrono::milliseconds(33))
        : m_shared(std::make_shared<Shared>()) {
        m_shared->context = context;
        m_shared->apply = std::move(apply);
        m_shared->minInterval = minInterval;
    }
    CoalescedPost(const CoalescedPost&) = delete;
    CoalescedPost& operator=(const CoalescedPost&) = delete;

    // Any thread; returns at once. A request while one is pending adds
    // nothing: the pending run shows the newest state.
    void Request() {
        if (m_shared->pending.exchange(true)) return;
        m_posts.fetch_add(1, std::memory_order_relaxed);
        PostTo(m_shared->context, [shared = m_shared] { Schedule(shared); });
    }

    // How many times Request actually posted to the GUI thread.
    long long Posts() const { return m_posts.load(std::memory_order_relaxed); }
    // How many times `apply` ran.
    long long Applied() const { return m_shared->applied.load(std::memory_order_relaxed); }

private:
    using SteadyClock = std::chrono::steady_clock;

    struct Shared {
        QObject* context = nullptr;
        std::function<void()> apply;
        std::chrono::milliseconds minInterval{0};
        std::atomic<bool> pending{false};
        std::atomic<long long> applied{0};
        // GUI thread only.
        SteadyClock::time_point lastRun{};
        bool ranOnce = false;
    };

    // GUI thread: run now, or when the interval since the last run is over.
    static void Schedule(const std::shared_ptr<Shared>& shared) {
        const auto now = SteadyClock::now();
        const auto due = shared->lastRun + shared->minInterval;
        if (!shared->ranOnce || now >= due) {
            Run(shared);
            return;
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now);
        QTimer::singleShot(wait, shared->context, [shared] { Run(shared); });
    }

    static void Run(const std::shared_ptr<Shared>& shared) {
        shared->lastRun = SteadyClock::now();
        shared->ranOnce = true;
        // Cleared before applying, so a change made while `apply` reads the
        // state is posted again rather than lost.
        shared->pending = false;
        shared->applied.fetch_add(1, std::memory_order_relaxed);
        shared->apply();
    }

    std::shared_ptr<Shared> m_shared;
    std::atomic<long long> m_posts{0};
};

}  // namespace orvane
