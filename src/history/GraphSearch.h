#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "UnitCaptions.h"

namespace orvane {

class HistoryDatabase;
class RecordSource;

inline constexpr int kGraphSeries = 4;
inline constexpr int kGraphQuantities = 7;

// One series of a search: its title (when the quantity sets one), whether
// the quantity uses it, the column it reads and the points found, oldest
// first (times in days since 1899-12-30).
struct GraphSeriesData {
    bool used = false;
    bool setsTitle = false;
    QString title;
    QString column;
    int count = 0;
    std::vector<double> times;
    std::vector<double> values;
};

struct GraphData {
    bool exact = true;    // every reading, not slice extremes
    bool failed = false;  // the source could not be read (RecordSource::ReadError)
    long long rows = 0;   // records of the span, for a level-of-detail read
    QString chartTitle;
    QString axisCaption;
    std::array<GraphSeriesData, kGraphSeries> series;
};

// The quantity list of the graph window in the current language:
// Temperature, Humidity, Pressure, Wind, Rain fall, Light, UVI.
QStringList GraphQuantityNames();

// What one quantity shows, without points (titles in the current language).
GraphData GraphLayout(int quantity, const UnitCaptions& units);

// Reads the rows of each used series of `quantity` with
// startText < Time <= endText and a value other than NoValue (texts as
// FormatRangeText writes them); each series' count is the number of its
// points. The database is opened once for the search; on a database error
// the series stay empty (the database reports the error itself). Any
// thread, one search per database instance at a time.
GraphData RunGraphSearch(HistoryDatabase& database, const QString& databasePath,
                         const QString& startText, const QString& endText, int quantity,
                         const UnitCaptions& units);

// The same search on an open source (the last import or the archive),
// over (start, end] in day counts.
GraphData RunGraphSearch(RecordSource& source, double start, double end, int quantity,
                         const UnitCaptions& units);

// What a chart `slices` pixels wide can show of (start, end] (day counts):
// the lowest and highest reading of each series in each time slice, or
// every reading when the span holds few rows (RecordSource::ReadDetail).
// Each series' count is its number of points.
inline constexpr int kGraphSlices = 2000;
GraphData RunGraphDetail(RecordSource& source, double start, double end, int quantity,
                         const UnitCaptions& units, int slices = kGraphSlices);
// The same on the history database at `databasePath`, opened first when
// it is not the open one.
GraphData RunGraphDetail(HistoryDatabase& database, const QString& databasePath, double start,
                         double end, int quantity, const UnitCaptions& units,
                         int slices = kGraphSlices);

// Writes every reading of (start, end] of the used series of
// `quantity` to `path` as "Series,Time,Value" lines, series by series,
// oldest first, with `names` as the series' names: not only the extremes a
// chart draws. Reads the open source; the file is written aside and
// renamed, so a failure leaves no half file. False when the file or the
// source fails.
// `totals`, when given, receives each series' number of readings written
// and their lowest and highest value.
struct GraphSeriesTotals {
    int count = 0;
    double lowest = 0;
    double highest = 0;
};
bool WriteGraphCsv(RecordSource& source, const QString& path, const QDateTime& start,
                   const QDateTime& end, int quantity, const UnitCaptions& units,
                   const std::array<QString, kGraphSeries>& names,
                   std::array<GraphSeriesTotals, kGraphSeries>* totals = nullptr);

}  // namespace orvane
