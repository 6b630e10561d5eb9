#include "ReplyDispatcher.h"

#include <algorithm>
#include <mutex>

#include "LinkEvents.h"
#include "Readings.h"
#include "Requests.h"

namespace orvane {

namespace {

constexpr int kMaxReportPayload = 62;

bool Contains(const QString& text, const char* what) {
    return text.contains(QLatin1String(what));
}

}  // namespace

ReplyDispatcher::ReplyDispatcher(ExchangeState& state, const ReplyConsumers& consumers,
                                 TransferWatchdogs& watchdogs,
                                 std::atomic<qint64>& downloadTotal)
    : m_state(state),
      m_consumers(consumers),
      m_watchdogs(watchdogs),
      m_downloadTotal(downloadTotal) {
    m_watchdogs.SetAbandonHook([this](TransferWatchdogs::Kind kind) { OnAbandon(kind); });
}

QByteArray ReplyDispatcher::ReportPayload(std::span<const std::uint8_t> report) {
    if (report.size() < 2) return QByteArray();
    // A negative length byte (above 127 unsigned) means the whole payload.
    int length = std::min<int>(report[1], kMaxReportPayload);
    length = std::min<int>(length, static_cast<int>(report.size()) - 2);
    return QByteArray(reinterpret_cast<const char*>(report.data() + 2), length);
}

QString ReplyDispatcher::ReportText(const QByteArray& payload) {
    const qsizetype end = payload.indexOf('\0');
    return QString::fromLatin1(end < 0 ? payload : payload.left(end));
}

ResponseKind ReplyDispatcher::Classify(const QString& text) {
    if (Contains(text, Reply::kSettingTag)) return ResponseKind::Setting;
    if (Contains(text, Reply::kNowDataTag)) return ResponseKind::NowData;
    if (Contains(text, Reply::kReadFileTag)) return ResponseKind::ReadFile;
    if (Contains(text, Reply::kFileSizeTag)) return ResponseKind::FileSize;
    if (Contains(text, Reply::kSdCardFileTag)) return ResponseKind::SdCardFile;
    if (Contains(text, Reply::kMaxMinTag)) return ResponseKind::MaxMin;
    return ResponseKind::None;
}

QString ReplyDispatcher::FileSizeText(qint64 bytes) {
    // Single precision, as the sizes have always been shown.
    const float kilobytes = static_cast<float>(bytes) * (1.0f / 1024.0f);
    if (kilobytes > 1000.0f) {
        const float megabytes = kilobytes * (1.0f / 1024.0f);
        return QString::asprintf("%0.2fMB", static_cast<double>(megabytes));
    }
    return QString::asprintf("%0.2fKB", static_cast<double>(kilobytes));
}

qint64 ReplyDispatcher::ParseFileSize(const QString& text) {
    const QLatin1String marker(Reply::kFileSizeMarker);
    const qsizetype at = text.indexOf(marker);
    QString rest = at < 0 ? text : text.mid(at);
    rest.remove(marker);
    rest.remove(u'>');
    return ReadInteger(rest);
}

qint64 ReplyDispatcher::ParseHeaderSize(const QString& text) {
    const qsizetype close = text.indexOf(u'>');
    if (close < 0) return 0;
    const qsizetype equals = text.indexOf(u'=');
    const qsizetype from = equals < 0 ? 0 : equals + 1;
    if (from > close) return 0;
    return ReadInteger(text.mid(from, close - from));
}

void ReplyDispatcher::HandleReport(std::span<const std::uint8_t> report) {
    HandlePayload(ReportPayload(report));
}

void ReplyDispatcher::HandlePayload(const QByteArray& payload) {
    const qsizetype end = payload.indexOf('\0');
    const QByteArray bytes = end < 0 ? payload : payload.left(end);
    const QString text = QString::fromLatin1(bytes);
    const ResponseKind tagged = Classify(text);
    const ResponseKind previous = m_kind.load();
    if (tagged != ResponseKind::None) m_kind = tagged;
    switch (m_kind.load()) {
        case ResponseKind::None:
            break;
        case ResponseKind::Setting:
            HandleSetting(text);
            break;
        case ResponseKind::NowData:
            HandleNowData(text);
            break;
        case ResponseKind::ReadFile:
            HandleReadFile(text, bytes);
            break;
        case ResponseKind::FileSize:
            HandleFileSize(text, previous);
            break;
        case ResponseKind::SdCardFile:
            HandleSdCardFile(text);
            break;
        case ResponseKind::MaxMin:
            HandleMaxMin(text);
            break;
    }
}

bool ReplyDispatcher::Assemble(ReplyBuffer& buffer, const QString& text, const char* endMark,
                               std::atomic<bool>& awaiting, int pendingCode) {
    switch (buffer.AppendAndFind(text, QLatin1String(endMark))) {
        case ReplyBuffer::Appended::Complete:
            return true;
        case ReplyBuffer::Appended::Incomplete:
            return false;
        case ReplyBuffer::Appended::Overflow:
            break;
    }
    // A station that never ends its reply must not grow memory without
    // bound: give the reply up as if it had never come, and free the poll.
    qWarning("Reply of kind %d dropped: longer than %lld characters without its end mark",
             static_cast<int>(m_kind.load()), static_cast<long long>(kMaxReplyChars));
    awaiting = false;
    if (m_state.pendingRequest.compare_exchange_strong(pendingCode, kPendingNone))
        m_state.requestBusy = false;
    m_kind = ResponseKind::None;
    return false;
}

void ReplyDispatcher::HandleSetting(const QString& text) {
    if (!Assemble(m_state.settingReplyText, text, Reply::kSettingEnd, m_state.awaitingSetting,
                  kPendingSettings))
        return;
    m_state.awaitingSetting = false;
    if (m_consumers.settings)
        m_consumers.settings->HandleSettingReply(m_state.settingReplyText.Text());
    m_state.requestBusy = false;
    m_state.pendingRequest = kPendingNone;
    m_kind = ResponseKind::None;
}

void ReplyDispatcher::HandleNowData(const QString& text) {
    if (!Assemble(m_state.nowDataReplyText, text, Reply::kEnd, m_state.awaitingNowData,
                  kPendingNowData))
        return;
    m_state.awaitingNowData = false;
    if (m_consumers.currentReadings)
        m_consumers.currentReadings->HandleNowDataReply(m_state.nowDataReplyText.Text());
    m_state.requestBusy = false;
    m_state.pendingRequest = kPendingNone;
    m_kind = ResponseKind::None;
    if (m_consumers.events) m_consumers.events->CurrentReadingsDone();
}

void ReplyDispatcher::HandleReadFile(const QString& text, const QByteArray& bytes) {
    std::lock_guard lock(m_watchdogs.TransferLock());
    m_watchdogs.NoteReportLocked(TransferWatchdogs::Kind::Download);
    SdCardTransferHandler* sdCard = m_consumers.sdCard;
    if (Contains(text, Reply::kEnd)) {
        m_watchdogs.EndTransferLocked();
        if (sdCard) sdCard->DownloadEnded(m_downloadTotal.load());
        m_state.requestBusy = false;
        m_state.pendingRequest = kPendingNone;
        m_kind = ResponseKind::None;
        return;
    }
    if (!sdCard) return;
    if (sdCard->DownloadHeaderHandled()) {
        sdCard->DownloadData(bytes);
        return;
    }
    // The header: "=" total size ">" first data.
    const qsizetype close = text.indexOf(u'>');
    const QByteArray firstData = close < 0 ? bytes : bytes.mid(close + 1);
    // A local copy longer than the card's file leaves nothing to count.
    const qint64 total =
        std::max<qint64>(0, ParseHeaderSize(text) - sdCard->DownloadStartOffset());
    m_downloadTotal = total;
    sdCard->DownloadHeader(firstData, total);
}

void ReplyDispatcher::HandleFileSize(const QString& text, ResponseKind previous) {
    SdCardTransferHandler* sdCard = m_consumers.sdCard;
    if (sdCard && !sdCard->IsListingSizes()) {
        // A stray size: no watchdog for it, and the reply that was being
        // assembled (a download's data, say) goes on.
        m_kind = previous == ResponseKind::FileSize ? ResponseKind::None : previous;
        return;
    }
    {
        std::lock_guard lock(m_watchdogs.TransferLock());
        m_watchdogs.NoteReportLocked(TransferWatchdogs::Kind::FileSize);
    }
    if (sdCard) sdCard->FileSizeReportArrived();
    if (!text.contains(QLatin1String("File<size"))) return;
    const QString sizeText = FileSizeText(ParseFileSize(text));
    const bool complete = sdCard ? sdCard->StoreFileSize(sizeText) : true;
    if (complete) {
        m_state.pendingRequest = kPendingNone;
        m_kind = ResponseKind::None;
        std::lock_guard lock(m_watchdogs.TransferLock());
        m_watchdogs.EndTransferLocked();
    } else {
        sdCard->RequestFileSize();
    }
}

void ReplyDispatcher::HandleSdCardFile(const QString& text) {
    if (!Assemble(m_state.sdListReplyText, text, Reply::kEnd, m_state.awaitingSdList,
                  kPendingSdList))
        return;
    m_state.awaitingSdList = false;
    m_state.requestBusy = false;
    m_state.pendingRequest = kPendingNone;
    m_kind = ResponseKind::None;
    if (m_consumers.sdCard) m_consumers.sdCard->OpenWithFileList(m_state.sdListReplyText.Text());
}

void ReplyDispatcher::HandleMaxMin(const QString& text) {
    if (!Assemble(m_state.maxMinReplyText, text, Reply::kEnd, m_state.awaitingMaxMin,
                  kPendingMaxMin))
        return;
    m_state.awaitingMaxMin = false;
    m_state.requestBusy = false;
    m_state.pendingRequest = kPendingNone;
    m_kind = ResponseKind::None;
    if (m_consumers.maxMin) m_consumers.maxMin->OpenMaxMinWindow(m_state.maxMinReplyText.Text());
}

void ReplyDispatcher::OnAbandon(TransferWatchdogs::Kind kind) {
    ResponseKind expected =
        kind == TransferWatchdogs::Kind::Download ? ResponseKind::ReadFile : ResponseKind::FileSize;
    m_kind.compare_exchange_strong(expected, ResponseKind::None);
}

}  // namespace orvane
