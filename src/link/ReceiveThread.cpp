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
    m_thread.Start("orv-receive", [this](std::stop_token stop) { Run(stop); });
}

void ReceiveThread::Stop() {
    m_thread.RequestStop();
    // The read under way blocks without a time limit: cancel it.
    m_link.Wake();
    m_thread.Join();
}

void ReceiveThread::Run(const std::stop_token& stop) {
    while (!stop.stop_requested()) {
        if (!m_link.WaitUntilPresent(stop)) break;
        const std::shared_ptr<HidDevice> handle = m_link.ReadHandle();
        if (!handle) {
            // Present but not readable: nothing to do until the next Open.
            m_link.WaitForChange(stop, std::nullopt);
            continue;
        }
        std::array<std::uint8_t, 64> report{};
        std::size_t received = 0;
        switch (handle->Read(report, kNoTimeout, received)) {
            case HidIoResult::Done:
                m_link.Dispatcher().HandleReport(
                    std::span<const std::uint8_t>(report.data(), received));
                break;
            case HidIoResult::TimedOut:
                break;  // a cancelled read; the loop looks at why
            case HidIoResult::Failed:
                // Unplugged or closed: wait for the link thread to notice.
                m_link.WaitForChange(stop, GetTimings().reportWait);
                break;
        }
    }
}

}  // namespace orvane
