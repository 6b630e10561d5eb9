#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "../history/HistoryTestDatabase.h"
#include "HistoryDatabase.h"
#include "HistoryTime.h"
#include "LogImport.h"
#include "LogImportTableModel.h"
#include "SdCardControls.h"
#include "SdCardLayout.h"
#include "StationModel.h"

using namespace orvane;

namespace {

const QString kSample = QStringLiteral(ORVANE_TEST_DATA_DIR "/history/log_sample.csv");

const char* const kHeader =
    "No,Time,Temp,Humi,Abs,Rel,Wind,Gust,Dew,Dir,Rain,Day,Week,Month,Year,Light,Extra,UV\n";

class LogImportTest : public ::testing::Test {
protected:
    void SetUp() override { db.SetMessageWindow(&window); }

    // Writes a log file into the temporary folder and returns its path.
    QString WriteLog(const QByteArray& content, const QString& name = "log.csv") {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }

    LogImportResult Import(const QString& path) {
        return ImportDownloadedFile(path, file.Path(), db, &window);
    }

    double Column(const std::string& column, int no) {
        return file.Scalar("SELECT " + column + " FROM Records WHERE No = " + std::to_string(no));
    }

    QTemporaryDir dir;
    HistoryTestDatabase file;
    MemorySdCardWindow window;
    HistoryDatabase db;
};

}  // namespace

TEST(LogLine, SplitsIntoEighteenValuesKeepingExtraCommasInTheLast) {
    const auto v = SplitLogLine("1,t,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,x,y");
    EXPECT_EQ(v[0], "1");
    EXPECT_EQ(v[1], "t");
    EXPECT_EQ(v[16], "16");
    EXPECT_EQ(v[17], "17,x,y");
}

TEST(LogLine, FewerCommasLeaveTheLaterValuesEmpty) {
    const auto v = SplitLogLine("7,2013-05-07 9:05,21.5");
    EXPECT_EQ(v[0], "7");
    EXPECT_EQ(v[2], "21.5");
    for (int i = 3; i < kLogColumns; ++i) EXPECT_TRUE(v[i].empty()) << i;
    const auto none = SplitLogLine("");
    for (auto value : none) EXPECT_TRUE(value.empty());
}

TEST(LogLine, TheFirstCommaIsLookedForFromTheSecondCharacter) {
    const auto v = SplitLogLine(",a,b");
    EXPECT_EQ(v[0], ",a");
    EXPECT_EQ(v[1], "b");
}

TEST(LogLine, OnlyAValueWithoutAnyNumberIsMissing) {
    for (const char* missing : {"", " ", "-", "--", "---", " - ", "n/a"})
        EXPECT_TRUE(IsMissingReading(missing)) << missing;
    for (const char* reading : {"0", "-1.2", "-3.5", " 7 ", "-.5", "12abc"})
        EXPECT_FALSE(IsMissingReading(reading)) << reading;
}

TEST(LogLine, RecordReadsNegativeValuesAndMarksMissingOnes) {
    HistoryRecord r;
    r.OutTemp = 99;  // must be cleared
    ParseLogRecord("12,2013-05-07 9:05:00,-,---,1000.5,1010,-0.5,3,-1.2,90,0,1,2,3,4,5e2,6,7", r);
    EXPECT_EQ(r.No, 12);
    EXPECT_DOUBLE_EQ(r.Time, ParseDateTime("2013-05-07 09:05:00"));
    EXPECT_EQ(r.OutTemp, 65535.0f);
    EXPECT_EQ(r.OutHumi, NoValue);
    EXPECT_FLOAT_EQ(r.AbsPressure, 1000.5f);
    EXPECT_FLOAT_EQ(r.RelPressure, 1010.0f);
    EXPECT_FLOAT_EQ(r.Wind, -0.5f);
    EXPECT_FLOAT_EQ(r.DewPoint, -1.2f);
    EXPECT_EQ(r.WindDirection, 90);
    EXPECT_FLOAT_EQ(r.RainYear, 4.0f);
    EXPECT_FLOAT_EQ(r.Light, 500.0f);
    EXPECT_EQ(r.Extra, 6);
    EXPECT_EQ(r.UV, 7);
}

