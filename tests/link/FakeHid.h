#pragma once

#include <QString>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "HidBackend.h"

namespace orvane::test {

// A recording HID bus for framing tests: one station and one unrelated
// device; every written report is recorded; input reports pushed by the
// test reach every open station handle.
class FakeHidBus : public HidBackend, public DeviceChangeSource {
public:
    static inline const QString kStationPath = QStringLiteral("fake://station");
    static inline const QString kOtherPath = QStringLiteral("fake://mouse");

    struct Write {
        std::vector<std::uint8_t> bytes;
        std::size_t size = 0;
    };

    std::vector<HidDeviceInfo> Enumerate() override {
        std::lock_guard lock(m_mutex);
        std::vector<HidDeviceInfo> list{{kOtherPath, 0x046D, 0xC077}};
        if (m_plugged) list.push_back({kStationPath, 0x10C4, 0x8468});
        return list;
    }

    std::unique_ptr<HidDevice> Open(const QString& path, HidOpenMode mode) override;

    void SetHandler(Handler handler) override {
        std::lock_guard lock(m_mutex);
        m_handler = std::move(handler);
    }

    void Plug() { SetPlugged(true, DeviceChange::Arrival); }
    void Unplug() { SetPlugged(false, DeviceChange::Removal); }

    // Sends one input report to every open station handle.
    void Push(std::vector<std::uint8_t> report);
    // Sends `payload` as one input report with the given length byte.
    void PushPayload(const QByteArray& payload, int lengthByte = -1) {
        std::vector<std::uint8_t> report(64, 0);
        report[0] = 0x01;
        report[1] = static_cast<std::uint8_t>(lengthByte >= 0 ? lengthByte : payload.size());
        for (qsizetype i = 0; i < payload.size() && i < 62; ++i)
            report[2 + i] = static_cast<std::uint8_t>(payload[i]);
        Push(std::move(report));
    }

    std::vector<Write> Writes() const {
        std::lock_guard lock(m_mutex);
        return m_writes;
    }
    // The write with this 0-based number fails (counting attempts).
    void FailWriteNumber(int n) {
        std::lock_guard lock(m_mutex);
        m_failWrite = n;
    }
    // Called for every accepted write, outside the lock (for auto-replies).
    void OnWrite(std::function<void(const Write&)> hook) {
        std::lock_guard lock(m_mutex);
        m_onWrite = std::move(hook);
    }
    // Writes block until ReleaseWrites while held.
    void HoldWrites(bool hold) {
        {
            std::lock_guard lock(m_mutex);
            m_holdWrites = hold;
        }
        m_cv.notify_all();
    }
    bool WaitForBlockedWrite(std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, timeout, [&] { return m_blockedWriters > 0; });
    }
    int LiveHandles() const {
        std::lock_guard lock(m_mutex);
        return m_live;
    }
    int OpenCount(HidOpenMode mode) const {
        std::lock_guard lock(m_mutex);
        return m_opens[static_cast<int>(mode)];
    }

private:
    friend class FakeHidHandle;
    struct Queue {
        std::deque<std::vector<std::uint8_t>> reports;
        bool failed = false;
    };

    void SetPlugged(bool plugged, DeviceChange change) {
        Handler handler;
        {
            std::lock_guard lock(m_mutex);
            m_plugged = plugged;
            if (!plugged) {
                for (auto& weak : m_queues) {
                    if (auto queue = weak.lock()) queue->failed = true;
                }
            }
            handler = m_handler;
        }
        m_cv.notify_all();
        if (handler) handler(change);
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_plugged = true;
    Handler m_handler;
    std::vector<std::weak_ptr<Queue>> m_queues;
    std::vector<Write> m_writes;
    int m_writeAttempts = 0;
    int m_failWrite = -1;
    bool m_holdWrites = false;
    int m_blockedWriters = 0;
    int m_live = 0;
    int m_opens[3] = {0, 0, 0};
    std::function<void(const Write&)> m_onWrite;
};

class FakeHidHandle : public HidDevice {
public:
    FakeHidHandle(FakeHidBus& bus, std::shared_ptr<FakeHidBus::Queue> queue, bool station)
        : m_bus(bus), m_queue(std::move(queue)), m_station(station) {
        std::lock_guard lock(m_bus.m_mutex);
        ++m_bus.m_live;
    }
    ~FakeHidHandle() override {
        std::lock_guard lock(m_bus.m_mutex);
        --m_bus.m_live;
    }

    HidIoResult Write(std::span<const std::uint8_t> report, std::chrono::milliseconds) override {
        FakeHidBus::Write write;
        std::function<void(const FakeHidBus::Write&)> hook;
        {
            std::unique_lock lock(m_bus.m_mutex);
            ++m_bus.m_blockedWriters;
            m_bus.m_cv.notify_all();
            m_bus.m_cv.wait(lock, [&] { return !m_bus.m_holdWrites; });
            --m_bus.m_blockedWriters;
            if (m_queue->failed) return HidIoResult::Failed;
            if (m_bus.m_writeAttempts++ == m_bus.m_failWrite) return HidIoResult::TimedOut;
            write.bytes.assign(report.begin(), report.end());
            write.size = report.size();
            m_bus.m_writes.push_back(write);
            hook = m_bus.m_onWrite;
        }
        if (hook) hook(write);
        return HidIoResult::Done;
    }

    HidIoResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout,
                     std::size_t& received) override {
        std::unique_lock lock(m_bus.m_mutex);
        const auto ready = [&] {
            return m_queue->failed || m_cancelled || !m_queue->reports.empty();
        };
        if (timeout < std::chrono::milliseconds::zero())
            m_bus.m_cv.wait(lock, ready);
        else if (!m_bus.m_cv.wait_for(lock, timeout, ready))
            return HidIoResult::TimedOut;
        if (m_queue->failed || m_cancelled) return HidIoResult::Failed;
        const std::vector<std::uint8_t> report = std::move(m_queue->reports.front());
        m_queue->reports.pop_front();
        received = std::min(report.size(), buffer.size());
        std::copy_n(report.begin(), received, buffer.begin());
        return HidIoResult::Done;
    }

    void CancelRead() override {
        {
            std::lock_guard lock(m_bus.m_mutex);
            m_cancelled = true;
        }
        m_bus.m_cv.notify_all();
    }

    std::optional<HidAttributes> Attributes() override {
        std::lock_guard lock(m_bus.m_mutex);
        if (m_queue->failed) return std::nullopt;
        if (m_station) return HidAttributes{0x10C4, 0x8468};
        return HidAttributes{0x046D, 0xC077};
    }

private:
    FakeHidBus& m_bus;
    std::shared_ptr<FakeHidBus::Queue> m_queue;
    bool m_station;
    bool m_cancelled = false;  // under the bus mutex
};

inline std::unique_ptr<HidDevice> FakeHidBus::Open(const QString& path, HidOpenMode mode) {
    auto queue = std::make_shared<Queue>();
    {
        std::lock_guard lock(m_mutex);
        m_opens[static_cast<int>(mode)]++;
        const bool station = path == kStationPath;
        if (station && !m_plugged) return nullptr;
        if (!station && path != kOtherPath) return nullptr;
        if (station) m_queues.push_back(queue);
    }
    return std::make_unique<FakeHidHandle>(*this, queue, path == kStationPath);
}

inline void FakeHidBus::Push(std::vector<std::uint8_t> report) {
    {
        std::lock_guard lock(m_mutex);
        for (auto& weak : m_queues) {
            if (auto queue = weak.lock()) queue->reports.push_back(report);
        }
    }
    m_cv.notify_all();
}

}  // namespace orvane::test
