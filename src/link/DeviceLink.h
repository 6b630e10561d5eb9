#pragma once

#include <QString>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>

#include "ExchangeState.h"
#include "HidBackend.h"
#include "ReplyDispatcher.h"
#include "ReplyHandlers.h"
#include "TaskThreads.h"
#include "TransferWatchdogs.h"

namespace orvane {

class ReceiveThread;

// The receive connection: a read-only handle to the station, the present
// flag and the wake-up of the receive thread, which its first Open starts.
// It also owns what the receive thread works with: the reply dispatcher,
// the transfer watchdogs (TransferLock), the download total and the threads
// started for short jobs. Owned by the link thread.
class DeviceLink {
public:
    DeviceLink(HidBackend& backend, ExchangeState& state, const ReplyConsumers& consumers);
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;
    // Stops and joins the receive thread, the watchdogs and the short jobs.
    // Not on the receive thread.
    ~DeviceLink();

    // Stops and joins the receive thread, the watchdogs and the short jobs;
    // afterwards Open no longer starts anything. Not on the receive thread.
    void Shutdown();

    // Link thread. Starts the receive thread the first time; finds the
    // station among the HID interfaces (skipping any it cannot query), sets
    // the present flag and opens the read handle, waking the receive thread.
    void Open();
    // Link thread. Closes the read handle (once the read under way ends) and
    // clears the present flag.
    void Close();

    // Any thread.
    bool IsPresent() const { return m_present.load(); }
    bool HasReadHandle() const;
    bool ReceiveThreadStarted() const;
    qint64 DownloadTotal() const { return m_downloadTotal.load(); }

    ReplyDispatcher& Dispatcher() { return m_dispatcher; }
    TransferWatchdogs& Watchdogs() { return m_watchdogs; }

    // Receive thread.
    std::shared_ptr<HidDevice> ReadHandle() const;
    // Waits until the station is present (true) or a stop is requested
    // (false).
    bool WaitUntilPresent(const std::stop_token& stop);
    // Waits for an Open, a Close, a Wake or a stop request, at most `timeout`
    // when one is given.
    void WaitForChange(const std::stop_token& stop,
                       std::optional<std::chrono::milliseconds> timeout);
    // Cancels the read under way for good and wakes the receive thread's
    // waits (used when stopping it).
    void Wake();

private:
    // Clears the present flag and cancels and drops the read handle;
    // `notify` wakes the receive thread's waits.
    void DropReadHandle(bool notify);

    HidBackend& m_backend;
    std::atomic<bool> m_present{false};
    std::atomic<qint64> m_downloadTotal{0};

    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::uint64_t m_changes = 0;
    std::shared_ptr<HidDevice> m_readHandle;

    // Declared so that the jobs outlive the watchdogs, and both the
    // dispatcher, and all of them the receive thread.
    TaskThreads m_tasks;
    TransferWatchdogs m_watchdogs;
    ReplyDispatcher m_dispatcher;
    std::unique_ptr<ReceiveThread> m_receiveThread;
    std::atomic<bool> m_shutDown{false};
};

}  // namespace orvane
