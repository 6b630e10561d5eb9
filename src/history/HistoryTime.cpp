#include "HistoryTime.h"

#include <cmath>

namespace orvane {

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's
// algorithm); exact for every year the station can write.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

constexpr long long kEpochOffsetDays = 25569;  // 1899-12-30 → 1970-01-01

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

struct Cursor {
    std::string_view s;
    size_t i = 0;
    bool AtEnd() const { return i >= s.size(); }
    char Peek() const { return AtEnd() ? '\0' : s[i]; }
    void SkipBlanks() {
        while (!AtEnd() && (s[i] == ' ' || s[i] == '\t')) ++i;
    }
    // Reads 1..maxDigits decimal digits.
    bool Number(int maxDigits, int& value) {
        int n = 0;
        value = 0;
        while (!AtEnd() && s[i] >= '0' && s[i] <= '9' && n < maxDigits) {
            value = value * 10 + (s[i] - '0');
            ++i;
            ++n;
        }
        return n > 0 && !(Peek() >= '0' && Peek() <= '9');
    }
};

}  // namespace

double DaysFromParts(int year, int month, int day, int hour, int minute, double second) {
    const long long days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
        kEpochOffsetDays;
    return static_cast<double>(days) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

double ParseDateTime(std::string_view text) {
    Cursor c{text};
    c.SkipBlanks();
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!c.Number(4, year)) return 0.0;
    const char sep = c.Peek();
    if (sep != '-' && sep != '/') return 0.0;
    ++c.i;
    if (!c.Number(2, month) || c.Peek() != sep) return 0.0;
    ++c.i;
    if (!c.Number(2, day)) return 0.0;
    if (year < 100 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return 0.0;
    c.SkipBlanks();
    if (!c.AtEnd()) {
        if (!c.Number(2, hour) || c.Peek() != ':') return 0.0;
        ++c.i;
        if (!c.Number(2, minute)) return 0.0;
        if (c.Peek() == ':') {
            ++c.i;
            if (!c.Number(2, second)) return 0.0;
        }
        c.SkipBlanks();
        if (!c.AtEnd() || hour > 23 || minute > 59 || second > 59) return 0.0;
    }
    return DaysFromParts(year, month, day, hour, minute, second);
}

double ParseDateTime(const QString& text) {
    if (text.size() > 64) return 0.0;
    const QByteArray latin = text.toLatin1();
    return ParseDateTime(std::string_view(latin.constData(), static_cast<size_t>(latin.size())));
}

QDateTime DateTimeFromDays(double days) {
    const double wholeDays = std::floor(days);
    long long msOfDay = std::llround((days - wholeDays) * 86400000.0);
    auto dayNumber = static_cast<long long>(wholeDays);
    if (msOfDay >= 86400000) {
        msOfDay -= 86400000;
        ++dayNumber;
    }
    const QDate date = QDate(1899, 12, 30).addDays(dayNumber);
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(msOfDay)));
}

double DaysFromDateTime(const QDateTime& value) {
    const QDate d = value.date();
    const QTime t = value.time();
    return DaysFromParts(d.year(), d.month(), d.day(), t.hour(), t.minute(),
                         t.second() + t.msec() / 1000.0);
}

QString FormatRangeText(const QDateTime& value) {
    const QDate d = value.date();
    const QTime t = value.time();
    return QString::asprintf("%d-%02d-%02d %d:%02d:%02d", d.year(), d.month(), d.day(), t.hour(),
                             t.minute(), t.second());
}

}  // namespace orvane
