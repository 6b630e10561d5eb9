#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

#include "MonotonicClock.h"

namespace orvane {

// A worker thread that belongs to one object: started with a name (shown by
// `top -H`, `ps -L` and debuggers), asked to stop through its stop token,
// and joined by its owner at the latest on destruction, so no thread ever
// outlives what it works on.
class OwnedThread {
public:
    OwnedThread() = default;
    OwnedThread(const OwnedThread&) = delete;
    OwnedThread& operator=(const OwnedThread&) = delete;
    // Stop and Join.
    ~OwnedThread();

    // Runs `body` on a new thread called `name` (cut to the 15 characters the
    // kernel keeps). False, starting nothing, while a thread is still owned.
    bool Start(std::string name, std::function<void(std::stop_token)> body);
    // Asks the thread to stop (its stop token says so, and the waits of a
    // WakeSignal given that token end). Any thread.
    void RequestStop();
    // RequestStop, then Join.
    void Stop();
    // Waits for the thread to end. Not from the thread itself.
    void Join();
    // Whether a thread is owned (started and not yet joined).
    bool Joinable() const { return m_thread.joinable(); }

private:
    std::jthread m_thread;
};

// Names the calling thread (cut to 15 characters).
void SetCurrentThreadName(const std::string& name);

// Sleeps for `duration` unless a stop is requested first; false on a stop
// request.
bool SleepFor(const std::stop_token& stop, std::chrono::milliseconds duration);

// What a sleeping worker waits on: woken at once by Notify or by a stop
// request on the token it waits with, otherwise not at all (or at the end of
// the given time, on the given clock), so an idle worker costs nothing.
class WakeSignal {
public:
    // Wakes every waiter. Any thread.
    void Notify();
    // The count of notifications so far: taken before a worker looks at the
    // state, then given to the wait, so a change in between is not missed.
    std::uint64_t Mark();
    // Sleeps until a Notify after `mark` or a stop request; false on a stop
    // request.
    bool Wait(const std::stop_token& stop, std::uint64_t mark,
              const MonotonicClock& clock = SteadyTime());
    // The same, also ending once `timeout` has passed on `clock`; false on a
    // stop request.
    bool WaitFor(const std::stop_token& stop, std::chrono::milliseconds timeout, std::uint64_t mark,
                 const MonotonicClock& clock = SteadyTime());

private:
    std::mutex m_mutex;
    std::condition_variable_any m_cv;
    std::uint64_t m_notified = 0;
};

}  // namespace orvane
