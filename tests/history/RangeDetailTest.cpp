#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "GraphSearch.h"
#include "HistoryDatabase.h"
#include "HistoryTestDatabase.h"
#include "HistoryTime.h"
#include "MemoryControlWindow.h"

using namespace orvane;

namespace {

// A year of ten-minute rows, each five minutes off the hour grid so that no
// reading sits on a slice or summary boundary; every 17th temperature is
// missing. The dew point rises steadily, so the extremes of every span lie
// in its partial first and last hours.
struct Year {
    std::vector<double> times, temps, dews;
    Year() {
        const double first = DaysFromParts(2013, 1, 1, 0, 5, 0);
        for (int i = 0; i < 52560; ++i) {
            times.push_back(first + i / 144.0);
            temps.push_back(i % 17 == 3 ? NoValue
                                        : static_cast<float>(10 * std::sin(i / 700.0) +
                                                             3 * std::sin(i * 0.37)));
            dews.push_back(static_cast<float>(i * 0.01));  // rising: extremes at the edges
        }
    }
};

const Year& Data() {
    static const Year year;
    return year;
}

class RangeDetailTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.SetMessageWindow(&window);
        ASSERT_EQ(db.Open(file.Path()), 0);
        Fill(db, 0.0f);
    }

    // The import's way in: one transaction, rows through AddRecord.
    static void Fill(HistoryDatabase& d, float shift) {
        ASSERT_EQ(d.BeginTransaction(), 0);
        ASSERT_EQ(d.DeleteAll(), 0);
        ASSERT_EQ(d.OpenRecordsTable(), 0);
        const Year& y = Data();
        for (size_t i = 0; i < y.times.size(); ++i) {
            HistoryRecord r;
            r.Time = y.times[i];
            r.OutTemp = static_cast<float>(y.temps[i] == NoValue ? NoValue : y.temps[i] + shift);
            r.DewPoint = static_cast<float>(y.dews[i]);
            ASSERT_EQ(d.AddRecord(r), 0);
        }
        ASSERT_EQ(d.CommitTransaction(), 0);
    }

    HistoryDatabase::RangeDetail Read(double start, double end, int slices) {
        HistoryDatabase::RangeDetail detail;
        EXPECT_EQ(db.ReadRangeDetail(start, end, {"OutTemp", "DewPoint"}, slices, detail), 0);
        return detail;
    }

    // A fingerprint of the summaries, to compare two ways of building them.
    double SummarySum() const {
        return file.Scalar(
            "SELECT total(Rows * 7 + OutTempMin + OutTempMax * 3 + OutTempMinTime + "
            "DewPointMaxTime + Level) FROM RecordSummary");
    }

    HistoryTestDatabase file;
    MemoryControlWindow window;
    HistoryDatabase db;
};

}  // namespace

// Every point is a reading of the span, in time order; the span's lowest and
// highest readings are there; where slices are made of whole summary buckets
// each slice has exactly its own extremes; a span with few rows is read whole.
TEST_F(RangeDetailTest, SlicesHoldRealReadingsAndTheirExtremes) {
    const double jan1 = DaysFromParts(2013, 1, 1, 0, 0, 0);
    struct Case {
        const char* what;
        double start, end;
        int slices;
        bool exact, aligned;
    } cases[] = {
        {"whole year from day summaries", jan1, jan1 + 365, 73, false, true},
        {"six-hour summaries", jan1 + 10, jan1 + 40, 60, false, true},
        {"hour summaries", jan1 + 100, jan1 + 110, 120, false, true},
        {"unaligned day span", jan1 + 3.3, jan1 + 300.71, 97, false, false},
        {"unaligned hour span", jan1 + 50.123, jan1 + 59.9, 111, false, false},
        {"rows, many", jan1 + 200, jan1 + 203, 100, false, true},
        {"rows, few: exact", jan1 + 200.01, jan1 + 202.5, 200, true, false},
        {"beyond the data", jan1 + 500, jan1 + 900, 50, true, false},
    };
    const Year& y = Data();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto detail = Read(c.start, c.end, c.slices);
        EXPECT_EQ(detail.exact, c.exact);
        for (int col = 0; col < 2; ++col) {
            const std::vector<double>& source = col == 0 ? y.temps : y.dews;
            std::map<double, double> readings;
            std::vector<double> lows(c.slices, INFINITY), highs(c.slices, -INFINITY);
            const double width = (c.end - c.start) / c.slices;
            for (size_t i = 0; i < y.times.size(); ++i)
                if (y.times[i] > c.start && y.times[i] <= c.end && source[i] != NoValue) {
                    readings[y.times[i]] = source[i];
                    const auto s = std::min<long>(
                        c.slices - 1, static_cast<long>((y.times[i] - c.start) / width));
                    lows[s] = std::min(lows[s], source[i]);
                    highs[s] = std::max(highs[s], source[i]);
                }
            const auto& times = detail.times[col];
            const auto& values = detail.values[col];
            ASSERT_EQ(times.size(), values.size());
            EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
            if (c.exact) {
                EXPECT_EQ(times.size(), readings.size());
            } else {
                EXPECT_LE(times.size(), 2u * c.slices);
            }
            std::vector<double> gotLow(c.slices, INFINITY), gotHigh(c.slices, -INFINITY);
            for (size_t i = 0; i < times.size(); ++i) {
                auto it = readings.find(times[i]);
                ASSERT_NE(it, readings.end()) << "not a reading of the span: " << times[i];
                EXPECT_EQ(it->second, values[i]);
                const auto s =
                    std::min<long>(c.slices - 1, static_cast<long>((times[i] - c.start) / width));
                gotLow[s] = std::min(gotLow[s], values[i]);
                gotHigh[s] = std::max(gotHigh[s], values[i]);
            }
            if (readings.empty()) continue;
            EXPECT_EQ(*std::min_element(gotLow.begin(), gotLow.end()),
                      *std::min_element(lows.begin(), lows.end()));
            EXPECT_EQ(*std::max_element(gotHigh.begin(), gotHigh.end()),
                      *std::max_element(highs.begin(), highs.end()));
            if (c.aligned) {
                EXPECT_EQ(gotLow, lows) << "column " << col;
                EXPECT_EQ(gotHigh, highs) << "column " << col;
            }
        }
    }
    EXPECT_TRUE(window.Messages().isEmpty());
}

