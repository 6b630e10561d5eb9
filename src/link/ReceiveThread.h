#pragma once

#include "OwnedThread.h"

namespace orvane {

class DeviceLink;

// The only reader of the receive connection: reads input reports while the
// station is present and hands each to the link's reply dispatcher; sleeps
// while it is absent until the next Open. Started by DeviceLink::Open;
// stopped and joined by its destructor (or Stop). Reads block until a report
// comes; stopping cancels the read under way, so it takes no longer than the
// consumer call under way.
class ReceiveThread {
public:
    explicit ReceiveThread(DeviceLink& link);
    ReceiveThread(const ReceiveThread&) = delete;
    ReceiveThread& operator=(const ReceiveThread&) = delete;
    ~ReceiveThread();

    // Not on the receive thread.
    void Start();
    void Stop();
    bool IsRunning() const { return m_thread.Joinable(); }

private:
    void Run(const std::stop_token& stop);

    DeviceLink& m_link;
    OwnedThread m_thread;
};

}  // namespace orvane
