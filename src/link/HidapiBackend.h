#pragma once

#include <mutex>

#include "HidBackend.h"

namespace orvane {

// The real HID bus through hidapi on hidraw. hidapi opens every hidraw node
// read/write, so ReadOnly and QueryOnly handles are read/write handles that
// are used only for reading or for the attributes. Writes use hid_write
// (hidraw writes block until the device takes the report), reads
// hid_read_timeout. Any thread.
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
