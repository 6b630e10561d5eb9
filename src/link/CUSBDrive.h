#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "HidBackend.h"

namespace orvane {

// The request connection: one read/write handle to the station through which
// every request is written. Every operation may be called from any thread.
// OpenStation replaces the handle; an operation already under way keeps the
// handle it started with, and a replaced handle is closed when the last
// operation using it ends.
class CUSBDrive {
public:
    // Bytes written per output report, requested per input report, and the
    // most a request may take once converted.
    static constexpr int kOutputReportSize = 61;
    static constexpr int kInputReportSize = 64;
    static constexpr int kMaxPayload = 62;     // of an input report
    static constexpr int kReportPayload = 59;  // of an output report
    static constexpr int kRequestBufferSize = 300;

    enum ReadOutcome { kReadFailed = 0, kReadDone = 1, kReadTimedOut = 2 };
    using Handle = std::shared_ptr<HidDevice>;

    using OutputReport = std::array<std::uint8_t, kOutputReportSize>;

    explicit CUSBDrive(HidBackend& backend);

    // The output reports of a request's ISO-8859-1 bytes: report id 0x02, a
    // count byte, then up to 59 payload bytes, zero-filled. The count byte is
    // 59, except in the last report of a request longer than one report,
    // where it is that report's payload count. Pure; any thread.
    static std::vector<OutputReport> FrameRequest(const QByteArray& bytes);

    // Whether SendText can send `text` at all: every character below 256 and
    // at most the request buffer once converted. Senders use it to refuse a
    // request with a clear message instead of a silent failure. Any thread.
    static bool CanSend(const QString& text);

    // Enumerates the HID interfaces and opens the first whose attributes are
    // the station's, read/write. Stores the result (null when none) as the
    // current handle and returns it.
    Handle OpenStation();
    // OpenStation, then reads the attributes of the handle; on failure the
    // handle is dropped and false returned.
    bool ProbeStation();
    // Writes one output report: `bytes` (at most 64) are copied into a zeroed
    // report buffer of which 61 bytes are written, waiting at most the report
    // wait. False when there is no handle or the write fails or times out.
    bool WriteReport(std::span<const std::uint8_t> bytes);
    // Reads one input report and copies its payload (the length byte clamped
    // to the 62 bytes a report carries) to `destination`.
    ReadOutcome ReadReport(std::span<std::uint8_t, kMaxPayload> destination);
    // Converts to ISO-8859-1 and writes it as one or more output reports with
    // the pauses between them. False, with nothing sent, when a character is
    // above 255 or the converted text is longer than the request buffer; false
    // when a report cannot be written (the rest is not sent). The reports of
    // one request are never interleaved with another's.
    bool SendText(const QString& text);
    // One ReadReport: the payload up to its first zero byte as ISO-8859-1
    // text; empty when nothing arrived in time.
    QString ReadReplyReport();

    // The synchronous exchange of COrvaneDlg: opens the station afresh, sends
    // `request` and returns the text of the next two input reports, or
    // "Unconnected" without sending when the station cannot be opened.
    // Exchanges run one at a time.
    QString Exchange(const QString& request);

    bool HasHandle() const;
    // Drops the current handle (closed once no operation uses it).
    void CloseHandle();

private:
    Handle CurrentHandle() const;
    bool WriteReportOn(const Handle& handle, std::span<const std::uint8_t> bytes);
    ReadOutcome ReadReportOn(const Handle& handle,
                             std::span<std::uint8_t, kMaxPayload> destination);
    bool SendTextOn(const Handle& handle, const QString& text);
    QString ReadReplyReportOn(const Handle& handle);

    HidBackend& m_backend;
    mutable std::mutex m_handleMutex;
    Handle m_handle;
    std::mutex m_sendMutex;      // keeps each request's reports together
    std::mutex m_exchangeMutex;  // one synchronous exchange at a time
};

}  // namespace orvane
