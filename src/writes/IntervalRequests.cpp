#include "IntervalRequests.h"

#include "Readings.h"
#include "RequestText.h"
#include "StringTable.h"
#include "WriteControlIds.h"

namespace orvane {

namespace {

constexpr int kHourString = 162;
constexpr int kMinuteString = 163;

// What one unit index of an interval means.
struct IntervalUnit {
    int minimum = 0;      // inclusive; unused when the choice is fixed
    int maximum = 0;      // inclusive
    const char* message;  // refusal; nullptr for a fixed choice
    const char* suffix;   // appended to the text as entered
    const char* fixed;    // the whole value for a special choice
};

struct Interval {
    const char* fieldName;
    int field;
    const char* key;
};

QString Refuse(ControlWindow& window, int field, const QString& message) {
    window.MessageBox(message);
    window.SetFocus(field);
    return QString();
}

QString Build(ControlWindow& window, const Interval& interval, const IntervalUnit& unit) {
    QString value;
    if (unit.fixed) {
        value = QString::fromLatin1(unit.fixed);
    } else {
        const QString text = window.Text(interval.field);
        const int number = ReadInteger(text);
        if (number < unit.minimum || number > unit.maximum)
            return Refuse(window, interval.field, QString::fromLatin1(unit.message));
        const QString problem = RequestValueProblem(QString::fromLatin1(interval.fieldName), text);
        if (!problem.isEmpty()) return Refuse(window, interval.field, problem);
        value = text + QLatin1String(unit.suffix);
    }
    return QStringLiteral("Write&Interval<") + QLatin1String(interval.key) + u'=' + value +
           QStringLiteral(">&http 1.0");
}

const IntervalUnit kNever{0, 0, nullptr, nullptr, "0m"};

QString Hint(const char* range, int unitString) {
    return QLatin1String(range) + QStringLiteral(" (") + LoadString(unitString) + u')';
}

void Enable(ControlWindow& window, int field, const QString& hint) {
    window.SetEnabled(field, true);
    window.SetToolTip(field, hint);
}

void EmptyAndDisable(ControlWindow& window, int field) {
    window.SetText(field, QString());
    window.SetEnabled(field, false);
}

// The handler shared by the hour/minute/other combos.
void HourMinuteUnitChanged(ControlWindow& window, int combo, int field) {
    switch (window.SelectedIndex(combo)) {
        case 0:
            Enable(window, field, Hint("1 - 24", kHourString));
            break;
        case 1:
            Enable(window, field, Hint("1 - 59", kMinuteString));
            break;
        default:
            EmptyAndDisable(window, field);
    }
}

}  // namespace

QString BuildLoggerIntervalRequest(ControlWindow& window) {
    return Build(window, {"Data logger interval", WriteId::kLoggerInterval, "Save"},
                 {1, 240, "DataLogger:1 to 240 (minute)", "m", nullptr});
}

QString BuildSendCurrentRequest(ControlWindow& window) {
    const Interval interval{"Send current interval", WriteId::kSendCurrentInterval, "Send"};
    switch (window.SelectedIndex(WriteId::kSendCurrentUnit)) {
        case 0:
            return Build(window, interval, {1, 24, "Send Current:1 to 24 (Hour)", "h", nullptr});
        case 1:
            return Build(window, interval, {1, 59, "Send Current:1 to 59 (minute)", "m", nullptr});
        default:
            return Build(window, interval, kNever);
    }
}

QString BuildAlarmIntervalRequest(ControlWindow& window) {
    const Interval interval{"Next alarm SMS interval", WriteId::kAlarmInterval, "Alarm"};
    if (window.SelectedIndex(WriteId::kAlarmIntervalUnit) == 0)
        return Build(window, interval,
                     {10, 120, "Alarm Interval:10 to 120 (minute)", "m", nullptr});
    return Build(window, interval, kNever);
}

QString BuildUploadIntervalRequest(ControlWindow& window) {
    const Interval interval{"Web upload interval", WriteId::kUploadInterval, "Update"};
    switch (window.SelectedIndex(WriteId::kUploadUnit)) {
        case 0:
            return Build(window, interval, {1, 24, "Upload Interval:1 to 24 (Hour)", "h", nullptr});
        case 1:
            return Build(window, interval,
                         {1, 59, "Upload Interval:1 to 59 (minute)", "m", nullptr});
        default:
            return Build(window, interval, kNever);
    }
}

QString BuildSmsCheckRequest(ControlWindow& window) {
    const Interval interval{"SMS check interval", WriteId::kSmsCheckInterval, "Receive SMS"};
    switch (window.SelectedIndex(WriteId::kSmsCheckUnit)) {
        case 0:
            return Build(window, interval, {1, 24, "SMS check:1 to 24 (Hour)", "h", nullptr});
        case 1:
            return Build(window, interval, {1, 59, "SMS check:1 to 59 (minute)", "m", nullptr});
        case 2:
            return Build(window, interval, {0, 0, nullptr, nullptr, "on"});
        default:
            return Build(window, interval, kNever);
    }
}

void SendCurrentUnitChanged(ControlWindow& window) {
    HourMinuteUnitChanged(window, WriteId::kSendCurrentUnit, WriteId::kSendCurrentInterval);
}

void SmsCheckUnitChanged(ControlWindow& window) {
    HourMinuteUnitChanged(window, WriteId::kSmsCheckUnit, WriteId::kSmsCheckInterval);
}

void UploadUnitChanged(ControlWindow& window) {
    HourMinuteUnitChanged(window, WriteId::kUploadUnit, WriteId::kUploadInterval);
}

void AlarmIntervalUnitChanged(ControlWindow& window) {
    if (window.SelectedIndex(WriteId::kAlarmIntervalUnit) == 0)
        Enable(window, WriteId::kAlarmInterval, Hint("10 - 120", kMinuteString));
    else
        EmptyAndDisable(window, WriteId::kAlarmInterval);
}

}  // namespace orvane
