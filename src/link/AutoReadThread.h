#pragma once

#include "CUSBDrive.h"
#include "ExchangeState.h"
#include "OwnedThread.h"

namespace orvane {

// Claims the request slot for "Read&Now Data&http 1.0" and sends it; false
// when another request holds the slot (nothing sent) or the send failed.
// Any thread but the receive thread.
bool SendNowDataRequest(ExchangeState& state, CUSBDrive& drive);

// Polls the current readings: while the station is attached and nothing is
// pending, sends "Read&Now Data&http 1.0" once every Timings::autoReadPeriod
// (counted in sixteen beats, so a pending request holds the count where it
// is). The request goes out on the drive's current handle. Between polls it
// sleeps until the period is over (on `time`) or the connection state
// changes.
class AutoReadThread {
public:
    AutoReadThread(ExchangeState& state, CUSBDrive& drive,
                   const MonotonicClock& time = SteadyTime());
    AutoReadThread(const AutoReadThread&) = delete;
    AutoReadThread& operator=(const AutoReadThread&) = delete;
    ~AutoReadThread();

    // Not on the auto-read thread.
    void Start();
    void Stop();

    static constexpr int kBeatsPerPoll = 16;

private:
    void Run(const std::stop_token& stop);

    ExchangeState& m_state;
    CUSBDrive& m_drive;
    const MonotonicClock& m_time;
    OwnedThread m_thread;
};

}  // namespace orvane