TEST(LogLine, UnitCaptionRunsFromTheFirstParenthesis) {
    EXPECT_EQ(UnitCaption(QString::fromLatin1("Temp(\xb0"
                                              "C)")),
              QString::fromLatin1("(\xb0"
                                  "C)"));
    EXPECT_EQ(UnitCaption("Rain(mm)(day)"), "(mm)(day)");
    EXPECT_EQ(UnitCaption("Light"), "Light");
}

TEST_F(LogImportTest, SampleFileGivesTitlesCaptionsRowsAndRecords) {
    std::vector<int> progress;
    const LogImportResult result = ImportDownloadedFile(
        kSample, file.Path(), db, &window, [&](int percent) { progress.push_back(percent); });
    ASSERT_EQ(result.status, LogImportResult::Status::Ok);
    ASSERT_TRUE(result.table);
    EXPECT_EQ(result.records, 3);
    EXPECT_TRUE(window.Messages().isEmpty());

    const LogTable& table = *result.table;
    ASSERT_EQ(table.Titles().size(), kLogColumns);
    EXPECT_EQ(table.Titles()[2], QString::fromLatin1("Temp(\xb0"
                                                     "C)"));
    EXPECT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.Cell(1, 2), "-");
    EXPECT_EQ(table.Cell(2, 17), "5,extra,commas");
    EXPECT_EQ(table.Cell(0, 1), "2013-05-07 9:05:00");

    EXPECT_EQ(result.captions.temperature, QString::fromLatin1("(\xb0"
                                                               "C)"));
    EXPECT_EQ(result.captions.pressure, "(hPa)");
    EXPECT_EQ(result.captions.rain, "(mm)");
    EXPECT_EQ(result.captions.wind, "(m/s)");
    EXPECT_EQ(result.captions.light, "(lux)");

    EXPECT_EQ(file.RecordCount(), 3);
    EXPECT_NEAR(Column("OutTemp", 1), 21.3, 1e-5);
    EXPECT_EQ(Column("OutTemp", 2), 65535);  // "-"
    EXPECT_EQ(Column("Wind", 2), 65535);     // "---"
    EXPECT_EQ(Column("WindDirection", 2), 65535);
    EXPECT_NEAR(Column("DewPoint", 2), -1.2, 1e-5);  // a negative reading is kept
    EXPECT_NEAR(Column("OutTemp", 3), -3.5, 1e-5);
    EXPECT_EQ(Column("OutHumi", 3), 65535);  // blank
    EXPECT_EQ(Column("Light", 3), 65535);
    EXPECT_EQ(Column("UV", 3), 5);
    EXPECT_DOUBLE_EQ(Column("Time", 3), ParseDateTime("2013-05-07 09:15:00"));

    EXPECT_TRUE(window.Get(SdCardId::kSaveAs).enabled);
    EXPECT_TRUE(window.Get(SdCardId::kGraph).enabled);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
}

TEST_F(LogImportTest, ImportedRowsAreWhatARangeSearchReturns) {
    ASSERT_EQ(Import(kSample).status, LogImportResult::Status::Ok);
    int count = 0;
    ASSERT_EQ(db.CountInRange("2013-05-07 9:05:00", "2013-05-07 9:15:00", "DewPoint", count), 0);
    EXPECT_EQ(count, 2);  // the first row sits on the open start
    ASSERT_EQ(db.CountInRange("2013-05-07 9:00:00", "2013-05-07 9:15:00", "OutTemp", count), 0);
    EXPECT_EQ(count, 2);  // row 2 has no temperature
}

