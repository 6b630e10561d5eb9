#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QJsonArray>

#include "CtlRun.h"
#include "StationModel.h"

namespace orvane::test {
namespace {

StationModel& Station() {
    static StationModel model(1);
    return model;
}

// Time and temperature of every record line of a card file with
// from < time <= to, read from the log text itself.
std::vector<std::pair<QString, QString>> LogTemperatures(const QString& name, const QDateTime& from,
                                                         const QDateTime& to) {
    std::vector<std::pair<QString, QString>> rows;
    const QList<QByteArray> lines = Station().FileBytes(name)->split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> cells = lines[i].trimmed().split(',');
        if (cells.size() < 3) continue;
        const QDateTime t =
            QDateTime::fromString(QString::fromLatin1(cells[1]), QStringLiteral("yyyy-M-d H:mm"));
        if (t > from && t <= to)
            rows.emplace_back(t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                              QString::number(cells[2].toDouble(), 'g', 7));
    }
    return rows;
}

TEST(CtlExport, CsvHoldsEveryReadingOfTheSpanAsTheLogHasIt) {
    CtlRunner ctl;
    const QString name = Station().FileNames().last();
    const QString log = ctl.Scratch() + u'/' + name;
    {
        QFile file(log);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*Station().FileBytes(name));
    }
    ASSERT_EQ(ctl.Run({"--simulate", "import", log}).exitCode, 0);
    const QString csv = ctl.Scratch() + QStringLiteral("/out.csv");
    struct Span {
        const char* from;
        const char* to;
    };
    // A whole day, a span with times (start open, end closed), an empty one.
    const Span spans[] = {{"2026-03-11", "2026-03-11"},
                          {"2026-03-10 06:00", "2026-03-10 07:00:00"},
                          {"2025-01-01", "2025-01-02"}};
    for (const Span& span : spans) {
        const CtlResult r = ctl.Run({"--simulate", "--json", "export", "--from", span.from, "--to",
                                     span.to, "--quantity", "temp", "--csv", csv});
        ASSERT_EQ(r.exitCode, 0) << span.from << r.err.toStdString();
        const QDateTime from = QDateTime::fromString(r.Json()["from"].toString(), Qt::ISODate);
        const QDateTime to = QDateTime::fromString(r.Json()["to"].toString(), Qt::ISODate);
        const auto expected = LogTemperatures(name, from, to);
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.takeFirst(), QStringLiteral("Series,Time,Value"));
        // Temperature's first series is the temperature; the others follow it.
        const QString series = lines.isEmpty() ? QString() : lines[0].section(u',', 0, 0);
        QStringList first;
        for (const QString& line : lines)
            if (line.section(u',', 0, 0) == series) first << line.section(u',', 1);
        ASSERT_EQ(first.size(), qsizetype(expected.size())) << span.from;
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(first[qsizetype(i)], expected[i].first + u',' + expected[i].second);
        const QJsonArray json = r.Json()["series"].toArray();
        ASSERT_FALSE(json.isEmpty());
        EXPECT_EQ(json[0]["count"].toInt(), qsizetype(expected.size()));
    }
    // Without --csv the points come in the JSON.
    const CtlResult points =
        ctl.Run({"--simulate", "--json", "export", "--from", "2026-03-10 06:00", "--to",
                 "2026-03-10 07:00", "--quantity", "1"});
    ASSERT_EQ(points.exitCode, 0) << points.err.toStdString();
    const QJsonArray p = points.Json()["series"].toArray().at(0)["points"].toArray();
    ASSERT_EQ(p.size(), 12);
    EXPECT_EQ(p[0].toArray()[0].toString(), QStringLiteral("2026-03-10 06:05:00"));
}

// The columns of the image where the first series' colour is drawn below
// the legend: [first, last], or {-1, -1} when nowhere.
std::pair<int, int> RedColumns(const QImage& image) {
    int first = -1;
    int last = -1;
    for (int y = 80; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 200 || c.green() > 90 || c.blue() > 90) continue;
            first = first < 0 ? x : std::min(first, x);
            last = std::max(last, x);
        }
    return {first, last};
}

