#include "CReadSDcard.h"

#include <QDir>
#include <chrono>
#include <thread>

#include "AppIni.h"
#include "DataFolder.h"
#include "LanguageChoice.h"
#include "Requests.h"
#include "SdCardProtocol.h"
#include "Timing.h"

namespace orvane {

namespace {

const QString kOk = QStringLiteral("ok...");
const QString kOpenError = QStringLiteral("Open Error");
const QString kCreateError = QStringLiteral("Create Error");
const QString kUnconnected = QStringLiteral("Unconnected");
const QString kInvalidName = QStringLiteral("Invalid file name");

int ClampToInt(qint64 value) {
    if (value < 0) return 0;
    return value > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : int(value);
}

}  // namespace

CReadSDcard::CReadSDcard(ExchangeState& state, ControlWindow& window, SdCardView& view,
                         RequestSender sendText, Transactor& transactor, QString dataFolder)
    : m_state(state),
      m_window(window),
      m_view(view),
      m_sendText(std::move(sendText)),
      m_transactor(transactor),
      m_dataFolder(std::move(dataFolder)),
      m_database(&window) {
    m_import = [this](const QString& localPath, const ImportProgress& progress) {
        LogImportResult result = ImportDownloadedFile(localPath, DatabasePath(), m_database,
                                                      &m_window, progress, m_language.load());
        // The refill stands on its own; the archive's failure is said, not hidden.
        if (!result.archiveError.isEmpty()) m_window.MessageBox(Text(430).arg(result.archiveError));
        return result;
    };
}

CReadSDcard::~CReadSDcard() {
    WaitForImport();
    std::lock_guard lock(m_mutex);
    if (m_file) m_file->close();
}

void CReadSDcard::SetImport(DownloadImportFunction import) {
    m_import = std::move(import);
}

void CReadSDcard::SetOpener(std::function<void()> opener) {
    std::lock_guard lock(m_mutex);
    m_opener = std::move(opener);
}

void CReadSDcard::SetFileListText(const QString& text) {
    std::lock_guard lock(m_mutex);
    m_fileListText = text;
}

QString CReadSDcard::FileListText() const {
    std::lock_guard lock(m_mutex);
    return m_fileListText;
}

void CReadSDcard::OpenWindow() {
    const AppIni ini(QDir(m_dataFolder).filePath(QString::fromLatin1(kIniFileName)));
    OpenWindow(LanguageFromKey(ini.Read(AppIni::kLanguageSection, AppIni::kLanguageKey)));
}

void CReadSDcard::OpenWindow(UiLanguage language) {
    m_state.sdWindowOpen = true;
    m_language = language;

    m_window.SetTitle(Text(134));
    m_window.SetText(SdCardId::kSaveAs, Text(186));
    m_window.SetText(SdCardId::kDeleteFile, Text(187));
    m_window.SetText(SdCardId::kGraph, Text(193));
    m_window.SetText(SdCardId::kExit, Text(170));
    m_window.SetText(SdCardId::kNameLabel, Text(142) + QLatin1Char(':'));
    m_window.SetText(SdCardId::kSizeLabel, Text(143) + QLatin1Char(':'));
    m_window.SetText(SdCardId::kSelectedName, Text(144));
    m_window.SetText(SdCardId::kSelectedSize, QStringLiteral("-------"));
    m_window.SetText(SdCardId::kStatus, QString());
    m_window.SetVisible(SdCardId::kHiddenCombo, false);
    m_window.SetEnabled(SdCardId::kSaveAs, true);
    m_window.SetEnabled(SdCardId::kDeleteFile, true);
    m_view.SetProgress(0);

    m_downloading = false;
    m_listing = false;
    m_writeFailed = false;
    m_importedThisOpening = false;
    FillFileList();

    {
        std::lock_guard lock(m_mutex);
        m_selectedRow = 0;
    }
    m_window.SetEnabled(SdCardId::kGraph, false);
}

void CReadSDcard::FillFileList() {
    QStringList names;
    for (const QString& name : ParseFileList(FileListText())) {
        // A name that cannot travel in a request or would leave the data
        // folder can be neither sized, saved nor deleted.
        if (IsSafeFileName(name)) names.append(name);
    }
    {
        std::lock_guard lock(m_mutex);
        m_names = names;
        m_sizes = QStringList();
        for (qsizetype i = 0; i < names.size(); ++i) m_sizes.append(QString());
        m_currentRow = 0;
        m_lastRow = int(names.size()) - 1;
    }
    m_view.SetFileRows(names);

    m_state.pendingRequest = kPendingFileSizes;
    if (names.isEmpty()) {
        // No size request goes out, so nothing would ever clear the code and
        // the readings poll would stay stopped.
        m_state.pendingRequest = kPendingNone;
        return;
    }
    m_listing = true;
    TouchActivity();
    if (!m_sendText(BuildFileSizeRequest(names.first()))) {
        // Nothing will answer: the list stays without sizes, the window free.
        GiveUpLocally();
        m_window.MessageBox(Text(197));
    }
}

void CReadSDcard::ClickFileRow(int row) {
    QString name;
    QString size;
    {
        std::lock_guard lock(m_mutex);
        m_selectedRow = row >= 0 && row < m_names.size() ? row : -1;
        if (m_selectedRow >= 0) {
            name = m_names.at(m_selectedRow);
            size = m_sizes.at(m_selectedRow);
        }
    }
    m_window.SetText(SdCardId::kSelectedName, name);
    m_window.SetText(SdCardId::kSelectedSize, size);
    // Deleting the file that is being written, or while the sizes arrive,
    // would pull the ground from under the transfer.
    m_window.SetEnabled(SdCardId::kDeleteFile, !m_downloading && !m_listing);
    m_window.SetText(SdCardId::kStatus, QString());
    if (!m_downloading) m_view.SetProgress(0);
}

bool CReadSDcard::OpenLocalCopyLocked(QString& error) {
    const bool existed = QFile::exists(m_localPath);
    if (m_file) m_file->close();
    m_file = std::make_unique<QFile>(m_localPath);
    if (!m_file->open(QIODevice::ReadWrite)) {
        m_file.reset();
        error = existed ? kOpenError : kCreateError;
        return false;
    }
    // The local copy holds exactly the bytes received, so its size is the
    // offset from which the station's file goes on.
    m_startOffset = m_file->size();
    m_progressValue = 0;
    m_chunkCount = 0;
    m_downloadTotal = 0;
    return true;
}

QString CReadSDcard::ChosenFileName() {
    const QString shown = m_window.Text(SdCardId::kSelectedName);
    QString selected;
    {
        std::lock_guard lock(m_mutex);
        if (m_selectedRow >= 0 && m_selectedRow < m_names.size())
            selected = m_names.at(m_selectedRow);
    }
    // The file is the selected row's, and only when the labels show that
    // same file: what the user sees is what is saved or deleted.
    if (shown.isEmpty() || shown == Text(144) || shown != selected) {
        m_window.MessageBox(Text(145));
        return {};
    }
    if (m_downloading || m_listing) {
        m_window.MessageBox(Text(146));
        return {};
    }
    if (!IsSafeFileName(selected)) {
        m_window.MessageBox(kInvalidName);
        return {};
    }
    return selected;
}

void CReadSDcard::SaveAs() {
    m_window.SetEnabled(SdCardId::kSaveAs, false);
    const QString name = ChosenFileName();
    if (name.isEmpty()) {
        if (!m_downloading && !m_listing) m_window.SetEnabled(SdCardId::kSaveAs, true);
        return;
    }
    m_window.SetEnabled(SdCardId::kDeleteFile, false);
    m_window.SetText(SdCardId::kStatus, Text(146));

    QString error;
    qint64 start = 0;
    {
        std::lock_guard lock(m_mutex);
        m_localPath = QDir(m_dataFolder).filePath(name);
        m_currentFileName = name;
        m_writeFailed = false;
        m_createdByDownload = !QFile::exists(m_localPath);
        if (!OpenLocalCopyLocked(error)) m_localPath.clear();
        start = m_startOffset;
    }
    if (!error.isEmpty()) {
        m_window.MessageBox(error);
        m_window.SetEnabled(SdCardId::kSaveAs, true);
        m_window.SetEnabled(SdCardId::kDeleteFile, true);
        return;
    }
    m_view.SetProgress(0);

    if (m_state.requestBusy) BusyWait();
    m_state.requestBusy = true;
    m_downloading = true;
    m_state.pendingRequest = kPendingFileDownload;
    TouchActivity();
    // Shown before the request goes out: a short file can be received and
    // imported (status "ok...") before the send call returns here.
    m_window.SetText(SdCardId::kStatus, Text(148));
    if (!m_sendText(BuildFileReadRequest(name, start))) {
        // Nothing will answer, so no watchdog will ever end this download.
        GiveUpLocally();
        m_window.SetText(SdCardId::kStatus, QString());
        m_window.MessageBox(Text(197));
    }
}

void CReadSDcard::DeleteFile() {
    const QString name = ChosenFileName();
    if (name.isEmpty() || !m_window.Confirm(Text(147) + QLatin1Char('\n') + name)) return;

    if (m_state.requestBusy) BusyWait();
    m_state.requestBusy = true;
    const QString answer = m_transactor.Transact(BuildDeleteFileRequest(name));
    // The exchange is over when Transact returns; a flag left set would
    // only delay every later request.
    m_state.requestBusy = false;

    const QString path = QDir(m_dataFolder).filePath(name);
    if (!answer.contains(QStringLiteral("success"))) {
        m_window.MessageBox(answer.contains(kUnconnected) ? kUnconnected : Text(189));
        return;
    }

    int removed = -1;
    int selected = -1;
    QString nextName;
    QString nextSize;
    {
        std::lock_guard lock(m_mutex);
        m_localPath = path;
        QFile::remove(path);
        removed = int(m_names.indexOf(name));
        if (removed >= 0) {
            m_names.removeAt(removed);
            m_sizes.removeAt(removed);
            m_lastRow = int(m_names.size()) - 1;
        }
        // Row 0 is the selection now, in the list as in the labels.
        selected = m_names.isEmpty() ? -1 : 0;
        m_selectedRow = std::max(selected, 0);
        if (selected == 0) {
            nextName = m_names.first();
            nextSize = m_sizes.first();
        }
    }
    if (removed >= 0) m_view.RemoveFileRow(removed);
    m_view.SelectFileRow(selected);
    m_window.SetText(SdCardId::kSelectedName, nextName);
    m_window.SetText(SdCardId::kSelectedSize, nextSize);
    m_window.SetEnabled(SdCardId::kDeleteFile, selected >= 0);
    m_window.SetEnabled(SdCardId::kSaveAs, selected >= 0);
    m_window.MessageBox(Text(188));
}

bool CReadSDcard::Exit() {
    if (m_downloading || m_listing) {
        if (!TransferIsStale()) {
            m_window.MessageBox(Text(149));
            return false;
        }
        GiveUpLocally();
    }
    m_state.sdWindowOpen = false;
    m_downloading = false;
    m_listing = false;
    return true;
}

void CReadSDcard::OpenWithFileList(const QString& listText) {
    SetFileListText(listText);
    std::function<void()> opener;
    {
        std::lock_guard lock(m_mutex);
        opener = m_opener;
    }
    if (opener) opener();
}

void CReadSDcard::FileSizeReportArrived() {
    // A size that arrives after the listing ended or was given up must not
    // take the buttons away.
    if (!m_listing) return;
    TouchActivity();
    m_window.SetEnabled(SdCardId::kSaveAs, false);
    m_window.SetEnabled(SdCardId::kDeleteFile, false);
}

bool CReadSDcard::StoreFileSize(const QString& sizeText) {
    // A stray size has no row; answering "more to come" leaves the pending
    // code alone, and RequestFileSize then sends nothing.
    if (!m_listing) return false;
    int row = -1;
    bool complete = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_currentRow > m_lastRow) return false;
        row = m_currentRow;
        m_sizes[row] = sizeText;
        ++m_currentRow;
        complete = m_currentRow > m_lastRow;
    }
    m_view.SetFileSize(row, sizeText);
    if (!complete) return false;
    m_listing = false;
    m_window.SetEnabled(SdCardId::kSaveAs, true);
    return true;
}

