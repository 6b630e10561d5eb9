#include "LinkSession.h"

namespace orvane {

LinkSession::LinkSession(const LinkSessionParts& parts)
    : m_parts(parts),
      m_changes(parts.state, parts.mainDialog.Drive()),
      m_clockThread(parts.events, parts.clock),
      m_linkThread(parts.backend, parts.state, parts.events, parts.settingsReader, parts.consumers),
      m_autoReadThread(parts.state, parts.mainDialog.Drive(),
                       parts.pollTime ? *parts.pollTime : SteadyTime()) {}

LinkSession::~LinkSession() {
    Stop();
}

void LinkSession::Start() {
    if (m_started) return;
    m_started = true;
    m_parts.state.stationAttached = m_parts.mainDialog.Drive().ProbeStation();
    m_parts.state.reopenNeeded = true;
    m_clockThread.Start();
    m_linkThread.Start();
    m_autoReadThread.Start();
    if (m_parts.deviceChanges) m_changes.Listen(*m_parts.deviceChanges);
}

void LinkSession::Stop() {
    if (m_parts.deviceChanges) m_parts.deviceChanges->SetHandler(nullptr);
    m_autoReadThread.Stop();
    m_linkThread.Stop();
    m_clockThread.Stop();
}

}  // namespace orvane