TEST_F(LogImportTest, AFileThatIsNoStationLogLeavesTheHistoryAndSaysSo) {
    ASSERT_EQ(Import(kSample).status, LogImportResult::Status::Ok);
    ASSERT_TRUE(file.Exec("INSERT INTO Param VALUES ('k', 'v');"));
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 256);
    const QByteArray seventeenTitles =
        "No,Time,Temp,Humi,Abs,Rel,Wind,Gust,Dew,Dir,Rain,Day,Week,Month,Year,Light,UV\n";
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"random bytes", noise},
        {"empty", ""},
        {"header only", QByteArray(kHeader)},
        {"header and empty lines", QByteArray(kHeader) + "\n\n"},
        {"no line has a date", QByteArray(kHeader) + "1,yesterday,20\n2,9:05,21\n"},
        {"seventeen titles", seventeenTitles + "1,2013-05-07 9:05,20.5\n"},
        {"an empty title", QByteArray(kHeader).replace("Wind", "") + "1,2013-05-07 9:05,1\n"},
        {"a record for a header", "1,2013-05-07 9:05,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        window.ClearMessages();
        const LogImportResult result = Import(WriteLog(c.content, "BAD.CSV"));
        EXPECT_EQ(result.status, LogImportResult::Status::NotALog);
        EXPECT_FALSE(result.table);
        EXPECT_EQ(file.RecordCount(), 3);
        EXPECT_EQ(file.Scalar("SELECT count(*) FROM Param"), 1);
        EXPECT_EQ(window.Messages(),
                  QStringList({"BAD.CSV is not a station log file; the history was left as it "
                               "was."}));
    }
    EXPECT_TRUE(ImportDownloadedFile(WriteLog("", "BAD.CSV"), file.Path(), db, &window, {},
                                     UiLanguage::Chinese)
                    .error.size() > 0);
    EXPECT_TRUE(window.Messages().last().startsWith(QString::fromUtf16(u"BAD.CSV 不是")));
}

TEST_F(LogImportTest, EveryFileTheStationWritesIsAccepted) {
    // Undated lines ahead of the first dated one are still rows of the file.
    const QByteArray late = QByteArray(kHeader) + "\n0,--,1\n1,2013/5/7 9:05,20\n";
    StationModel station(3);
    QList<QByteArray> files = {late};
    for (const QString& name : station.FileNames()) files.append(*station.FileBytes(name));
    ASSERT_GE(files.size(), 2);
    for (const QByteArray& content : files) {
        const LogImportResult result = Import(WriteLog(content));
        ASSERT_EQ(result.status, LogImportResult::Status::Ok);
        EXPECT_EQ(result.records, content.count('\n') - 1);
        EXPECT_EQ(file.RecordCount(), result.records);
    }
}

TEST(LogReaderTest, LinesLongerThanABlockAreCutAndTheRestStaysInStep) {
    QTemporaryDir dir;
    // Line 2 is far longer than any block below; lines around it must read
    // exactly, and its offset must be a 64-bit position.
    const QByteArray longLine = "2,2013-05-07 9:06," + QByteArray(5000, '7') + "\r\n";
    const QByteArray content = QByteArray(kHeader) + "1,2013-05-07 9:05,20.5\r\n" + longLine +
                               "3,2013-05-07 9:07,-3.5\n4,2013-05-07 9:08,1";
    const QString path = dir.filePath("long.csv");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    for (std::size_t block :
         {std::size_t{256}, std::size_t{1000}, std::size_t{4096}, std::size_t{1} << 20}) {
        SCOPED_TRACE(block);
        LogReader reader(path, block);
        ASSERT_EQ(reader.Open(), LogReader::Status::Ok);
        EXPECT_EQ(reader.Titles().size(), kLogColumns);
        std::vector<HistoryRecord> records;
        std::vector<std::int64_t> offsets;
        HistoryRecord r;
        while (reader.Next(r)) {
            records.push_back(r);
            offsets.push_back(reader.Line().offset);
            EXPECT_LE(std::int64_t(reader.Line().text.size()), reader.LineLimit());
        }
        EXPECT_FALSE(reader.Failed());
        ASSERT_EQ(records.size(), 4u);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(records[i].No, i + 1);
        EXPECT_DOUBLE_EQ(records[1].Time, ParseDateTime("2013-05-07 09:06:00"));
        EXPECT_FLOAT_EQ(records[2].OutTemp, -3.5f);
        EXPECT_FLOAT_EQ(records[3].OutTemp, 1.0f);
        EXPECT_EQ(reader.CutLines(), block < 5000 * 2 ? 1 : 0);
        EXPECT_EQ(offsets[2], content.indexOf("3,2013"));
        EXPECT_EQ(reader.Position(), content.size());
    }
}

