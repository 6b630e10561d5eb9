#include "AutoReadThread.h"

#include "Requests.h"
#include "Timing.h"

namespace orvane {

AutoReadThread::AutoReadThread(ExchangeState& state, CUSBDrive& drive, const MonotonicClock& time)
    : m_state(state), m_drive(drive), m_time(time) {}

AutoReadThread::~AutoReadThread() {
    Stop();
}

void AutoReadThread::Start() {
    m_thread.Start("orv-autoread", [this](std::stop_token stop) { Run(stop); });
}

void AutoReadThread::Stop() {
    m_thread.Stop();
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

void AutoReadThread::Run(const std::stop_token& stop) {
    int beats = 0;
    while (!stop.stop_requested()) {
        const std::uint64_t mark = m_state.changed.Mark();
        const auto beat = GetTimings().autoReadPeriod / kBeatsPerPoll;
        // A station not yet opened for reading would have its reply lost,
        // and the poll would then hold every later one.
        if (!m_state.stationAttached.load() || m_state.reopenNeeded.load()) {
            beats = 0;
            if (!m_state.changed.Wait(stop, mark, m_time)) break;
            continue;
        }
        // A pending request holds the count until it is settled.
        if (m_state.pendingRequest.load() != kPendingNone) {
            if (!m_state.changed.Wait(stop, mark, m_time)) break;
            continue;
        }
        if (beats >= kBeatsPerPoll) {
            beats = 0;
            SendNowDataRequest(m_state, m_drive);
            continue;
        }
        // Sleep out the rest of the period in one wait; a change of the
        // state wakes it early and only the beats that passed count.
        const auto started = m_time.Now();
        if (!m_state.changed.WaitFor(stop, beat * (kBeatsPerPoll - beats), mark, m_time)) break;
        const auto passed = m_time.Now() - started;
        beats += beat.count() > 0 ? static_cast<int>(passed / beat) : kBeatsPerPoll;
    }
}

}  // namespace orvane
