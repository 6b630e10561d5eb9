#include "AutoReadThread.h"

#include "Requests.h"
#include "Timing.h"

namespace orvane {

AutoReadThread::AutoReadThread(ExchangeState& state, CUSBDrive& drive)
    : m_state(state), m_drive(drive) {}

AutoReadThread::~AutoReadThread() {
    Stop();
}

void AutoReadThread::Start() {
    if (m_thread.joinable()) return;
    m_stop.Reset();
    m_thread = std::thread([this] { Run(); });
}

void AutoReadThread::Stop() {
    m_stop.Stop();
    if (m_thread.joinable()) m_thread.join();
}

void AutoReadThread::Run() {
    int beats = 0;
    while (!m_stop.IsStopped()) {
        const auto beat = GetTimings().autoReadPeriod / kBeatsPerPoll;
        if (!m_state.stationAttached.load()) {
            beats = 0;
            if (!m_stop.SleepFor(beat)) break;
            continue;
        }
        if (m_state.pendingRequest.load() != kPendingNone) {
            if (!m_stop.SleepFor(beat)) break;
            continue;
        }
        if (beats == kBeatsPerPoll) {
            m_state.nowDataReplyText.Clear();
            m_state.awaitingNowData = true;
            // Claims the request slot only if no other sender took it since
            // the check above.
            int none = kPendingNone;
            if (m_state.pendingRequest.compare_exchange_strong(none, kPendingNowData)) {
                m_drive.SendText(QString::fromLatin1(Request::kReadNowData));
                m_state.requestBusy = false;
            } else {
                m_state.awaitingNowData = false;
            }
            beats = 0;
        }
        ++beats;
        if (!m_stop.SleepFor(beat)) break;
    }
}

}  // namespace orvane
