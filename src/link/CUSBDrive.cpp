#include "CUSBDrive.h"

#include <algorithm>
#include <thread>

#include "Requests.h"
#include "Timing.h"

namespace orvane {

namespace {

// ISO-8859-1 bytes of a request; empty optional when a character has no
// byte of its own.
std::optional<QByteArray> ToLatin1(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() > 0xFF) return std::nullopt;
        bytes.append(static_cast<char>(c.unicode()));
    }
    return bytes;
}

void Pause() {
    std::this_thread::sleep_for(GetTimings().reportPause);
}

}  // namespace

CUSBDrive::CUSBDrive(HidBackend& backend) : m_backend(backend) {}

bool CUSBDrive::CanSend(const QString& text) {
    const std::optional<QByteArray> converted = ToLatin1(text);
    return converted && converted->size() <= kRequestBufferSize;
}

CUSBDrive::Handle CUSBDrive::OpenStation() {
    Handle found;
    for (const HidDeviceInfo& info : m_backend.Enumerate()) {
        std::unique_ptr<HidDevice> device = m_backend.Open(info.path, HidOpenMode::ReadWrite);
        if (!device) continue;
        const std::optional<HidAttributes> attributes = device->Attributes();
        // An interface whose attributes cannot be read ends the search.
        if (!attributes) break;
        if (attributes->vendorId == kStationVendorId &&
            attributes->productId == kStationProductId) {
            found = Handle(std::move(device));
            break;
        }
    }
    std::lock_guard lock(m_handleMutex);
    m_handle = found;
    return found;
}

bool CUSBDrive::ProbeStation() {
    Handle handle = OpenStation();
    if (handle && handle->Attributes()) return true;
    std::lock_guard lock(m_handleMutex);
    if (m_handle == handle) m_handle.reset();
    return false;
}

CUSBDrive::Handle CUSBDrive::CurrentHandle() const {
    std::lock_guard lock(m_handleMutex);
    return m_handle;
}

bool CUSBDrive::HasHandle() const {
    return CurrentHandle() != nullptr;
}

void CUSBDrive::CloseHandle() {
    std::lock_guard lock(m_handleMutex);
    m_handle.reset();
}

bool CUSBDrive::WriteReport(std::span<const std::uint8_t> bytes) {
    return WriteReportOn(CurrentHandle(), bytes);
}

bool CUSBDrive::WriteReportOn(const Handle& handle, std::span<const std::uint8_t> bytes) {
    if (!handle) return false;
    std::array<std::uint8_t, kInputReportSize> report{};
    const std::size_t length = std::min(bytes.size(), report.size());
    std::copy_n(bytes.begin(), length, report.begin());
    return handle->Write(std::span<const std::uint8_t>(report.data(), kOutputReportSize),
                         GetTimings().reportWait) == HidIoResult::Done;
}

CUSBDrive::ReadOutcome CUSBDrive::ReadReport(std::span<std::uint8_t, kMaxPayload> destination) {
    return ReadReportOn(CurrentHandle(), destination);
}

CUSBDrive::ReadOutcome CUSBDrive::ReadReportOn(const Handle& handle,
                                               std::span<std::uint8_t, kMaxPayload> destination) {
    if (!handle) return kReadFailed;
    std::array<std::uint8_t, kInputReportSize> report{};
    std::size_t received = 0;
    switch (handle->Read(report, GetTimings().reportWait, received)) {
        case HidIoResult::TimedOut:
            return kReadTimedOut;
        case HidIoResult::Failed:
            return kReadFailed;
        case HidIoResult::Done:
            break;
    }
    if (received < 2) return kReadDone;  // nothing but the id: an empty payload
    // The length byte is signed on the wire; anything outside 0..62 (a
    // negative one reads above 127 here) would reach past the report, so the
    // payload is kept to what it carries.
    int length = std::min<int>(report[1], kMaxPayload);
    length = std::min<int>(length, static_cast<int>(std::min(received, report.size())) - 2);
    std::copy_n(report.begin() + 2, length, destination.begin());
    return kReadDone;
}

bool CUSBDrive::SendText(const QString& text) {
    return SendTextOn(CurrentHandle(), text);
}

std::vector<CUSBDrive::OutputReport> CUSBDrive::FrameRequest(const QByteArray& bytes) {
    const qsizetype total = bytes.size();
    const qsizetype count =
        total <= kReportPayload ? 1 : (total + kReportPayload - 1) / kReportPayload;
    std::vector<OutputReport> reports(static_cast<std::size_t>(count));
    for (qsizetype k = 0; k < count; ++k) {
        OutputReport& report = reports[static_cast<std::size_t>(k)];
        const qsizetype from = kReportPayload * k;
        const qsizetype payload = std::min<qsizetype>(kReportPayload, total - from);
        report[0] = 0x02;
        report[1] =
            static_cast<std::uint8_t>(count > 1 && k == count - 1 ? payload : kReportPayload);
        std::copy_n(bytes.constData() + from, payload, reinterpret_cast<char*>(report.data() + 2));
    }
    return reports;
}

bool CUSBDrive::SendTextOn(const Handle& handle, const QString& text) {
    const std::optional<QByteArray> converted = ToLatin1(text);
    if (!converted || converted->size() > kRequestBufferSize) return false;
    const std::vector<OutputReport> reports = FrameRequest(*converted);

    std::lock_guard sendLock(m_sendMutex);
    for (const OutputReport& report : reports) {
        if (!WriteReportOn(handle, report)) return false;
        Pause();
    }
    // A request of several reports gets one more pause at its end.
    if (reports.size() > 1) Pause();
    return true;
}

QString CUSBDrive::ReadReplyReport() {
    return ReadReplyReportOn(CurrentHandle());
}

QString CUSBDrive::ReadReplyReportOn(const Handle& handle) {
    std::array<std::uint8_t, kMaxPayload> payload{};
    if (ReadReportOn(handle, payload) != kReadDone) return QString();
    const auto end = std::find(payload.begin(), payload.end(), std::uint8_t{0});
    return QString::fromLatin1(reinterpret_cast<const char*>(payload.data()),
                               end - payload.begin());
}

QString CUSBDrive::Exchange(const QString& request) {
    std::lock_guard exchangeLock(m_exchangeMutex);
    const Handle handle = OpenStation();
    if (!handle || !handle->Attributes()) {
        CloseHandle();
        return QString::fromLatin1(Reply::kUnconnected);
    }
    // The outcome of the send is not looked at: a failed send simply finds
    // no confirmation in the reads.
    SendTextOn(handle, request);
    QString reply = ReadReplyReportOn(handle);
    reply += ReadReplyReportOn(handle);
    return reply;
}

}  // namespace orvane
