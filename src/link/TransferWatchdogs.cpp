#include "TransferWatchdogs.h"

#include "Timing.h"

namespace orvane {

TransferWatchdogs::TransferWatchdogs(ExchangeState& state, SdCardTransferHandler* sdCard,
                                     TaskThreads& tasks, const MonotonicClock& time)
    : m_state(state), m_sdCard(sdCard), m_tasks(tasks), m_time(time) {}

TransferWatchdogs::~TransferWatchdogs() {
    Shutdown();
}

void TransferWatchdogs::Shutdown() {
    std::list<Watchdog> threads;
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
        threads.splice(threads.end(), m_threads);
    }
    m_wake.notify_all();
    for (Watchdog& watchdog : threads) watchdog.thread.Join();
}

void TransferWatchdogs::SetAbandonHook(std::function<void(Kind)> hook) {
    std::lock_guard lock(m_lock);
    m_abandonHook = std::move(hook);
}

void TransferWatchdogs::NoteReportLocked(Kind kind) {
    m_lastReport = m_time.Now();
    if (m_watchdogRunning || m_stopping) return;
    m_transferDone = false;
    m_transferFinished = false;
    m_retryCount = 0;
    const std::uint64_t generation = ++m_generation;
    ReapLocked();
    m_threads.emplace_back();
    Watchdog* self = &m_threads.back();
    self->thread.Start(
        kind == Kind::Download ? "orv-dl-watch" : "orv-size-watch",
        [this, kind, generation, self](std::stop_token) { Run(kind, generation, self); });
    m_watchdogRunning = true;
}

void TransferWatchdogs::EndTransferLocked() {
    m_transferDone = true;
    m_transferFinished = true;
    m_watchdogRunning = false;
    m_wake.notify_all();
}

void TransferWatchdogs::Run(Kind kind, std::uint64_t generation, Watchdog* self) {
    const Timings& timings = GetTimings();
    const auto silence = kind == Kind::Download ? timings.downloadSilence : timings.fileSizeSilence;
    std::unique_lock lock(m_lock);
    bool current = true;
    while (!m_stopping) {
        if (generation != m_generation) {
            current = false;  // a later transfer has its own watchdog
            break;
        }
        if (m_transferDone || m_transferFinished) break;
        if (m_time.Now() - m_lastReport > silence) {
            if (m_retryCount != 0) {
                // Nothing else may act on this transfer from now on.
                ++m_generation;
                current = false;
                m_retryCount = 0;
                m_watchdogRunning = false;
                // Nothing is awaited any more, so the poll of the current
                // readings resumes; and late reports no longer count.
                int code = static_cast<int>(kind);
                if (m_state.pendingRequest.compare_exchange_strong(code, kPendingNone))
                    m_state.requestBusy = false;
                if (m_abandonHook) m_abandonHook(kind);
                if (m_sdCard) m_tasks.Start([sdCard = m_sdCard] { sdCard->AbandonTransfer(); });
                break;
            }
            if (kind == Kind::Download) {
                if (m_sdCard) m_tasks.Start([sdCard = m_sdCard] { sdCard->RestartDownload(); });
            } else if (m_sdCard) {
                m_sdCard->RequestFileSize();
            }
            ++m_retryCount;
            m_lastReport = m_time.Now();
        }
        // Nothing can change the outcome before the silence could have
        // passed, unless the transfer ends or a stop comes (both notify).
        m_time.WaitUntil(m_wake, lock, {}, m_lastReport + silence + std::chrono::milliseconds(1),
                         [&] {
                             return m_stopping || m_transferDone || m_transferFinished ||
                                    generation != m_generation;
                         });
    }
    if (current && generation == m_generation) {
        m_retryCount = 0;
        m_watchdogRunning = false;
    }
    self->finished = true;
}

void TransferWatchdogs::ReapLocked() {
    for (auto it = m_threads.begin(); it != m_threads.end();) {
        if (it->finished) {
            it->thread.Join();
            it = m_threads.erase(it);
        } else {
            ++it;
        }
    }
}

int TransferWatchdogs::RetryCount() const {
    std::lock_guard lock(m_lock);
    return m_retryCount;
}

bool TransferWatchdogs::WatchdogRunning() const {
    std::lock_guard lock(m_lock);
    return m_watchdogRunning;
}

bool TransferWatchdogs::TransferDone() const {
    std::lock_guard lock(m_lock);
    return m_transferDone;
}

bool TransferWatchdogs::TransferFinished() const {
    std::lock_guard lock(m_lock);
    return m_transferFinished;
}

int TransferWatchdogs::LiveWatchdogThreads() const {
    std::lock_guard lock(m_lock);
    int live = 0;
    for (const Watchdog& watchdog : m_threads) live += watchdog.finished ? 0 : 1;
    return live;
}

}  // namespace orvane
