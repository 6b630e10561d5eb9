#include <gtest/gtest.h>

#include "MaxMinBlocks.h"
#include "MaxMinControls.h"
#include "MaxMinLayout.h"

using namespace orvane;

namespace {

const QString kReply = QStringLiteral(
    "MAX MIN:History Max\r\nTemp=35.2C 2013-07-01 14:20\r\nWindGust=20.1m/s\r\n"
    "History Min\r\nTemp=-12.5C\r\nHumi=12%\r\n"
    "Today Max\r\nDewpoint=18.0C\r\nDayRain=3.2mm\r\n"
    "Today Min\r\nLight=0lux\r\n@");

}  // namespace

TEST(MaxMinBlocks, EachBlockRunsFromItsKeywordToTheNextAndTheTagIsDropped) {
    const auto blocks = SplitMaxMinBlocks(kReply);
    EXPECT_EQ(blocks[0], "History Max\r\nTemp=35.2C 2013-07-01 14:20\r\nWindGust=20.1m/s\r\n");
    EXPECT_EQ(blocks[1], "History Min\r\nTemp=-12.5C\r\nHumi=12%\r\n");
    EXPECT_EQ(blocks[2], "Today Max\r\nDewpoint=18.0C\r\nDayRain=3.2mm\r\n");
    // Every "@" is gone, the last block runs to the end.
    EXPECT_EQ(blocks[3], "Today Min\r\nLight=0lux\r\n");
}

TEST(MaxMinBlocks, ABlockEndsAtTheNearestLaterKeywordFound) {
    const struct {
        const char* reply;
        std::array<const char*, 4> blocks;
    } cases[] = {
        // No "Today Max": History Min runs on to Today Min.
        {"History Max a History Min b Today Min c@",
         {"History Max a ", "History Min b ", "", "Today Min c"}},
        // Only the first keyword: it runs to the end.
        {"MAX MIN:History Max a b@", {"History Max a b", "", "", ""}},
        // Out of order: each block still ends where the next one begins.
        {"Today Max x Today Min y History Max z History Min w",
         {"History Max z ", "History Min w", "Today Max x ", "Today Min y "}},
        {"", {"", "", "", ""}},
    };
    for (const auto& c : cases) {
        const auto blocks = SplitMaxMinBlocks(QString::fromLatin1(c.reply));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(blocks[i], c.blocks[i]) << c.reply << " #" << i;
    }
}

TEST(MaxMinLocalise, ReplacesEveryKeywordEvenInsideLongerWords) {
    // "WindGust" holds two keywords; "Temp" inside "Tempest" is replaced too.
    EXPECT_EQ(LocaliseMaxMinBlock(QStringLiteral("History Max Temp WindGust Tempest"),
                                  UiLanguage::English),
              "History Max Temperature WindGust Temperatureest");
    EXPECT_EQ(LocaliseMaxMinBlock(QStringLiteral("Today Min Temp=1 Humi=2 Dewpoint=3 Rainrate=4"),
                                  UiLanguage::Chinese),
              QString::fromUtf8("今天最小值 温度=1 湿度=2 露点=3 降雨率=4"));
    EXPECT_EQ(LocaliseMaxMinBlock(QStringLiteral("WeekRain MonthRain YearRain DayRain Light Gust"),
                                  UiLanguage::Chinese),
              QString::fromUtf8("周降雨 月降雨 年降雨 日降雨 光照 阵风"));
}

TEST(MaxMinRecords, FillTheWindowInTheGivenLanguageWithOneLineATextLine) {
    MemoryMaxMinWindow window;
    ShowMaxMinRecords(window, kReply, UiLanguage::Chinese);
    EXPECT_EQ(window.Title(), QString::fromUtf8(" 最大最小值"));
    EXPECT_EQ(window.Text(MaxMinId::kExit), QString::fromUtf8("退出"));
    EXPECT_EQ(window.Text(MaxMinId::kHistoryMax),
              QString::fromUtf8("最大值\n温度=35.2C 2013-07-01 14:20\n风速阵风=20.1m/s\n"));
    EXPECT_EQ(window.Text(MaxMinId::kHistoryMin),
              QString::fromUtf8("最小值\n温度=-12.5C\n湿度=12%\n"));
    EXPECT_EQ(window.Text(MaxMinId::kTodayMax),
              QString::fromUtf8("今天最大值\n露点=18.0C\n日降雨=3.2mm\n"));
    EXPECT_EQ(window.Text(MaxMinId::kTodayMin), QString::fromUtf8("今天最小值\n光照=0lux\n"));

    ShowMaxMinRecords(window, QStringLiteral("MAX MIN:Today Min Temp=1@"), UiLanguage::English);
    EXPECT_EQ(window.Title(), "Max/Min Record");
    EXPECT_EQ(window.Text(MaxMinId::kExit), "Exit");
    EXPECT_EQ(window.Text(MaxMinId::kHistoryMax), "");
    EXPECT_EQ(window.Text(MaxMinId::kTodayMin), "Today Min Temperature=1");
}
