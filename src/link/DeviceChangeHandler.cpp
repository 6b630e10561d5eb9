#include "DeviceChangeHandler.h"

namespace orvane {

DeviceChangeHandler::DeviceChangeHandler(ExchangeState& state, CUSBDrive& drive)
    : m_state(state), m_drive(drive) {}

DeviceChangeHandler::~DeviceChangeHandler() {
    if (m_source) m_source->SetHandler(nullptr);
}

void DeviceChangeHandler::Listen(DeviceChangeSource& source) {
    if (m_source && m_source != &source) m_source->SetHandler(nullptr);
    m_source = &source;
    source.SetHandler([this](DeviceChange change) { HandleDeviceChange(change); });
}

void DeviceChangeHandler::HandleDeviceChange(DeviceChange change) {
    std::lock_guard lock(m_mutex);
    const bool attached = m_state.stationAttached.load();
    const bool probe = (change == DeviceChange::Arrival && !attached) ||
                       (change == DeviceChange::Removal && attached);
    if (!probe) return;
    if (m_drive.ProbeStation()) {
        m_state.stationAttached = true;
    } else {
        // Absent first: the link thread wakes on each change, and must not
        // see a reopen while the station still looks attached.
        m_state.stationAttached = false;
        m_state.reopenNeeded = true;
    }
}

}  // namespace orvane