void CReadSDcard::RequestFileSize() {
    if (!m_listing) return;
    QString name;
    {
        std::lock_guard lock(m_mutex);
        if (m_currentRow < 0 || m_currentRow > m_lastRow) return;
        name = m_names.at(m_currentRow);
    }
    TouchActivity();
    m_sendText(BuildFileSizeRequest(name));
}

bool CReadSDcard::DownloadHeaderHandled() const {
    std::lock_guard lock(m_mutex);
    return m_chunkCount != 0;
}

qint64 CReadSDcard::DownloadStartOffset() const {
    std::lock_guard lock(m_mutex);
    return m_startOffset;
}

void CReadSDcard::DownloadHeader(const QByteArray& firstData, qint64 total) {
    AppendToLocalCopy(firstData, true, total);
}

void CReadSDcard::DownloadData(const QByteArray& data) {
    AppendToLocalCopy(data, false, 0);
}

void CReadSDcard::AppendToLocalCopy(const QByteArray& data, bool header, qint64 total) {
    // Reports of a download that was given up, or whose copy could not be
    // written, have no file to go to.
    if (!m_downloading || m_writeFailed) return;
    TouchActivity();
    qint64 progress = 0;
    {
        std::lock_guard lock(m_mutex);
        if (!m_file) return;
        if (header) {
            m_downloadTotal = total;
            m_chunkCount = 1;
        }
        const qint64 written = m_file->size();
        m_file->seek(written);
        // On disk at once: a crash or a restart sees exactly what arrived.
        if (m_file->write(data) != data.size() || !m_file->flush()) {
            const QString reason = m_file->errorString();
            m_file->close();
            m_file.reset();
            // Back to the last whole report, so the copy holds exactly the
            // bytes received and a resume asks for the right offset.
            QFile::resize(m_localPath, written);
            StopAfterWriteErrorLocked(reason);
            return;
        }
        // The bar counts the bytes that arrived, so it ends at the total.
        m_progressValue += data.size();
        progress = m_progressValue;
    }
    if (header) m_view.SetProgressRange(ClampToInt(total));
    m_view.SetProgress(ClampToInt(progress));
}

