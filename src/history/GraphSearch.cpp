#include "GraphSearch.h"

#include <QSaveFile>
#include <QTextStream>

#include "HistoryDatabase.h"
#include "HistoryRecord.h"
#include "HistoryTime.h"
#include "RecordRange.h"
#include "StringTable.h"

namespace orvane {

namespace {

struct SeriesSpec {
    int titleId;         // 0: literal title below
    const char* title;   // literal title, or nullptr for none
    const char* column;  // nullptr: not used
};

struct QuantitySpec {
    int titleId;  // 0: "UVI"
    SeriesSpec series[kGraphSeries];
};

const QuantitySpec kQuantities[kGraphQuantities] = {
    {105, {{105, nullptr, "OutTemp"}, {123, nullptr, "DewPoint"}, {}, {}}},
    {106, {{106, nullptr, "OutHumi"}, {}, {}, {}}},
    {111, {{103, nullptr, "RelPressure"}, {104, nullptr, "AbsPressure"}, {}, {}}},
    {107, {{107, nullptr, "Wind"}, {124, nullptr, "Gust"}, {}, {}}},
    {110,
     {{126, nullptr, "RainDay"},
      {127, nullptr, "RainWeek"},
      {128, nullptr, "RainMonth"},
      {129, nullptr, "RainYear"}}},
    {109, {{109, nullptr, "Light"}, {0, " ", nullptr}, {}, {}}},
    {0, {{0, "UVI", "UV"}, {0, " ", nullptr}, {}, {}}},
};

QString AxisCaption(int quantity, const UnitCaptions& units) {
    switch (quantity) {
        case 0:
            return units.temperature;
        case 1:
            return QStringLiteral(" (%)");
        case 2:
            return units.pressure;
        case 3:
            return units.wind;
        case 4:
            return units.rain;
        case 5:
            return units.light;
        default:
            return QStringLiteral("  ");
    }
}

}  // namespace

QStringList GraphQuantityNames() {
    return {LoadString(105), LoadString(106), LoadString(111),      LoadString(107),
            LoadString(110), LoadString(109), QStringLiteral("UVI")};
}

GraphData GraphLayout(int quantity, const UnitCaptions& units) {
    GraphData data;
    if (quantity < 0 || quantity >= kGraphQuantities) return data;
    const QuantitySpec& q = kQuantities[quantity];
    data.chartTitle = q.titleId ? LoadString(q.titleId) : QStringLiteral("UVI");
    data.axisCaption = AxisCaption(quantity, units);
    for (int k = 0; k < kGraphSeries; ++k) {
        const SeriesSpec& s = q.series[k];
        GraphSeriesData& out = data.series[k];
        out.used = s.column != nullptr;
        out.column = s.column ? QString::fromLatin1(s.column) : QString();
        out.setsTitle = s.titleId != 0 || s.title != nullptr;
        if (s.titleId)
            out.title = LoadString(s.titleId);
        else if (s.title)
            out.title = QString::fromUtf8(s.title);
    }
    return data;
}

GraphData RunGraphSearch(HistoryDatabase& database, const QString& databasePath,
                         const QString& startText, const QString& endText, int quantity,
                         const UnitCaptions& units) {
    GraphData data = GraphLayout(quantity, units);
    // Every read sees what the database holds at that moment, so an open
    // connection to the same file is kept (its mapped pages stay warm); a
    // missing file is reported once per search rather than per query.
    if (database.Path() != databasePath && database.Open(databasePath) != 0) return data;
    // The used series are read together in one pass over the span; each
    // leaves out its own missing readings, which gives exactly the rows that
    // a count and a select per column would give.
    QStringList columns;
    int used[kGraphSeries];
    for (int k = 0; k < kGraphSeries; ++k)
        if (data.series[k].used) {
            used[columns.size()] = k;
            columns.append(data.series[k].column);
        }
    if (columns.isEmpty()) return data;
    const auto n = columns.size();
    int rows = 0;
    if (database.CountRowsInRange(startText, endText, rows) != 0) return data;
    for (qsizetype i = 0; i < n; ++i) {
        data.series[used[i]].times.reserve(static_cast<size_t>(rows));
        data.series[used[i]].values.reserve(static_cast<size_t>(rows));
    }
    database.ReadRange(startText, endText, columns, [&](double time, const double* values) {
        for (qsizetype i = 0; i < n; ++i) {
            if (values[i] == NoValue) continue;
            GraphSeriesData& s = data.series[used[i]];
            s.times.push_back(time);
            s.values.push_back(values[i]);
        }
    });
    for (GraphSeriesData& s : data.series) s.count = static_cast<int>(s.times.size());
    return data;
}

namespace {

// The used series' columns, and which series each one feeds.
QStringList UsedColumns(const GraphData& data, int (&used)[kGraphSeries]) {
    QStringList columns;
    for (int k = 0; k < kGraphSeries; ++k)
        if (data.series[k].used) {
            used[columns.size()] = k;
            columns.append(data.series[k].column);
        }
    return columns;
}

}  // namespace

GraphData RunGraphSearch(RecordSource& source, double start, double end, int quantity,
                         const UnitCaptions& units) {
    GraphData data = GraphLayout(quantity, units);
    int used[kGraphSeries];
    const QStringList columns = UsedColumns(data, used);
    if (columns.isEmpty()) return data;
    data.failed = !source.ReadRows(start, end, columns, [&](double time, const double* values) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (values[i] == NoValue) continue;
            GraphSeriesData& s = data.series[used[i]];
            s.times.push_back(time);
            s.values.push_back(values[i]);
        }
    });
    // A failure part-way shows nothing rather than part of the span.
    for (GraphSeriesData& s : data.series) {
        if (data.failed) {
            s.times.clear();
            s.values.clear();
        }
        s.count = static_cast<int>(s.times.size());
    }
    return data;
}

