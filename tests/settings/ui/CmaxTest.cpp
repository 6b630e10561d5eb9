#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>

#include "Cmax.h"
#include "MaxMinControls.h"
#include "QtControlWindow.h"

using namespace orvane;

namespace {

const QString kReply = QStringLiteral(
    "MAX MIN:History Max\r\nTemp=35.2C 2013-07-01 14:20\r\nWindGust=20.1m/s\r\n"
    "History Min\r\nTemp=-12.5C\r\nHumi=12%\r\n"
    "Today Max\r\nDewpoint=18.0C\r\nDayRain=3.2mm\r\n"
    "Today Min\r\nLight=0lux\r\n@");

}  // namespace

TEST(CmaxBlocks, EachBlockRunsFromItsKeywordToTheNextAndTheTagIsDropped) {
    const auto blocks = Cmax::SplitBlocks(kReply);
    EXPECT_EQ(blocks[0], "History Max\r\nTemp=35.2C 2013-07-01 14:20\r\nWindGust=20.1m/s\r\n");
    EXPECT_EQ(blocks[1], "History Min\r\nTemp=-12.5C\r\nHumi=12%\r\n");
    EXPECT_EQ(blocks[2], "Today Max\r\nDewpoint=18.0C\r\nDayRain=3.2mm\r\n");
    // Every "@" is gone, the last block runs to the end.
    EXPECT_EQ(blocks[3], "Today Min\r\nLight=0lux\r\n");
}

TEST(CmaxBlocks, ABlockEndsAtTheNearestLaterKeywordFound) {
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
        const auto blocks = Cmax::SplitBlocks(QString::fromLatin1(c.reply));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(blocks[i], c.blocks[i]) << c.reply << " #" << i;
    }
}

TEST(CmaxLocalise, ReplacesEveryKeywordEvenInsideLongerWords) {
    // "WindGust" holds two keywords; "Temp" inside "Tempest" is replaced too.
    EXPECT_EQ(
        Cmax::Localise(QStringLiteral("History Max Temp WindGust Tempest"), UiLanguage::English),
        "History Max Temperature WindGust Temperatureest");
    EXPECT_EQ(Cmax::Localise(QStringLiteral("Today Min Temp=1 Humi=2 Dewpoint=3 Rainrate=4"),
                             UiLanguage::Chinese),
              QString::fromUtf8("今天最小值 温度=1 湿度=2 露点=3 降雨率=4"));
    EXPECT_EQ(Cmax::Localise(QStringLiteral("WeekRain MonthRain YearRain DayRain Light Gust"),
                             UiLanguage::Chinese),
              QString::fromUtf8("周降雨 月降雨 年降雨 日降雨 光照 阵风"));
}

TEST(CmaxWindow, OpensWithTheBlocksInTheLanguageChosenAtOpening) {
    UiLanguage language = UiLanguage::Chinese;
    Cmax window([&] { return language; });
    window.Open(kReply);
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8(" 最大最小值"));
    EXPECT_EQ(window.Controls().Text(MaxMinId::kExit), QString::fromUtf8("退出"));
    EXPECT_TRUE(window.Controls()
                    .Text(MaxMinId::kHistoryMax)
                    .startsWith(QString::fromUtf8("最大值\n温度=35.2C")));
    EXPECT_TRUE(
        window.Controls().Text(MaxMinId::kHistoryMin).startsWith(QString::fromUtf8("最小值")));
    EXPECT_TRUE(
        window.Controls().Text(MaxMinId::kTodayMax).contains(QString::fromUtf8("日降雨=3.2mm")));
    EXPECT_EQ(window.Controls().Text(MaxMinId::kTodayMin),
              QString::fromUtf8("今天最小值\n光照=0lux\n"));
    window.close();

    // The next reply opens it anew, in the language of that moment.
    language = UiLanguage::English;
    window.Open(QStringLiteral("MAX MIN:History Max Temp=1 History Min Today Max Today Min@"));
    EXPECT_EQ(window.windowTitle(), "Max/Min Record");
    EXPECT_EQ(window.Controls().Text(MaxMinId::kExit), "Exit");
    EXPECT_EQ(window.Controls().Text(MaxMinId::kHistoryMax), "History Max Temperature=1 ");
    EXPECT_EQ(window.ReplyText(), "MAX MIN:History Max Temp=1 History Min Today Max Today Min@");
    window.Controls().Control(1)->setFocus();
    qobject_cast<QAbstractButton*>(window.Controls().Control(1))->click();
    EXPECT_FALSE(window.isVisible());
}