TEST(CtlExport, PngDrawsEachReadingAtItsTimeWithoutADisplay) {
    CtlRunner ctl;
    const QString name = Station().FileNames().last();
    const QString log = ctl.Scratch() + u'/' + name;
    {
        QFile file(log);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*Station().FileBytes(name));
    }
    ASSERT_EQ(ctl.Run({"--simulate", "import", log}).exitCode, 0);
    const auto all = LogTemperatures(name, QDateTime(QDate(2000, 1, 1), QTime()),
                                     QDateTime(QDate(2100, 1, 1), QTime()));
    ASSERT_FALSE(all.empty());
    const QDateTime first = QDateTime::fromString(all.front().first, Qt::ISODate);
    const QDateTime last = QDateTime::fromString(all.back().first, Qt::ISODate);
    const QString png = ctl.Scratch() + QStringLiteral("/chart.png");
    auto format = [](const QDateTime& t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm")); };
    struct Span {
        const char* what;
        QDateTime from;
        QDateTime to;
        double firstAtLeast;  // of the width
        double lastAtMost;
    };
    // Readings from the middle on; readings up to the middle; none.
    const Span spans[] = {{"log starts mid-span", first.addSecs(-6 * 3600), first.addSecs(6 * 3600),
                           0.45, 1.0},
                          {"log ends mid-span", last.addSecs(-6 * 3600), last.addSecs(6 * 3600), 0.0,
                           0.55},
                          {"no readings", first.addDays(-30), first.addDays(-29), 2.0, -1.0}};
    for (const Span& span : spans) {
        QFile::remove(png);
        const CtlResult r = ctl.Run({"--simulate", "export", "--from", format(span.from), "--to",
                                     format(span.to), "--png", png, "--size", "900x450"});
        ASSERT_EQ(r.exitCode, 0) << span.what << r.err.toStdString();
        QImage image(png);
        ASSERT_EQ(image.size(), QSize(900, 450)) << span.what;
        const auto [from, to] = RedColumns(image);
        if (span.lastAtMost < 0) {
            EXPECT_EQ(from, -1) << span.what;
            continue;
        }
        ASSERT_GE(from, 0) << span.what;
        EXPECT_GE(from, span.firstAtLeast * image.width()) << span.what;
        EXPECT_LE(to, span.lastAtMost * image.width()) << span.what;
        // A line, not a dot: it runs over a good part of its half.
        EXPECT_GT(to - from, image.width() / 4) << span.what;
    }
}

TEST(CtlExport, RefusalsSayWhyInOneLine) {
    CtlRunner ctl;
    const QString name = Station().FileNames().last();
    const QString log = ctl.Scratch() + u'/' + name;
    {
        QFile file(log);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*Station().FileBytes(name));
    }
    ASSERT_EQ(ctl.Run({"--simulate", "import", log}).exitCode, 0);
    struct Case {
        const char* what;

        QStringList args;
        int exit;
    };
    const Case cases[] = {
        {"no span", {"--to", "2026-03-11"}, 2},
        {"reversed", {"--from", "2026-03-11", "--to", "2026-03-10 12:00"}, 2},
        {"no date", {"--from", "yesterday", "--to", "2026-03-11"}, 2},
        {"quantity", {"--from", "2026-03-10", "--to", "2026-03-11", "--quantity", "snow"}, 2},
        {"image size",
         {"--from", "2026-03-10", "--to", "2026-03-11", "--png", "a.png", "--size", "10x10"},
         2},
        {"png unwritable",
         {"--from", "2026-03-10", "--to", "2026-03-11", "--png", "/nonexistent/dir/a.png"},
         6},
        {"no archive",
         {"--from", "2026-03-10", "--to", "2026-03-11", "--archive", "/nonexistent/a.sqlite"},
         6},
        {"csv unwritable",
         {"--from", "2026-03-10", "--to", "2026-03-11", "--csv", "/nonexistent/dir/a.csv"},
         6},
    };
    for (const Case& c : cases) {
        const CtlResult r = ctl.Run(QStringList{"--simulate", "export"} + c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.what << ": " << r.err.toStdString();
        EXPECT_EQ(r.ErrLines().size(), 1) << c.what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.what;
    }
}

}  // namespace
}  // namespace orvane::test
