#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>

#include "ExchangeState.h"
#include "MonotonicClock.h"
#include "OwnedThread.h"
#include "ReplyHandlers.h"
#include "TaskThreads.h"

namespace orvane {

// The watchdogs of the two SD-card transfers that come without
// acknowledgement: a file download and the size listing. After a first
// silence the transfer is re-issued once, after a second one it is given up.
// Silences are measured in time (Timings::downloadSilence, fileSizeSilence,
// on the clock given, the steady one unless a test brings its own);
// a watchdog sleeps until the silence could have passed (each report moves
// that moment on) and ends as soon as its transfer has finished, so it can
// never act on a later transfer.
//
// One instance per DeviceLink; TransferLock guards all of its variables.
class TransferWatchdogs {
public:
    enum class Kind { Download = 3, FileSize = 4 };

    TransferWatchdogs(ExchangeState& state, SdCardTransferHandler* sdCard, TaskThreads& tasks,
                      const MonotonicClock& time = SteadyTime());
    TransferWatchdogs(const TransferWatchdogs&) = delete;
    TransferWatchdogs& operator=(const TransferWatchdogs&) = delete;
    // Stops and joins every watchdog thread.
    ~TransferWatchdogs();
    // The same, earlier: no watchdog starts or acts afterwards. Not on a
    // watchdog thread.
    void Shutdown();

    // TransferLock. The receive thread holds it while it handles a download
    // report.
    std::mutex& TransferLock() { return m_lock; }

    // Receive thread, TransferLock held: a report of the transfer arrived.
    // Resets the silence and starts a watchdog of `kind` when none is
    // running.
    void NoteReportLocked(Kind kind);
    // Receive thread, TransferLock held: the transfer ended normally.
    void EndTransferLocked();

    // Called by a watchdog that gives its transfer up (TransferLock held,
    // before AbandonTransfer is started), so that the receive thread stops
    // treating reports as part of that transfer. Must not block.
    void SetAbandonHook(std::function<void(Kind)> hook);

    // Test side; each takes TransferLock.
    int RetryCount() const;
    bool WatchdogRunning() const;
    bool TransferDone() const;
    bool TransferFinished() const;
    int LiveWatchdogThreads() const;

private:
    struct Watchdog {
        OwnedThread thread;
        bool finished = false;
    };

    void Run(Kind kind, std::uint64_t generation, Watchdog* self);
    void ReapLocked();

    ExchangeState& m_state;
    SdCardTransferHandler* m_sdCard;
    TaskThreads& m_tasks;
    const MonotonicClock& m_time;
    std::function<void(Kind)> m_abandonHook;

    mutable std::mutex m_lock;  // TransferLock
    std::condition_variable_any m_wake;
    int m_retryCount = 0;             // RetryCount
    bool m_watchdogRunning = false;   // WatchdogRunning
    bool m_transferDone = false;      // TransferDone
    bool m_transferFinished = false;  // TransferFinished
    MonotonicClock::TimePoint m_lastReport{};
    // Each started watchdog gets the next number; one that no longer holds the
    // current number has been superseded and ends without touching anything.
    std::uint64_t m_generation = 0;
    bool m_stopping = false;
    std::list<Watchdog> m_threads;
};

}  // namespace orvane
