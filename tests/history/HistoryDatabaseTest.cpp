#include <gtest/gtest.h>

#include <QFileInfo>
#include <vector>

#include "HistoryDatabase.h"
#include "HistoryTestDatabase.h"
#include "HistoryTime.h"
#include "MemoryControlWindow.h"

using namespace orvane;

namespace {

HistoryRecord At(const char* time, float outTemp, float dewPoint = 5.0f) {
    HistoryRecord r;
    r.Time = ParseDateTime(time);
    r.OutTemp = outTemp;
    r.DewPoint = dewPoint;
    r.OutHumi = 50;
    return r;
}

class HistoryDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.SetMessageWindow(&window);
        ASSERT_EQ(db.Open(file.Path()), 0);
    }

    void Add(const std::vector<HistoryRecord>& records) {
        ASSERT_EQ(db.OpenRecordsTable(), 0);
        for (const auto& r : records) ASSERT_EQ(db.AddRecord(r), 0);
    }

    std::vector<std::pair<double, double>> Select(const char* start, const char* end,
                                                  const char* column) {
        std::vector<std::pair<double, double>> rows;
        EXPECT_EQ(db.SelectInRange(start, end, column), 0);
        for (; !db.Eof(); db.MoveNext()) rows.emplace_back(db.RowTime(), db.RowValue());
        return rows;
    }

    int Count(const char* start, const char* end, const char* column) {
        int count = -1;
        EXPECT_EQ(db.CountInRange(start, end, column, count), 0);
        return count;
    }

    HistoryTestDatabase file;
    MemoryControlWindow window;
    HistoryDatabase db;
};

}  // namespace

TEST_F(HistoryDatabaseTest, RangeExcludesTheStartAndIncludesTheEnd) {
    Add({At("2013-05-07 9:05:00", 1), At("2013-05-07 9:06:00", 2), At("2013-05-07 9:07:00", 3),
         At("2013-05-07 9:08:00", 4)});
    EXPECT_EQ(Count("2013-05-07 9:05:00", "2013-05-07 9:07:00", "OutTemp"), 2);
    const auto rows = Select("2013-05-07 9:05:00", "2013-05-07 9:07:00", "OutTemp");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_DOUBLE_EQ(rows[0].second, 2.0);
    EXPECT_DOUBLE_EQ(rows[1].second, 3.0);
    EXPECT_DOUBLE_EQ(rows[1].first, ParseDateTime("2013-05-07 09:07"));
    // Start equal to end: open at the start, so nothing.
    EXPECT_EQ(Count("2013-05-07 9:06:00", "2013-05-07 9:06:00", "OutTemp"), 0);
    EXPECT_TRUE(Select("2013-05-07 9:06:00", "2013-05-07 9:06:00", "OutTemp").empty());
}

TEST_F(HistoryDatabaseTest, NoValueRowsAreLeftOutOfTheirOwnColumnOnly) {
    Add({At("2013-05-07 10:00:00", NoValue, 3.5f), At("2013-05-07 10:01:00", NoValue, NoValue),
         At("2013-05-07 10:02:00", -1.2f, 4.0f)});
    EXPECT_EQ(Count("2013-05-07 9:00:00", "2013-05-07 11:00:00", "OutTemp"), 1);
    EXPECT_EQ(Count("2013-05-07 9:00:00", "2013-05-07 11:00:00", "DewPoint"), 2);
    int rows = 0;
    EXPECT_EQ(db.CountRowsInRange("2013-05-07 10:00:00", "2013-05-07 11:00:00", rows), 0);
    EXPECT_EQ(rows, 2);  // every row in the span, marked or not
    const auto temps = Select("2013-05-07 9:00:00", "2013-05-07 11:00:00", "OutTemp");
    ASSERT_EQ(temps.size(), 1u);
    EXPECT_DOUBLE_EQ(temps[0].second, static_cast<double>(-1.2f));
    // A range where every row carries the mark counts 0 and selects nothing.
    EXPECT_EQ(Count("2013-05-07 9:59:00", "2013-05-07 10:01:00", "OutTemp"), 0);
    EXPECT_TRUE(Select("2013-05-07 9:59:00", "2013-05-07 10:01:00", "OutTemp").empty());
}

TEST_F(HistoryDatabaseTest, RowsComeOldestFirstWhateverTheirInsertOrder) {
    Add({At("2013-05-08 00:00:00", 3), At("2013-05-06 00:00:00", 1), At("2013-05-07 00:00:00", 2)});
    const auto rows = Select("2013-05-01 0:00:00", "2013-05-31 0:00:00", "OutTemp");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_DOUBLE_EQ(rows[0].second, 1);
    EXPECT_DOUBLE_EQ(rows[1].second, 2);
    EXPECT_DOUBLE_EQ(rows[2].second, 3);
    EXPECT_LT(rows[0].first, rows[1].first);
}

