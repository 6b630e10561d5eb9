#include "OwnedThread.h"

#include <pthread.h>

namespace orvane {

OwnedThread::~OwnedThread() {
    Stop();
}

bool OwnedThread::Start(std::string name, std::function<void(std::stop_token)> body) {
    if (m_thread.joinable()) return false;
    m_thread = std::jthread([name = std::move(name), body = std::move(body)](std::stop_token stop) {
        SetCurrentThreadName(name);
        body(std::move(stop));
    });
    return true;
}

void OwnedThread::RequestStop() {
    m_thread.request_stop();
}

void OwnedThread::Stop() {
    RequestStop();
    Join();
}

void OwnedThread::Join() {
    if (m_thread.joinable()) m_thread.join();
}

void SetCurrentThreadName(const std::string& name) {
    // The kernel keeps 15 characters and refuses longer names outright.
    pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
}

void WakeSignal::Notify() {
    {
        std::lock_guard lock(m_mutex);
        ++m_notified;
    }
    m_cv.notify_all();
}

std::uint64_t WakeSignal::Mark() {
    std::lock_guard lock(m_mutex);
    return m_notified;
}

bool WakeSignal::Wait(const std::stop_token& stop, std::uint64_t mark,
                      const MonotonicClock& clock) {
    std::unique_lock lock(m_mutex);
    clock.WaitUntil(m_cv, lock, stop, MonotonicClock::kNever, [&] { return m_notified != mark; });
    return !stop.stop_requested();
}

bool WakeSignal::WaitFor(const std::stop_token& stop, std::chrono::milliseconds timeout,
                         std::uint64_t mark, const MonotonicClock& clock) {
    std::unique_lock lock(m_mutex);
    clock.WaitUntil(m_cv, lock, stop, clock.Now() + timeout, [&] { return m_notified != mark; });
    return !stop.stop_requested();
}

bool SleepFor(const std::stop_token& stop, std::chrono::milliseconds duration) {
    std::mutex mutex;
    std::condition_variable_any cv;
    std::unique_lock lock(mutex);
    cv.wait_for(lock, stop, duration, [] { return false; });
    return !stop.stop_requested();
}

}  // namespace orvane