// A line of more than 2 GiB (a sparse file, so it costs no disk) is read
// through without holding it, and the lines after it still come right.
TEST_F(LogImportTest, ALineBeyondTwoGigabytesIsStreamedAndShownCut) {
    const QString path = WriteLog(QByteArray(kHeader) + "1,2013-05-07 9:05,20.5\n");
    const qint64 hugeLine = (qint64{1} << 31) + 4096;
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 start = f.size();
        ASSERT_TRUE(f.resize(start + hugeLine));
        ASSERT_TRUE(f.seek(start + hugeLine));
        f.write("\n3,2013-05-07 9:07,-3.5\n");
    }
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const LogImportResult result = Import(path);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 200 * 1024) << "kB more at the peak";
    ASSERT_EQ(result.status, LogImportResult::Status::Ok);
    EXPECT_EQ(result.records, 3);
    EXPECT_NEAR(Column("OutTemp", 3), -3.5, 1e-5);
    ASSERT_EQ(result.table->RowCount(), 3);
    EXPECT_EQ(result.table->Cell(2, 0), "3");
    EXPECT_EQ(result.table->Line(1).size(), std::size_t(kLogLineLimit));
    QFile::remove(path);
}

TEST_F(LogImportTest, ImportingTheSameFileTwiceLeavesItsRowsOnce) {
    ASSERT_EQ(Import(kSample).status, LogImportResult::Status::Ok);
    ASSERT_EQ(Import(kSample).status, LogImportResult::Status::Ok);
    EXPECT_EQ(file.RecordCount(), 3);
    EXPECT_EQ(file.Scalar("SELECT count(DISTINCT No) FROM Records"), 3);
}

TEST_F(LogImportTest, EmptyAndShortLinesBecomeRowsWithMissingValues) {
    const QString path =
        WriteLog(QByteArray(kHeader) + "1,2013-05-07 9:05,20.5,40\n\n2,2013-05-07 9:06\n");
    const LogImportResult result = Import(path);
    ASSERT_EQ(result.status, LogImportResult::Status::Ok);
    ASSERT_EQ(result.table->RowCount(), 3);
    for (int c = 0; c < kLogColumns; ++c) EXPECT_TRUE(result.table->Cell(1, c).isEmpty());
    EXPECT_EQ(file.RecordCount(), 3);
    // The empty line: number 0, no date, every reading missing.
    EXPECT_EQ(file.Scalar("SELECT count(*) FROM Records WHERE No = 0 AND Time = 0 AND "
                          "OutTemp = 65535 AND UV = 65535 AND Light = 65535"),
              1);
    EXPECT_NEAR(Column("OutTemp", 1), 20.5, 1e-5);
    EXPECT_EQ(Column("OutHumi", 1), 40);
    EXPECT_EQ(Column("AbsPressure", 1), 65535);
    EXPECT_EQ(Column("OutTemp", 2), 65535);
}

TEST_F(LogImportTest, LastLineWithoutLineEndAndLongCellsAreHandled) {
    const QByteArray longValue(200, '7');
    const QString path = WriteLog(QByteArray(kHeader) + "1,2013-05-07 9:05," + longValue);
    const LogImportResult result = Import(path);
    ASSERT_EQ(result.table->RowCount(), 1);
    EXPECT_EQ(result.table->Cell(0, 2).size(), kLogCellBytes);
    EXPECT_EQ(file.RecordCount(), 1);
}

