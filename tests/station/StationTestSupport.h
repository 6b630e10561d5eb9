#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "StationSimulator.h"

namespace orvane::test {

using std::chrono::milliseconds;

// The output reports of one request, framed as the request connection frames
// them: 59 payload bytes a report, byte 1 = 0x3B except in the last report of
// a multi-report request, which carries its payload count.
inline std::vector<std::vector<std::uint8_t>> FrameRequest(const QByteArray& text) {
    std::vector<std::vector<std::uint8_t>> reports;
    const qsizetype count = text.size() <= 59 ? 1 : (text.size() + 58) / 59;
    for (qsizetype k = 0; k < count; ++k) {
        std::vector<std::uint8_t> report(61, 0);
        report[0] = 0x02;
        const qsizetype from = k * 59;
        const qsizetype n = std::min<qsizetype>(59, text.size() - from);
        report[1] = (count > 1 && k == count - 1) ? static_cast<std::uint8_t>(n) : 0x3B;
        for (qsizetype i = 0; i < n; ++i) report[2 + i] = static_cast<std::uint8_t>(text[from + i]);
        reports.push_back(std::move(report));
    }
    return reports;
}

inline bool SendRequest(HidDevice& device, const QByteArray& text) {
    for (const auto& report : FrameRequest(text))
        if (device.Write(report, milliseconds(50)) != HidIoResult::Done) return false;
    return true;
}

struct InputReport {
    std::vector<std::uint8_t> bytes;
    // The payload with the length byte clamped to the 62 bytes a report carries.
    QByteArray Payload() const {
        const int n = std::min<int>(bytes.size() > 1 ? bytes[1] : 0, 62);
        return QByteArray(reinterpret_cast<const char*>(bytes.data() + 2), n);
    }
};

// Reads reports until none arrives within `quiet`.
inline std::vector<InputReport> ReadAll(HidDevice& device, milliseconds quiet = milliseconds(5)) {
    std::vector<InputReport> reports;
    std::uint8_t buffer[64];
    std::size_t received = 0;
    while (device.Read(buffer, quiet, received) == HidIoResult::Done)
        reports.push_back({std::vector<std::uint8_t>(buffer, buffer + received)});
    return reports;
}

inline QByteArray Joined(const std::vector<InputReport>& reports) {
    QByteArray text;
    for (const auto& report : reports) text += report.Payload();
    return text;
}

// Sends one request and returns the assembled payload of every report that
// answers it.
inline QByteArray Exchange(StationSimulator& sim, const QByteArray& request) {
    auto device = sim.Open(StationSimulator::kStationPath, HidOpenMode::ReadWrite);
    if (!device || !SendRequest(*device, request)) return {};
    return Joined(ReadAll(*device));
}

// The settings reader's positional scheme: the rewritten text, then the text
// after the i-th "=" up to the end of its line.
inline QString RewriteSettings(QString text) {
    const qsizetype unit = text.indexOf("Unit");
    if (unit >= 0) text = text.mid(unit);
    text.replace("&", "\r\n").replace("<", ":\r\n").remove(">");
    return text;
}

inline QStringList PositionalFields(const QString& reply) {
    const QString s = RewriteSettings(reply);
    QStringList fields;
    qsizetype at = 0;
    while ((at = s.indexOf('=', at)) >= 0) {
        ++at;
        fields << s.mid(at, s.indexOf("\r\n", at) - at);
    }
    return fields;
}

// Line breaks of the rewritten text before the end of the line of its 57th "=".
inline qsizetype LineBreaksThroughField57(const QString& reply) {
    const QString s = RewriteSettings(reply);
    qsizetype at = -1;
    for (int i = 0; i < 57; ++i) at = s.indexOf('=', at + 1);
    if (at < 0) return -1;
    const qsizetype end = s.indexOf("\r\n", at);
    return s.left(end + 2).count("\r\n");
}

}  // namespace orvane::test
