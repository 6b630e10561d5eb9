#include "LinkThread.h"

#include "Timing.h"

namespace orvane {

LinkThread::LinkThread(HidBackend& backend, ExchangeState& state, LinkEvents& events,
                       SettingsReader* reader, const ReplyConsumers& consumers)
    : m_state(state),
      m_events(events),
      m_reader(reader),
      m_link(std::make_unique<DeviceLink>(backend, state, consumers)) {}

LinkThread::~LinkThread() {
    Stop();
    m_link.reset();
}

void LinkThread::Start() {
    m_thread.Start("orv-link", [this](std::stop_token stop) { Run(stop); });
}

void LinkThread::Stop() {
    m_thread.Stop();
    m_link->Shutdown();
}

void LinkThread::Run(const std::stop_token& stop) {
    std::optional<bool> shown;
    while (!stop.stop_requested()) {
        const std::uint64_t mark = m_state.changed.Mark();
        if (m_state.stationAttached.load()) {
            if (m_state.reopenNeeded.load()) {
                // Give a station that has just arrived two passes to settle.
                if (!SleepFor(stop, 2 * GetTimings().linkPass)) break;
                // Gone again while it settled: wait for the next arrival.
                if (!m_state.stationAttached.load()) continue;
                // Cleared before the opening, so that a removal and arrival
                // during it asks for another one.
                m_state.reopenNeeded = false;
                m_link->Open();
                if (m_link->IsPresent()) {
                    if (m_reader) m_reader->ReadSettings();
                } else if (!m_state.stationAttached.load()) {
                    // A removal that overtook the opening cleared the
                    // request it had made: open at the next arrival.
                    m_state.reopenNeeded = true;
                }
            }
        } else if (m_link->HasReadHandle() || m_link->IsPresent()) {
            m_link->Close();
        }
        const bool attached = m_state.stationAttached.load();
        if (shown != attached) {
            shown = attached;
            m_events.ConnectionChanged(attached);
        }
        if (!m_state.changed.Wait(stop, mark)) break;
    }
}

}  // namespace orvane
