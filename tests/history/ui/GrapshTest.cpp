#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>

#include "../HistoryTestDatabase.h"
#include "../archive/PostgresServer.h"
#include "Archive.h"
#include "ArchiveProvenance.h"
#include "CTchart1.h"
#include "Clock.h"
#include "GraphLayout.h"
#include "Grapsh.h"
#include "HistoryDatabase.h"
#include "HistoryTime.h"
#include "StringTable.h"

using namespace orvane;

namespace {

void Type(QWidget* to, int key, const QString& text = QString()) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &up);
}

class GrapshTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetCurrentLanguage(UiLanguage::English);
        HistoryDatabase db;
        ASSERT_EQ(db.Open(file.Path()), 0);
        ASSERT_EQ(db.OpenRecordsTable(), 0);
        for (int minute = 0; minute < 10; ++minute) {
            HistoryRecord r;
            r.Time = DaysFromParts(2013, 5, 7, 9, minute, 0);
            r.OutTemp = minute == 4 ? NoValue : -2.0f + static_cast<float>(minute);
            r.DewPoint = -5.0f + static_cast<float>(minute);
            r.OutHumi = 40 + minute;
            ASSERT_EQ(db.AddRecord(r), 0);
        }
    }

    std::unique_ptr<Grapsh> Open() {
        auto w = std::make_unique<Grapsh>(file.Path(), nullptr, &clock);
        w->SetMessageWindow(&messages);
        w->SetUnitCaptions({"(°C)", "(hPa)", "(mm)", "(m/s)", "(lux)"});
        return w;
    }

    static void SetSpan(Grapsh& w, const QDateTime& start, const QDateTime& end) {
        w.Controls().SetDateTime(GraphId::kStartDate, start);
        w.Controls().SetDateTime(GraphId::kStartTime, start);
        w.Controls().SetDateTime(GraphId::kEndDate, end);
        w.Controls().SetDateTime(GraphId::kEndTime, end);
    }

    HistoryTestDatabase file;
    MemoryGraphWindow messages;
    FixedClock clock{QDateTime(QDate(2013, 5, 7), QTime(10, 30, 15)), QDateTime()};
    const QDateTime start{QDate(2013, 5, 7), QTime(9, 0, 0)};
    // Chart x values are milliseconds as double; exact far below 2^53.
    const double startMs = static_cast<double>(start.toMSecsSinceEpoch());
    const QDateTime end{QDate(2013, 5, 7), QTime(9, 7, 0)};
};

}  // namespace

// It opens on the span of the stored records, draws them when shown, fits
// the screen, and takes typed dates; an empty history keeps the last hour.
TEST_F(GrapshTest, OpensOnTheStoredRecordsAndDrawsThem) {
    auto w = Open();
    EXPECT_EQ(w->windowTitle(), "Graph");
    EXPECT_EQ(w->Controls().Text(GraphId::kSearch), "Search");
    EXPECT_EQ(w->Controls().Text(GraphId::kCancel), "Cancel");
    EXPECT_EQ(w->Controls().Text(GraphId::kStartLabel), "Start Time:");
    EXPECT_EQ(w->Controls().ItemCount(GraphId::kQuantity), 7);
    EXPECT_EQ(w->Controls().SelectedIndex(GraphId::kQuantity), 0);
    EXPECT_EQ(w->Controls().DateTime(GraphId::kStartDate).date(), QDate(2013, 5, 7));
    EXPECT_EQ(w->Controls().DateTime(GraphId::kStartTime).time(), QTime(8, 59, 59));
    EXPECT_EQ(w->Controls().DateTime(GraphId::kEndTime).time(), QTime(9, 9, 0));
    w->show();
    QApplication::processEvents();
    EXPECT_EQ(w->Chart()->Series(0)->points().size(), 9);
    EXPECT_EQ(w->Chart()->Series(1)->points().size(), 10);
    EXPECT_EQ(w->Chart()->TimeAxis()->min(), QDateTime(QDate(2013, 5, 7), QTime(8, 59, 59)));
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(w->frameGeometry().width(), screen.width());
    EXPECT_LE(w->frameGeometry().height(), screen.height());

    auto* date = w->findChild<QDateEdit*>();
    ASSERT_NE(date, nullptr);
    date->setFocus();
    date->setSelectedSection(QDateTimeEdit::DaySection);
    Type(date, Qt::Key_0, "0");
    Type(date, Qt::Key_9, "9");
    EXPECT_EQ(w->Controls().DateTime(GraphId::kStartDate).date(), QDate(2013, 5, 9));

    ASSERT_TRUE(file.Exec("DELETE FROM Records"));
    auto empty = Open();
    EXPECT_EQ(empty->Controls().DateTime(GraphId::kStartTime).time(), QTime(9, 30, 15));
    EXPECT_EQ(empty->Controls().DateTime(GraphId::kEndTime).time(), QTime(10, 30, 15));
    EXPECT_TRUE(messages.Messages().isEmpty());

    SetCurrentLanguage(UiLanguage::Chinese);
    auto zh = Open();
    EXPECT_EQ(zh->windowTitle(), "图表");
    EXPECT_EQ(zh->Controls().Text(GraphId::kSearch), "查询");
    EXPECT_EQ(zh->Controls().ItemText(GraphId::kQuantity, 2), "气压");
    SetCurrentLanguage(UiLanguage::English);
}

