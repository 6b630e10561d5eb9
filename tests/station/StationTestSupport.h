#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "CUSBDrive.h"
#include "ReplyDispatcher.h"
#include "StationSettings.h"
#include "StationSimulator.h"

namespace orvane::test {

using std::chrono::milliseconds;

// The output reports of one request, as the request connection frames them.
inline std::vector<CUSBDrive::OutputReport> FrameRequest(const QByteArray& text) {
    return CUSBDrive::FrameRequest(text);
}

inline bool SendRequest(HidDevice& device, const QByteArray& text) {
    for (const auto& report : FrameRequest(text))
        if (device.Write(report, milliseconds(50)) != HidIoResult::Done) return false;
    return true;
}

struct InputReport {
    std::vector<std::uint8_t> bytes;
    // The payload as the receive connection reads it.
    QByteArray Payload() const { return ReplyDispatcher::ReportPayload(bytes); }
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

// The settings reply as the settings reader takes it apart.
inline StationSettings ParsedSettings(const QByteArray& reply) {
    const SettingsParseResult parsed = ParseSettingsReply(QString::fromLatin1(reply));
    EXPECT_EQ(parsed.error, SettingsReplyError::None);
    return parsed.settings;
}

}  // namespace orvane::test
