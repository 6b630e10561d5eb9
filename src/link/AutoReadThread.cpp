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

bool SendNowDataRequest(ExchangeState& state, CUSBDrive& drive) {
    state.nowDataReplyText.Clear();
    state.awaitingNowData = true;
    // Claims the request slot only if no other sender took it meanwhile.
    int none = kPendingNone;
    if (!state.pendingRequest.compare_exchange_strong(none, kPendingNowData)) {
        state.awaitingNowData = false;
        return false;
    }
    const bool sent = drive.SendText(QString::fromLatin1(Request::kReadNowData));
    state.requestBusy = false;
    return sent;
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
            SendNowDataRequest(m_state, m_drive);
            beats = 0;
        }
        ++beats;
        if (!m_stop.SleepFor(beat)) break;
    }
}

}  // namespace orvane
