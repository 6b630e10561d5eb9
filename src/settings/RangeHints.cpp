#include "RangeHints.h"

#include "SettingsControls.h"

namespace orvane {

namespace {

using namespace SettingsId;

// String-table ids of the hint texts.
constexpr int kStrRelativePressure = 103;
constexpr int kStrAbsolutePressure = 104;
constexpr int kStrTemperature = 105;
constexpr int kStrHumidity = 106;
constexpr int kStrWind = 107;
constexpr int kStrWindDirection = 108;
constexpr int kStrLight = 109;
constexpr int kStrRainFall = 110;
constexpr int kStrGust = 124;
constexpr int kStrDataLogger = 133;
constexpr int kStrOffset = 158;
constexpr int kStrFactor = 159;
constexpr int kStrHour = 162;
constexpr int kStrMinute = 163;
constexpr int kStrHighAlarm = 164;
constexpr int kStrLowAlarm = 165;

QString Hint(int group, int field, const QString& range, UiLanguage language) {
    return LoadString(group, language) + u' ' + LoadString(field, language) + range;
}

QString PressureRange(int unit) {
    switch (unit) {
        case 1:
            return QStringLiteral(":-600 - 600mmHg");
        case 2:
            return QStringLiteral(":-23.6 - 23.6inHg");
        default:
            return QStringLiteral(":-800hpa - 800hpa");
    }
}

QString WindRange(int unit) {
    switch (unit) {
        case 1:
            return QStringLiteral(":0.0 - 111.8mph");
        case 2:
            return QStringLiteral(":0.0 - 97.2knot");
        case 3:
            return QStringLiteral(":0.0 - 50.0m/s");
        case 4:
            return QStringLiteral(":0 - 12bft");
        default:
            return QStringLiteral(":0.0 - 180.0km/h");
    }
}

QString AlarmTemperatureRange(int id, int unit) {
    if (unit == 1) return QStringLiteral(":-40.0°F - 140°F");
    // The high dew point's text has always carried a trailing blank.
    return id == kHighDewPoint ? QStringLiteral(":-40.0°C - 60.0°C ")
                               : QStringLiteral(":-40.0°C - 60.0°C");
}

QString HourRange(UiLanguage language) {
    return QStringLiteral("1 - 24 (") + LoadString(kStrHour, language) + u')';
}

QString MinuteRange(UiLanguage language) {
    return QStringLiteral("1 - 59 (") + LoadString(kStrMinute, language) + u')';
}

QString AlarmSmsRange(UiLanguage language) {
    return QStringLiteral("10 - 120 (") + LoadString(kStrMinute, language) + u')';
}

}  // namespace

const QList<int>& FocusHintEditIds() {
    static const QList<int> ids = {
        kWindDirectionOffset, kTemperatureOffset, kHumidityOffset,   kWindFactor,
        kRainFactor,          kLightFactor,       kUvFactor,         kAbsPressureOffset,
        kRelPressureOffset,   kAlarmSmsInterval,  kUploadInterval,   kLoggerInterval,
        kDstStartMonthHint,   kDstStartWeekHint,  kDstStartHourHint, kDstEndMonthHint,
        kDstEndWeekHint,      kDstEndHourHint,    kHighTemperature,  kHighDewPoint,
        kHighHumidity,        kHighWind,          kHighGust,         kHighDailyRain,
        kHighRainRate,        kLowTemperature,    kLowDewPoint,      kLowHumidity,
        kSendCurrentInterval,
    };
    return ids;
}

std::optional<QString> FocusHint(int id, const HintUnits& units, UiLanguage language) {
    switch (id) {
        case kWindDirectionOffset:
            return Hint(kStrOffset, kStrWindDirection, QStringLiteral(":±180"), language);
        case kTemperatureOffset:
            return Hint(kStrOffset, kStrTemperature,
                        units.temperature == 1 ? QStringLiteral(":-10.8°F - 10.8°F")
                                               : QStringLiteral(":-6.0°C - 6.0°C"),
                        language);
        case kHumidityOffset:
            return Hint(kStrOffset, kStrHumidity, QStringLiteral(":-20% - 20%"), language);
        case kWindFactor:
            return Hint(kStrFactor, kStrWind, QStringLiteral(": 0.10 - 5.00"), language);
        case kRainFactor:
            return Hint(kStrFactor, kStrRainFall, QStringLiteral(": 0.10 - 5.00"), language);
        case kLightFactor:
            return Hint(kStrFactor, kStrLight, QStringLiteral(": 0.10 - 5.00"), language);
        case kUvFactor:
            return LoadString(kStrFactor, language) + QStringLiteral(" UV: 0.05 - 10.00");
        case kAbsPressureOffset:
            return Hint(kStrOffset, kStrAbsolutePressure, PressureRange(units.pressure), language);
        case kRelPressureOffset:
            return Hint(kStrOffset, kStrRelativePressure, PressureRange(units.pressure), language);
        case kLoggerInterval:
            return LoadString(kStrDataLogger, language) + QStringLiteral(":1 - 240 (") +
                   LoadString(kStrMinute, language) + u')';
        case kDstStartMonthHint:
        case kDstEndMonthHint:
            return QStringLiteral("Daylight Month:01 - 12");
        case kDstStartWeekHint:
        case kDstEndWeekHint:
            return QStringLiteral("Daylight week:1 - 6");
        case kDstStartHourHint:
        case kDstEndHourHint:
            return QStringLiteral("Daylight hour:00 - 23");
        case kHighTemperature:
        case kHighDewPoint:
            return Hint(kStrHighAlarm, kStrTemperature,
                        AlarmTemperatureRange(id, units.temperature), language);
        case kHighHumidity:
            return Hint(kStrHighAlarm, kStrHumidity, QStringLiteral(":1 - 99"), language);
        case kHighWind:
            return Hint(kStrHighAlarm, kStrWind, WindRange(units.wind), language);
        case kHighGust:
            return Hint(kStrHighAlarm, kStrGust, WindRange(units.wind), language);
        case kHighDailyRain:
        case kHighRainRate:
            return Hint(kStrHighAlarm, kStrRainFall,
                        units.rain == 1 ? QStringLiteral(":0.0 - 39.33inch")
                                        : QStringLiteral(":0.0 - 999.0mm"),
                        language);
        case kLowTemperature:
        case kLowDewPoint:
            return Hint(kStrLowAlarm, kStrTemperature,
                        units.temperature == 1 ? QStringLiteral(":-40.0°F - 140°F")
                                               : QStringLiteral(":-40.0°C - 60.0°C"),
                        language);
        case kLowHumidity:
            return Hint(kStrLowAlarm, kStrHumidity, QStringLiteral(":1 - 99"), language);
        case kAlarmSmsInterval:
        case kUploadInterval:
        case kSendCurrentInterval:
            return QString();
        default:
            return std::nullopt;
    }
}

const QList<int>& RangeToolTipIds() {
    static const QList<int> ids = {
        kTemperatureOffset, kHumidityOffset,    kWindFactor,
        kRainFactor,        kLightFactor,       kUvFactor,
        kAbsPressureOffset, kRelPressureOffset, kAlarmSmsInterval,
        kUploadInterval,    kLoggerInterval,    kSendCurrentInterval,
        kSmsCheckInterval,  kDstStartMonthHint, kDstEndMonthHint,
        kDstStartWeekHint,  kDstEndWeekHint,    kDstStartHourHint,
        kDstEndHourHint,    kHighTemperature,   kHighDewPoint,
        kHighHumidity,      kLowHumidity,       kHighWind,
        kHighGust,          kHighDailyRain,     kHighRainRate,
        kLowTemperature,    kLowDewPoint,       kWindDirectionOffset,
    };
    return ids;
}

QString RangeToolTip(int id, const HintUnits& units, UiLanguage language) {
    const bool celsius = units.temperature == 0;
    switch (id) {
        case kTemperatureOffset:
            return celsius ? QStringLiteral("-6.0°C - 6.0°C") : QStringLiteral("-10.8°F - 10.8°F");
        case kHumidityOffset:
            return QStringLiteral("-20% - 20%");
        case kWindFactor:
        case kRainFactor:
        case kLightFactor:
            return QStringLiteral(" 0.10 - 5.00");
        case kUvFactor:
            return QStringLiteral(" 0.05 - 10.00");
        case kAbsPressureOffset:
        case kRelPressureOffset:
            switch (units.pressure) {
                case 0:
                    return QStringLiteral("-800hpa - 800hpa");
                case 1:
                    return QStringLiteral("-600 - 600mmHg");
                default:
                    return QStringLiteral("-23.6 - 23.6inHg");
            }
        case kAlarmSmsInterval:
            return AlarmSmsRange(language);
        case kUploadInterval:
            return MinuteRange(language);
        case kLoggerInterval:
            return QStringLiteral("1 - 240 (") + LoadString(kStrMinute, language) + u')';
        case kSendCurrentInterval:
        case kSmsCheckInterval:
            return HourRange(language);
        case kDstStartMonthHint:
        case kDstEndMonthHint:
            return QStringLiteral("01 - 12");
        case kDstStartWeekHint:
        case kDstEndWeekHint:
            return QStringLiteral("1 - 6");
        case kDstStartHourHint:
        case kDstEndHourHint:
            return QStringLiteral("00 - 23");
        case kHighTemperature:
        case kHighDewPoint:
            // Both high temperature texts end in a blank, in either unit.
            return celsius ? QStringLiteral("-40.0°C - 60.0°C ")
                           : QStringLiteral("-40.0°F - 140.0°F ");
        case kLowTemperature:
        case kLowDewPoint:
            return celsius ? QStringLiteral("-40.0°C - 60.0°C")
                           : QStringLiteral("-40.0°F - 140.0°F");
        case kHighHumidity:
        case kLowHumidity:
            return QStringLiteral("1 - 99");
        case kHighWind:
        case kHighGust:
            switch (units.wind) {
                case 0:
                    return QStringLiteral("0.0 - 180.0km/h");
                case 1:
                    return QStringLiteral("0.0 - 111.8mph");
                case 2:
                    return QStringLiteral("0.0 - 97.2knot");
                case 3:
                    return QStringLiteral("0.0 - 50.0m/s");
                case 4:
                    return QStringLiteral("0 - 12bft");
                default:
                    return QString();
            }
        case kHighDailyRain:
        case kHighRainRate:
            return units.rain == 0 ? QStringLiteral("0.0 - 999.0mm")
                                   : QStringLiteral("0.0 - 39.33inch");
        case kWindDirectionOffset:
            return QStringLiteral("±180");
        default:
            return QString();
    }
}

std::optional<QString> IntervalToolTip(int comboId, int index, UiLanguage language) {
    switch (comboId) {
        case kSendCurrentIntervalUnit:
        case kSmsCheckIntervalUnit:
        case kUploadIntervalUnit:
            if (index == 0) return HourRange(language);
            if (index == 1) return MinuteRange(language);
            return std::nullopt;
        case kAlarmSmsIntervalUnit:
            if (index == 0) return AlarmSmsRange(language);
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace orvane
