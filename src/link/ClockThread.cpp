#include "ClockThread.h"

#include "LinkStatus.h"
#include "Timing.h"

namespace orvane {

ClockThread::ClockThread(ControlWindow& settingsWindow, const Clock& clock)
    : m_window(settingsWindow), m_clock(clock) {}

ClockThread::~ClockThread() {
    Stop();
}

void ClockThread::Start() {
    if (m_thread.joinable()) return;
    m_stop.Reset();
    m_thread = std::thread([this] { Run(); });
}

void ClockThread::Stop() {
    m_stop.Stop();
    if (m_thread.joinable()) m_thread.join();
}

void ClockThread::Run() {
    while (!m_stop.IsStopped()) {
        ShowClockTick(m_window, m_clock);
        if (!m_stop.SleepFor(GetTimings().clockTick)) break;
    }
}

}  // namespace orvane
