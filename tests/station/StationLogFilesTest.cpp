#include <gtest/gtest.h>

#include <QRegularExpression>

#include "StationTestSupport.h"

namespace orvane {
namespace {

using namespace orvane::test;

QList<QByteArray> Lines(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    EXPECT_TRUE(lines.last().isEmpty());  // every line ends with its line feed
    lines.removeLast();
    return lines;
}

TEST(StationLogFiles, TheSameSeedGivesTheSameFilesAndAnotherSeedOthers) {
    StationModel a(42), b(42), c(43);
    ASSERT_EQ(a.FileNames(), b.FileNames());
    ASSERT_EQ(a.FileNames().size(), 3);
    // The configuration is changed before b's files are first read: they
    // still depend on the seed alone.
    StationConfig config = b.Config();
    config.temperatureUnit = "F";
    config.temperatureOffset = 3.0;
    b.SetConfig(config);
    for (const QString& name : a.FileNames())
        EXPECT_EQ(*a.FileBytes(name), *b.FileBytes(name)) << qPrintable(name);
    EXPECT_NE(*a.FileBytes(a.FileNames().back()), *c.FileBytes(c.FileNames().back()));
}

TEST(StationLogFiles, RecordsFollowTheLogFormat) {
    StationModel model(5);
    const QString name = model.FileNames().front();
    const QList<QByteArray> lines = Lines(*model.FileBytes(name));
    ASSERT_GT(lines.size(), 21 * 288);  // every five minutes for three weeks

    const QList<QByteArray> titles = lines[0].split(',');
    ASSERT_EQ(titles.size(), 18);
    EXPECT_EQ(titles[2],
              "Temp(\xB0"
              "C)");
    EXPECT_EQ(titles[4], "AbsPressure(hpa)");
    EXPECT_EQ(titles[6], "Wind(km/h)");
    EXPECT_EQ(titles[11], "RainDay(mm)");
    EXPECT_EQ(titles[15], "Light(lux)");

    const QRegularExpression number("^-?\\d+(\\.\\d+)?$");
    QDateTime previous;
    int missing = 0, dashes = 0, negative = 0;
    for (int i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> values = lines[i].split(',');
        ASSERT_EQ(values.size(), 18) << i;
        EXPECT_EQ(values[0].toInt(), i);
        const QDateTime at = QDateTime::fromString(QString::fromLatin1(values[1]), "yyyy-M-d H:mm");
        ASSERT_TRUE(at.isValid()) << values[1].constData();
        if (previous.isValid()) {
            EXPECT_EQ(previous.secsTo(at), 300) << i;
        }
        previous = at;
        for (int k = 2; k < 18; ++k) {
            const QString v = QString::fromLatin1(values[k]);
            if (v == "---")
                ++missing;
            else if (v == "-")
                ++dashes;
            else
                EXPECT_TRUE(number.match(v).hasMatch()) << i << " " << k << " " << qPrintable(v);
        }
        if (values[2].startsWith('-') && values[2] != "---") ++negative;
    }
    EXPECT_GT(missing, 0);
    EXPECT_GT(dashes, 0);
    EXPECT_GT(negative, 0);
    // Nothing in a log can end or switch a download.
    const QByteArray bytes = *model.FileBytes(name);
    EXPECT_FALSE(bytes.contains('@'));
    EXPECT_FALSE(bytes.contains('\0'));
    for (const char* tag :
         {"Setting:", "Now Data:", "Read File:", "File Size:", "SDcard file:", "MAX MIN:"})
        EXPECT_FALSE(bytes.contains(tag)) << tag;
}

TEST(StationLogFiles, FilesFollowOneAnotherUpToTheStationClock) {
    StationModelOptions options;
    options.stationTime = QDateTime(QDate(2026, 1, 20), QTime(10, 2), Qt::UTC);
    options.logFileDays = {3, 2};
    options.logIntervalMinutes = 10;
    StationConfig config;
    config.temperatureUnit = "F";
    config.pressureUnit = "inHg";
    config.rainUnit = "inch";
    options.config = config;
    StationModel model(1, options);
    EXPECT_EQ(model.FileNames(), (QStringList{"20260116.CSV", "20260119.CSV"}));
    const QList<QByteArray> first = Lines(*model.FileBytes("20260116.CSV"));
    const QList<QByteArray> last = Lines(*model.FileBytes("20260119.CSV"));
    EXPECT_EQ(first.size(), 1 + 3 * 144);
    EXPECT_TRUE(first[1].startsWith("1,2026-1-16 0:00,"));
    EXPECT_TRUE(first.last().startsWith("432,2026-1-18 23:50,"));
    EXPECT_TRUE(last.last().startsWith(QByteArray::number(144 + 61) + ",2026-1-20 10:00,"));
    EXPECT_TRUE(
        first[0].contains("Temp(\xB0"
                          "F)"));
    EXPECT_TRUE(first[0].contains("RelPressure(inHg)"));
    EXPECT_TRUE(first[0].contains("RainYear(inch)"));
}

TEST(StationLogFiles, AppendedRecordsContinueTheFileAndDownloadFromItsOldEnd) {
    StationModelOptions options;
    options.logFileDays = {1};
    StationSimulator sim(12, options);
    const QString name = sim.Model().FileNames().front();
    const QByteArray before = *sim.Model().FileBytes(name);
    const QList<QByteArray> oldLines = Lines(before);
    const QByteArray appended = sim.Model().AppendRecords(name, 5);
    const QList<QByteArray> added = Lines(appended);
    ASSERT_EQ(added.size(), 5);
    EXPECT_EQ(*sim.Model().FileBytes(name), before + appended);
    const QDateTime lastOld =
        QDateTime::fromString(QString::fromLatin1(oldLines.last().split(',')[1]), "yyyy-M-d H:mm");
    for (int i = 0; i < 5; ++i) {
        const QList<QByteArray> values = added[i].split(',');
        EXPECT_EQ(values[0].toInt(), oldLines.size() - 1 + 1 + i);
        EXPECT_EQ(
            lastOld.secsTo(QDateTime::fromString(QString::fromLatin1(values[1]), "yyyy-M-d H:mm")),
            300 * (i + 1));
    }
    EXPECT_TRUE(sim.Model().AppendRecords("NONE.CSV", 3).isEmpty());

    // A resumed download from the old end brings exactly the new records.
    const QByteArray request = "read&File=" + name.toLatin1() +
                               "&Start=" + QByteArray::number(before.size()) + "&http 1.0";
    QByteArray text = Exchange(sim, request);
    ASSERT_TRUE(text.endsWith('@'));
    text.chop(1);
    EXPECT_EQ(text.mid(text.indexOf('>') + 1), appended);
    EXPECT_TRUE(text.startsWith(
        "Read File:File<size=" + QByteArray::number(before.size() + appended.size()) + ">"));
}

TEST(StationLogFiles, FilesPutOnTheCardAreServedAsTheyAre) {
    StationSimulator sim(1);
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        if (i != 0 && i != '@') bytes.append(char(i));
    sim.Model().AddFile("RAW.BIN", bytes);
    EXPECT_EQ(*sim.Model().FileBytes("RAW.BIN"), bytes);
    QByteArray text = Exchange(sim, "read&File=RAW.BIN&Start=0&http 1.0");
    text.chop(1);
    EXPECT_EQ(text.mid(text.indexOf('>') + 1), bytes);
    EXPECT_EQ(Lines(sim.Model().AppendRecords("RAW.BIN", 1)).size(), 1);
}

}  // namespace
}  // namespace orvane
