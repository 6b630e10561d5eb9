#include "TimeRequests.h"

#include "ControlText.h"
#include "Readings.h"
#include "Requests.h"
#include "SettingsControls.h"

namespace orvane {

namespace {

int SelectedNumber(ControlWindow& window, int id) {
    return ReadInteger(SelectedItemText(window, id));
}

}  // namespace

int SundayCount(const QDate& date) {
    int count = 0;
    for (int day = 1; day <= date.day(); ++day)
        if (QDate(date.year(), date.month(), day).dayOfWeek() == Qt::Sunday) ++count;
    return count;
}

QString BuildTimeRequest(ControlWindow& window, const Clock& clock) {
    QDate local = window.DateTime(SettingsId::kDatePicker).date();
    if (!local.isValid()) local = clock.LocalNow().date();
    const int weekday = local.dayOfWeek() % 7;  // Sunday is 0
    const QDateTime utc = clock.UtcNow().toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    return FormatRequest(Request::kWriteTime, {weekday, d.year(), d.month(), d.day(), t.hour(),
                                               t.minute(), t.second(), SundayCount(local)});
}

QString BuildTimeZoneRequest(ControlWindow& window) {
    return FormatRequest(Request::kWriteTimeZone,
                         {SelectedItemText(window, SettingsId::kTimeZone)});
}

QString BuildDaylightRequest(ControlWindow& window) {
    const QString dst =
        window.IsChecked(SettingsId::kDst) ? QStringLiteral("On") : QStringLiteral("Off");
    return FormatRequest(Request::kWriteDaylight,
                         {dst, SelectedNumber(window, SettingsId::kDstStartMonth),
                          SelectedNumber(window, SettingsId::kDstStartWeek),
                          SelectedNumber(window, SettingsId::kDstStartHour),
                          SelectedNumber(window, SettingsId::kDstEndMonth),
                          SelectedNumber(window, SettingsId::kDstEndWeek),
                          SelectedNumber(window, SettingsId::kDstEndHour)});
}

}  // namespace orvane
