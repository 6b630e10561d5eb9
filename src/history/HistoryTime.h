#pragma once

#include <QDateTime>
#include <QString>
#include <string_view>

namespace orvane {

// History time stamps are wall-clock times counted in days since
// 1899-12-30 00:00, the time of day as the fraction. Every function here is
// pure and may be called from any thread.

// Reads a time stamp as the station writes it: year-month-day or
// year/month/day, optionally followed by hours and minutes and optional
// seconds ("2013-05-07 9:05:00", "2013/5/7 9:05"); single-digit parts are
// accepted, surrounding blanks ignored. A text that is no valid date gives
// 0.0, the day the count starts.
double ParseDateTime(std::string_view text);
double ParseDateTime(const QString& text);
inline double ParseDateTime(const char* text) {
    return ParseDateTime(std::string_view(text));
}

// The same day count for a calendar date and time of day (no validation).
double DaysFromParts(int year, int month, int day, int hour, int minute, double second);

// Local date and time of a day count, to the millisecond, and back.
QDateTime DateTimeFromDays(double days);
double DaysFromDateTime(const QDateTime& value);

// The range text of the history queries: "%d-%02d-%02d %d:%02d:%02d"
// (year, month, day, hour without padding, minute, second).
QString FormatRangeText(const QDateTime& value);

}  // namespace orvane
