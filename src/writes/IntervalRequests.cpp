#include "IntervalRequests.h"

#include "Readings.h"
#include "RequestText.h"
#include "Requests.h"
#include "SettingsControls.h"

namespace orvane {

namespace {

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
    const char* request;
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
    return FormatRequest(interval.request, {value});
}

const IntervalUnit kNever{0, 0, nullptr, nullptr, "0m"};

}  // namespace

QString BuildLoggerIntervalRequest(ControlWindow& window) {
    return Build(window,
                 {"Data logger interval", SettingsId::kLoggerInterval, Request::kWriteIntervalSave},
                 {1, 240, "DataLogger:1 to 240 (minute)", "m", nullptr});
}

QString BuildSendCurrentRequest(ControlWindow& window) {
    const Interval interval{"Send current interval", SettingsId::kSendCurrentInterval,
                            Request::kWriteIntervalSend};
    switch (window.SelectedIndex(SettingsId::kSendCurrentIntervalUnit)) {
        case 0:
            return Build(window, interval, {1, 24, "Send Current:1 to 24 (Hour)", "h", nullptr});
        case 1:
            return Build(window, interval, {1, 59, "Send Current:1 to 59 (minute)", "m", nullptr});
        default:
            return Build(window, interval, kNever);
    }
}

QString BuildAlarmIntervalRequest(ControlWindow& window) {
    const Interval interval{"Next alarm SMS interval", SettingsId::kAlarmSmsInterval,
                            Request::kWriteIntervalAlarm};
    if (window.SelectedIndex(SettingsId::kAlarmSmsIntervalUnit) == 0)
        return Build(window, interval,
                     {10, 120, "Alarm Interval:10 to 120 (minute)", "m", nullptr});
    return Build(window, interval, kNever);
}

QString BuildUploadIntervalRequest(ControlWindow& window) {
    const Interval interval{"Web upload interval", SettingsId::kUploadInterval,
                            Request::kWriteIntervalUpdate};
    switch (window.SelectedIndex(SettingsId::kUploadIntervalUnit)) {
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
    const Interval interval{"SMS check interval", SettingsId::kSmsCheckInterval,
                            Request::kWriteIntervalReceiveSms};
    switch (window.SelectedIndex(SettingsId::kSmsCheckIntervalUnit)) {
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

}  // namespace orvane