TEST_F(GrapshTest, SearchDrawsTemperatureAndDewPointOverTheFixedSpan) {
    auto w = Open();
    SetSpan(*w, start, end);
    w->Search();
    CTchart1* chart = w->Chart();
    EXPECT_EQ(chart->TitleLine(), "Temperature");
    EXPECT_EQ(chart->ValueAxis()->titleText(), "(°C)");
    EXPECT_EQ(chart->TimeAxis()->min(), start);
    EXPECT_EQ(chart->TimeAxis()->max(), end);
    EXPECT_EQ(chart->TimeAxis()->format(), "yyyy-MM-dd hh:mm:ss");
    // Rows 1..7 lie in (9:00, 9:07]; row 4 has no temperature.
    const QList<QPointF> temps = chart->Series(0)->points();
    ASSERT_EQ(temps.size(), 6);
    EXPECT_EQ(QDateTime::fromMSecsSinceEpoch(std::llround(temps[0].x())), start.addSecs(60));
    EXPECT_DOUBLE_EQ(temps[0].y(), -1.0);
    EXPECT_EQ(QDateTime::fromMSecsSinceEpoch(std::llround(temps.last().x())), end);
    EXPECT_EQ(chart->Series(1)->points().size(), 7);
    EXPECT_EQ(chart->Series(0)->name(), "Temperature");
    EXPECT_EQ(chart->Series(1)->name(), "Dew point");
    EXPECT_EQ(chart->Series(0)->pen().color(), QColor(255, 0, 0));
    EXPECT_EQ(chart->Series(1)->pen().color(), QColor(0, 128, 255));
    EXPECT_EQ(chart->Series(0)->pen().width(), 2);
    // The value axis covers every drawn point.
    EXPECT_LE(chart->ValueAxis()->min(), -4.0);
    EXPECT_GE(chart->ValueAxis()->max(), 5.0);
    EXPECT_TRUE(messages.Messages().isEmpty());
}

TEST_F(GrapshTest, HumidityAfterTemperatureEmptiesAndHidesTheDewPointSeries) {
    auto w = Open();
    SetSpan(*w, start, end);
    w->Search();
    w->Controls().SelectIndex(GraphId::kQuantity, 1);
    w->Search();
    CTchart1* chart = w->Chart();
    EXPECT_EQ(chart->TitleLine(), "Humidity");
    EXPECT_EQ(chart->ValueAxis()->titleText(), " (%)");
    EXPECT_EQ(chart->Series(0)->points().size(), 7);
    EXPECT_TRUE(chart->Series(1)->points().isEmpty());
    EXPECT_FALSE(chart->IsSeriesUsed(1));
    EXPECT_EQ(chart->Series(1)->name(), "Dew point");
    EXPECT_FALSE(chart->chart()->legend()->markers(chart->Series(1)).first()->isVisible());
}

