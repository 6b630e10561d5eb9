#include "SettingsChange.h"

#include <QRegularExpression>

#include "MemoryControlWindow.h"
#include "SettingsControls.h"
#include "UnitSelection.h"
#include "WriteTransaction.h"

namespace orvane::ctl {

namespace S = SettingsId;

namespace {

// The window's Save order; a change sends its groups in this order.
constexpr int kGroupOrder[] = {S::kSaveUnit,       S::kSaveCalibration, S::kSaveTimeZone,
                               S::kSaveDaylight,   S::kSaveTelephone,   S::kSaveGprs,
                               S::kSaveWebServer,  S::kSaveAlarm,       S::kSaveLoggerInterval,
                               S::kSaveSendCurrent};

// Fields the window shows in a combo: the combo(s) must hold a selection
// after the record is applied, or the value meant nothing to the window.
QList<int> SelectionCombos(int number) {
    switch (number) {
        case 1:
            return {S::kTemperatureUnit};
        case 2:
            return {S::kLightUnit};
        case 3:
            return {S::kWindUnit};
        case 4:
            return {S::kRainUnit};
        case 5:
            return {S::kPressureUnit};
        case 15:
            return {S::kTimeZone};
        case 25:
            return {S::kDstStartMonth, S::kDstStartWeek, S::kDstStartHour};
        case 26:
            return {S::kDstEndMonth, S::kDstEndWeek, S::kDstEndHour};
        case 30:
            return {S::kServerType};
        case 31:
            return {S::kUploadType};
        case 56:
            return {S::kAlarmAll};
        default:
            return {};
    }
}

// The shape of the values the settings reply parser turns into controls
// without a combo to catch a mistake; anything else would be read as "off".
const QRegularExpression* ValueShape(int number) {
    static const QRegularExpression minutes(QStringLiteral("^\\d+m$"));
    static const QRegularExpression hoursOrMinutes(QStringLiteral("^\\d+[hm]$"));
    static const QRegularExpression logger(QStringLiteral("^\\d+[a-z]$"));
    static const QRegularExpression smsCheck(QStringLiteral("^(\\d+[hm]|on|off)$"));
    static const QRegularExpression flag(QStringLiteral("^[01]$"));
    static const QRegularExpression onOff(QStringLiteral("^(On|Off)$"));
    if (number == 16) return &minutes;
    if (number == 17 || number == 19) return &hoursOrMinutes;
    if (number == 18) return &logger;
    if (number == 20) return &smsCheck;
    if (number == 24) return &flag;
    if (number >= 46 && number <= 55) return &onOff;
    return nullptr;
}

}  // namespace

int GroupOf(int number) {
    if (number >= 1 && number <= 5) return S::kSaveUnit;
    if (number >= 6 && number <= 14) return S::kSaveCalibration;
    if (number == 15) return S::kSaveTimeZone;
    if (number == 17) return S::kSaveSendCurrent;
    if (number == 18) return S::kSaveLoggerInterval;
    if (number == 19 || (number >= 27 && number <= 32)) return S::kSaveWebServer;
    if (number == 20 || (number >= 33 && number <= 35)) return S::kSaveGprs;
    if ((number >= 21 && number <= 23) || number == 57) return S::kSaveTelephone;
    if (number >= 24 && number <= 26) return S::kSaveDaylight;
    return S::kSaveAlarm;  // 16 and 36..56
}

QString GroupName(int saveButton) {
    switch (saveButton) {
        case S::kSaveUnit:
            return QStringLiteral("units");
        case S::kSaveCalibration:
            return QStringLiteral("calibration");
        case S::kSaveTimeZone:
            return QStringLiteral("time zone");
        case S::kSaveDaylight:
            return QStringLiteral("daylight saving");
        case S::kSaveTelephone:
            return QStringLiteral("telephone");
        case S::kSaveGprs:
            return QStringLiteral("GPRS");
        case S::kSaveWebServer:
            return QStringLiteral("web server");
        case S::kSaveAlarm:
            return QStringLiteral("alarms");
        case S::kSaveLoggerInterval:
            return QStringLiteral("logger interval");
        case S::kSaveSendCurrent:
            return QStringLiteral("send current interval");
        default:
            return QString::number(saveButton);
    }
}

SettingsChange PlanChange(const StationSettings& held, const QList<SettingsFileLine>& lines) {
    SettingsChange change;
    change.wanted = held;
    StationSettings& w = change.wanted;
    w.searchedWebPassword = ShownValue(held, 29);
    w.searchedGprsPassword = ShownValue(held, 35);
    w.searchedSmsTestId = ShownValue(held, 57);
    w.hasSearchedValues = true;
    for (const SettingsFileLine& line : lines) {
        w.Field(line.number) = line.value;
        if (line.number == 29) w.searchedWebPassword = line.value;
        if (line.number == 35) w.searchedGprsPassword = line.value;
        if (line.number == 57) w.searchedSmsTestId = line.value;
    }
    QList<int> groups;
    for (int n = 1; n <= StationSettings::kFieldCount; ++n) {
        const QString before = ShownValue(held, n), after = ShownValue(w, n);
        if (before == after) continue;
        change.differences.append({n, before, after});
        if (!groups.contains(GroupOf(n))) groups.append(GroupOf(n));
    }
    for (int group : kGroupOrder)
        if (groups.contains(group)) change.groups.append(group);
    return change;
}

QStringList CheckChange(const SettingsChange& change, MemoryControlWindow& window,
                        UnitSelection& units, const Clock& clock) {
    QStringList problems;
    ApplyStationSettings(change.wanted, window, units);
    ApplySearchedValues(change.wanted, window);
    for (const SettingDifference& d : change.differences) {
        const QRegularExpression* shape = ValueShape(d.number);
        bool understood = !shape || shape->match(d.wanted).hasMatch();
        for (int combo : SelectionCombos(d.number))
            understood = understood && window.SelectedIndex(combo) >= 0;
        if (!understood)
            problems << QStringLiteral("%1: \"%2\" is not a value the station takes")
                            .arg(QLatin1String(SettingNameOf(d.number).name), d.wanted);
    }
    for (int group : change.groups) {
        window.ClearMessages();
        const QStringList texts = BuildGroupRequests(group, window, clock);
        const QStringList shown = window.Messages();
        if (!shown.isEmpty() || !GroupWouldSend(group, texts))
            problems << QStringLiteral("%1 refused: %2")
                            .arg(GroupName(group), shown.isEmpty()
                                                       ? QStringLiteral("a value is missing")
                                                       : shown.join(QStringLiteral("; ")));
    }
    window.ClearMessages();
    return problems;
}

}  // namespace orvane::ctl
