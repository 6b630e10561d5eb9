#include "ClockThread.h"

#include "Timing.h"

namespace orvane {

ClockThread::ClockThread(LinkEvents& events, const Clock& clock)
    : m_events(events), m_clock(clock) {}

ClockThread::~ClockThread() {
    Stop();
}

void ClockThread::Start() {
    m_thread.Start("orv-clock", [this](std::stop_token stop) { Run(stop); });
}

void ClockThread::Stop() {
    m_thread.Stop();
}

void ClockThread::Run(const std::stop_token& stop) {
    do {
        m_events.ClockTick(m_clock.LocalNow());
    } while (SleepFor(stop, GetTimings().clockTick));
}

}  // namespace orvane
