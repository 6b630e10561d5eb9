#include "StationSettings.h"

#include <QList>
#include <array>

#include "ControlWindow.h"
#include "Readings.h"
#include "SelectionRules.h"
#include "SettingsControls.h"
#include "TextPositions.h"
#include "UnitSelection.h"

namespace orvane {

using namespace SettingsId;

namespace {

using FieldPtr = QString StationSettings::*;

constexpr std::array<FieldPtr, StationSettings::kFieldCount> kFields = {
    &StationSettings::temperatureUnit,
    &StationSettings::lightUnit,
    &StationSettings::windUnit,
    &StationSettings::rainUnit,
    &StationSettings::pressureUnit,
    &StationSettings::windDirectionOffset,
    &StationSettings::temperatureOffset,
    &StationSettings::humidityOffset,
    &StationSettings::windFactor,
    &StationSettings::rainFactor,
    &StationSettings::lightFactor,
    &StationSettings::uvFactor,
    &StationSettings::absPressureOffset,
    &StationSettings::relPressureOffset,
    &StationSettings::timeZone,
    &StationSettings::alarmSmsInterval,
    &StationSettings::sendCurrentInterval,
    &StationSettings::loggerInterval,
    &StationSettings::uploadInterval,
    &StationSettings::smsCheckInterval,
    &StationSettings::telephone1,
    &StationSettings::telephone2,
    &StationSettings::telephone3,
    &StationSettings::dstEnabled,
    &StationSettings::dstStart,
    &StationSettings::dstEnd,
    &StationSettings::webHost,
    &StationSettings::webId,
    &StationSettings::webPassword,
    &StationSettings::serverType,
    &StationSettings::uploadType,
    &StationSettings::serverPort,
    &StationSettings::gprsApn,
    &StationSettings::gprsUser,
    &StationSettings::gprsPassword,
    &StationSettings::highTemperature,
    &StationSettings::highDewPoint,
    &StationSettings::highHumidity,
    &StationSettings::highWind,
    &StationSettings::highGust,
    &StationSettings::highRainRate,
    &StationSettings::highDailyRain,
    &StationSettings::lowTemperature,
    &StationSettings::lowDewPoint,
    &StationSettings::lowHumidity,
    &StationSettings::lowTemperatureSwitch,
    &StationSettings::lowDewPointSwitch,
    &StationSettings::lowHumiditySwitch,
    &StationSettings::highTemperatureSwitch,
    &StationSettings::highDewPointSwitch,
    &StationSettings::highHumiditySwitch,
    &StationSettings::highWindSwitch,
    &StationSettings::highGustSwitch,
    &StationSettings::highRainRateSwitch,
    &StationSettings::highDailyRainSwitch,
    &StationSettings::alarmAll,
    &StationSettings::smsTestId,
};

// Only this many "=" and line breaks of a reply are looked at.
constexpr int kMaxEquals = StationSettings::kFieldCount;
constexpr int kMaxLineBreaks = 80;

const QString kCrLf = QStringLiteral("\r\n");

struct Validation {
    int field;
    const char* allowed;
};

constexpr Validation kValidations[] = {
    {6, CharClass::kNumber},       {7, CharClass::kTemperature},  {8, CharClass::kNumber},
    {9, CharClass::kNumber},       {10, CharClass::kNumber},      {11, CharClass::kNumber},
    {12, CharClass::kNumber},      {13, CharClass::kPressure},    {14, CharClass::kPressure},
    {25, CharClass::kClock},       {26, CharClass::kClock},       {36, CharClass::kTemperature},
    {37, CharClass::kTemperature}, {38, CharClass::kNumber},      {39, CharClass::kWind},
    {40, CharClass::kWind},        {41, CharClass::kRain},        {42, CharClass::kRain},
    {43, CharClass::kTemperature}, {44, CharClass::kTemperature}, {45, CharClass::kNumber},
};

// The text from `from` up to `to` (both found) with every `key` removed;
// empty when either end is missing, since the value is then incomplete.
QString Between(const QString& s, qsizetype from, qsizetype to, const QString& key) {
    if (from < 0 || to < from) return QString();
    QString value = s.mid(from, to - from);
    value.remove(key);
    return value;
}

void FindSearchedValues(const QString& s, StationSettings& settings) {
    const qsizetype p = s.indexOf(QStringLiteral("Password"));
    const qsizetype q = s.indexOf(QStringLiteral("&Server"));
    if (p < 0 || q < 0 || p >= q) return;
    const QString passwordKey = QStringLiteral("Password=");
    const QString end = QStringLiteral(">\r\n");
    settings.hasSearchedValues = true;
    settings.searchedWebPassword = Between(s, p, q, passwordKey);

    const qsizetype p2 = s.indexOf(QStringLiteral("Password"), q);
    const qsizetype e2 = p2 < 0 ? -1 : s.indexOf(end, p2);
    settings.searchedGprsPassword = Between(s, p2, e2, passwordKey);

    const qsizetype i3 = e2 < 0 ? -1 : s.indexOf(QStringLiteral("ID"), e2);
    const qsizetype e3 = i3 < 0 ? -1 : s.indexOf(end, i3);
    settings.searchedSmsTestId = Between(s, i3, e3, QStringLiteral("ID="));
}

}  // namespace

QString& StationSettings::Field(int number) {
    Q_ASSERT(number >= 1 && number <= kFieldCount);
    return this->*kFields[size_t(number - 1)];
}

const QString& StationSettings::Field(int number) const {
    Q_ASSERT(number >= 1 && number <= kFieldCount);
    return this->*kFields[size_t(number - 1)];
}

QString SettingsReplyErrorText(SettingsReplyError error) {
    switch (error) {
        case SettingsReplyError::EmptyReply:
            return QStringLiteral("Error");
        case SettingsReplyError::InvalidValue:
            return QStringLiteral("Read Error");
        case SettingsReplyError::None:
            break;
    }
    return QString();
}

SettingsParseResult ParseSettingsReply(const QString& text) {
    SettingsParseResult result;
    QString s = text;
    const qsizetype unit = s.indexOf(QStringLiteral("Unit"));
    if (unit >= 0) s = s.mid(unit);

    FindSearchedValues(s, result.settings);

    // One key=value pair a line; block names become lines without "=".
    s.replace(u'&', kCrLf);
    s.replace(u'<', QStringLiteral(":\r\n"));
    s.remove(u'>');
    if (s.isEmpty()) {
        result.error = SettingsReplyError::EmptyReply;
        return result;
    }

    // Only the order of the "=" signs matters; keys are never examined.
    const QList<qsizetype> equals = TextPositions(s, QStringLiteral("="), kMaxEquals);
    const QList<qsizetype> breaks = TextPositions(s, kCrLf, kMaxLineBreaks);
    qsizetype nextBreak = 0;
    for (int i = 0; i < equals.size(); ++i) {
        const qsizetype start = equals[i] + 1;
        while (nextBreak < breaks.size() && breaks[nextBreak] < start) ++nextBreak;
        // A field whose line does not end among the considered line breaks
        // is incomplete and stays empty, like a missing one.
        if (nextBreak < breaks.size())
            result.settings.Field(i + 1) = s.mid(start, breaks[nextBreak] - start);
    }

    for (const Validation& v : kValidations) {
        if (!BelongsToClass(result.settings.Field(v.field), v.allowed)) {
            result.error = SettingsReplyError::InvalidValue;
            return result;
        }
    }
    return result;
}

void ApplySearchedValues(const StationSettings& settings, ControlWindow& window) {
    if (!settings.hasSearchedValues) return;
    window.SetText(kWebPassword, settings.searchedWebPassword);
    window.SetText(kGprsPassword, settings.searchedGprsPassword);
    window.SetText(kSmsTestId, settings.searchedSmsTestId);
}

namespace {

// Selects by index, clearing the selection for an index the combo lacks.
// Wide, so that a received "-2147483648" can be made zero-based without
// overflowing.
void SelectInRange(ControlWindow& window, int id, long long index) {
    window.SelectIndex(id, index >= 0 && index < window.ItemCount(id) ? int(index) : -1);
}

void SelectUnit(ControlWindow& window, UnitSelection& units, Quantity quantity,
                const QString& token, bool remember) {
    const int combo = UnitSelection::ComboId(quantity);
    const bool found = window.SelectText(combo, UnitSelection::ItemTextForToken(quantity, token));
    if (remember) units.Remember(quantity, found ? window.SelectedIndex(combo) : kNoUnit);
}

struct Interval {
    QString number;
    QChar letter;
};

Interval SplitInterval(const QString& value) {
    if (value.isEmpty()) return {};
    return {value.left(value.size() - 1), value.back()};
}

bool IsOn(const Interval& v, char letter) {
    return v.letter == QChar(letter) && v.number != "0";
}

// An interval in hours (combo item 0) or minutes (item 1) goes into the edit
// and selects its unit; false, with nothing written, for any other value.
bool ApplyHoursOrMinutes(ControlWindow& window, const QString& value, int edit, int combo) {
    const Interval v = SplitInterval(value);
    const int unit = IsOn(v, 'h') ? 0 : IsOn(v, 'm') ? 1 : -1;
    if (unit < 0) return false;
    window.SetText(edit, v.number);
    window.SelectIndex(combo, unit);
    return true;
}

// Hours, minutes, or off (item 2).
void ApplyHourMinuteInterval(ControlWindow& window, const QString& value, int edit, int combo) {
    if (ApplyHoursOrMinutes(window, value, edit, combo)) return;
    window.SetText(edit, QString());
    window.SelectIndex(combo, 2);
}

void ApplyIntervals(const StationSettings& st, ControlWindow& window) {
    // Next alarm SMS: minutes or never.
    const Interval alarm = SplitInterval(st.alarmSmsInterval);
    const bool minutes = IsOn(alarm, 'm');
    window.SetText(kAlarmSmsInterval, minutes ? alarm.number : QString());
    window.SelectIndex(kAlarmSmsIntervalUnit, minutes ? 0 : 1);

    ApplyHourMinuteInterval(window, st.sendCurrentInterval, kSendCurrentInterval,
                            kSendCurrentIntervalUnit);
    window.SetText(kLoggerInterval, SplitInterval(st.loggerInterval).number);
    ApplyHourMinuteInterval(window, st.uploadInterval, kUploadInterval, kUploadIntervalUnit);

    // SMS check: hours, minutes, always on, always off. The edit of the last
    // two is emptied by the combo's own rule afterwards.
    if (!ApplyHoursOrMinutes(window, st.smsCheckInterval, kSmsCheckInterval, kSmsCheckIntervalUnit))
        window.SelectIndex(kSmsCheckIntervalUnit, st.smsCheckInterval == "on" ? 2 : 3);
}

// "month:week:hour" into the three daylight combos; months and weeks count
// from 1, hours from 0.
void ApplyClock(ControlWindow& window, const QString& value, int month, int week, int hour) {
    const qsizetype c1 = value.indexOf(u':');
    const qsizetype c2 = c1 < 0 ? -1 : value.indexOf(u':', c1 + 1);
    const QString monthText = c1 < 0 ? value : value.left(c1);
    const QString weekText = c1 < 0 ? QString() : value.mid(c1 + 1, c2 < 0 ? -1 : c2 - c1 - 1);
    const QString hourText = c2 < 0 ? QString() : value.mid(c2 + 1, 2);
    SelectInRange(window, month, ReadInteger(monthText) - 1LL);
    SelectInRange(window, week, ReadInteger(weekText) - 1LL);
    SelectInRange(window, hour, ReadInteger(hourText));
}

void SetSwitch(ControlWindow& window, int id, const QString& value) {
    window.SetChecked(id, value == QStringLiteral("On"));  // case matters
}

}  // namespace

void ApplyStationSettings(const StationSettings& st, ControlWindow& window, UnitSelection& units) {
    window.SelectText(kTimeZone, st.timeZone);

    SelectUnit(window, units, Quantity::Temperature, st.temperatureUnit, true);
    SelectUnit(window, units, Quantity::Light, st.lightUnit, false);
    SelectUnit(window, units, Quantity::Wind, st.windUnit, true);
    SelectUnit(window, units, Quantity::Rain, st.rainUnit, true);
    SelectUnit(window, units, Quantity::Pressure, st.pressureUnit, true);

    window.SetText(kWindDirectionOffset, st.windDirectionOffset);
    window.SetText(kTemperatureOffset, StripTrailing(st.temperatureOffset, Suffix::kTemperature));
    window.SetText(kHumidityOffset, st.humidityOffset);
    window.SetText(kWindFactor, st.windFactor);
    window.SetText(kRainFactor, st.rainFactor);
    window.SetText(kLightFactor, st.lightFactor);
    window.SetText(kUvFactor, st.uvFactor);
    window.SetText(kAbsPressureOffset, StripTrailing(st.absPressureOffset, Suffix::kPressure));
    window.SetText(kRelPressureOffset, StripTrailing(st.relPressureOffset, Suffix::kPressure));
    window.SetText(kTelephone1, st.telephone1);
    window.SetText(kTelephone2, st.telephone2);
    window.SetText(kTelephone3, st.telephone3);

    ApplyIntervals(st, window);

    window.SetChecked(kDst, ReadInteger(st.dstEnabled) != 0);
    ApplyClock(window, st.dstStart, kDstStartMonth, kDstStartWeek, kDstStartHour);
    ApplyClock(window, st.dstEnd, kDstEndMonth, kDstEndWeek, kDstEndHour);

    window.SetText(kWebHost, st.webHost);
    window.SetText(kWebId, st.webId);
    window.SetText(kServerPort, st.serverPort);
    window.SelectText(kServerType, st.serverType);
    SelectInRange(window, kUploadType, ReadInteger(st.uploadType));
    if (st.webHost == QLatin1String(kServiceWebHost)) {
        for (int id : {kServerType, kUploadType, kServerPort}) window.SetEnabled(id, false);
        WebHostChanged(window);
    } else {
        for (int id : {kServerType, kUploadType, kServerPort}) window.SetEnabled(id, true);
    }

    window.SetText(kGprsApn, st.gprsApn);
    window.SetText(kGprsUser, st.gprsUser);
    window.SetText(kHighTemperature, StripTrailing(st.highTemperature, Suffix::kTemperature));
    window.SetText(kHighDewPoint, StripTrailing(st.highDewPoint, Suffix::kTemperature));
    window.SetText(kHighHumidity, st.highHumidity);
    window.SetText(kHighWind, StripTrailing(st.highWind, Suffix::kWind));
    window.SetText(kHighGust, StripTrailing(st.highGust, Suffix::kWind));
    window.SetText(kHighDailyRain, StripTrailing(st.highDailyRain, Suffix::kRain));
    window.SetText(kHighRainRate, StripTrailing(st.highRainRate, Suffix::kRain));
    window.SetText(kLowTemperature, StripTrailing(st.lowTemperature, Suffix::kTemperature));
    window.SetText(kLowDewPoint, StripTrailing(st.lowDewPoint, Suffix::kTemperature));
    window.SetText(kLowHumidity, st.lowHumidity);
    SetSwitch(window, kHighTemperatureSwitch, st.highTemperatureSwitch);
    SetSwitch(window, kHighDewPointSwitch, st.highDewPointSwitch);
    SetSwitch(window, kHighHumiditySwitch, st.highHumiditySwitch);
    SetSwitch(window, kHighWindSwitch, st.highWindSwitch);
    SetSwitch(window, kHighGustSwitch, st.highGustSwitch);
    SetSwitch(window, kHighRainRateSwitch, st.highRainRateSwitch);
    SetSwitch(window, kHighDailyRainSwitch, st.highDailyRainSwitch);
    SetSwitch(window, kLowTemperatureSwitch, st.lowTemperatureSwitch);
    SetSwitch(window, kLowDewPointSwitch, st.lowDewPointSwitch);
    SetSwitch(window, kLowHumiditySwitch, st.lowHumiditySwitch);
    SelectInRange(window, kAlarmAll, ReadInteger(st.alarmAll));

    // As if the user had just picked each combo. The remembered units equal
    // the selections now, so nothing is converted: only captions and tips.
    TemperatureUnitChanged(window, units);
    WindUnitChanged(window, units);
    RainUnitChanged(window, units);
    PressureUnitChanged(window, units);
    for (int combo : {kSendCurrentIntervalUnit, kSmsCheckIntervalUnit, kAlarmSmsIntervalUnit,
                      kUploadIntervalUnit})
        IntervalUnitChanged(window, combo);
    AlarmAllChanged(window);

    window.SetEnabled(kRead, true);
    window.SetEnabled(kSaveAll, true);
}

}  // namespace orvane
