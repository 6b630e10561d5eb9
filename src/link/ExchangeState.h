#pragma once

#include <QString>
#include <algorithm>
#include <atomic>
#include <mutex>

#include "OwnedThread.h"

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

// The most a reply may grow to before it is taken for a runaway (a station
// that never sends its end mark); the largest real reply is a few KB.
inline constexpr qsizetype kMaxReplyChars = qsizetype(1) << 20;

// A reply text being assembled on the receive thread while a sender may
// empty it: the one place where text crosses threads, so it has a lock.
class ReplyBuffer {
public:
    enum class Appended { Incomplete, Complete, Overflow };

    void Clear() {
        std::lock_guard lock(m_mutex);
        m_text.clear();
    }
    void Append(const QString& text) {
        std::lock_guard lock(m_mutex);
        m_text += text;
    }
    // Appends `text` and looks for `endMark` only where it can newly appear
    // (the new part and the mark's length before it), so a long reply costs
    // time in proportion to its length. A text that would grow beyond
    // `limit` is emptied instead (Overflow).
    Appended AppendAndFind(const QString& text, QLatin1String endMark,
                           qsizetype limit = kMaxReplyChars) {
        std::lock_guard lock(m_mutex);
        if (m_text.size() + text.size() > limit) {
            m_text.clear();
            return Appended::Overflow;
        }
        const qsizetype from = std::max<qsizetype>(0, m_text.size() - endMark.size() + 1);
        m_text += text;
        m_searched += m_text.size() - from;
        return m_text.indexOf(endMark, from) >= 0 ? Appended::Complete : Appended::Incomplete;
    }
    // Characters looked at by AppendAndFind so far: the work a reply costs,
    // which has to grow with its length, not with its square.
    qsizetype Searched() const {
        std::lock_guard lock(m_mutex);
        return m_searched;
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
    qsizetype m_searched = 0;
};

// A flag the connection threads sleep on: every change wakes the state's
// signal, so the link and auto-read threads wait for changes instead of
// looking again and again. Reads and writes like the atomic it wraps.
template <class T>
class WatchedFlag {
public:
    WatchedFlag(WakeSignal& changed, T initial) : m_changed(changed), m_value(initial) {}
    WatchedFlag(const WatchedFlag&) = delete;
    WatchedFlag& operator=(const WatchedFlag&) = delete;

    T load() const { return m_value.load(); }
    operator T() const { return m_value.load(); }
    void store(T value) { exchange(value); }
    T exchange(T value) {
        const T previous = m_value.exchange(value);
        if (previous != value) m_changed.Notify();
        return previous;
    }
    WatchedFlag& operator=(T value) {
        store(value);
        return *this;
    }
    bool compare_exchange_strong(T& expected, T desired) {
        const bool swapped = m_value.compare_exchange_strong(expected, desired);
        if (swapped && expected != desired) m_changed.Notify();
        return swapped;
    }

private:
    WakeSignal& m_changed;
    std::atomic<T> m_value;
};

// The request flags and reply buffers shared by the senders, the receive
// thread and the connection threads. They are advisory: nothing blocks on
// them; each flag is read and written whole. One instance for the process,
// owned by the application and passed by reference.
struct ExchangeState {
    // Notified by every change of the watched flags below.
    WakeSignal changed;
    WatchedFlag<int> pendingRequest{changed, kPendingNone};  // PendingRequest
    std::atomic<bool> requestBusy{false};                    // RequestBusy
    std::atomic<bool> awaitingSetting{false};                // AwaitingSetting
    std::atomic<bool> awaitingNowData{false};                // AwaitingNowData
    std::atomic<bool> awaitingSdList{false};                 // AwaitingSdList
    std::atomic<bool> awaitingMaxMin{false};                 // AwaitingMaxMin
    WatchedFlag<bool> stationAttached{changed, false};       // StationAttached
    WatchedFlag<bool> reopenNeeded{changed, false};          // ReopenNeeded
    std::atomic<bool> sdWindowOpen{false};                   // SdWindowOpen

    ReplyBuffer settingReplyText;  // SettingReplyText
    ReplyBuffer nowDataReplyText;  // NowDataReplyText
    ReplyBuffer sdListReplyText;   // SdListReplyText
    ReplyBuffer maxMinReplyText;   // MaxMinReplyText
};

}  // namespace orvane