void CReadSDcard::StopAfterWriteErrorLocked(const QString& reason) {
    m_writeFailed = true;
    const QString name = m_currentFileName;
    const bool chinese = EffectiveLanguage(m_language.load()) == UiLanguage::Chinese;
    const QString text =
        chinese ? QStringLiteral("写入 %1 失败：%2。已收到的部分已保留，再次保存将从那里继续。")
                      .arg(name, reason)
                : QStringLiteral(
                      "Could not write %1: %2. The part received is kept; Save as "
                      "goes on from there.")
                      .arg(name, reason);
    // The station goes on sending until its end mark (or the watchdog gives
    // up); the window stays busy until then and imports nothing. Raised on
    // the receive thread, the box is shown without waiting for the user.
    m_window.MessageBox(text);
}

void CReadSDcard::DownloadEnded(qint64 total) {
    if (!m_downloading) return;
    if (m_writeFailed) {
        // Nothing of a copy that could not be written is imported.
        m_downloading = false;
        m_window.SetText(SdCardId::kStatus, QString());
        m_window.SetEnabled(SdCardId::kSaveAs, true);
        return;
    }
    QString path;
    {
        std::lock_guard lock(m_mutex);
        if (m_file) {
            m_file->close();
            m_file.reset();
        }
        path = m_localPath;
        m_downloadTotal = total;
    }
    // Marked before the download flag clears, so that no one sees the
    // window idle between the end of the download and the import.
    m_importRunning = true;
    m_downloading = false;
    m_window.SetText(SdCardId::kStatus, kOk);
    m_view.SetProgress(ClampToInt(total));
    StartImport(path);
}

