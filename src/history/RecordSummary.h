#pragma once

// The per-hour, six-hour and day summaries of a Records table and the
// level-of-detail read built on them, shared by Orvane.mdb and both archive
// backends. Internal to orvane_history.

#include <QString>
#include <QStringList>
#include <functional>
#include <limits>
#include <map>
#include <memory>

#include "RecordRange.h"

struct sqlite3;

namespace orvane {

// Summary levels in hours, coarsest first. The ratio between neighbours
// bounds how many summary rows a span reads: at most slices x 6 (or x 4).
inline constexpr int kSummaryLevels[] = {24, 6, 1};
// Every quantity column is summarised, in the order of QuantityColumns().
inline constexpr int kSummaryColumns = 15;

struct HistoryRecord;

// A record's quantities in the order of QuantityColumns(), as stored
// (floats widened).
void SummaryValues(const HistoryRecord& record, double (&values)[kSummaryColumns]);

long long SummaryBucket(double time, int levelHours);
double SummaryBucketStart(long long bucket, int levelHours);

// The lowest and highest reading seen, with their times (the earliest on ties).
struct Extreme {
    double low = std::numeric_limits<double>::infinity();
    double lowTime = 0;
    double high = -std::numeric_limits<double>::infinity();
    double highTime = 0;
    bool Any() const { return low <= high; }
    void Add(double time, double value) {
        if (value < low || (value == low && time < lowTime)) {
            low = value;
            lowTime = time;
        }
        if (value > high || (value == high && time < highTime)) {
            high = value;
            highTime = time;
        }
    }
};

// Summary cells gathered in memory: per (level, bucket) the rows seen and
// the extremes of every quantity.
struct SummaryCells {
    struct Cell {
        long long rows = 0;
        Extreme columns[kSummaryColumns];
    };
    std::map<std::pair<int, long long>, Cell> cells;

    // `values` in the order of QuantityColumns(), NoValue for a missing reading.
    void Add(double time, const double* values);

private:
    Cell* m_last[std::size(kSummaryLevels)] = {};
    long long m_lastBucket[std::size(kSummaryLevels)] = {};
};

// SQL of the summary table RecordSummary (Level, Bucket, Rows, then per
// quantity XMin, XMinTime, XMax, XMaxTime), the same on both engines.
QString SummaryTableSql(const char* realType);
// "XMin, XMinTime, XMax, XMaxTime, ..." for the given quantity columns.
QString SummaryColumnList(const QStringList& columns);
// The ON CONFLICT (Level, Bucket) DO UPDATE SET clause that merges a new
// cell into the stored one.
QString SummaryMergeSql();

// Where a level-of-detail read finds its data. `scan` reads the rows of
// (start, end]; `summaries` the stored cells of one level with
// first <= Bucket < end (Rows, then four values per column, NoValue for
// NULL), and is empty when the storage has none.
struct DetailStore {
    std::function<bool(double start, double end, const QStringList& columns, const RowReader&)>
        scan;
    std::function<bool(int level, long long first, long long end, const QStringList& columns,
                       const std::function<void(const double*)>& cell)>
        summaries;
};
// Exact rows while the span holds at most 4 x slices of them, slice
// extremes otherwise; whole summary buckets inside the span come from the
// summaries and only the two partial ends from the rows. False when the
// store failed.
bool ReadDetailFrom(const DetailStore& store, double start, double end, const QStringList& columns,
                    int slices, RangeDetail& detail);

// The summaries of the Records table of one SQLite connection.
// RecordSummaryState remembers the last rowid folded in and its time, so
// that rows appended by anyone are noticed by a cheap look at max(rowid),
// and a table refilled from scratch by a changed time. Every operation runs
// in the connection's current transaction (or its own statement's).
class SqliteSummaries {
public:
    explicit SqliteSummaries(sqlite3* db) : m_db(db) {}

    // Creates the tables when missing; false for a read-only file (the
    // chart is then answered from the rows).
    bool Ensure();
    // Whether every row of Records is folded in; `replaced` when the
    // summaries describe rows that are gone.
    bool Current(long long& covered, bool& replaced);
    // Folds the rows added since the last update into the summaries (all
    // of them when they were replaced). The caller holds a transaction.
    bool Update();
    // Empties the summaries together with Records.
    bool Reset();
    bool Read(int level, long long first, long long end, const QStringList& columns,
              const std::function<void(const double*)>& cell);

    // Cells of rows appended in the open transaction, written by Flush:
    // started only when every earlier row is folded in and `firstNewRowid`
    // is the first new one.
    void StartBatchIfCurrent(long long firstNewRowid);
    SummaryCells* Batch() { return m_batch.get(); }
    bool Flush();
    void DropBatch() { m_batch.reset(); }

    bool Broken() const { return m_broken; }
    QString Error() const { return m_error; }

private:
    bool Fail();
    bool Exec(const char* sql);
    bool Write(const SummaryCells& cells);
    bool MarkCovered();

    sqlite3* m_db;
    bool m_broken = false;
    std::unique_ptr<SummaryCells> m_batch;
    QString m_error;
};

}  // namespace orvane
