#pragma once

#include <QString>
#include <memory>
#include <mutex>

#include "HidBackend.h"

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace orvane {

// Arrival and removal of hidraw devices from libudev ("add" and "remove"
// events after udev has processed them), read through a QSocketNotifier on
// the thread that calls Start (the GUI thread, which runs an event loop).
// The handler is called on that thread.
class UdevMonitor : public DeviceChangeSource {
public:
    UdevMonitor();
    ~UdevMonitor() override;

    // Opens the monitor; false (with ErrorText) when udev is not available.
    bool Start();
    QString ErrorText() const { return m_error; }

    void SetHandler(Handler handler) override;

    // Reads and delivers the events waiting on the monitor; called by the
    // notifier. Returns the number delivered.
    int DrainEvents();

private:
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QString m_error;
    std::mutex m_handlerMutex;
    Handler m_handler;
};

}  // namespace orvane
