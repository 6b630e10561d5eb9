#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "ControlWindow.h"
#include "ExchangeState.h"
#include "HistoryDatabase.h"
#include "LogImport.h"
#include "MonotonicClock.h"
#include "OwnedThread.h"
#include "ReplyHandlers.h"
#include "SdCardControls.h"
#include "SdCardView.h"
#include "StringTable.h"
#include "Transactor.h"

namespace orvane {

// The import of a finished download; ImportDownloadedFile unless a test
// puts another in its place.
using DownloadImportFunction =
    std::function<LogImportResult(const QString& localPath, const ImportProgress& progress)>;

// The SD-card window's behaviour: the file list with its sizes, downloads
// that resume where the local copy ends, the watchdogs' restart and
// abandon, deletion, and the import of a finished download. It reaches its
// window only through ControlWindow and SdCardView, and is the link's
// SdCardTransferHandler.
//
// The object lives as long as the application; its members keep their
// values from one opening of the window to the next. Threads: OpenWindow,
// ClickFileRow, SaveAs, DeleteFile and Exit run on the window's (GUI)
// thread; the SdCardTransferHandler operations where ReplyHandlers.h says.
// No lock of this class is held while the window, the view or the station
// is called, and nothing here waits for TransferLock.
class CReadSDcard : public SdCardTransferHandler {
public:
    CReadSDcard(ExchangeState& state, ControlWindow& window, SdCardView& view,
                RequestSender sendText, Transactor& transactor, QString dataFolder);
    ~CReadSDcard() override;  // waits for a running import

    CReadSDcard(const CReadSDcard&) = delete;
    CReadSDcard& operator=(const CReadSDcard&) = delete;

    // Replaces the import (before the first download).
    void SetImport(DownloadImportFunction import);
    // The time in which a transfer's silence is measured (before the first
    // transfer; the steady clock otherwise).
    void SetClock(const MonotonicClock& time) { m_time = &time; }

    // How the window is opened when the list reply is complete: called on
    // the receive thread, it must only queue the opening (which calls
    // OpenWindow on the window's thread). Set before the link starts.
    void SetOpener(std::function<void()> opener);

    // The complete "SDcard file:" reply that the next opening lists.
    void SetFileListText(const QString& text);
    QString FileListText() const;

    // Window thread: the window opens (texts in the language of Main.ini
    // in the data folder, or in `language`; the file list; the first size
    // request).
    void OpenWindow();
    void OpenWindow(UiLanguage language);
    void ClickFileRow(int row);  // -1: the click hit no row
    void SaveAs();
    void DeleteFile();
    // Exit and window close: false (with text 149) while a transfer runs.
    // A transfer that has been silent far beyond the watchdogs' reach (the
    // station never answered at all) is abandoned instead.
    bool Exit();

    // SdCardTransferHandler.
    void OpenWithFileList(const QString& listText) override;
    void FileSizeReportArrived() override;
    bool StoreFileSize(const QString& sizeText) override;
    void RequestFileSize() override;
    bool DownloadHeaderHandled() const override;
    qint64 DownloadStartOffset() const override;
    void DownloadHeader(const QByteArray& firstData, qint64 total) override;
    void DownloadData(const QByteArray& data) override;
    void DownloadEnded(qint64 total) override;
    // Restarts from where the local copy stood before this download began:
    // a copy that existed keeps its bytes and only the new part travels
    // again; a copy this download created starts over from 0.
    void RestartDownload() override;
    // Drops only what the interrupted download appended (a copy it created
    // is deleted, an older copy returns to its earlier size); after a size
    // listing no file is touched.
    void AbandonTransfer() override;

    // Any thread.
    bool IsDownloading() const { return m_downloading; }
    // The local copy could not be written during the current download.
    bool WriteFailed() const { return m_writeFailed; }
    bool IsListingSizes() const override { return m_listing; }
    bool IsImportRunning() const { return m_importRunning; }
    void WaitForImport();  // not from a thread the import calls into
    QStringList FileNames() const;
    QString LocalPath() const;
    qint64 StartOffset() const;
    qint64 DownloadTotal() const;  // bytes announced minus the start offset
    int SelectedRow() const;
    UnitCaptions ImportedUnits() const;
    std::shared_ptr<const LogTable> ImportedTable() const;
    QString DatabasePath() const;
    QString DataFolder() const { return m_dataFolder; }
    UiLanguage Language() const { return m_language; }

private:
    QString Text(int id) const { return LoadString(id, m_language.load()); }
    void FillFileList();
    // The name shown in kSelectedName when it may be saved or deleted now; the empty
    // text, after telling the user why, otherwise.
    QString ChosenFileName();
    void TouchActivity();
    bool TransferIsStale() const;
    // Opens the local copy for a download; false (after the message) when
    // it can be neither opened nor created. Caller holds m_mutex.
    bool OpenLocalCopyLocked(QString& error);
    void AppendToLocalCopy(const QByteArray& data, bool header, qint64 total);
    // Gives a transfer up that no watchdog looks after, with the flags the
    // link would otherwise reset.
    void GiveUpLocally();
    void StartImport(const QString& localPath);
    void ReturnPendingRequest(int code);
    // Ends a download whose local copy could not be written: the copy keeps
    // what was written, nothing is imported. Caller holds m_mutex.
    void StopAfterWriteErrorLocked(const QString& reason);
    void BusyWait() const;
    qint64 NowMs() const;

    ExchangeState& m_state;
    ControlWindow& m_window;
    SdCardView& m_view;
    RequestSender m_sendText;
    Transactor& m_transactor;
    const QString m_dataFolder;
    DownloadImportFunction m_import;
    HistoryDatabase m_database;  // used by the import thread only
    const MonotonicClock* m_time = &SteadyTime();

    std::atomic<UiLanguage> m_language{UiLanguage::English};
    std::atomic<bool> m_downloading{false};
    std::atomic<bool> m_listing{false};
    std::atomic<bool> m_importRunning{false};
    std::atomic<qint64> m_lastActivityMs{0};
    std::atomic<bool> m_writeFailed{false};
    std::atomic<bool> m_importedThisOpening{false};

    mutable std::mutex m_mutex;  // everything below
    QString m_fileListText;
    std::function<void()> m_opener;
    QStringList m_names;
    QStringList m_sizes;  // size texts, empty until each arrives
    int m_lastRow = -1;
    int m_currentRow = 0;
    int m_selectedRow = 0;
    QString m_currentFileName;
    QString m_localPath;
    std::unique_ptr<QFile> m_file;
    qint64 m_startOffset = 0;
    bool m_createdByDownload = false;  // the local copy did not exist before
    qint64 m_progressValue = 0;
    int m_chunkCount = 0;
    qint64 m_downloadTotal = 0;
    UnitCaptions m_unitCaptions;
    std::shared_ptr<const LogTable> m_table;

    std::mutex m_importMutex;
    OwnedThread m_importThread;  // guarded by m_importMutex
};

}  // namespace orvane
