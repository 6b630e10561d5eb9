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
        m_state.reopenNeeded = true;
        m_state.stationAttached = false;
    }
}

}  // namespace orvane
