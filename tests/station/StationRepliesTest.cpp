#include <gtest/gtest.h>

#include <QRegularExpression>

#include "CurrentReadings.h"
#include "MaxMinBlocks.h"
#include "StationTestSupport.h"

namespace orvane {
namespace {

using namespace orvane::test;

TEST(StationReplies, SettingReplyCarriesEveryFieldInReplyOrder) {
    StationSimulator sim(3);
    const QByteArray reply = Exchange(sim, "Read&Time&http 1.0\r\n");
    ASSERT_TRUE(reply.startsWith("Setting:"));
    EXPECT_TRUE(reply.endsWith("\r\n@"));
    EXPECT_EQ(reply.indexOf("\r\n@"), reply.size() - 3);
    EXPECT_EQ(reply.count('='), 57);

    // Every field within the reader's reach, the searched ones included.
    const StationSettings settings = ParsedSettings(reply);
    for (int n = 1; n <= 57; ++n)
        EXPECT_EQ(settings.Field(n), sim.Model().SettingField(n)) << "field " << n;

    const StationConfig config = sim.Model().Config();
    EXPECT_EQ(settings.temperatureUnit, config.temperatureUnit);
    EXPECT_EQ(settings.temperatureOffset, "0.5C");
    EXPECT_EQ(settings.absPressureOffset, "-1.2hpa");
    EXPECT_EQ(settings.sendCurrentInterval, "2h");
    EXPECT_EQ(settings.loggerInterval, "5m");
    EXPECT_EQ(settings.dstEnabled, "1");
    EXPECT_EQ(settings.dstStart, "03:5:02");
    EXPECT_EQ(settings.highWind, "54.0km/h");  // 15 m/s
    EXPECT_EQ(settings.lowTemperatureSwitch, "On");

    ASSERT_TRUE(settings.hasSearchedValues);
    EXPECT_EQ(settings.searchedWebPassword, config.webPassword);
    EXPECT_EQ(settings.searchedGprsPassword, config.gprsPassword);
    EXPECT_EQ(settings.searchedSmsTestId, config.smsTestId);
}

// The settings and current-readings readers take every reply whatever the
// display units: each validated value stays in its character class.
TEST(StationReplies, SettingAndNowDataValuesFitTheirClassesInEveryUnit) {
    StationSimulator sim(11);
    for (const char* t : {"C", "F"})
        for (const char* l : {"fc", "lux", "w/m2"})
            for (const char* w : {"km/h", "mph", "knots", "m/s", "bft"})
                for (const char* r : {"mm", "inch"})
                    for (const char* p : {"hpa", "mmHg", "inHg"}) {
                        SCOPED_TRACE(std::string(t) + l + w + r + p);
                        StationConfig config = sim.Model().Config();
                        config.temperatureUnit = t;
                        config.lightUnit = l;
                        config.windUnit = w;
                        config.rainUnit = r;
                        config.pressureUnit = p;
                        sim.Model().SetConfig(config);
                        ParsedSettings(sim.Model().SettingReply());

                        const auto now =
                            ParseNowDataReply(QString::fromLatin1(sim.Model().NowDataReply()));
                        ASSERT_TRUE(now);
                        for (int k = 0; k < CurrentReadings::kFieldCount; ++k)
                            EXPECT_FALSE(now->Field(k).isEmpty()) << k;
                    }
}

TEST(StationReplies, NowDataHasEighteenLinesAndFollowsTheUnits) {
    StationSimulator sim(5);
    StationReadings readings;
    readings.temperature = -3.5;
    readings.humidity = 71;
    readings.absPressure = 1000.0;
    readings.relPressure = 1013.2;
    readings.wind = 10.0;
    readings.gust = 12.5;
    readings.dewPoint = -7.25;
    readings.windDirection = 270;
    readings.rainDay = 10.0;
    readings.light = 12000;
    readings.uv = 120;
    readings.uvIndex = 2;
    readings.battery = 3.6;
    sim.Model().SetReadingsOverride(readings);
    sim.Model().SetStationTime(QDateTime(QDate(2013, 5, 6), QTime(12, 30, 15), Qt::UTC));

    QString reply = QString::fromLatin1(Exchange(sim, "Read&Now Data&http 1.0"));
    ASSERT_TRUE(reply.startsWith("Now Data:"));
    EXPECT_TRUE(reply.endsWith("@"));
    EXPECT_EQ(reply.count("@"), 1);
    const QString body = reply.mid(reply.indexOf("Temperature"));
    EXPECT_EQ(body.count("\r\n"), 18);
    EXPECT_EQ(body.count(':'), 18 + 2);  // the time holds two more
    EXPECT_TRUE(reply.contains("Temperature:-3.5C\r\n"));
    EXPECT_TRUE(reply.contains(":36.0km/h\r\n"));
    EXPECT_TRUE(reply.contains(":270deg\r\n"));
    EXPECT_TRUE(reply.contains(":3.60v\r\n"));
    EXPECT_TRUE(reply.contains(":2013-05-06&12:30:15\r\n@"));

    ASSERT_TRUE(sim.Model().ApplyWrite(
        "Write&Unit<Temperature=F&Light=fc&Wind=mph&Rainfall=inch&Pressure=inHg>&http 1.0"));
    reply = QString::fromLatin1(Exchange(sim, "Read&Now Data&http 1.0"));
    EXPECT_TRUE(reply.contains("Temperature:25.7F\r\n")) << qPrintable(reply);
    EXPECT_TRUE(reply.contains(":29.92inHg\r\n"));
    EXPECT_TRUE(reply.contains(":22.4mph\r\n"));
    EXPECT_TRUE(reply.contains(":0.39inch\r\n"));
    EXPECT_TRUE(reply.contains(":1114.8fc\r\n"));
}

TEST(StationReplies, MaxMinHasItsFourBlocksInOrder) {
    StationSimulator sim(9);
    const QString reply = QString::fromLatin1(Exchange(sim, "Read&Max&Min&http 1.0"));
    ASSERT_TRUE(reply.startsWith("MAX MIN:"));
    EXPECT_TRUE(reply.endsWith("@"));
    const qsizetype hMax = reply.indexOf("History Max"), hMin = reply.indexOf("History Min"),
                    tMax = reply.indexOf("Today Max"), tMin = reply.indexOf("Today Min");
    ASSERT_GT(hMax, 0);
    EXPECT_LT(hMax, hMin);
    EXPECT_LT(hMin, tMax);
    EXPECT_LT(tMax, tMin);
    const auto blocks = SplitMaxMinBlocks(reply);
    for (const QString& block : blocks)
        for (const char* keyword : {"Temp:", "Humi:", "Dewpoint:", "Wind:", "Gust:", "Rainrate:",
                                    "DayRain:", "WeekRain:", "MonthRain:", "YearRain:", "Light:"})
            EXPECT_EQ(block.count(keyword), 1) << keyword << " in " << qPrintable(block);

    // The history maximum is never below today's, nor the minimum above it.
    const auto leading = [](const QString& block, const char* keyword) {
        static const QRegularExpression number("^-?\\d+(\\.\\d+)?");
        const qsizetype at = block.indexOf(QString(keyword) + ":") + qsizetype(strlen(keyword)) + 1;
        return number.match(block.mid(at)).captured(0).toDouble();
    };
    EXPECT_GE(leading(blocks[0], "Temp"), leading(blocks[2], "Temp"));
    EXPECT_LE(leading(blocks[1], "Temp"), leading(blocks[3], "Temp"));
    EXPECT_LE(leading(blocks[1], "Temp"), leading(blocks[0], "Temp"));
}

TEST(StationReplies, MaxMinResetStartsTheRecordsAgain) {
    StationSimulator sim(9);
    const QDateTime now = sim.Model().StationTime();
    ASSERT_TRUE(sim.Model().ApplyWrite("Write&Reset<Max&Min>&http 1.0\r\n"));
    EXPECT_EQ(sim.Model().MaxMinResets(), 1);
    const QString reply = QString::fromLatin1(sim.Model().MaxMinReply());
    // Every record of both blocks now dates from the reset.
    const QString stamp = now.toString("yyyy-MM-dd hh:mm");
    EXPECT_EQ(reply.count(stamp), 4 * 11) << qPrintable(reply);
}

TEST(StationReplies, FileListNamesEveryFileAndEndsWithTheTerminator) {
    StationModelOptions options;
    options.logFileDays = {1, 1, 1};
    StationSimulator sim(2, options);
    for (int i = 0; i < 6; ++i) sim.Model().AddFile(QString("EXTRA%1.CSV").arg(i), "No,Time\n");
    auto device = sim.Open(StationSimulator::kStationPath, HidOpenMode::ReadWrite);
    ASSERT_TRUE(SendRequest(*device, "read&SDCard file&http 1.0"));
    const auto reports = ReadAll(*device);
    ASSERT_GT(reports.size(), 1u);
    EXPECT_TRUE(reports.front().Payload().startsWith("SDcard file:File<"));
    EXPECT_TRUE(reports.back().Payload().contains("@"));
    for (std::size_t i = 0; i + 1 < reports.size(); ++i)
        EXPECT_FALSE(reports[i].Payload().contains("@"));

    // The window's reading: drop the prefix and ">", names end at each "&".
    QString list = QString::fromLatin1(Joined(reports));
    list.remove("SDcard file:File<").remove(">");
    QStringList names = list.split('&');
    names.removeLast();  // what follows the last "&" is the terminator
    EXPECT_EQ(names, sim.Model().FileNames());
    EXPECT_EQ(names.size(), 9);
}

TEST(StationReplies, EachFileSizeRequestGetsOneReport) {
    StationSimulator sim(4);
    auto device = sim.Open(StationSimulator::kStationPath, HidOpenMode::ReadWrite);
    for (const QString& name : sim.Model().FileNames()) {
        ASSERT_TRUE(SendRequest(*device, ("Read&File Size=" + name + "&http 1.0").toLatin1()));
        const auto reports = ReadAll(*device, milliseconds(5));
        ASSERT_EQ(reports.size(), 1u);
        const QString text = QString::fromLatin1(reports[0].Payload());
        EXPECT_TRUE(text.startsWith("File Size:"));
        QString size = text.mid(text.indexOf("File<size="));
        size.remove("File<size=").remove(">");
        EXPECT_EQ(size.trimmed().toLongLong(), sim.Model().FileBytes(name)->size());
    }
    ASSERT_TRUE(SendRequest(*device, "Read&File Size=NONE.CSV&http 1.0"));
    EXPECT_EQ(Joined(ReadAll(*device, milliseconds(5))), "File Size:File<size=0>\r\n");
}

struct Download {
    qint64 total = -1;
    QByteArray data;
    bool ended = false;
};

// The receive side of a download: data after the header's ">", then every
// report until the one holding "@", which is not data.
Download Receive(const std::vector<InputReport>& reports) {
    Download d;
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const QByteArray text = reports[i].Payload();
        if (text.contains('@')) {
            d.ended = true;
            break;
        }
        if (i == 0) {
            EXPECT_TRUE(text.contains("Read File:"));
            const qsizetype eq = text.indexOf('='), gt = text.indexOf('>');
            d.total = text.mid(eq + 1, gt - eq - 1).toLongLong();
            d.data += text.mid(gt + 1);
        } else {
            d.data += text;
        }
    }
    return d;
}

TEST(StationReplies, DownloadFromAnyOffsetGivesTheFileBytes) {
    StationModelOptions options;
    options.logFileDays = {2, 1};
    StationSimulator sim(6, options);
    const QString name = sim.Model().FileNames().front();
    const QByteArray bytes = *sim.Model().FileBytes(name);
    ASSERT_GT(bytes.size(), 10000);
    auto device = sim.Open(StationSimulator::kStationPath, HidOpenMode::ReadWrite);
    for (qint64 start : {qint64(0), qint64(1), bytes.size() / 2, bytes.size() - 1, bytes.size(),
                         bytes.size() + 50}) {
        const QByteArray request =
            "read&File=" + name.toLatin1() + "&Start=" + QByteArray::number(start) + "&http 1.0";
        ASSERT_TRUE(SendRequest(*device, request));
        const auto reports = ReadAll(*device, milliseconds(5));
        const Download d = Receive(reports);
        EXPECT_TRUE(d.ended) << start;
        EXPECT_EQ(d.total, bytes.size());
        EXPECT_EQ(d.data, start < bytes.size() ? bytes.mid(start) : QByteArray()) << start;
        EXPECT_TRUE(reports.back().Payload().contains('@'));
    }
}

TEST(StationReplies, DeleteAnswersSuccessOnlyForAnExistingFile) {
    StationSimulator sim(8);
    const QString name = sim.Model().FileNames().front();
    const QByteArray request = "Write&Delet file=" + name.toLatin1() + "&http 1.0";
    EXPECT_TRUE(Exchange(sim, request).contains("success"));
    EXPECT_FALSE(sim.Model().HasFile(name));
    EXPECT_FALSE(sim.Model().FileNames().contains(name));
    EXPECT_FALSE(Exchange(sim, request).contains("success"));
    EXPECT_FALSE(QString::fromLatin1(sim.Model().FileListReply()).contains(name));
}

TEST(StationReplies, UnknownRequestsGetNoAnswer) {
    StationSimulator sim;
    EXPECT_TRUE(Exchange(sim, "").isEmpty());
    EXPECT_TRUE(Exchange(sim, "Hello&http 1.0").isEmpty());
    EXPECT_EQ(sim.ReceivedRequests().size(), 2u);
}

}  // namespace
}  // namespace orvane
