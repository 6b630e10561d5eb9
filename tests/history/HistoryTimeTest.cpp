#include <gtest/gtest.h>

#include "HistoryTime.h"

using namespace orvane;

TEST(HistoryTime, StationFormsGiveTheSameDayCount) {
    const double expected = DaysFromParts(2013, 5, 7, 9, 5, 0);
    EXPECT_DOUBLE_EQ(ParseDateTime("2013-05-07 9:05:00"), expected);
    EXPECT_DOUBLE_EQ(ParseDateTime("2013-05-07 09:05:00"), expected);
    EXPECT_DOUBLE_EQ(ParseDateTime("2013/5/7 9:5"), expected);
    EXPECT_DOUBLE_EQ(ParseDateTime("  2013-5-07  09:05  "), expected);
    EXPECT_DOUBLE_EQ(ParseDateTime("2013-05-07"), DaysFromParts(2013, 5, 7, 0, 0, 0));
    EXPECT_DOUBLE_EQ(ParseDateTime(QStringLiteral("2013-05-07 9:05:00")), expected);
}

TEST(HistoryTime, DayCountStartsAt1899_12_30) {
    EXPECT_DOUBLE_EQ(ParseDateTime("1899-12-30 00:00:00"), 0.0);
    EXPECT_DOUBLE_EQ(ParseDateTime("1900-01-01"), 2.0);
    EXPECT_DOUBLE_EQ(ParseDateTime("1970-01-01 12:00"), 25569.5);
    EXPECT_DOUBLE_EQ(ParseDateTime("2000-02-29 18:00:00"), 36585.75);
}

TEST(HistoryTime, TextThatIsNoDateGivesZero) {
    for (const char* text : {"", "-", "abc", "2013-13-01", "2013-02-29", "2013-05-32 1:00",
                             "2013-05-07 24:00", "2013-05-07 9:60", "2013-05-07 9", "2013-05/07",
                             "20130-05-07", "2013-05-07 9:05:00x", "05/07/2013 9:05"})
        EXPECT_EQ(ParseDateTime(text), 0.0) << text;
}

TEST(HistoryTime, RangeTextPadsAllButTheHour) {
    const QDateTime t(QDate(2013, 5, 7), QTime(9, 5, 0));
    EXPECT_EQ(FormatRangeText(t), "2013-05-07 9:05:00");
    EXPECT_EQ(FormatRangeText(QDateTime(QDate(2013, 12, 31), QTime(23, 59, 9))),
              "2013-12-31 23:59:09");
    EXPECT_DOUBLE_EQ(ParseDateTime(FormatRangeText(t)), DaysFromDateTime(t));
}

TEST(HistoryTime, DayCountsConvertBackToTheSameWallClockTime) {
    for (const char* text : {"2013-05-07 9:05:00", "2024-02-29 12:30:00", "1999-12-31 23:59:59"}) {
        const double days = ParseDateTime(text);
        EXPECT_DOUBLE_EQ(DaysFromDateTime(DateTimeFromDays(days)), days) << text;
    }
    EXPECT_EQ(DateTimeFromDays(ParseDateTime("2013-05-07 9:05:00")).toString("yyyy-MM-dd hh:mm:ss"),
              "2013-05-07 09:05:00");
}
