#include "LinkThread.h"

#include "LinkStatus.h"
#include "Timing.h"

namespace orvane {

LinkThread::LinkThread(HidBackend& backend, ExchangeState& state, ControlWindow& settingsWindow,
                       SettingsReader* reader, const ReplyConsumers& consumers)
    : m_state(state),
      m_window(settingsWindow),
      m_reader(reader),
      m_link(std::make_unique<DeviceLink>(backend, state, consumers)) {}

LinkThread::~LinkThread() {
    Stop();
    m_link.reset();
}

void LinkThread::Start() {
    if (m_thread.joinable()) return;
    m_stop.Reset();
    m_thread = std::thread([this] { Run(); });
}

void LinkThread::Stop() {
    m_stop.Stop();
    if (m_thread.joinable()) m_thread.join();
    m_link->Shutdown();
}

void LinkThread::Run() {
    while (!m_stop.IsStopped()) {
        const Timings& timings = GetTimings();
        if (m_state.stationAttached.load()) {
            if (m_state.reopenNeeded.load()) {
                // Give a station that has just arrived two passes to settle.
                if (!m_stop.SleepFor(2 * timings.linkPass)) break;
                // Cleared before the opening, so that a removal and arrival
                // during it asks for another one.
                m_state.reopenNeeded = false;
                m_link->Open();
                if (m_reader) m_reader->ReadSettings();
            }
        } else if (m_link->HasReadHandle() || m_link->IsPresent()) {
            m_link->Close();
        }
        ShowLinkStatus(m_window, m_state.stationAttached.load());
        if (!m_stop.SleepFor(timings.linkPass)) break;
    }
}

}  // namespace orvane
