#pragma once

#include <QByteArray>
#include <QStringList>
#include <atomic>
#include <mutex>
#include <optional>

#include "CUSBDrive.h"
#include "ExchangeState.h"
#include "LinkEvents.h"
#include "ReplyHandlers.h"
#include "Requests.h"

namespace orvane::test {

// Records every call of the receive thread and the watchdogs; behaves like
// the SD-card window as far as the link can see (current row, chunk count).
class RecordingConsumers : public SettingsReplyHandler,
                           public CurrentReadingsHandler,
                           public MaxMinWindowOpener,
                           public SdCardTransferHandler,
                           public SettingsReader {
public:
    void HandleSettingReply(const QString& text) override {
        Log(QStringLiteral("settings:") + text);
    }
    void HandleNowDataReply(const QString& text) override {
        Log(QStringLiteral("nowdata:") + text);
    }
    void OpenMaxMinWindow(const QString& text) override { Log(QStringLiteral("maxmin:") + text); }
    void OpenWithFileList(const QString& text) override { Log(QStringLiteral("list:") + text); }
    void FileSizeReportArrived() override { Log(QStringLiteral("size-report")); }
    bool StoreFileSize(const QString& sizeText) override {
        std::lock_guard lock(m_mutex);
        m_log << QStringLiteral("size:") + sizeText;
        ++currentRow;
        return currentRow > lastRow;
    }
    void RequestFileSize() override {
        Log(QStringLiteral("request-size:%1").arg(currentRow.load()));
        if (!drive) return;
        std::lock_guard lock(m_mutex);
        const int row = currentRow.load();
        drive->SendText(BuildFileSizeRequest(
            row < fileNames.size() ? fileNames[row] : QStringLiteral("F%1.CSV").arg(row)));
    }
    bool DownloadHeaderHandled() const override { return chunkCount.load() != 0; }
    qint64 DownloadStartOffset() const override { return startOffset.load(); }
    void DownloadHeader(const QByteArray& data, qint64 total) override {
        std::lock_guard lock(m_mutex);
        chunkCount = 1;
        file += data;
        m_log << QStringLiteral("header:%1").arg(total);
    }
    void DownloadData(const QByteArray& data) override {
        std::lock_guard lock(m_mutex);
        file += data;
        progress += 59;
    }
    void DownloadEnded(qint64 total) override { Log(QStringLiteral("ended:%1").arg(total)); }
    // Like the SD-card window: only what this download appended goes, and
    // it starts again from the end of the copy it resumed.
    void RestartDownload() override {
        QString name;
        const qint64 start = startOffset.load();
        {
            std::lock_guard lock(m_mutex);
            name = downloadName;
            file.truncate(start);
            chunkCount = 0;
            progress = 0;
            m_log << QStringLiteral("restart");
        }
        if (drive) drive->SendText(BuildFileReadRequest(name, start));
    }
    void AbandonTransfer() override {
        std::lock_guard lock(m_mutex);
        file.truncate(startOffset.load());
        m_log << QStringLiteral("abandon");
    }
    // A local copy left by an earlier download.
    void KeepLocalCopy(const QByteArray& bytes) {
        std::lock_guard lock(m_mutex);
        file = bytes;
    }
    // Save as: resume from what is stored.
    void StartDownload(ExchangeState& state, const QString& name) {
        qint64 start = 0;
        {
            std::lock_guard lock(m_mutex);
            downloadName = name;
            start = file.size();
        }
        startOffset = start;
        chunkCount = 0;
        state.requestBusy = true;
        state.pendingRequest = kPendingFileDownload;
        drive->SendText(BuildFileReadRequest(name, start));
    }
    void ReadSettings() override {
        Log(QStringLiteral("read-settings"));
        if (onReadSettings) onReadSettings();
    }

    QStringList Calls() const {
        std::lock_guard lock(m_mutex);
        return m_log;
    }
    int Count(const QString& prefix) const {
        std::lock_guard lock(m_mutex);
        int n = 0;
        for (const QString& call : m_log) n += call.startsWith(prefix) ? 1 : 0;
        return n;
    }
    QByteArray File() const {
        std::lock_guard lock(m_mutex);
        return file;
    }
    int Progress() const {
        std::lock_guard lock(m_mutex);
        return progress;
    }

    std::atomic<int> currentRow{0};
    std::atomic<int> lastRow{0};
    std::atomic<int> chunkCount{0};
    std::atomic<qint64> startOffset{0};
    CUSBDrive* drive = nullptr;
    QStringList fileNames;  // names of the size listing, by row
    QString downloadName = QStringLiteral("A.CSV");
    std::function<void()> onReadSettings;

private:
    void Log(const QString& entry) {
        std::lock_guard lock(m_mutex);
        m_log << entry;
    }

    mutable std::mutex m_mutex;
    QStringList m_log;
    QByteArray file;
    int progress = 0;
};

// Records what the link reports to its window.
class RecordingEvents : public LinkEvents {
public:
    void ConnectionChanged(bool attached) override {
        std::lock_guard lock(m_mutex);
        m_attached = attached;
        ++m_connectionReports;
    }
    void ClockTick(const QDateTime& now) override {
        std::lock_guard lock(m_mutex);
        m_lastTick = now;
        ++m_ticks;
    }
    void CurrentReadingsDone() override { ++readingsDone; }

    // Empty until the first report.
    std::optional<bool> Attached() const {
        std::lock_guard lock(m_mutex);
        return m_attached;
    }
    int ConnectionReports() const {
        std::lock_guard lock(m_mutex);
        return m_connectionReports;
    }
    int Ticks() const {
        std::lock_guard lock(m_mutex);
        return m_ticks;
    }

    std::atomic<int> readingsDone{0};

private:
    mutable std::mutex m_mutex;
    std::optional<bool> m_attached;
    int m_connectionReports = 0;
    int m_ticks = 0;
    QDateTime m_lastTick;
};

}  // namespace orvane::test
