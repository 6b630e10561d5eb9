#include <gtest/gtest.h>

#include "GraphSearch.h"
#include "HistoryDatabase.h"
#include "HistoryTestDatabase.h"
#include "HistoryTime.h"
#include "MemoryControlWindow.h"
#include "StringTable.h"

using namespace orvane;

namespace {

class GraphSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetCurrentLanguage(UiLanguage::English);
        db.SetMessageWindow(&window);
        ASSERT_EQ(db.Open(file.Path()), 0);
        ASSERT_EQ(db.OpenRecordsTable(), 0);
        for (int minute = 1; minute <= 5; ++minute) {
            HistoryRecord r;
            r.Time = DaysFromParts(2013, 5, 7, 9, minute, 0);
            r.OutTemp = minute == 3 ? NoValue : 20.0f + static_cast<float>(minute);
            r.DewPoint = 10.0f + static_cast<float>(minute);
            r.RainDay = 1;
            r.RainWeek = 2;
            r.RainMonth = 3;
            r.RainYear = minute == 5 ? NoValue : 4;
            r.OutHumi = 60;
            ASSERT_EQ(db.AddRecord(r), 0);
        }
        db.Close();
    }

    GraphData Run(int quantity) {
        return RunGraphSearch(db, file.Path(), "2013-05-07 9:00:00", "2013-05-07 10:00:00",
                              quantity, units);
    }

    HistoryTestDatabase file;
    MemoryControlWindow window;
    HistoryDatabase db;
    UnitCaptions units{"(C)", "(hPa)", "(mm)", "(m/s)", "(lux)"};
};

}  // namespace

TEST_F(GraphSearchTest, TemperatureLeavesOutItsMissingRowsButNotTheDewPoints) {
    const GraphData data = Run(0);
    EXPECT_EQ(data.chartTitle, "Temperature");
    EXPECT_EQ(data.axisCaption, "(C)");
    EXPECT_EQ(data.series[0].title, "Temperature");
    EXPECT_EQ(data.series[1].title, "Dew point");
    ASSERT_EQ(data.series[0].count, 4);
    EXPECT_EQ(data.series[0].values, (std::vector<double>{21, 22, 24, 25}));
    EXPECT_EQ(data.series[1].count, 5);
    EXPECT_DOUBLE_EQ(data.series[1].times.front(), DaysFromParts(2013, 5, 7, 9, 1, 0));
    EXPECT_FALSE(data.series[2].used);
    EXPECT_FALSE(data.series[2].setsTitle);
    EXPECT_TRUE(data.series[3].times.empty());
}

TEST_F(GraphSearchTest, RainFallDrawsFourSeriesEachWithItsOwnCount) {
    const GraphData data = Run(4);
    EXPECT_EQ(data.chartTitle, "Rain fall");
    const char* titles[] = {"Day Rain", "Week Rain", "Month Rain", "Year Rain"};
    const int counts[] = {5, 5, 5, 4};
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(data.series[k].used);
        EXPECT_EQ(data.series[k].title, titles[k]);
        EXPECT_EQ(data.series[k].count, counts[k]);
        EXPECT_DOUBLE_EQ(data.series[k].values.front(), k + 1.0);
    }
}

TEST_F(GraphSearchTest, QuantityTableSetsCaptionsAndTitles) {
    EXPECT_EQ(GraphQuantityNames(), (QStringList{"Temperature", "Humidity", "Pressure", "Wind",
                                                 "Rain fall", "Light", "UVI"}));
    const GraphData humidity = GraphLayout(1, units);
    EXPECT_EQ(humidity.axisCaption, " (%)");
    EXPECT_FALSE(humidity.series[1].used);
    EXPECT_FALSE(humidity.series[1].setsTitle);  // keeps the previous title
    const GraphData pressure = GraphLayout(2, units);
    EXPECT_EQ(pressure.series[0].column, "RelPressure");
    EXPECT_EQ(pressure.series[1].title, "Absolute Pressure");
    const GraphData uv = GraphLayout(6, units);
    EXPECT_EQ(uv.chartTitle, "UVI");
    EXPECT_EQ(uv.axisCaption, "  ");
    EXPECT_TRUE(uv.series[1].setsTitle);
    EXPECT_EQ(uv.series[1].title, " ");
    EXPECT_FALSE(uv.series[1].used);
    SetCurrentLanguage(UiLanguage::Chinese);
    EXPECT_EQ(GraphLayout(3, units).series[1].title, "阵风");
    EXPECT_EQ(GraphQuantityNames().last(), "UVI");
    SetCurrentLanguage(UiLanguage::English);
}

TEST_F(GraphSearchTest, MissingDatabaseIsReportedOnceAndDrawsNothing) {
    const GraphData data = RunGraphSearch(db, file.Folder() + "/gone.mdb", "2013-05-07 9:00:00",
                                          "2013-05-07 10:00:00", 4, units);
    EXPECT_EQ(window.Messages().size(), 2);
    for (const auto& s : data.series) EXPECT_EQ(s.count, 0);
}
