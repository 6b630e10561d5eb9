#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "MonotonicClock.h"

namespace orvane::test {

// Monotonic time that moves only when the test advances it. A worker waiting
// on it looks at it again every millisecond of real time, so an Advance
// reaches it at once; Settle waits until the workers are back in a wait
// having seen the new time, so that a test can check what they did at that
// time, and what they did not do.
class ManualClock : public MonotonicClock {
public:
    using Duration = std::chrono::steady_clock::duration;

    TimePoint Now() const override {
        std::lock_guard lock(m_mutex);
        return m_now;
    }

    bool WaitUntil(std::condition_variable_any& cv, std::unique_lock<std::mutex>& lock,
                   const std::stop_token& stop, TimePoint deadline,
                   const std::function<bool()>& done) const override {
        const int self = Enter();
        for (;;) {
            if (done() || stop.stop_requested()) break;
            {
                std::lock_guard own(m_mutex);
                m_waiters[self] = m_advances;
                if (m_now >= deadline) break;
            }
            cv.wait_for(lock, stop, std::chrono::milliseconds(1), done);
        }
        Leave(self);
        return done();
    }

    void Advance(Duration by) {
        std::lock_guard lock(m_mutex);
        m_now += by;
        ++m_advances;
    }

    // Waits (real time, up to `timeout`) until at least `waiters` workers
    // wait on this clock and every one of them has looked at it since the
    // last Advance.
    bool Settle(int waiters = 1,
                std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
        const auto until = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            {
                std::lock_guard lock(m_mutex);
                int current = 0;
                bool stale = false;
                for (const auto& [id, seen] : m_waiters) {
                    if (seen == m_advances)
                        ++current;
                    else
                        stale = true;
                }
                if (!stale && current >= waiters) return true;
            }
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::yield();
        }
    }

    // Advances by `step` at a time, each step settled for `waiters`, until
    // `condition` holds; false when it does not within `limit` of this clock.
    // A worker that left its wait at the last step may still be acting on it
    // (Settle counts only workers in a wait), so the end waits for that in
    // real time, without moving this clock.
    bool AdvanceUntil(const std::function<bool()>& condition, Duration step, Duration limit,
                      int waiters = 1) {
        for (Duration passed{}; passed <= limit; passed += step) {
            if (condition()) return true;
            Advance(step);
            if (!Settle(waiters)) return false;
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::yield();
        }
        return true;
    }

private:
    int Enter() const {
        std::lock_guard lock(m_mutex);
        const int self = m_nextWaiter++;
        m_waiters[self] = -1;  // it has not compared its deadline yet
        return self;
    }
    void Leave(int self) const {
        std::lock_guard lock(m_mutex);
        m_waiters.erase(self);
    }

    mutable std::mutex m_mutex;
    TimePoint m_now = TimePoint(std::chrono::hours(1));
    long long m_advances = 0;
    mutable std::map<int, long long> m_waiters;  // waiter -> the advances it has seen
    mutable int m_nextWaiter = 0;
};

}  // namespace orvane::test
