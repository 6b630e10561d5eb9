#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
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
        {"png", {"--from", "2026-03-10", "--to", "2026-03-11", "--png", "a.png"}, 2},
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
