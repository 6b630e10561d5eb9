#pragma once

#include <QString>
#include <atomic>
#include <mutex>

namespace orvane {

// Code of the reply the application waits for.
enum PendingRequestCode : int {
    kPendingNone = 0,
    kPendingSettings = 1,
    kPendingNowData = 2,
    kPendingFileDownload = 3,
    kPendingFileSizes = 4,
    kPendingSdList = 5,
    kPendingMaxMin = 6,
    kPendingWrite = 7,
};

// A reply text being assembled on the receive thread while a sender may
// empty it: the one place where text crosses threads, so it has a lock.
class ReplyBuffer {
public:
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_text.clear();
    }
    void Append(const QString& text) {
        std::lock_guard lock(m_mutex);
        m_text += text;
    }
    QString Text() const {
        std::lock_guard lock(m_mutex);
        return m_text;
    }
    qsizetype Size() const {
        std::lock_guard lock(m_mutex);
        return m_text.size();
    }

private:
    mutable std::mutex m_mutex;
    QString m_text;
};

// The request flags and reply buffers shared by the senders, the receive
// thread and the connection threads. They are advisory: nothing blocks on
// them; each flag is read and written whole. One instance for the process,
// owned by the application and passed by reference.
struct ExchangeState {
    std::atomic<int> pendingRequest{kPendingNone};  // PendingRequest
    std::atomic<bool> requestBusy{false};           // RequestBusy
    std::atomic<bool> awaitingSetting{false};       // AwaitingSetting
    std::atomic<bool> awaitingNowData{false};       // AwaitingNowData
    std::atomic<bool> awaitingSdList{false};        // AwaitingSdList
    std::atomic<bool> awaitingMaxMin{false};        // AwaitingMaxMin
    std::atomic<bool> stationAttached{false};       // StationAttached
    std::atomic<bool> reopenNeeded{false};          // ReopenNeeded
    std::atomic<bool> sdWindowOpen{false};          // SdWindowOpen

    ReplyBuffer settingReplyText;  // SettingReplyText
    ReplyBuffer nowDataReplyText;  // NowDataReplyText
    ReplyBuffer sdListReplyText;   // SdListReplyText
    ReplyBuffer maxMinReplyText;   // MaxMinReplyText
};

}  // namespace orvane
