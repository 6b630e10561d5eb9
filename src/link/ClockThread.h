#pragma once

#include "Clock.h"
#include "LinkEvents.h"
#include "OwnedThread.h"

namespace orvane {

// Tells the window the local date and time every Timings::clockTick.
class ClockThread {
public:
    ClockThread(LinkEvents& events, const Clock& clock);
    ClockThread(const ClockThread&) = delete;
    ClockThread& operator=(const ClockThread&) = delete;
    ~ClockThread();

    // Not on the clock thread.
    void Start();
    void Stop();

private:
    void Run(const std::stop_token& stop);

    LinkEvents& m_events;
    const Clock& m_clock;
    OwnedThread m_thread;
};

}  // namespace orvane
