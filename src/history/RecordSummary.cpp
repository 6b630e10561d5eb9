#include "RecordSummary.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

#include "HistoryDatabase.h"
#include "HistoryRecord.h"
#include "SqliteStatement.h"

namespace orvane {

namespace {

using Statement = SqliteStatement;

// The time slices of a span with the extremes of each column in each.
class SliceGrid {
public:
    SliceGrid(double start, double end, int slices, int columns)
        : m_start(start),
          m_end(end),
          m_width((end - start) / slices),
          m_slices(slices),
          m_columns(columns),
          m_cells(static_cast<size_t>(slices) * static_cast<size_t>(columns)) {}

    void Add(int column, double time, double value) {
        if (!(time > m_start && time <= m_end) || value == NoValue) return;
        auto slice = static_cast<long long>((time - m_start) / m_width);
        slice = std::clamp<long long>(slice, 0, m_slices - 1);
        m_cells[static_cast<size_t>(slice * m_columns + column)].Add(time, value);
    }

    void Emit(RangeDetail& out) const {
        for (int c = 0; c < m_columns; ++c) {
            auto& times = out.times[static_cast<size_t>(c)];
            auto& values = out.values[static_cast<size_t>(c)];
            for (long long s = 0; s < m_slices; ++s) {
                const Extreme& e = m_cells[static_cast<size_t>(s * m_columns + c)];
                if (!e.Any()) continue;
                const bool lowFirst = e.lowTime <= e.highTime;
                times.push_back(lowFirst ? e.lowTime : e.highTime);
                values.push_back(lowFirst ? e.low : e.high);
                if (e.lowTime == e.highTime) continue;
                times.push_back(lowFirst ? e.highTime : e.lowTime);
                values.push_back(lowFirst ? e.high : e.low);
            }
        }
    }

private:
    double m_start, m_end, m_width;
    long long m_slices, m_columns;
    std::vector<Extreme> m_cells;
};

}  // namespace

void SummaryValues(const HistoryRecord& r, double (&values)[kSummaryColumns]) {
    const double v[kSummaryColumns] = {
        static_cast<double>(r.OutTemp),     static_cast<double>(r.OutHumi),
        static_cast<double>(r.RelPressure), static_cast<double>(r.AbsPressure),
        static_cast<double>(r.Wind),        static_cast<double>(r.Gust),
        static_cast<double>(r.DewPoint),    static_cast<double>(r.WindDirection),
        static_cast<double>(r.Rain),        static_cast<double>(r.RainDay),
        static_cast<double>(r.RainWeek),    static_cast<double>(r.RainMonth),
        static_cast<double>(r.RainYear),    static_cast<double>(r.Light),
        static_cast<double>(r.UV)};
    std::copy(std::begin(v), std::end(v), std::begin(values));
}

long long SummaryBucket(double time, int levelHours) {
    return static_cast<long long>(std::floor(time * 24.0 / levelHours));
}

double SummaryBucketStart(long long bucket, int levelHours) {
    return static_cast<double>(bucket) * levelHours / 24.0;
}

void SummaryCells::Add(double time, const double* values) {
    for (size_t l = 0; l < std::size(kSummaryLevels); ++l) {
        const long long bucket = SummaryBucket(time, kSummaryLevels[l]);
        // Rows arrive mostly in time order, so the last cell is nearly always it.
        if (!m_last[l] || m_lastBucket[l] != bucket) {
            m_last[l] = &cells[{kSummaryLevels[l], bucket}];
            m_lastBucket[l] = bucket;
        }
        Cell& cell = *m_last[l];
        ++cell.rows;
        for (int c = 0; c < kSummaryColumns; ++c)
            if (values[c] != NoValue) cell.columns[c].Add(time, values[c]);
    }
}

QString SummaryTableSql(const char* realType) {
    QStringList parts;
    for (const QString& c : HistoryDatabase::QuantityColumns())
        parts << QStringLiteral("%1Min %2, %1MinTime %2, %1Max %2, %1MaxTime %2")
                     .arg(c, QLatin1String(realType));
    return QStringLiteral(
               "CREATE TABLE IF NOT EXISTS RecordSummary (Level INTEGER NOT NULL, Bucket "
               "BIGINT NOT NULL, Rows BIGINT NOT NULL, %1, PRIMARY KEY (Level, Bucket))")
        .arg(parts.join(QStringLiteral(", ")));
}

QString SummaryColumnList(const QStringList& columns) {
    QStringList parts;
    for (const QString& c : columns)
        parts << QStringLiteral("%1Min, %1MinTime, %1Max, %1MaxTime").arg(c);
    return parts.join(QStringLiteral(", "));
}

QString SummaryMergeSql() {
    QStringList updates;
    // SET expressions all see the stored row as it was before the update.
    for (const QString& c : HistoryDatabase::QuantityColumns()) {
        const QString lower =
            QStringLiteral("excluded.%1Min < RecordSummary.%1Min OR RecordSummary.%1Min IS NULL")
                .arg(c);
        const QString higher =
            QStringLiteral("excluded.%1Max > RecordSummary.%1Max OR RecordSummary.%1Max IS NULL")
                .arg(c);
        updates << QStringLiteral(
                       "%1Min = CASE WHEN %2 THEN excluded.%1Min ELSE RecordSummary.%1Min END, "
                       "%1MinTime = CASE WHEN %2 THEN excluded.%1MinTime "
                       "ELSE RecordSummary.%1MinTime END, "
                       "%1Max = CASE WHEN %3 THEN excluded.%1Max ELSE RecordSummary.%1Max END, "
                       "%1MaxTime = CASE WHEN %3 THEN excluded.%1MaxTime "
                       "ELSE RecordSummary.%1MaxTime END")
                       .arg(c, lower, higher);
    }
    return QStringLiteral(
               "ON CONFLICT (Level, Bucket) DO UPDATE SET Rows = RecordSummary.Rows + "
               "excluded.Rows, %1")
        .arg(updates.join(QStringLiteral(", ")));
}

bool ReadDetailFrom(const DetailStore& store, double start, double end, const QStringList& columns,
                    int slices, RangeDetail& detail) {
    detail = RangeDetail();
    const auto n = static_cast<size_t>(columns.size());
    detail.times.resize(n);
    detail.values.resize(n);
    if (!(end > start) || slices < 1) return true;
    const long long exactLimit = 4LL * slices;
    const double sliceHours = (end - start) * 24.0 / slices;
    int level = 0;
    for (int hours : kSummaryLevels)
        if (hours <= sliceHours) {
            level = hours;
            break;
        }

    // Exact rows while there are few; slice extremes once there are more.
    auto readRows = [&]() -> bool {
        RangeDetail exact;
        exact.times.resize(n);
        exact.values.resize(n);
        std::unique_ptr<SliceGrid> grid;
        long long rows = 0;
        const bool read = store.scan(start, end, columns, [&](double time, const double* v) {
            if (++rows > exactLimit && !grid) {
                grid = std::make_unique<SliceGrid>(start, end, slices, static_cast<int>(n));
                for (size_t c = 0; c < n; ++c) {
                    for (size_t i = 0; i < exact.times[c].size(); ++i)
                        grid->Add(static_cast<int>(c), exact.times[c][i], exact.values[c][i]);
                    exact.times[c] = {};
                    exact.values[c] = {};
                }
            }
            for (size_t c = 0; c < n; ++c) {
                if (grid)
                    grid->Add(static_cast<int>(c), time, v[c]);
                else if (v[c] != NoValue) {
                    exact.times[c].push_back(time);
                    exact.values[c].push_back(v[c]);
                }
            }
        });
        if (!read) return false;
        if (grid) {
            grid->Emit(detail);
        } else {
            detail.times = std::move(exact.times);
            detail.values = std::move(exact.values);
            detail.exact = true;
        }
        detail.rows = rows;
        return true;
    };
    if (level == 0 || !store.summaries) return readRows();

    // Whole buckets strictly after the start and before the bucket holding
    // the end come from the summaries; the two partial ends from the rows.
    const long long firstBucket = SummaryBucket(start, level) + 1;
    const long long endBucket = SummaryBucket(end, level);
    if (firstBucket >= endBucket) return readRows();
    SliceGrid grid(start, end, slices, static_cast<int>(n));
    long long rows = 0;
    const auto addRow = [&](double time, const double* v) {
        ++rows;
        for (size_t c = 0; c < n; ++c) grid.Add(static_cast<int>(c), time, v[c]);
    };
    const double inner = SummaryBucketStart(firstBucket, level);
    const double outer = SummaryBucketStart(endBucket, level);
    // (start, inner) and [outer, end]: the bounds are moved by one step of
    // the double so that the open and closed ends fall where they should.
    bool ok = store.scan(start, std::nextafter(inner, -1.0), columns, addRow) &&
              store.scan(std::nextafter(outer, -1.0), end, columns, addRow) &&
              store.summaries(level, firstBucket, endBucket, columns, [&](const double* v) {
                  rows += static_cast<long long>(v[0]);
                  for (size_t c = 0; c < n; ++c) {
                      const double* e = v + 1 + 4 * c;
                      grid.Add(static_cast<int>(c), e[1], e[0]);
                      grid.Add(static_cast<int>(c), e[3], e[2]);
                  }
              });
    if (!ok) return false;
    if (rows <= exactLimit) return readRows();
    grid.Emit(detail);
    detail.rows = rows;
    return true;
}

bool SqliteSummaries::Fail() {
    m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    return false;
}

bool SqliteSummaries::Exec(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    if (rc == SQLITE_OK) return true;
    m_error = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
    sqlite3_free(message);
    return false;
}

bool SqliteSummaries::Ensure() {
    if (m_broken) return false;
    const QByteArray sql =
        (SummaryTableSql("REAL") +
         QStringLiteral(" WITHOUT ROWID;"
                        "CREATE TABLE IF NOT EXISTS RecordSummaryState (Covered INTEGER "
                        "NOT NULL, CoveredTime REAL);"
                        "INSERT INTO RecordSummaryState SELECT 0, NULL "
                        "WHERE NOT EXISTS (SELECT 1 FROM RecordSummaryState);"))
            .toUtf8();
    if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    // A read-only file: the chart is answered from the rows instead.
    m_broken = true;
    return Fail();
}

bool SqliteSummaries::Current(long long& covered, bool& replaced) {
    covered = 0;
    replaced = false;
    double coveredTime = 0;
    bool hasCoveredTime = false;
    {
        Statement q;
        if (q.Prepare(m_db, "SELECT Covered, CoveredTime FROM RecordSummaryState") != SQLITE_OK ||
            sqlite3_step(q.s) != SQLITE_ROW)
            return false;
        covered = sqlite3_column_int64(q.s, 0);
        hasCoveredTime = sqlite3_column_type(q.s, 1) != SQLITE_NULL;
        coveredTime = sqlite3_column_double(q.s, 1);
    }
    if (covered > 0) {
        Statement q;
        replaced = q.Prepare(m_db, "SELECT Time FROM Records WHERE rowid = ?1") != SQLITE_OK ||
                   sqlite3_bind_int64(q.s, 1, covered) != SQLITE_OK ||
                   sqlite3_step(q.s) != SQLITE_ROW || !hasCoveredTime ||
                   sqlite3_column_double(q.s, 0) != coveredTime;
        if (replaced) return false;
    }
    Statement q;
    if (q.Prepare(m_db, "SELECT max(rowid) FROM Records") != SQLITE_OK ||
        sqlite3_step(q.s) != SQLITE_ROW)
        return false;
    const long long last = sqlite3_column_int64(q.s, 0);
    replaced = last < covered;
    return last == covered;
}

bool SqliteSummaries::Update() {
    if (!Ensure()) return false;
    long long covered = 0;
    bool replaced = false;
    if (Current(covered, replaced)) return true;
    if (replaced) {
        if (!Exec("DELETE FROM RecordSummary")) return false;
        covered = 0;
    }
    const QByteArray sql = QStringLiteral("SELECT Time, %1 FROM Records WHERE rowid > ?1")
                               .arg(HistoryDatabase::QuantityColumns().join(QStringLiteral(", ")))
                               .toUtf8();
    Statement q;
    if (q.Prepare(m_db, sql) != SQLITE_OK || sqlite3_bind_int64(q.s, 1, covered) != SQLITE_OK) {
        // A Records table without every quantity column (another program's
        // file): it is read without summaries.
        m_broken = true;
        return Fail();
    }
    SummaryCells cells;
    const int rc = StepTimeRows(q.s, kSummaryColumns, [&cells](double time, const double* values) {
        cells.Add(time, values);
    });
    if (rc != SQLITE_DONE) return Fail();
    return Write(cells) && MarkCovered();
}

bool SqliteSummaries::Reset() {
    m_batch.reset();
    if (!Ensure()) return true;  // nothing to empty
    return Exec("DELETE FROM RecordSummary") && MarkCovered();
}

void SqliteSummaries::StartBatchIfCurrent(long long firstNewRowid) {
    long long covered = 0;
    bool replaced = false;
    if (!Ensure()) return;
    Current(covered, replaced);
    if (!replaced && covered + 1 == firstNewRowid) m_batch = std::make_unique<SummaryCells>();
}

bool SqliteSummaries::Flush() {
    std::unique_ptr<SummaryCells> batch = std::move(m_batch);
    if (!batch) return true;
    return Write(*batch) && MarkCovered();
}

// Writes the cells, merging with those already there.
bool SqliteSummaries::Write(const SummaryCells& cells) {
    QStringList params;
    for (int i = 0; i < 4 * kSummaryColumns; ++i) params << QStringLiteral("?%1").arg(i + 4);
    const QByteArray sql =
        QStringLiteral(
            "INSERT INTO RecordSummary (Level, Bucket, Rows, %1) VALUES (?1, ?2, ?3, "
            "%2) %3")
            .arg(SummaryColumnList(HistoryDatabase::QuantityColumns()),
                 params.join(QStringLiteral(", ")), SummaryMergeSql())
            .toUtf8();
    Statement insert;
    if (insert.Prepare(m_db, sql) != SQLITE_OK) return Fail();
    for (const auto& [key, cell] : cells.cells) {
        sqlite3_bind_int(insert.s, 1, key.first);
        sqlite3_bind_int64(insert.s, 2, key.second);
        sqlite3_bind_int64(insert.s, 3, cell.rows);
        for (int c = 0; c < kSummaryColumns; ++c) {
            const Extreme& e = cell.columns[c];
            const int p = 4 + 4 * c;
            if (e.Any()) {
                sqlite3_bind_double(insert.s, p, e.low);
                sqlite3_bind_double(insert.s, p + 1, e.lowTime);
                sqlite3_bind_double(insert.s, p + 2, e.high);
                sqlite3_bind_double(insert.s, p + 3, e.highTime);
            } else {
                for (int k = 0; k < 4; ++k) sqlite3_bind_null(insert.s, p + k);
            }
        }
        const int rc = sqlite3_step(insert.s);
        sqlite3_reset(insert.s);
        if (rc != SQLITE_DONE) return Fail();
    }
    return true;
}

bool SqliteSummaries::MarkCovered() {
    return Exec(
        "UPDATE RecordSummaryState SET Covered = coalesce((SELECT max(rowid) FROM Records), 0), "
        "CoveredTime = (SELECT Time FROM Records WHERE rowid = (SELECT max(rowid) FROM Records))");
}

bool SqliteSummaries::Read(int level, long long first, long long end, const QStringList& columns,
                           const std::function<void(const double*)>& cell) {
    const QByteArray sql = QStringLiteral(
                               "SELECT Rows, %1 FROM RecordSummary WHERE Level = ?1 AND "
                               "Bucket >= ?2 AND Bucket < ?3")
                               .arg(SummaryColumnList(columns))
                               .toUtf8();
    Statement q;
    int rc = q.Prepare(m_db, sql);
    if (rc == SQLITE_OK) rc = sqlite3_bind_int(q.s, 1, level);
    if (rc == SQLITE_OK) rc = sqlite3_bind_int64(q.s, 2, first);
    if (rc == SQLITE_OK) rc = sqlite3_bind_int64(q.s, 3, end);
    if (rc != SQLITE_OK) return Fail();
    const int n = 1 + 4 * static_cast<int>(columns.size());
    double values[1 + 4 * 16];
    while ((rc = sqlite3_step(q.s)) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i)
            values[i] = sqlite3_column_type(q.s, i) == SQLITE_NULL ? static_cast<double>(NoValue)
                                                                   : sqlite3_column_double(q.s, i);
        cell(values);
    }
    return rc == SQLITE_DONE || Fail();
}

}  // namespace orvane
