#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>

namespace orvane {

// The time in which workers measure silences and periods, and wait for
// them. The program runs on the steady clock (SteadyTime()); a test hands a
// component a clock that moves only when the test advances it, so no test
// sleeps for a duration. Any thread.
class MonotonicClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    // A deadline that never comes: wait for `done` or a stop only.
    static constexpr TimePoint kNever = TimePoint::max();

    virtual ~MonotonicClock() = default;
    virtual TimePoint Now() const = 0;
    // Waits on `cv` (with `lock` held, released meanwhile) until `done`
    // holds, `stop` is requested or this clock reaches `deadline`; returns
    // done().
    virtual bool WaitUntil(std::condition_variable_any& cv, std::unique_lock<std::mutex>& lock,
                           const std::stop_token& stop, TimePoint deadline,
                           const std::function<bool()>& done) const = 0;
};

class SteadyMonotonicClock final : public MonotonicClock {
public:
    TimePoint Now() const override { return std::chrono::steady_clock::now(); }
    bool WaitUntil(std::condition_variable_any& cv, std::unique_lock<std::mutex>& lock,
                   const std::stop_token& stop, TimePoint deadline,
                   const std::function<bool()>& done) const override {
        if (deadline == kNever) return cv.wait(lock, stop, done);
        return cv.wait_until(lock, stop, deadline, done);
    }
};

// The steady clock, shared by every component that is given no other.
inline const MonotonicClock& SteadyTime() {
    static const SteadyMonotonicClock clock;
    return clock;
}

}  // namespace orvane
