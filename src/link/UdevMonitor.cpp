#include "UdevMonitor.h"

#include <libudev.h>

#include <QSocketNotifier>
#include <cstring>

namespace orvane {

UdevMonitor::UdevMonitor() = default;

UdevMonitor::~UdevMonitor() {
    m_notifier.reset();
    if (m_monitor) udev_monitor_unref(m_monitor);
    if (m_udev) udev_unref(m_udev);
}

bool UdevMonitor::Start() {
    if (m_monitor) return true;
    m_udev = udev_new();
    if (!m_udev) {
        m_error = QStringLiteral("udev is not available");
        return false;
    }
    // Events from the udev daemon come after its rules ran, so the new
    // hidraw node already has its permissions when the handler probes it.
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        m_error = QStringLiteral("the udev monitor cannot be opened");
        if (m_monitor) udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
        return false;
    }
    m_notifier =
        std::make_unique<QSocketNotifier>(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { DrainEvents(); });
    return true;
}

void UdevMonitor::SetHandler(Handler handler) {
    std::lock_guard lock(m_handlerMutex);
    m_handler = std::move(handler);
}

int UdevMonitor::DrainEvents() {
    if (!m_monitor) return 0;
    int delivered = 0;
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        const char* action = udev_device_get_action(device);
        std::optional<DeviceChange> change;
        if (action && std::strcmp(action, "add") == 0) change = DeviceChange::Arrival;
        if (action && std::strcmp(action, "remove") == 0) change = DeviceChange::Removal;
        udev_device_unref(device);
        if (!change) continue;
        Handler handler;
        {
            std::lock_guard lock(m_handlerMutex);
            handler = m_handler;
        }
        if (handler) handler(*change);
        ++delivered;
    }
    return delivered;
}

}  // namespace orvane