TEST_F(GrapshTest, ReversedRangeShowsTheMessageAndKeepsTheChart) {
    auto w = Open();
    SetSpan(*w, start, end);
    w->Search();
    SetSpan(*w, end, start);
    w->Search();
    ASSERT_EQ(messages.Messages(), QStringList{"Graph"});
    EXPECT_EQ(w->Chart()->Series(0)->points().size(), 6);
    EXPECT_EQ(w->Chart()->TimeAxis()->max(), end);
}

TEST_F(GrapshTest, EqualStartAndEndDrawNothingAndSayNothing) {
    auto w = Open();
    SetSpan(*w, end, end);
    w->Search();
    EXPECT_TRUE(messages.Messages().isEmpty());
    for (int k = 0; k < CTchart1::kSeriesCount; ++k)
        EXPECT_TRUE(w->Chart()->Series(k)->points().isEmpty());
    EXPECT_EQ(w->Chart()->TitleLine(), "Temperature");
}

// Save writes the one format chosen: the picture, or every reading of the
// shown span as CSV.
TEST_F(GrapshTest, SaveWritesTheChosenFormatOnly) {
    struct {
        const char* chosen;
        const char* filter;
        const char* written;
    } names[] = {
        {"a", "PNG (*.png)", "a.png"},
        {"a", "CSV (*.csv)", "a.csv"},
        {"a.CSV", "PNG (*.png)", "a.CSV"},
        {"a.png", "CSV (*.csv)", "a.png"},
    };
    for (const auto& n : names) EXPECT_EQ(Grapsh::SavePath(n.chosen, n.filter), n.written);
    EXPECT_TRUE(Grapsh::SaveFilters().contains("*.csv"));

    auto w = Open();
    SetSpan(*w, start, end);
    w->resize(900, 500);
    w->Search();
    QTemporaryDir out;
    ASSERT_TRUE(w->SaveChart(out.filePath("chart.png")));
    EXPECT_FALSE(QImage(out.filePath("chart.png")).isNull());
    EXPECT_FALSE(QFile::exists(out.filePath("chart.csv")));
    ASSERT_TRUE(w->SaveChart(out.filePath("table.csv")));
    EXPECT_FALSE(QFile::exists(out.filePath("table.png")));
    QFile csv(out.filePath("table.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 6 + 7);
    EXPECT_EQ(lines[0], "Series,Time,Value");
    EXPECT_EQ(lines[1], "\"Temperature\",2013-05-07 09:01:00,-1");
    EXPECT_EQ(lines[7], "\"Dew point\",2013-05-07 09:01:00,-4");

    EXPECT_FALSE(w->SaveChart(out.filePath("no/such/folder/chart.png")));
    EXPECT_FALSE(w->SaveChart(out.filePath("no/such/folder/chart.csv")));
    EXPECT_EQ(messages.Messages(), (QStringList{"Save Fail", "Save Fail"}));
}

// Each zoom or pan step reads the new span: the axis shows it and the series
// hold the readings inside it; Home returns to the searched span.
TEST_F(GrapshTest, ZoomAndPanReadTheNewSpan) {
    auto w = Open();
    w->resize(900, 500);
    w->show();
    SetSpan(*w, start, QDateTime(QDate(2013, 5, 7), QTime(9, 8, 0)));  // 9:00 .. 9:08
    w->Search();
    QApplication::processEvents();
    CTchart1* chart = w->Chart();
    const QRectF area = chart->chart()->plotArea();
    const int y = static_cast<int>(area.center().y());
    const int quarter = static_cast<int>(area.left() + area.width() / 4);
    const int threeQuarters = static_cast<int>(area.left() + area.width() * 3 / 4);
    auto press = [&](Qt::MouseButton b, int from, int to) {
        QMouseEvent down(QEvent::MouseButtonPress, QPointF(from, y),
                         chart->mapToGlobal(QPointF(from, y)), b, b, Qt::NoModifier);
        QApplication::sendEvent(chart->viewport(), &down);
        QMouseEvent move(QEvent::MouseMove, QPointF(to, y), chart->mapToGlobal(QPointF(to, y)),
                         Qt::NoButton, b, Qt::NoModifier);
        QApplication::sendEvent(chart->viewport(), &move);
        QMouseEvent up(QEvent::MouseButtonRelease, QPointF(to, y),
                       chart->mapToGlobal(QPointF(to, y)), b, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(chart->viewport(), &up);
    };
    const std::function<void()> wheelAtMiddle = [&] {
        const QPointF at(area.center().x(), y);
        QWheelEvent wheel(at, chart->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart->viewport(), &wheel);
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        double startMinute, endMinute;  // after 9:00
    } steps[] = {
        {"+", [&] { Type(chart, Qt::Key_Plus); }, 2, 6},
        {"left", [&] { Type(chart, Qt::Key_Left); }, 1, 5},
        {"-", [&] { Type(chart, Qt::Key_Minus); }, -1, 7},
        {"home", [&] { Type(chart, Qt::Key_Home); }, 0, 8},
        {"right", [&] { Type(chart, Qt::Key_Right); }, 2, 10},
        {"home", [&] { Type(chart, Qt::Key_Home); }, 0, 8},
        {"wheel", wheelAtMiddle, 0.8, 7.2},
        {"home", [&] { Type(chart, Qt::Key_Home); }, 0, 8},
        {"band", [&] { press(Qt::RightButton, quarter, threeQuarters); }, 2, 6},
        {"pan", [&] { press(Qt::LeftButton, threeQuarters, quarter); }, 4, 8},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        const double from = startMs + step.startMinute * 60000;
        const double to = startMs + step.endMinute * 60000;
        // A pixel of the drag is a few hundred milliseconds of the span.
        EXPECT_NEAR(chart->ViewStartMs(), from, 2000);
        EXPECT_NEAR(chart->ViewEndMs(), to, 2000);
        int inside = 0;
        for (int minute = 0; minute < 10; ++minute) {
            const double t = startMs + minute * 60000.0;
            inside += t > chart->ViewStartMs() && t <= chart->ViewEndMs();
        }
        const QList<QPointF> dew = chart->Series(1)->points();
        EXPECT_EQ(dew.size(), inside);
        for (const QPointF& p : dew) {
            EXPECT_GT(p.x(), chart->ViewStartMs());
            EXPECT_LE(p.x(), chart->ViewEndMs() + 1);
        }
    }
    EXPECT_EQ(w->Controls().DateTime(GraphId::kEndTime).time(), QTime(9, 8, 0));

    // Hovering names the nearest reading of each series.
    w->Search();
    const double at = startMs + 3 * 60000.0 + 20000;
    EXPECT_EQ(chart->ReadoutAt(at),
              "Temperature: 1  2013-05-07 09:03:00    Dew point: -2  2013-05-07 09:03:00");
    EXPECT_EQ(chart->ReadoutAt(at + 45000),
              "Temperature: 3  2013-05-07 09:05:00    Dew point: -1  2013-05-07 09:04:00");
    EXPECT_TRUE(messages.Messages().isEmpty());
}

PostgresServer& Server() {
    static PostgresServer server;  // one per test program, stopped at exit
    return server;
}

// The archive of the data folder (Main.ini [Archive] Location: SQLite by
// default, or PostgreSQL) is a second source of the same search, the last
// import the default. A long span is drawn from slice extremes that keep
// the highest reading; a short one exactly.
TEST_F(GrapshTest, ArchiveIsASecondSourceOfTheSameSearch) {
    struct Backend {
        const char* what;
        QString location;
    } const backends[] = {{"sqlite", file.Folder() + "/Archive.sqlite"},
                          {"postgresql", Server().Url()}};
    for (const Backend& backend : backends) {
        SCOPED_TRACE(backend.what);
        if (Archive::IsPostgresLocation(backend.location)) {
            ASSERT_TRUE(Server().Running()) << Server().Error().toStdString();
            QFile ini(file.Folder() + "/Main.ini");
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write("[Archive]\r\nLocation=" + backend.location.toUtf8() + "\r\n");
        }
        {
            QString error;
            auto archive = Archive::Open(backend.location, error);
            ASSERT_TRUE(archive) << error.toStdString();
            ASSERT_TRUE(archive->Begin({"a.txt", 1, "cafe", {}}));
            HistoryRecord r;
            r.Time = DaysFromParts(2012, 1, 1, 12, 0, 0);
            r.OutTemp = 30.5f;
            r.DewPoint = NoValue;
            ASSERT_TRUE(archive->Add(r, "line"));
            r.Time = DaysFromParts(2012, 1, 2, 12, 0, 0);
            r.OutTemp = 31.5f;
            r.DewPoint = 20.0f;
            ASSERT_TRUE(archive->Add(r, "line"));
            // An hour apart from February on: more than any window draws exactly.
            for (int hour = 0; hour < 9000; ++hour) {
                r.Time = DaysFromParts(2012, 2, 1, 0, 0, 0) + hour / 24.0;
                r.OutTemp = static_cast<float>(hour % 20);
                ASSERT_TRUE(archive->Add(r, "line"));
            }
            ASSERT_TRUE(archive->Commit()) << archive->LastError().toStdString();
        }
        auto w = Open();
        EXPECT_EQ(w->ArchiveLocation(), backend.location);
        EXPECT_EQ(w->CurrentSource(), Grapsh::kLastImport);
        w->SetSource(Grapsh::kArchive);
        // The fields move to the archive's records and the search draws them.
        EXPECT_EQ(w->Controls().DateTime(GraphId::kStartDate).date(), QDate(2012, 1, 1));
        EXPECT_EQ(w->Controls().DateTime(GraphId::kEndDate).date(),
                  DateTimeFromDays(DaysFromParts(2012, 2, 1, 0, 0, 0) + 8999 / 24.0).date());
        EXPECT_FALSE(w->LastDrawingExact());
        const QList<QPointF> drawn = w->Chart()->Series(0)->points();
        EXPECT_LT(drawn.size(), 9002);
        EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(),
                                [](const QPointF& p) { return p.y() == 31.5; }));
        w->ShowSpan(QDateTime(QDate(2011, 12, 31), QTime()), QDateTime(QDate(2012, 1, 3), QTime()));
        EXPECT_TRUE(w->LastDrawingExact());
        ASSERT_EQ(w->Chart()->Series(0)->points().size(), 2);
        EXPECT_EQ(w->Chart()->Series(0)->points()[1].y(), 31.5);
        EXPECT_EQ(w->Chart()->Series(1)->points().size(), 1);
        w->SetSource(Grapsh::kLastImport);
        EXPECT_EQ(w->Chart()->Series(1)->points().size(), 10);
        EXPECT_TRUE(messages.Messages().isEmpty());

        if (!Archive::IsPostgresLocation(backend.location)) {
            // A missing file is reported, never created.
            ASSERT_TRUE(QFile::remove(backend.location));
            w->SetSource(Grapsh::kArchive);
            EXPECT_FALSE(messages.Messages().isEmpty());
            EXPECT_TRUE(w->Chart()->Series(1)->points().isEmpty());
            EXPECT_FALSE(QFile::exists(backend.location));
            messages.ClearMessages();
        }
    }
}

TEST(CTchart1Test, LongSeriesIsDrawnThinnedButKeepsItsExtremesAndAllPointsForExport) {
    CTchart1 chart;
    chart.ClearSeries();
    std::vector<double> times, values;
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        times.push_back(41275.0 + i / 1440.0);
        values.push_back(std::sin(i / 500.0) * 10.0);
    }
    values[54321] = 99.5;
    values[77777] = -42.25;
    chart.SetPoints(0, times, values);
    const QList<QPointF> drawn = chart.Series(0)->points();
    EXPECT_LE(drawn.size(), 4 * CTchart1::kDrawnBuckets);
    EXPECT_GT(drawn.size(), CTchart1::kDrawnBuckets);
    EXPECT_EQ(chart.Points(0).size(), n);
    EXPECT_EQ(drawn.front(), chart.Points(0).front());
    EXPECT_EQ(drawn.back(), chart.Points(0).back());
    auto has = [&](double y) {
        return std::any_of(drawn.begin(), drawn.end(),
                           [&](const QPointF& p) { return p.y() == y; });
    };
    EXPECT_TRUE(has(99.5));
    EXPECT_TRUE(has(-42.25));
    EXPECT_TRUE(std::is_sorted(drawn.begin(), drawn.end(),
                               [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));
    chart.RescaleValueAxis();
    EXPECT_LE(chart.ValueAxis()->min(), -42.25);
    EXPECT_GE(chart.ValueAxis()->max(), 99.5);

    QTemporaryDir out;
    ASSERT_TRUE(chart.ExportCsv(out.filePath("all.csv")));
    QFile csv(out.filePath("all.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count('\n'), n + 1);
}

TEST(CTchart1Test, TimesKeepTheirWallClockAcrossDaylightSavingChanges) {
    const QByteArray previous = qgetenv("TZ");
    for (const char* zone : {"Europe/Berlin", "America/New_York", "Australia/Lord_Howe"}) {
        qputenv("TZ", zone);
        tzset();
        CTchart1 chart;
        chart.ClearSeries();
        std::vector<double> times, values;
        for (QDate day : {QDate(2013, 3, 9), QDate(2013, 3, 30), QDate(2013, 10, 5),
                          QDate(2013, 10, 26), QDate(2013, 11, 2)})
            for (int h = 0; h < 72; ++h) {
                times.push_back(DaysFromParts(day.year(), day.month(), day.day(), 0, 0, 0) +
                                (h * 60 + 30) / 1440.0);
                values.push_back(h);
            }
        chart.SetPoints(0, times, values);
        const QList<QPointF> points = chart.Points(0);
        ASSERT_EQ(points.size(), static_cast<qsizetype>(times.size()));
        for (qsizetype i = 0; i < points.size(); ++i) {
            const QDateTime wanted = DateTimeFromDays(times[i]);
            const QDateTime shown = QDateTime::fromMSecsSinceEpoch(std::llround(points[i].x()));
            const QDateTime naive(wanted.date(), wanted.time(), Qt::UTC);
            if (!QDateTime(wanted.date(), wanted.time()).isValid() ||
                QDateTime(wanted.date(), wanted.time()).time() != wanted.time())
                continue;  // a wall time the change skips
            EXPECT_EQ(shown.toString("yyyy-MM-dd hh:mm"), naive.toString("yyyy-MM-dd hh:mm"))
                << zone;
        }
    }
    if (previous.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", previous);
    tzset();
}

// The imports panel lists what fed the archive; its button is live only
// while the archive is the source.
TEST_F(GrapshTest, ImportsPanelListsTheArchiveProvenance) {
    {
        QString error;
        auto archive = Archive::Open(file.Folder() + "/Archive.sqlite", error);
        ASSERT_TRUE(archive) << error.toStdString();
        ASSERT_TRUE(archive->Begin({"EASYWEATHER.TXT", 120, "cafe", {}}));
        HistoryRecord r;
        r.Time = DaysFromParts(2012, 1, 1, 12, 0, 0);
        r.OutTemp = 30.5f;
        ASSERT_TRUE(archive->Add(r, "line"));
        ASSERT_TRUE(archive->Commit());
    }
    auto w = Open();
    QPushButton* button = nullptr;
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == "Imports...") button = b;
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isEnabled());
    w->SetSource(Grapsh::kArchive);
    EXPECT_TRUE(button->isEnabled());

    std::unique_ptr<QDialog> panel(w->ShowImports());
    ASSERT_NE(panel, nullptr);
    auto* grid = panel->findChild<QTableWidget*>();
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->item(0, ProvenanceTable::kFile)->text(), "EASYWEATHER.TXT");
    EXPECT_EQ(grid->item(0, ProvenanceTable::kAdded)->text(), "1");
    EXPECT_TRUE(
        panel->findChild<QLabel*>("summary")->text().startsWith("1 records from 1 imports"));
    EXPECT_TRUE(messages.Messages().isEmpty());
}