void CReadSDcard::RestartDownload() {
    // A copy that cannot be written would fail again; the watchdog gives up.
    if (!m_downloading || m_writeFailed) return;
    {
        std::lock_guard lock(m_mutex);
        if (m_file) m_file->close();
    }
    std::this_thread::sleep_for(GetTimings().writePause);

    QString error;
    QString name;
    qint64 start = 0;
    {
        std::lock_guard lock(m_mutex);
        if (!m_downloading) return;
        // Only what this download appended is dropped: a copy that existed
        // before stays as it was, so the download resumes from its end.
        if (m_createdByDownload) {
            QFile::remove(m_localPath);
        } else {
            QFile::resize(m_localPath, m_startOffset);
        }
        if (!OpenLocalCopyLocked(error)) {
            m_downloading = false;
        }
        name = m_currentFileName;
        start = m_startOffset;
    }
    if (!error.isEmpty()) {
        // The watchdog gives the transfer up at the next silence and resets
        // the request flags then.
        m_window.MessageBox(error);
        m_window.SetEnabled(SdCardId::kSaveAs, true);
        return;
    }
    m_view.SetProgress(0);
    TouchActivity();
    m_window.SetText(SdCardId::kStatus, Text(148));
    m_sendText(BuildFileReadRequest(name, start));
}