// The summaries follow every way Records changes: rows appended by another
// program, a refill in a transaction, a refill rolled back, a table replaced
// behind the program's back; and gathering them during the import gives the
// same summaries as building them from the rows.
TEST_F(RangeDetailTest, SummariesFollowEveryChangeOfTheRecords) {
    const double jan1 = DaysFromParts(2013, 1, 1, 0, 0, 0);
    auto highest = [&] {
        const auto d = Read(jan1, jan1 + 366, 100);
        EXPECT_FALSE(d.exact);
        return d.values[0].empty() ? NAN
                                   : *std::max_element(d.values[0].begin(), d.values[0].end());
    };
    const double before = highest();
    EXPECT_GT(file.Scalar("SELECT count(*) FROM RecordSummary WHERE Level = 24"), 300);
    const double gathered = SummarySum();
    ASSERT_TRUE(file.Exec("DELETE FROM RecordSummary; UPDATE RecordSummaryState SET Covered = 0"));
    EXPECT_DOUBLE_EQ(highest(), before);
    EXPECT_DOUBLE_EQ(SummarySum(), gathered);

    ASSERT_TRUE(file.Exec("INSERT INTO Records (Time, OutTemp, DewPoint) VALUES (" +
                          std::to_string(jan1 + 180.52) + ", 99.5, 1)"));
    EXPECT_EQ(highest(), 99.5);

    Fill(db, 50.0f);
    EXPECT_NEAR(highest(), before + 50, 1e-4);

    ASSERT_EQ(db.BeginTransaction(), 0);
    ASSERT_EQ(db.DeleteAll(), 0);
    ASSERT_EQ(db.OpenRecordsTable(), 0);
    HistoryRecord r;
    r.Time = jan1 + 20.5;
    r.OutTemp = 500;
    ASSERT_EQ(db.AddRecord(r), 0);
    db.RollbackTransaction();
    EXPECT_NEAR(highest(), before + 50, 1e-4);

    ASSERT_TRUE(
        file.Exec("DELETE FROM Records; WITH RECURSIVE n(v) AS (SELECT 1 UNION ALL SELECT v + 1 "
                  "FROM n WHERE v < 8000) INSERT INTO Records (Time, OutTemp, DewPoint) SELECT " +
                  std::to_string(jan1) + " + v / 24.0 + 0.25, v % 40 - 70, 0 FROM n"));
    EXPECT_EQ(highest(), 39 - 70);
    EXPECT_TRUE(window.Messages().isEmpty());
}

TEST_F(RangeDetailTest, GraphDetailFillsTheQuantitysSeries) {
    const double jan1 = DaysFromParts(2013, 1, 1, 0, 0, 0);
    const GraphData data =
        RunGraphDetail(db, file.Path(), jan1, jan1 + 365, 0, UnitCaptions{}, 500);
    EXPECT_FALSE(data.exact);
    EXPECT_EQ(data.chartTitle, "Temperature");
    EXPECT_GT(data.series[0].count, 500);
    EXPECT_LE(data.series[1].count, 1000);
    EXPECT_EQ(data.series[1].count, static_cast<int>(data.series[1].values.size()));
    EXPECT_FALSE(data.series[2].used);
    EXPECT_TRUE(data.series[2].times.empty());
}
