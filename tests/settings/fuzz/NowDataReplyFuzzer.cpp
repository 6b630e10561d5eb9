// Any bytes as a now-data reply: parsing and showing must never crash, hang
// or read out of bounds; a rejected reply must leave the window untouched.
#include <cstddef>
#include <cstdint>

#include "CurrentReadings.h"
#include "CurrentReadingsDisplay.h"
#include "FuzzCheck.h"
#include "SettingsLayout.h"
#include "SettingsControls.h"

using namespace orvane;
using orvane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));

    const std::optional<CurrentReadings> readings = ParseNowDataReply(text);
    if (readings) {
        Require(text.size() < 450);
        Require(text.contains(QStringLiteral("Temperature")));
        for (int k = 0; k < CurrentReadings::kFieldCount; ++k)
            Require(!readings->Field(k).contains(QStringLiteral("\r\n")));
    }

    MemorySettingsWindow window;
    window.SetText(SettingsId::kNowTemperature, QStringLiteral("previous"));
    CurrentReadingsDisplay(window).HandleNowDataReply(text);
    if (!readings) Require(window.Text(SettingsId::kNowTemperature) == QStringLiteral("previous"));

    const QString level = BatteryLevelText(text);
    Require(level == QStringLiteral("4.0 v") || level == QStringLiteral("3.5v") ||
            level == QStringLiteral("3.3v"));
    return 0;
}