void CReadSDcard::AbandonTransfer() {
    if (m_downloading) {
        std::lock_guard lock(m_mutex);
        if (m_file) {
            // Drop only the bytes of the interrupted download; a local copy
            // that was complete before it began stays untouched.
            m_file->close();
            m_file.reset();
            if (m_createdByDownload)
                QFile::remove(m_localPath);
            else
                QFile::resize(m_localPath, m_startOffset);
        }
    }
    // Cleared only now, so that whoever sees the transfer over also finds
    // the local copy as it will stay.
    m_downloading = false;
    m_listing = false;
    m_window.SetEnabled(SdCardId::kSaveAs, true);
    // Graph shows what an import of this opening brought; a transfer given
    // up brought nothing.
    if (m_importedThisOpening) m_window.SetEnabled(SdCardId::kGraph, true);
}

void CReadSDcard::GiveUpLocally() {
    const bool wasDownloading = m_downloading;
    const bool wasListing = m_listing;
    AbandonTransfer();
    // Left set, the code would stop the readings poll for good.
    if (wasDownloading) {
        m_state.requestBusy = false;
        ReturnPendingRequest(kPendingFileDownload);
    }
    if (wasListing) ReturnPendingRequest(kPendingFileSizes);
}

void CReadSDcard::StartImport(const QString& localPath) {
    std::lock_guard importLock(m_importMutex);
    // Save as comes back only when an import is done, so the last one has
    // ended; only the exit of its thread may remain.
    m_importThread.Join();
    m_importRunning = true;
    m_view.ImportStarted();
    m_importThread.Start("orv-import", [this, localPath](std::stop_token) {
        LogImportResult result;
        if (m_import) {
            result = m_import(localPath, [this](int percent) { m_view.ImportProgress(percent); });
        }
        if (result.table) {
            std::lock_guard lock(m_mutex);
            m_unitCaptions = result.captions;
            m_table = result.table;
        }
        m_view.ImportFinished(result.table);
        // Save as comes back in every case, so a failed import can be tried
        // again; Graph only when the file was read.
        m_window.SetEnabled(SdCardId::kSaveAs, true);
        if (result.table) {
            m_importedThisOpening = true;
            m_window.SetEnabled(SdCardId::kGraph, true);
        }
        m_importRunning = false;
    });
}

void CReadSDcard::WaitForImport() {
    std::lock_guard importLock(m_importMutex);
    m_importThread.Join();
}

void CReadSDcard::ReturnPendingRequest(int code) {
    // Only the code this transfer set; a request sent meanwhile keeps its own.
    int expected = code;
    m_state.pendingRequest.compare_exchange_strong(expected, kPendingNone);
}

void CReadSDcard::BusyWait() const {
    std::this_thread::sleep_for(GetTimings().nowDataWaitBeforeRead);
}

qint64 CReadSDcard::NowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(m_time->Now().time_since_epoch()).count();
}

void CReadSDcard::TouchActivity() {
    m_lastActivityMs = NowMs();
}

bool CReadSDcard::TransferIsStale() const {
    const Timings& t = GetTimings();
    // Restart after one silence, abandon after the second: three silences
    // without a word mean no watchdog is looking after this transfer.
    const auto silence = m_downloading ? t.downloadSilence : t.fileSizeSilence;
    return NowMs() - m_lastActivityMs > 3 * silence.count();
}

QStringList CReadSDcard::FileNames() const {
    std::lock_guard lock(m_mutex);
    return m_names;
}

QString CReadSDcard::LocalPath() const {
    std::lock_guard lock(m_mutex);
    return m_localPath;
}

qint64 CReadSDcard::StartOffset() const {
    std::lock_guard lock(m_mutex);
    return m_startOffset;
}

qint64 CReadSDcard::DownloadTotal() const {
    std::lock_guard lock(m_mutex);
    return m_downloadTotal;
}

int CReadSDcard::SelectedRow() const {
    std::lock_guard lock(m_mutex);
    return m_selectedRow;
}

UnitCaptions CReadSDcard::ImportedUnits() const {
    std::lock_guard lock(m_mutex);
    return m_unitCaptions;
}

std::shared_ptr<const LogTable> CReadSDcard::ImportedTable() const {
    std::lock_guard lock(m_mutex);
    return m_table;
}

QString CReadSDcard::DatabasePath() const {
    return QDir(m_dataFolder).filePath(QString::fromLatin1(kDatabaseFileName));
}

}  // namespace orvane
