#include "TimeRequests.h"

#include "ControlText.h"
#include "Readings.h"
#include "WriteControlIds.h"

namespace orvane {

namespace {

QString TwoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

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
    QDate local = window.DateTime(WriteId::kDatePicker).date();
    if (!local.isValid()) local = clock.LocalNow().date();
    const int weekday = local.dayOfWeek() % 7;  // Sunday is 0
    const QDateTime utc = clock.UtcNow().toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    return QStringLiteral("Write&Time=%1&%2-%3-%4&%5:%6:%7&%8&http 1.0")
        .arg(weekday)
        .arg(d.year())
        .arg(TwoDigits(d.month()), TwoDigits(d.day()), TwoDigits(t.hour()), TwoDigits(t.minute()),
             TwoDigits(t.second()))
        .arg(SundayCount(local));
}

QString BuildTimeZoneRequest(ControlWindow& window) {
    return QStringLiteral("Write&time zone=%1&http 1.0")
        .arg(SelectedItemText(window, WriteId::kTimeZone));
}

QString BuildDaylightRequest(ControlWindow& window) {
    const QString dst =
        window.IsChecked(WriteId::kDst) ? QStringLiteral("On") : QStringLiteral("Off");
    const int startMonth = SelectedNumber(window, WriteId::kDstStartMonth);
    const int startWeek = SelectedNumber(window, WriteId::kDstStartWeek);
    const int startHour = SelectedNumber(window, WriteId::kDstStartHour);
    const int endMonth = SelectedNumber(window, WriteId::kDstEndMonth);
    const int endWeek = SelectedNumber(window, WriteId::kDstEndWeek);
    const int endHour = SelectedNumber(window, WriteId::kDstEndHour);
    return QStringLiteral("Write&Daylight<DST=%1&start time=%2:%3:%4&end time=%5:%6:%7>&http 1.0")
        .arg(dst, TwoDigits(startMonth), QString::number(startWeek), TwoDigits(startHour),
             TwoDigits(endMonth), QString::number(endWeek), TwoDigits(endHour));
}

}  // namespace orvane
