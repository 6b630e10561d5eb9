#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace orvane {

class LinkEvents;

// The consumers of the station's tagged replies. The receive thread assembles
// each reply and hands it over through these interfaces; the transfer
// watchdogs act through SdCardTransferHandler. Every consumer lives at least
// as long as the DeviceLink (and so the receive thread) that calls it.
//
// Rules for every call below unless it says otherwise:
// - it comes on the receive thread, and the next input report is handled only
//   after it returns, so it must return promptly: a window is opened by a
//   queued call to the GUI thread, never waited for;
// - it may make synchronous ControlWindow calls (these wait for the GUI
//   thread), so the GUI thread must never wait for the receive thread.
//   Shut the control windows down (QtControlWindow::Shutdown) before the
//   link objects are destroyed;
// - the flags named as already done are changed by the receive thread; the
//   consumer must not repeat them.

// The settings reply ("Setting:"), parsed and applied to the settings window.
class SettingsReplyHandler {
public:
    virtual ~SettingsReplyHandler() = default;
    // The reply is complete: `replyText` contains "\r\n@" and equals
    // SettingReplyText, which keeps the text (only the Read procedure empties
    // it). Already done: AwaitingSetting cleared. The handler does its own
    // RequestBusy handling (waits once when set, sets it, clears it on every
    // exit), parses and applies, shows its message boxes through the
    // ControlWindow. After it returns the receive thread clears RequestBusy
    // and sets PendingRequest to 0.
    virtual void HandleSettingReply(const QString& replyText) = 0;
};

// The current readings ("Now Data:"), parsed and shown in the settings window.
class CurrentReadingsHandler {
public:
    virtual ~CurrentReadingsHandler() = default;
    // The reply is complete: `replyText` is a copy of NowDataReplyText and
    // contains "@". Already done: AwaitingNowData cleared. After it returns
    // the receive thread clears RequestBusy, sets PendingRequest to 0 and tells
    // LinkEvents::CurrentReadingsDone; the handler does none of that.
    virtual void HandleNowDataReply(const QString& replyText) = 0;
};

// The max/min window ("MAX MIN:").
class MaxMinWindowOpener {
public:
    virtual ~MaxMinWindowOpener() = default;
    // The reply is complete: `replyText` is a copy of MaxMinReplyText and
    // contains "@". Already done: AwaitingMaxMin and RequestBusy cleared,
    // PendingRequest 0. Store the text as the window's reply text and open
    // the window (queued to the GUI thread); return without waiting for it.
    virtual void OpenMaxMinWindow(const QString& replyText) = 0;
};

// The SD-card window's side of the list, size listing and download.
//
// Download calls (DownloadHeaderHandled, DownloadStartOffset, DownloadHeader,
// DownloadData, DownloadEnded) come on the receive thread with TransferLock
// held: they must not wait for anything that takes TransferLock or waits for
// the receive thread. The file data is passed as the received bytes (each
// report's payload up to its first zero byte), to be stored exactly as they
// are, appended at the end of the local copy.
class SdCardTransferHandler {
public:
    virtual ~SdCardTransferHandler() = default;

    // -- File list ("SDcard file:") --
    // The list reply is complete (`listText` is a copy of SdListReplyText and
    // contains "@"). Already done: AwaitingSdList and RequestBusy cleared,
    // PendingRequest 0. Copy the text into the window's file-list text and
    // open the window (queued to the GUI thread; its opening lists the files,
    // sets PendingRequest to 4 and sends the first size request). Return
    // without waiting for the window.
    virtual void OpenWithFileList(const QString& listText) = 0;

