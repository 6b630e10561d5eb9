#pragma once

#include <atomic>
#include <thread>

namespace orvane {

class DeviceLink;

// The only reader of the receive connection: reads input reports while the
// station is present and hands each to the link's reply dispatcher; sleeps
// while it is absent until the next Open. Started by DeviceLink::Open;
// stopped and joined by its destructor (or Stop). Reads wait at most the
// report wait, so stopping takes at most that long plus the consumer call
// under way.
class ReceiveThread {
public:
    explicit ReceiveThread(DeviceLink& link);
    ReceiveThread(const ReceiveThread&) = delete;
    ReceiveThread& operator=(const ReceiveThread&) = delete;
    ~ReceiveThread();

    // Not on the receive thread.
    void Start();
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }

private:
    void Run();

    DeviceLink& m_link;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace orvane