GraphData RunGraphDetail(RecordSource& source, double start, double end, int quantity,
                         const UnitCaptions& units, int slices) {
    GraphData data = GraphLayout(quantity, units);
    int used[kGraphSeries];
    const QStringList columns = UsedColumns(data, used);
    if (columns.isEmpty()) return data;
    RangeDetail detail;
    if (!source.ReadDetail(start, end, columns, slices, detail)) {
        data.failed = true;
        return data;
    }
    data.exact = detail.exact;
    data.rows = detail.rows;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        GraphSeriesData& s = data.series[used[i]];
        s.times = std::move(detail.times[static_cast<size_t>(i)]);
        s.values = std::move(detail.values[static_cast<size_t>(i)]);
        s.count = static_cast<int>(s.times.size());
    }
    return data;
}

GraphData RunGraphDetail(HistoryDatabase& database, const QString& databasePath, double start,
                         double end, int quantity, const UnitCaptions& units, int slices) {
    if (database.Path() != databasePath && database.Open(databasePath) != 0) {
        GraphData data = GraphLayout(quantity, units);
        data.failed = true;
        return data;
    }
    return RunGraphDetail(static_cast<RecordSource&>(database), start, end, quantity, units,
                          slices);
}

bool WriteGraphCsv(RecordSource& source, const QString& path, const QDateTime& start,
                   const QDateTime& end, int quantity, const UnitCaptions& units,
                   const std::array<QString, kGraphSeries>& names,
                   std::array<GraphSeriesTotals, kGraphSeries>* totals) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    out << "Series,Time,Value\n";
    if (totals) *totals = {};
    const GraphData layout = GraphLayout(quantity, units);
    const double from = DaysFromDateTime(start);
    const double to = DaysFromDateTime(end);
    for (std::size_t k = 0; k < kGraphSeries; ++k) {
        if (!layout.series[k].used) continue;
        QString name = names[k];
        name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        const QString prefix = QLatin1Char('"') + name + QStringLiteral("\",");
        if (!source.ReadRows(
                from, to, {layout.series[k].column}, [&](double time, const double* v) {
                    if (v[0] == NoValue) return;
                    if (totals) {
                        GraphSeriesTotals& t = (*totals)[k];
                        t.lowest = t.count == 0 ? v[0] : std::min(t.lowest, v[0]);
                        t.highest = t.count == 0 ? v[0] : std::max(t.highest, v[0]);
                        ++t.count;
                    }
                    out << prefix
                        << DateTimeFromDays(time).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                        << ',' << QString::number(v[0], 'g', 7) << '\n';
                }))
            return false;
    }
    out.flush();
    return out.status() == QTextStream::Ok && file.commit();
}

}  // namespace orvane
