#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>
#include <span>

#include "ExchangeState.h"
#include "ReplyHandlers.h"
#include "TransferWatchdogs.h"

namespace orvane {

// The kind of reply being assembled; it carries over from one report to the
// next until the reply's end condition holds or another tag arrives.
enum class ResponseKind : int {
    None = 0,
    Setting = 1,
    NowData = 2,
    ReadFile = 3,
    FileSize = 4,
    SdCardFile = 5,
    MaxMin = 6,
};

// Turns input reports into replies: classifies each by its tag, assembles
// the multi-report replies in the ExchangeState buffers, and hands complete
// replies to their consumers, clearing the request flags the senders set.
// Used from the receive thread only (tests drive it directly); the kind may
// be read from any thread.
class ReplyDispatcher {
public:
    ReplyDispatcher(ExchangeState& state, const ReplyConsumers& consumers,
                    TransferWatchdogs& watchdogs, std::atomic<qint64>& downloadTotal);

    // One input report as read (byte 0 report id, byte 1 payload length).
    void HandleReport(std::span<const std::uint8_t> report);
    // One report's payload bytes.
    void HandlePayload(const QByteArray& payload);

    ResponseKind Kind() const { return m_kind.load(); }

    // The payload of an input report: the length byte read as a signed byte
    // and kept within the 62 bytes a report carries (a negative length gives
    // 62 too), never beyond the bytes actually received.
    static QByteArray ReportPayload(std::span<const std::uint8_t> report);
    // The reply text of a payload: each byte the character of the same code,
    // ending at the first zero byte.
    static QString ReportText(const QByteArray& payload);
    // The kind a report text's tag names, None when it carries no tag.
    static ResponseKind Classify(const QString& text);
    // "2.00KB" / "1.91MB" for a size in bytes.
    static QString FileSizeText(qint64 bytes);
    // The size in a "File Size:" report text holding "File<size".
    static qint64 ParseFileSize(const QString& text);
    // The announced size of a "Read File:" header text (the number between
    // the first "=" and the first ">"; 0 without ">").
    static qint64 ParseHeaderSize(const QString& text);

private:
    // Appends a report to its reply; true once the end mark is in. A reply
    // that outgrows kMaxReplyChars is dropped and its request given up.
    bool Assemble(ReplyBuffer& buffer, const QString& text, const char* endMark,
                  std::atomic<bool>& awaiting, int pendingCode);
    void HandleSetting(const QString& text);
    void HandleNowData(const QString& text);
    void HandleReadFile(const QString& text, const QByteArray& bytes);
    void HandleFileSize(const QString& text, ResponseKind previous);
    void HandleSdCardFile(const QString& text);
    void HandleMaxMin(const QString& text);
    void OnAbandon(TransferWatchdogs::Kind kind);

    ExchangeState& m_state;
    ReplyConsumers m_consumers;
    TransferWatchdogs& m_watchdogs;
    std::atomic<qint64>& m_downloadTotal;
    std::atomic<ResponseKind> m_kind{ResponseKind::None};
};

}  // namespace orvane
