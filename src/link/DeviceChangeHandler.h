#pragma once

#include <mutex>

#include "CUSBDrive.h"
#include "ExchangeState.h"
#include "HidBackend.h"

namespace orvane {

// Arrival and removal of HID interfaces: an arrival while the station is not
// attached, or a removal while it is, probes the station. A successful probe
// sets StationAttached; a failed one clears it and sets ReopenNeeded, which
// the link thread acts on.
class DeviceChangeHandler {
public:
    DeviceChangeHandler(ExchangeState& state, CUSBDrive& drive);
    DeviceChangeHandler(const DeviceChangeHandler&) = delete;
    DeviceChangeHandler& operator=(const DeviceChangeHandler&) = delete;
    // Withdraws the handler from the source it listens to.
    ~DeviceChangeHandler();

    // Any thread (the udev monitor calls it on the GUI thread, the
    // simulator on the thread that plugs it).
    void HandleDeviceChange(DeviceChange change);

    // Routes the source's events here until destruction. GUI thread.
    void Listen(DeviceChangeSource& source);

private:
    ExchangeState& m_state;
    CUSBDrive& m_drive;
    DeviceChangeSource* m_source = nullptr;
    std::mutex m_mutex;  // one probe decision at a time
};

}  // namespace orvane