    // -- Size listing ("File Size:", one report per file) --
    // Every "File Size:" report, with or without a size in it: disable Save
    // as and Delete File. TransferLock is not held.
    virtual void FileSizeReportArrived() = 0;
    // A size arrived for the current row: put `sizeText` ("2.00KB", "1.91MB")
    // into column 1 of the current row of the file list and advance the current
    // row. When the current row is now beyond the last row the listing is
    // complete: clear the size-listing-in-progress flag, enable Save as
    // and return true; the receive thread then sets PendingRequest to
    // 0 and ends the file-size watchdog. Otherwise return false; the receive
    // thread then calls RequestFileSize. TransferLock is not held.
    virtual bool StoreFileSize(const QString& sizeText) = 0;
    // Whether a size listing is running. A "File Size:" report that comes
    // while none is (a late answer to a repeated request) is no part of any
    // transfer: the receive thread drops it and keeps the kind it had.
    virtual bool IsListingSizes() const { return true; }
    // Send "Read&File Size=%s&http 1.0" with SendText for the file of the
    // current row; no flag changes. Comes on the receive thread (lock not
    // held) after StoreFileSize returned false, or on the file-size watchdog
    // thread WITH TransferLock held when a size did not come in time.
    virtual void RequestFileSize() = 0;

    // -- Download ("Read File:" header, data reports, a report with "@") --
    // Whether the header of the current download has been handled (the chunk
    // count is not 0). Save as and RestartDownload set the count to 0 before
    // they send the request.
    virtual bool DownloadHeaderHandled() const = 0;
    // The start offset the current download was requested from.
    virtual qint64 DownloadStartOffset() const = 0;
    // The header report: append `firstData` (the text after its first ">")
    // to the local copy, set the chunk count to 1, set the progress range to
    // 0..`total` (the announced size minus the start offset; it may be 0 or
    // negative for a malformed header: the download goes on regardless).
    virtual void DownloadHeader(const QByteArray& firstData, qint64 total) = 0;
    // A data report: append `data`, add 59 to the progress value and move the
    // progress bar to it.
    virtual void DownloadData(const QByteArray& data) = 0;
    // The report with "@" arrived (its text is not file data). Already done:
    // the transfer flags of the watchdog; after the call the receive thread
    // clears RequestBusy and sets PendingRequest to 0. Clear the
    // download-in-progress flag, set the status text to "ok...", move
    // the progress bar to `total`, close the local copy and start the import
    // on a thread the window owns; return without waiting for the import.
    virtual void DownloadEnded(qint64 total) = 0;

    // -- Watchdog actions (no lock held; a thread the link owns) --
    // The first stall of a download: close and delete the local copy, reopen
    // it empty, set the start offset to 0, progress value and bar to 0, send
    // "read&File=%s&Start=%d&http 1.0" again, set the chunk count to 0, status
    // text 148. RequestBusy, PendingRequest and the download flag stay.
    virtual void RestartDownload() = 0;
    // The second stall of a download or of the size listing: clear the
    // download-in-progress and size-listing-in-progress flags, enable Save as
    // and Graph, and when a download was interrupted close its
    // local copy and delete it (ignoring errors); after a stalled size listing
    // no file is touched. Already done by the link before the call: the
    // transfer's PendingRequest code (3 or 4) set back to 0, RequestBusy
    // cleared, the receive thread stops treating reports as part of it.
    virtual void AbandonTransfer() = 0;
};

// The settings window's Read procedure (its Read button).
class SettingsReader {
public:
    virtual ~SettingsReader() = default;
    // Probe, set the request flags, empty SettingReplyText, send
    // "Read&Time&http 1.0\r\n" and schedule the buttons' return, exactly as a
    // press on Read does. Comes on the link thread after every opening of the
    // receive connection; it must not wait for the reply.
    virtual void ReadSettings() = 0;
};

// Who gets what. Any pointer may be null: the reply is then still assembled
// and its flags cleared, but nobody is told.
struct ReplyConsumers {
    SettingsReplyHandler* settings = nullptr;
    CurrentReadingsHandler* currentReadings = nullptr;
    MaxMinWindowOpener* maxMin = nullptr;
    SdCardTransferHandler* sdCard = nullptr;
    // Told when a current-readings reply was handed over.
    LinkEvents* events = nullptr;
};

}  // namespace orvane
