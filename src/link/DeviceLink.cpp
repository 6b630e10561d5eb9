#include "DeviceLink.h"

#include "ReceiveThread.h"

namespace orvane {

DeviceLink::DeviceLink(HidBackend& backend, ExchangeState& state, const ReplyConsumers& consumers)
    : m_backend(backend),
      m_watchdogs(state, consumers.sdCard, m_tasks),
      m_dispatcher(state, consumers, m_watchdogs, m_downloadTotal) {}

DeviceLink::~DeviceLink() {
    Shutdown();
}

void DeviceLink::Shutdown() {
    m_shutDown = true;
    if (m_receiveThread) m_receiveThread->Stop();
    // Watchdogs call back into the dispatcher; they end before it goes.
    m_watchdogs.Shutdown();
    m_tasks.JoinAll();
}

void DeviceLink::Open() {
    if (m_shutDown.load()) return;
    if (!m_receiveThread) {
        m_receiveThread = std::make_unique<ReceiveThread>(*this);
        m_receiveThread->Start();
    }
    DropReadHandle(false);
    for (const HidDeviceInfo& info : m_backend.Enumerate()) {
        std::optional<HidAttributes> attributes;
        if (std::unique_ptr<HidDevice> query = m_backend.Open(info.path, HidOpenMode::QueryOnly)) {
            attributes = query->Attributes();
        }
        if (!attributes || attributes->vendorId != kStationVendorId ||
            attributes->productId != kStationProductId) {
            continue;
        }
        std::shared_ptr<HidDevice> handle = m_backend.Open(info.path, HidOpenMode::ReadOnly);
        {
            std::lock_guard lock(m_mutex);
            m_present = true;
            m_readHandle = std::move(handle);
            ++m_changes;
        }
        m_changed.notify_all();
        return;
    }
}

void DeviceLink::Close() {
    DropReadHandle(true);
}

void DeviceLink::DropReadHandle(bool notify) {
    std::shared_ptr<HidDevice> old;
    {
        std::lock_guard lock(m_mutex);
        old = std::move(m_readHandle);
        m_readHandle.reset();
        m_present = false;
        if (notify) ++m_changes;
    }
    // The receive thread may be blocked in a read on it.
    if (old) old->CancelRead();
    if (notify) m_changed.notify_all();
}

bool DeviceLink::HasReadHandle() const {
    std::lock_guard lock(m_mutex);
    return m_readHandle != nullptr;
}

bool DeviceLink::ReceiveThreadStarted() const {
    return m_receiveThread != nullptr;
}

std::shared_ptr<HidDevice> DeviceLink::ReadHandle() const {
    std::lock_guard lock(m_mutex);
    return m_readHandle;
}

bool DeviceLink::WaitUntilPresent(const std::stop_token& stop) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait(lock, stop, [&] { return m_present.load(); });
}

void DeviceLink::WaitForChange(const std::stop_token& stop,
                               std::optional<std::chrono::milliseconds> timeout) {
    std::unique_lock lock(m_mutex);
    const std::uint64_t seen = m_changes;
    const auto changed = [&] { return m_changes != seen; };
    if (timeout)
        m_changed.wait_for(lock, stop, *timeout, changed);
    else
        m_changed.wait(lock, stop, changed);
}

void DeviceLink::Wake() {
    std::shared_ptr<HidDevice> handle;
    {
        std::lock_guard lock(m_mutex);
        handle = m_readHandle;
        ++m_changes;
    }
    if (handle) handle->CancelRead();
    m_changed.notify_all();
}

}  // namespace orvane
