#pragma once

#include <QString>

namespace orvane {

class ControlWindow;
class UnitSelection;

// The station's whole configuration as its "Setting:" reply carries it.
// Every field is the text the station sent; unit suffixes stay on until the
// value is shown. Fields are numbered 1 to 57 in reply order (Field()).
struct StationSettings {
    static constexpr int kFieldCount = 57;

    QString temperatureUnit;        // 1
    QString lightUnit;              // 2
    QString windUnit;               // 3
    QString rainUnit;               // 4
    QString pressureUnit;           // 5
    QString windDirectionOffset;    // 6
    QString temperatureOffset;      // 7
    QString humidityOffset;         // 8
    QString windFactor;             // 9
    QString rainFactor;             // 10
    QString lightFactor;            // 11
    QString uvFactor;               // 12
    QString absPressureOffset;      // 13
    QString relPressureOffset;      // 14
    QString timeZone;               // 15
    QString alarmSmsInterval;       // 16
    QString sendCurrentInterval;    // 17
    QString loggerInterval;         // 18
    QString uploadInterval;         // 19
    QString smsCheckInterval;       // 20
    QString telephone1;             // 21
    QString telephone2;             // 22
    QString telephone3;             // 23
    QString dstEnabled;             // 24
    QString dstStart;               // 25
    QString dstEnd;                 // 26
    QString webHost;                // 27
    QString webId;                  // 28
    QString webPassword;            // 29 (positional; the window shows the searched one)
    QString serverType;             // 30
    QString uploadType;             // 31
    QString serverPort;             // 32
    QString gprsApn;                // 33
    QString gprsUser;               // 34
    QString gprsPassword;           // 35 (positional)
    QString highTemperature;        // 36
    QString highDewPoint;           // 37
    QString highHumidity;           // 38
    QString highWind;               // 39
    QString highGust;               // 40
    QString highRainRate;           // 41
    QString highDailyRain;          // 42
    QString lowTemperature;         // 43
    QString lowDewPoint;            // 44
    QString lowHumidity;            // 45
    QString lowTemperatureSwitch;   // 46
    QString lowDewPointSwitch;      // 47
    QString lowHumiditySwitch;      // 48
    QString highTemperatureSwitch;  // 49
    QString highDewPointSwitch;     // 50
    QString highHumiditySwitch;     // 51
    QString highWindSwitch;         // 52
    QString highGustSwitch;         // 53
    QString highRainRateSwitch;     // 54
    QString highDailyRainSwitch;    // 55
    QString alarmAll;               // 56
    QString smsTestId;              // 57 (positional)

    // The three values found by text search rather than by position: they
    // survive a password that holds "=" (which shifts every later field).
    // Produced only when the reply has "Password" before "&Server".
    bool hasSearchedValues = false;
    QString searchedWebPassword;
    QString searchedGprsPassword;
    QString searchedSmsTestId;

    // Positional access, number 1 to 57.
    QString& Field(int number);
    const QString& Field(int number) const;
};

enum class SettingsReplyError {
    None,
    EmptyReply,    // nothing left after rewriting: "Error"
    InvalidValue,  // a validated field holds a foreign character: "Read Error"
};

// The message box text of an error; empty for None.
QString SettingsReplyErrorText(SettingsReplyError error);

struct SettingsParseResult {
    SettingsReplyError error = SettingsReplyError::None;
    // Complete when error is None. With InvalidValue only the searched
    // values are meaningful (they are shown even then).
    StationSettings settings;
};

// Turns a complete "Setting:" reply into the settings record. Pure; any
// thread. Missing positional fields (fewer than 57 "=", or a field whose
// line break lies beyond the 80 considered) are empty text.
SettingsParseResult ParseSettingsReply(const QString& text);

// Writes the three searched values into edits kWebPassword, kGprsPassword and
// kSmsTestId when the
// reply produced them. Any thread (window calls are synchronous).
void ApplySearchedValues(const StationSettings& settings, ControlWindow& window);

// Writes a parsed record into the settings window in the window's fixed
// order: combos by text ignoring case, intervals, daylight, web server with
// the host rule, alarms, then the follow-up rules of the unit, interval and
// alarm-all combos; finally enables Read and Save All. Remembers the
// received units in `units`. Does not touch the searched edits or any flag.
// Any thread (window calls are synchronous).
void ApplyStationSettings(const StationSettings& settings, ControlWindow& window,
                          UnitSelection& units);

}  // namespace orvane
