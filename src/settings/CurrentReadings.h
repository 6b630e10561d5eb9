#pragma once

#include <QString>
#include <optional>

namespace orvane {

class ControlWindow;

// The 18 values of a "Now Data:" reply, in reply order, as the station sent
// them (each with its unit directly after the number).
struct CurrentReadings {
    static constexpr int kFieldCount = 18;

    QString temperature;       // 0
    QString humidity;          // 1
    QString absolutePressure;  // 2
    QString relativePressure;  // 3
    QString windSpeed;         // 4
    QString gustSpeed;         // 5
    QString dewPoint;          // 6
    QString windDirection;     // 7
    QString rainRate;          // 8
    QString rainDay;           // 9
    QString rainWeek;          // 10
    QString rainMonth;         // 11
    QString rainYear;          // 12
    QString light;             // 13
    QString uv;                // 14
    QString uvIndex;           // 15
    QString battery;           // 16
    QString stationTime;       // 17

    // Positional access, index 0 to 17.
    QString& Field(int index);
    const QString& Field(int index) const;
};

// Parses a complete now-data reply; nothing for a reply that is too long
// (450 characters or more), lacks "Temperature", has fewer than 18 name:value
// lines after it, or holds a character outside a field's class. Pure; any
// thread.
std::optional<CurrentReadings> ParseNowDataReply(const QString& text);

// The battery level shown for a battery text (every "v" removed, the rest
// read as volts): "4.0 v", "3.5v" or "3.3v".
QString BatteryLevelText(const QString& battery);

// Shows the readings with their unit texts in the Current Weather group.
// A battery value without a number ("v" or empty) suppresses the whole
// update. Any thread (window calls are synchronous).
void ShowCurrentReadings(const CurrentReadings& readings, ControlWindow& window);

}  // namespace orvane
