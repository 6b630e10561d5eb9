#pragma once

#include <thread>

#include "Clock.h"
#include "ControlWindow.h"
#include "StopSignal.h"

namespace orvane {

// Puts the local date and time into the Time group's pickers every
// Timings::clockTick.
class ClockThread {
public:
    ClockThread(ControlWindow& settingsWindow, const Clock& clock);
    ClockThread(const ClockThread&) = delete;
    ClockThread& operator=(const ClockThread&) = delete;
    ~ClockThread();

    // Not on the clock thread; see LinkThread::Stop about the GUI thread.
    void Start();
    void Stop();

private:
    void Run();

    ControlWindow& m_window;
    const Clock& m_clock;
    StopSignal m_stop;
    std::thread m_thread;
};

}  // namespace orvane
