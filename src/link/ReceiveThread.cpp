#include "ReceiveThread.h"

#include <array>

#include "DeviceLink.h"
#include "Timing.h"

namespace orvane {

ReceiveThread::ReceiveThread(DeviceLink& link) : m_link(link) {}

ReceiveThread::~ReceiveThread() {
    Stop();
}

void ReceiveThread::Start() {
    if (m_thread.joinable()) return;
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
}

void ReceiveThread::Stop() {
    m_stop = true;
    m_link.Wake();
    if (m_thread.joinable()) m_thread.join();
}

void ReceiveThread::Run() {
    while (!m_stop.load()) {
        if (!m_link.WaitUntilPresent(m_stop)) break;
        const std::shared_ptr<HidDevice> handle = m_link.ReadHandle();
        const auto wait = GetTimings().reportWait;
        if (!handle) {
            m_link.WaitForChange(wait);
            continue;
        }
        std::array<std::uint8_t, 64> report{};
        std::size_t received = 0;
        switch (handle->Read(report, wait, received)) {
            case HidIoResult::Done:
                m_link.Dispatcher().HandleReport(
                    std::span<const std::uint8_t>(report.data(), received));
                break;
            case HidIoResult::TimedOut:
                break;  // nothing arrived; a silence is the watchdogs' business
            case HidIoResult::Failed:
                // Unplugged or closed: wait for the link thread to notice.
                m_link.WaitForChange(wait);
                break;
        }
    }
}

}  // namespace orvane
