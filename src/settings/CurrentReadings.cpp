#include "CurrentReadings.h"

#include <QList>
#include <array>
#include <utility>

#include "ControlWindow.h"
#include "Readings.h"
#include "SettingsControls.h"
#include "TextPositions.h"

namespace orvane {

using namespace SettingsId;

namespace {

using FieldPtr = QString CurrentReadings::*;

constexpr std::array<FieldPtr, CurrentReadings::kFieldCount> kFields = {
    &CurrentReadings::temperature,
    &CurrentReadings::humidity,
    &CurrentReadings::absolutePressure,
    &CurrentReadings::relativePressure,
    &CurrentReadings::windSpeed,
    &CurrentReadings::gustSpeed,
    &CurrentReadings::dewPoint,
    &CurrentReadings::windDirection,
    &CurrentReadings::rainRate,
    &CurrentReadings::rainDay,
    &CurrentReadings::rainWeek,
    &CurrentReadings::rainMonth,
    &CurrentReadings::rainYear,
    &CurrentReadings::light,
    &CurrentReadings::uv,
    &CurrentReadings::uvIndex,
    &CurrentReadings::battery,
    &CurrentReadings::stationTime,
};

constexpr qsizetype kMaxReplyLength = 450;

// Allowed characters of fields 0 to 16; the station time is not checked.
constexpr const char* kTemperatureClass = "-0123456789.CF";
constexpr const char* kPressureClass = "-0123456789.hpammHginHg";
constexpr const char* kWindClass = "-0123456789.m/skm/hmphbftknots";
constexpr const char* kRainClass = "-0123456789.mminch";
constexpr std::array<const char*, 17> kClasses = {
    kTemperatureClass, "-0123456789.%",
    kPressureClass,    kPressureClass,
    kWindClass,        kWindClass,
    kTemperatureClass, "-0123456789deg",
    kRainClass,        kRainClass,
    kRainClass,        kRainClass,
    kRainClass,        "-0123456789.w/m2fclux",
    "-0123456789",     "-0123456789",
    "-0123456789.v",
};

using Rewrite = std::pair<const char*, const char*>;
const QList<Rewrite> kTemperatureText = {{"C", " °C"}, {"F", " °F"}};
const QList<Rewrite> kPressureText = {{"hpa", " hpa"}, {"mmHg", " mmHg"}, {"inHg", " inHg"}};
const QList<Rewrite> kWindText = {
    {"m/s", " m/s"}, {"km/h", " km/h"}, {"mph", " mph"}, {"bft", " bft"}, {"knots", " knots"}};
const QList<Rewrite> kRainText = {{"mm", " mm"}, {"inch", " inch"}};

QString Rewritten(QString text, const QList<Rewrite>& rewrites) {
    for (const auto& [from, to] : rewrites)
        text.replace(QString::fromUtf8(from), QString::fromUtf8(to));
    return text;
}

}  // namespace

QString& CurrentReadings::Field(int index) {
    Q_ASSERT(index >= 0 && index < kFieldCount);
    return this->*kFields[size_t(index)];
}

const QString& CurrentReadings::Field(int index) const {
    Q_ASSERT(index >= 0 && index < kFieldCount);
    return this->*kFields[size_t(index)];
}

std::optional<CurrentReadings> ParseNowDataReply(const QString& text) {
    if (text.size() >= kMaxReplyLength) return std::nullopt;
    const qsizetype start = text.indexOf(QStringLiteral("Temperature"));
    if (start < 0) return std::nullopt;
    const QString s = text.mid(start);

    // Colons and line breaks pair by rank, not by line.
    const QList<qsizetype> colons =
        TextPositions(s, QStringLiteral(":"), CurrentReadings::kFieldCount);
    const QList<qsizetype> breaks =
        TextPositions(s, QStringLiteral("\r\n"), CurrentReadings::kFieldCount);
    if (colons.size() < CurrentReadings::kFieldCount ||
        breaks.size() < CurrentReadings::kFieldCount)
        return std::nullopt;

    CurrentReadings readings;
    for (int k = 0; k < CurrentReadings::kFieldCount; ++k) {
        const qsizetype from = colons[k] + 1;
        // A line without its colon would pair a value with a later line.
        if (breaks[k] < from) return std::nullopt;
        readings.Field(k) = s.mid(from, breaks[k] - from);
    }
    for (int k = 0; k < int(kClasses.size()); ++k)
        if (!BelongsToClass(readings.Field(k), kClasses[size_t(k)])) return std::nullopt;
    return readings;
}

QString BatteryLevelText(const QString& battery) {
    const double volts = ReadDecimal(QString(battery).remove(u'v'));
    if (volts >= 3.6) return QStringLiteral("4.0 v");
    if (volts > 3.3) return QStringLiteral("3.5v");
    return QStringLiteral("3.3v");
}

void ShowCurrentReadings(const CurrentReadings& r, ControlWindow& window) {
    const QString battery = QString(r.battery).remove(u'v');
    if (battery.isEmpty()) return;

    window.SetText(kNowBattery, BatteryLevelText(battery));
    window.SetText(kNowTemperature, Rewritten(r.temperature, kTemperatureText));
    window.SetText(kNowHumidity, Rewritten(r.humidity, {{"%", " %"}}));
    window.SetText(kNowAbsPressure, Rewritten(r.absolutePressure, kPressureText));
    window.SetText(kNowRelPressure, Rewritten(r.relativePressure, kPressureText));
    window.SetText(kNowWind, Rewritten(r.windSpeed, kWindText));
    window.SetText(kNowGust, Rewritten(r.gustSpeed, kWindText));
    window.SetText(kNowDewPoint, Rewritten(r.dewPoint, kTemperatureText));
    window.SetText(kNowWindDirection, Rewritten(r.windDirection, {{"deg", "°"}}));
    window.SetText(kNowRainRate, Rewritten(r.rainRate, kRainText));
    window.SetText(kNowRainDay, Rewritten(r.rainDay, kRainText));
    window.SetText(kNowRainWeek, Rewritten(r.rainWeek, kRainText));
    window.SetText(kNowRainMonth, Rewritten(r.rainMonth, kRainText));
    window.SetText(kNowRainYear, Rewritten(r.rainYear, kRainText));
    window.SetText(kNowLight,
                   Rewritten(r.light, {{"w/m2", " w/m2"}, {"fc", " fc"}, {"lux", " lux"}}));
    window.SetText(kNowUv, r.uv);
    window.SetText(kNowUvIndex, r.uvIndex);
    window.SetText(kNowTime, QString(r.stationTime).replace(u'&', u' '));
}

}  // namespace orvane
