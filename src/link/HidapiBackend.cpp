#include "HidapiBackend.h"

#include <fcntl.h>
#include <hidapi/hidapi.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QByteArray>
#include <cerrno>

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

    // Only the receive connection reads without a time limit, and it reads
    // through a HidrawDevice; these reads always end by themselves.
    void CancelRead() override {}

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

// A hidraw node read directly: the read waits in poll() on the node and on
// an eventfd that CancelRead signals, so a reader that waits for the next
// report costs nothing and still stops at once.
class HidrawDevice : public HidDevice {
public:
    explicit HidrawDevice(int fd) : m_fd(fd), m_cancel(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~HidrawDevice() override {
        if (m_cancel >= 0) close(m_cancel);
        close(m_fd);
    }

    HidIoResult Write(std::span<const std::uint8_t> report, std::chrono::milliseconds) override {
        const ssize_t written = write(m_fd, report.data(), report.size());
        return written < 0 ? HidIoResult::Failed : HidIoResult::Done;
    }

    HidIoResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout,
                     std::size_t& received) override {
        received = 0;
        if (m_cancel < 0) return HidIoResult::Failed;
        const int waitMs = timeout < std::chrono::milliseconds::zero()
                               ? -1
                               : static_cast<int>(std::min<std::int64_t>(timeout.count(), 1 << 30));
        for (;;) {
            pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_cancel, POLLIN, 0}};
            const int ready = poll(fds, 2, waitMs);
            if (ready < 0 && errno == EINTR) continue;
            if (ready < 0) return HidIoResult::Failed;
            if (fds[1].revents != 0) return HidIoResult::Failed;
            if (ready == 0) return HidIoResult::TimedOut;
            if ((fds[0].revents & POLLIN) == 0) return HidIoResult::Failed;  // unplugged
            const ssize_t count = read(m_fd, buffer.data(), buffer.size());
            if (count < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            if (count <= 0) return HidIoResult::Failed;
            received = static_cast<std::size_t>(count);
            return HidIoResult::Done;
        }
    }

    void CancelRead() override {
        const std::uint64_t one = 1;
        // Fails only when the counter is full, and then reads end anyway.
        if (m_cancel >= 0 && write(m_cancel, &one, sizeof one) < 0) return;
    }

    std::optional<HidAttributes> Attributes() override {
        hidraw_devinfo info{};
        if (ioctl(m_fd, HIDIOCGRAWINFO, &info) < 0) return std::nullopt;
        return HidAttributes{static_cast<std::uint16_t>(info.vendor),
                             static_cast<std::uint16_t>(info.product)};
    }

private:
    int m_fd;
    int m_cancel;
};

}  // namespace

std::unique_ptr<HidDevice> MakeHidrawDevice(int fd) {
    return std::make_unique<HidrawDevice>(fd);
}

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

std::unique_ptr<HidDevice> HidapiBackend::Open(const QString& path, HidOpenMode mode) {
    if (!m_available) return nullptr;
    const QByteArray nativePath = path.toLocal8Bit();
    if (mode == HidOpenMode::ReadOnly) {
        // hidapi's reads cannot be cancelled; the receive connection reads
        // the node itself (hidapi's paths on Linux are the /dev/hidraw nodes).
        const int fd = open(nativePath.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return nullptr;
        return MakeHidrawDevice(fd);
    }
    std::lock_guard lock(m_mutex);
    hid_device* device = hid_open_path(nativePath.constData());
    if (!device) return nullptr;
    return std::make_unique<HidapiDevice>(device);
}

}  // namespace orvane
