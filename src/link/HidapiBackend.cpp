#include "HidapiBackend.h"

#include <hidapi/hidapi.h>

#include <QByteArray>

namespace orvane {

namespace {

class HidapiDevice : public HidDevice {
public:
    explicit HidapiDevice(hid_device* device) : m_device(device) {}
    ~HidapiDevice() override { hid_close(m_device); }

    HidIoResult Write(std::span<const std::uint8_t> report, std::chrono::milliseconds) override {
        // hidraw takes the report whole or fails; it has no time limit of
        // its own.
        std::lock_guard lock(m_mutex);
        const int written = hid_write(m_device, report.data(), report.size());
        return written < 0 ? HidIoResult::Failed : HidIoResult::Done;
    }

    HidIoResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout,
                     std::size_t& received) override {
        std::lock_guard lock(m_mutex);
        const int count = hid_read_timeout(m_device, buffer.data(), buffer.size(),
                                           static_cast<int>(timeout.count()));
        if (count < 0) return HidIoResult::Failed;
        if (count == 0) return HidIoResult::TimedOut;
        received = static_cast<std::size_t>(count);
        return HidIoResult::Done;
    }

    std::optional<HidAttributes> Attributes() override {
        std::lock_guard lock(m_mutex);
        const hid_device_info* info = hid_get_device_info(m_device);
        if (!info) return std::nullopt;
        return HidAttributes{info->vendor_id, info->product_id};
    }

private:
    // hidapi keeps the last error text per device: one call at a time.
    std::mutex m_mutex;
    hid_device* m_device;
};

}  // namespace

HidapiBackend::HidapiBackend() {
    m_available = hid_init() == 0;
}

HidapiBackend::~HidapiBackend() {
    if (m_available) hid_exit();
}

std::vector<HidDeviceInfo> HidapiBackend::Enumerate() {
    std::vector<HidDeviceInfo> found;
    if (!m_available) return found;
    std::lock_guard lock(m_mutex);
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info; info = info->next) {
        found.push_back({QString::fromLocal8Bit(info->path), info->vendor_id, info->product_id});
    }
    hid_free_enumeration(list);
    return found;
}

std::unique_ptr<HidDevice> HidapiBackend::Open(const QString& path, HidOpenMode) {
    if (!m_available) return nullptr;
    std::lock_guard lock(m_mutex);
    const QByteArray nativePath = path.toLocal8Bit();
    hid_device* device = hid_open_path(nativePath.constData());
    if (!device) return nullptr;
    return std::make_unique<HidapiDevice>(device);
}

}  // namespace orvane
