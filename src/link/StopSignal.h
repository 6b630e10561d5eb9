#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace orvane {

// A stop request that wakes a sleeping worker at once, so that owners can
// stop and join their threads without waiting out a sleep.
class StopSignal {
public:
    // Sleeps for `duration` unless stopped first; false once stopped.
    template <class Rep, class Period>
    bool SleepFor(std::chrono::duration<Rep, Period> duration) {
        std::unique_lock lock(m_mutex);
        return !m_cv.wait_for(lock, duration, [this] { return m_stopped; });
    }
    void Stop() {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_cv.notify_all();
    }
    void Reset() {
        std::lock_guard lock(m_mutex);
        m_stopped = false;
    }
    bool IsStopped() const {
        std::lock_guard lock(m_mutex);
        return m_stopped;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_stopped = false;
};

}  // namespace orvane