TEST_F(HistoryDatabaseTest, IntegerColumnsAreReadAsValues) {
    HistoryRecord r = At("2014-01-01 12:00:00", 1);
    r.OutHumi = 87;
    r.UV = 7;
    r.WindDirection = 270;
    Add({r});
    const auto humidity = Select("2014-01-01 0:00:00", "2014-01-02 0:00:00", "OutHumi");
    ASSERT_EQ(humidity.size(), 1u);
    EXPECT_DOUBLE_EQ(humidity[0].second, 87);
    EXPECT_DOUBLE_EQ(Select("2014-01-01 0:00:00", "2014-01-02 0:00:00", "UV")[0].second, 7);
}

TEST_F(HistoryDatabaseTest, AddRecordTwiceStoresTwoRowsAndDeleteAllEmptiesBothTables) {
    HistoryRecord r = At("2013-05-07 9:05:00", 1);
    db.SetRecord(&r);
    ASSERT_EQ(db.OpenRecordsTable(), 0);
    EXPECT_EQ(db.AddRecord(), 0);
    EXPECT_EQ(db.AddRecord(), 0);
    EXPECT_EQ(file.RecordCount(), 2);
    ASSERT_TRUE(file.Exec("INSERT INTO Param VALUES ('a', 'b')"));
    EXPECT_EQ(db.DeleteAll(), 0);
    EXPECT_EQ(file.RecordCount(), 0);
    EXPECT_EQ(file.Scalar("SELECT count(*) FROM Param"), 0);
}

TEST_F(HistoryDatabaseTest, RolledBackRefillKeepsThePreviousRows) {
    Add({At("2013-05-07 9:05:00", 1), At("2013-05-07 9:06:00", 2)});
    ASSERT_EQ(db.BeginTransaction(), 0);
    ASSERT_EQ(db.DeleteAll(), 0);
    Add({At("2020-01-01 0:00:00", 9)});
    db.RollbackTransaction();
    EXPECT_EQ(file.RecordCount(), 2);
    ASSERT_EQ(db.BeginTransaction(), 0);
    ASSERT_EQ(db.DeleteAll(), 0);
    Add({At("2020-01-01 0:00:00", 9)});
    ASSERT_EQ(db.CommitTransaction(), 0);
    EXPECT_EQ(file.RecordCount(), 1);
}

TEST_F(HistoryDatabaseTest, ColumnOutsideTheQuantityListIsRefused) {
    Add({At("2013-05-07 9:05:00", 1)});
    int count = 42;
    EXPECT_NE(db.CountInRange("2013-05-07 0:00:00", "2013-05-08 0:00:00",
                              "OutTemp<>0 OR 1=1; DROP TABLE Records; --", count),
              0);
    EXPECT_EQ(count, 0);
    EXPECT_NE(db.SelectInRange("2013-05-07 0:00:00", "2013-05-08 0:00:00", "No"), 0);
    EXPECT_TRUE(db.Eof());
    bool called = false;
    EXPECT_NE(db.ReadRange("2013-05-07 0:00:00", "2013-05-08 0:00:00", {"OutTemp", "Time"},
                           [&](double, const double*) { called = true; }),
              0);
    EXPECT_FALSE(called);
    EXPECT_EQ(window.Messages().size(), 3);
    EXPECT_EQ(file.RecordCount(), 1);
}

TEST_F(HistoryDatabaseTest, OpeningAgainReplacesTheConnection) {
    Add({At("2013-05-07 9:05:00", 1)});
    ASSERT_EQ(db.Open(file.Path()), 0);
    ASSERT_EQ(db.Open(file.Path()), 0);
    EXPECT_EQ(Count("2013-05-07 0:00:00", "2013-05-08 0:00:00", "OutTemp"), 1);
    EXPECT_TRUE(window.Messages().isEmpty());
}

TEST(HistoryDatabaseErrors, MissingFileIsReportedAndNotCreated) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Orvane.mdb");
    MemoryControlWindow window;
    HistoryDatabase db(&window);
    EXPECT_LT(db.Open(path), 0);
    EXPECT_FALSE(QFileInfo::exists(path));
    ASSERT_EQ(window.Messages().size(), 2);
    EXPECT_EQ(window.Messages()[0], "数据库连接错误");
    EXPECT_FALSE(window.Messages()[1].isEmpty());
    // Every later operation reports that nothing is open, and none crashes.
    int count = -1;
    EXPECT_NE(db.CountInRange("2013-05-07 0:00:00", "2013-05-08 0:00:00", "OutTemp", count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_NE(db.DeleteAll(), 0);
    EXPECT_NE(db.AddRecord(HistoryRecord{}), 0);
    EXPECT_EQ(window.Messages().size(), 5);
}

TEST(HistoryDatabaseErrors, FileThatIsNoHistoryDatabaseIsAConnectionError) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Orvane.mdb");
    QFile junk(path);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    MemoryControlWindow window;
    HistoryDatabase db(&window);
    EXPECT_LT(db.Open(path), 0);
    ASSERT_EQ(window.Messages().size(), 2);
    EXPECT_EQ(window.Messages()[0], "数据库连接错误");
    EXPECT_FALSE(db.IsOpen());
}