TEST_F(LogImportTest, UnreadableFileShowsTheMessageAndLeavesTheDatabase) {
    ASSERT_EQ(Import(kSample).status, LogImportResult::Status::Ok);
    window.SetEnabled(SdCardId::kSaveAs, false);
    const LogImportResult result = Import(dir.filePath("missing.csv"));
    EXPECT_EQ(result.status, LogImportResult::Status::FileError);
    EXPECT_FALSE(result.table);
    ASSERT_EQ(window.Messages().size(), 1);
    EXPECT_EQ(window.Messages()[0], "打开文件失败");
    EXPECT_EQ(file.RecordCount(), 3);
    EXPECT_FALSE(window.Get(SdCardId::kSaveAs).enabled);
}

TEST_F(LogImportTest, FailingImportKeepsThePreviousRows) {
    ASSERT_EQ(Import(kSample).status, LogImportResult::Status::Ok);
    // The third record fails to be written, as on a full disk.
    ASSERT_TRUE(
        file.Exec("CREATE TRIGGER FailOnThird BEFORE INSERT ON Records WHEN NEW.No = 3 "
                  "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END;"));
    const QString path = WriteLog(
        QByteArray(kHeader) + "1,2020-01-01 0:00,1\n2,2020-01-01 0:01,2\n3,2020-01-01 0:02,3\n");
    const LogImportResult result = Import(path);
    EXPECT_EQ(result.status, LogImportResult::Status::DatabaseError);
    EXPECT_EQ(result.records, 0);
    EXPECT_TRUE(result.error.contains("full"));
    ASSERT_EQ(window.Messages().size(), 1);
    EXPECT_EQ(file.RecordCount(), 3);
    EXPECT_NEAR(Column("OutTemp", 1), 21.3, 1e-5);  // the sample's rows, untouched
}

TEST_F(LogImportTest, MissingDatabaseIsReportedAndNotCreated) {
    const QString missing = dir.filePath("none/Orvane.mdb");
    const LogImportResult result = ImportDownloadedFile(kSample, missing, db, &window);
    EXPECT_EQ(result.status, LogImportResult::Status::DatabaseError);
    ASSERT_GE(window.Messages().size(), 2);
    EXPECT_EQ(window.Messages()[0], "数据库连接错误");
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(result.table->RowCount(), 3);  // the file itself was read
}

TEST_F(LogImportTest, ImportOnAWorkerWhileAnotherInstanceReads) {
    std::atomic<bool> done{false};
    LogImportResult result;
    std::thread worker([&] {
        HistoryDatabase own;
        result = ImportDownloadedFile(kSample, file.Path(), own, nullptr);
        done = true;
    });
    HistoryDatabase reader;
    ASSERT_EQ(reader.Open(file.Path()), 0);
    int count = 0;
    while (!done) reader.CountInRange("2013-01-01 0:00:00", "2014-01-01 0:00:00", "UV", count);
    worker.join();
    EXPECT_EQ(result.status, LogImportResult::Status::Ok);
    ASSERT_EQ(reader.CountInRange("2013-01-01 0:00:00", "2014-01-01 0:00:00", "UV", count), 0);
    EXPECT_EQ(count, 3);
}

TEST(LogImportTableModelTest, ServesCellsAndTitlesOfTheTable) {
    LogImportTableModel model;
    EXPECT_EQ(model.rowCount(), 0);
    QFile f(kSample);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    model.SetTable(std::make_shared<LogTable>(f.readAll()));
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), kLogColumns);
    EXPECT_EQ(model.headerData(6, Qt::Horizontal).toString(), "Wind(m/s)");
    EXPECT_EQ(model.data(model.index(2, 2)).toString(), "-3.5");
    EXPECT_EQ(model.data(model.index(1, 8)).toString(), "-1.2");
    model.SetTable(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(LogImportTableModel::ColumnWidth(0), 50);
    EXPECT_EQ(LogImportTableModel::ColumnWidth(17), 60);
}
