#pragma once

#include <pthread.h>

#include <functional>
#include <stop_token>
#include <string>
#include <thread>

namespace orvane {

// One named worker thread owned by one object: asked to stop through its
// stop token and joined by its owner, at the latest on destruction. The
// same calls as the link's owned-thread helper, so either can stand in.
class WorkerThread {
public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread() { Stop(); }

    // False, starting nothing, while a thread is still owned.
    bool Start(std::string name, std::function<void(std::stop_token)> body) {
        if (m_thread.joinable()) return false;
        m_thread =
            std::jthread([name = std::move(name), body = std::move(body)](std::stop_token stop) {
                pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
                body(stop);
            });
        return true;
    }
    void RequestStop() { m_thread.request_stop(); }
    void Stop() {
        RequestStop();
        Join();
    }
    // Not from the thread itself.
    void Join() {
        if (m_thread.joinable()) m_thread.join();
    }
    bool Joinable() const { return m_thread.joinable(); }

private:
    std::jthread m_thread;
};

}  // namespace orvane
