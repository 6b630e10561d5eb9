#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace orvane {

class Clock;

// What the station stores. Units are the protocol tokens; calibration offsets
// and alarm thresholds are kept in the station's base units (°C, hPa, m/s,
// mm) and shown in the display units when reported. Intervals are kept as
// written ("30m", "2h", "0m", "on").
struct StationConfig {
    QString temperatureUnit = "C";  // "C", "F"
    QString lightUnit = "lux";      // "fc", "lux", "w/m2"
    QString windUnit = "km/h";      // "km/h", "mph", "knots", "m/s", "bft"
    QString rainUnit = "mm";        // "mm", "inch"
    QString pressureUnit = "hpa";   // "hpa", "mmHg", "inHg"

    int windDirectionOffset = 0;     // degrees
    double temperatureOffset = 0.5;  // °C
    int humidityOffset = -2;         // %
    double windFactor = 1.0;
    double rainFactor = 1.05;
    double lightFactor = 1.0;
    double uvFactor = 1.0;
    double absPressureOffset = -1.2;  // hPa
    double relPressureOffset = 12.5;  // hPa

    int timeZone = 1;  // -12 .. 12

    QString alarmSmsInterval = "30m";
    QString sendCurrentInterval = "2h";
    QString loggerInterval = "5m";
    QString uploadInterval = "30m";
    QString smsCheckInterval = "2h";

    QString telephone1 = "+4915112345678";
    QString telephone2 = "01701234567";
    QString telephone3;

    bool dstEnabled = true;
    int dstStartMonth = 3, dstStartWeek = 5, dstStartHour = 2;
    int dstEndMonth = 10, dstEndWeek = 5, dstEndHour = 3;

    QString webHost = "weatherstation.wunderground.com";
    QString webId = "IORVANE7";
    QString webPassword = "k9Lw2pQ";
    QString serverType = "php";  // "jsp", "asp", "php"
    int uploadType = 1;          // 0 Default, 1 Customize
    QString serverPort = "80";

    QString gprsApn = "internet.t-d1.de";
    QString gprsUser = "t-mobile";
    QString gprsPassword = "tm";

    double highTemperature = 30.0;  // °C
    double highDewPoint = 20.0;     // °C
    int highHumidity = 90;
    double highWind = 15.0;         // m/s
    double highGust = 20.0;         // m/s
    double highRainRate = 25.0;     // mm
    double highDailyRain = 50.0;    // mm
    double lowTemperature = -10.0;  // °C
    double lowDewPoint = -15.0;     // °C
    int lowHumidity = 20;

    bool lowTemperatureSwitch = true;
    bool lowDewPointSwitch = false;
    bool lowHumiditySwitch = false;
    bool highTemperatureSwitch = true;
    bool highDewPointSwitch = false;
    bool highHumiditySwitch = false;
    bool highWindSwitch = true;
    bool highGustSwitch = true;
    bool highRainRateSwitch = false;
    bool highDailyRainSwitch = true;

    int alarmAll = 0;  // 0 Enable, 1 Disable
    QString smsTestId = "ORVANE01";

    bool operator==(const StationConfig&) const = default;
};

// One set of measured values in base units (°C, %, hPa, m/s, mm, lux).
struct StationReadings {
    double temperature = 0.0;
    int humidity = 0;
    double absPressure = 0.0;
    double relPressure = 0.0;
    double wind = 0.0;
    double gust = 0.0;
    double dewPoint = 0.0;
    int windDirection = 0;
    double rainRate = 0.0;  // mm per hour
    double rainDay = 0.0;
    double rainWeek = 0.0;
    double rainMonth = 0.0;
    double rainYear = 0.0;
    double light = 0.0;
    int uv = 0;             // µW/cm²
    int uvIndex = 0;        // 0 .. 15
    double battery = 3.45;  // volts
};

struct StationModelOptions {
    // The station's local time at construction; invalid: chosen from the seed.
    QDateTime stationTime;
    // SD-card log files, oldest first, each covering this many days and
    // following one another up to the station time.
    std::vector<int> logFileDays{21, 14, 3};
    int logIntervalMinutes = 5;
    // Drives the station clock forward; null: the station clock stands still.
    const Clock* clock = nullptr;
    // The stored configuration at construction (the log files follow its
    // units and calibration); unset: the defaults of StationConfig.
    std::optional<StationConfig> config;
};

// The model station: configuration, readings, max/min records, SD card and
// the formatting of every reply from that state. All operations are
// thread-safe (one internal lock) and may be called from any thread.
class StationModel {
public:
    explicit StationModel(std::uint32_t seed = 1, StationModelOptions options = {});
    ~StationModel();
    StationModel(const StationModel&) = delete;
    StationModel& operator=(const StationModel&) = delete;

    std::uint32_t Seed() const;

    // Configuration.
    StationConfig Config() const;
    void SetConfig(const StationConfig& config);
    // Positional field 1..57 exactly as the "Setting:" reply carries it
    // (with unit suffixes, in the display units); empty for other numbers.
    QString SettingField(int number) const;

    // Station clock (local time of the station).
    QDateTime StationTime() const;
    void SetStationTime(const QDateTime& localTime);

    // Readings: the weather of the station's current time, or the override.
    StationReadings CurrentReadings() const;
    void SetReadingsOverride(std::optional<StationReadings> readings);
    // The deterministic weather of the seed at a given time (no calibration).
    StationReadings WeatherAt(const QDateTime& localTime) const;
    // Number of "Write&Reset<Max&Min>" applied.
    int MaxMinResets() const;
    // Number of "Write&SMS TEST<ID=...>" test messages sent.
    int SmsTestsSent() const;

    // Replies, as the bytes the station sends (ISO-8859-1), tag first and
    // terminator last.
    QByteArray SettingReply() const;
    QByteArray NowDataReply() const;
    QByteArray MaxMinReply() const;
    QByteArray FileListReply() const;
    // "File Size:" reply for one file; a missing file reports size 0.
    QByteArray FileSizeReply(const QString& name) const;
    // Header text ("Read File:File<size=N>") and data from `start`; nullopt
    // when there is no such file.
    struct FileTransfer {
        QByteArray header;
        QByteArray data;
    };
    std::optional<FileTransfer> ReadFile(const QString& name, qint64 start) const;

    // Applies one "Write&..." request text (with or without "\r\n").
    // Returns true when the request was understood and applied.
    bool ApplyWrite(const QString& request);

    // SD card.
    QStringList FileNames() const;
    std::optional<QByteArray> FileBytes(const QString& name) const;
    bool HasFile(const QString& name) const;
    void AddFile(const QString& name, const QByteArray& bytes);
    bool DeleteFile(const QString& name);
    // Appends `count` further log records (continuing numbers and times) to
    // a log file; returns the bytes appended (empty when there is no file).
    QByteArray AppendRecords(const QString& name, int count);

private:
    struct State;
    mutable std::mutex m_mutex;
    std::unique_ptr<State> m_state;
};

}  // namespace orvane
