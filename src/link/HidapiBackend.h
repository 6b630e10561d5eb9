#pragma once

#include <mutex>

#include "HidBackend.h"

namespace orvane {

// The real HID bus through hidapi on hidraw. hidapi opens every hidraw node
// read/write, so ReadOnly and QueryOnly handles are read/write handles that
// are used only for reading or for the attributes. Writes use hid_write
// (hidraw writes block until the device takes the report), reads
// hid_read_timeout. The ReadOnly handle of the receive connection is the
// hidraw node itself (MakeHidrawDevice), whose reads can wait without limit
// and be cancelled. Any thread.
// A handle over an open hidraw file descriptor (owned from now on): reads
// wait in poll() and end at once on CancelRead; a hang-up or error is
// Failed. Any readable descriptor works, which is how it is tested.
std::unique_ptr<HidDevice> MakeHidrawDevice(int fd);

class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;

    std::vector<HidDeviceInfo> Enumerate() override;
    // Null when the path cannot be opened.
    std::unique_ptr<HidDevice> Open(const QString& path, HidOpenMode mode) override;

    // Whether hid_init succeeded; when it did not, nothing is found.
    bool IsAvailable() const { return m_available; }

private:
    bool m_available = false;
    std::mutex m_mutex;  // hidapi's enumeration and open keep global state
};

}  // namespace orvane
