#include "DeviceLink.h"

#include "ReceiveThread.h"

namespace orvane {

DeviceLink::DeviceLink(HidBackend& backend, ExchangeState& state, const ReplyConsumers& consumers)
    : m_backend(backend),
      m_watchdogs(state, consumers.sdCard, m_tasks),
      m_dispatcher(state, consumers, m_watchdogs, m_tasks, m_downloadTotal) {}

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
    {
        std::lock_guard lock(m_mutex);
        m_present = false;
        m_readHandle.reset();
    }
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
    {
        std::lock_guard lock(m_mutex);
        m_readHandle.reset();
        m_present = false;
        ++m_changes;
    }
    m_changed.notify_all();
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

bool DeviceLink::WaitUntilPresent(const std::atomic<bool>& stop) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return stop.load() || m_present.load(); });
    return !stop.load();
}

void DeviceLink::WaitForChange(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    const std::uint64_t seen = m_changes;
    m_changed.wait_for(lock, timeout, [&] { return m_changes != seen; });
}

void DeviceLink::Wake() {
    {
        std::lock_guard lock(m_mutex);
        ++m_changes;
    }
    m_changed.notify_all();
}

}  // namespace orvane
