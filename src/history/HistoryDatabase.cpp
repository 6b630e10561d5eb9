#include "HistoryDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "ControlWindow.h"
#include "HistoryTime.h"

namespace orvane {

namespace {

const QString kConnectError = QStringLiteral("数据库连接错误");
const QString kNotOpen = QStringLiteral("The history database is not open.");

// A busy file (the other window's instance writing) is waited for this long.
constexpr int kBusyTimeoutMs = 5000;

const char* const kCountPattern =
    "SELECT count(*) AS Count FROM Records WHERE Time > ?1 AND Time <= ?2 AND %1 <> 65535";
const char* const kSelectPattern =
    "SELECT Time, %1 FROM Records WHERE Time > ?1 AND Time <= ?2 AND %1 <> 65535 "
    "ORDER BY Time ASC";
const char* const kRangePattern =
    "SELECT Time, %1 FROM Records WHERE Time > ?1 AND Time <= ?2 ORDER BY Time ASC";
const char* const kCountRows = "SELECT count(*) FROM Records WHERE Time > ?1 AND Time <= ?2";
const char* const kInsert =
    "INSERT INTO Records (Time, No, OutHumi, WindDirection, UV, OutTemp, Wind, Gust, DewPoint, "
    "RelPressure, AbsPressure, Rain, RainDay, RainWeek, RainMonth, RainYear, Light) "
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17)";

// A statement kept for the life of the connection; null on failure.
int PrepareKept(sqlite3* db, const char* sql, sqlite3_stmt*& statement) {
    const int rc = sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        statement = nullptr;
    }
    return rc;
}

void FinalizeAll(std::map<QString, sqlite3_stmt*>& cache) {
    for (auto& [name, statement] : cache) sqlite3_finalize(statement);
    cache.clear();
}

// Owns a statement for one use.
struct Statement {
    sqlite3_stmt* s = nullptr;
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(s); }
    int Prepare(sqlite3* db, const QByteArray& sql) {
        return sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr);
    }
};

// Summary levels in hours, coarsest first. The ratio between neighbours
// bounds how many summary rows a span reads: at most slices x 6 (or x 4).
constexpr int kLevels[] = {24, 6, 1};

// The lowest and highest reading seen, with their times.
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

long long BucketOf(double time, int levelHours) {
    return static_cast<long long>(std::floor(time * 24.0 / levelHours));
}

double BucketStart(long long bucket, int levelHours) {
    return static_cast<double>(bucket) * levelHours / 24.0;
}

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

    void Emit(HistoryDatabase::RangeDetail& out) const {
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

QString SummaryColumnList(const QStringList& columns) {
    QStringList parts;
    for (const QString& c : columns)
        parts << QStringLiteral("%1Min, %1MinTime, %1Max, %1MaxTime").arg(c);
    return parts.join(QStringLiteral(", "));
}

}  // namespace

const QStringList& HistoryDatabase::QuantityColumns() {
    static const QStringList kColumns = {"OutTemp",  "OutHumi", "RelPressure", "AbsPressure",
                                         "Wind",     "Gust",    "DewPoint",    "WindDirection",
                                         "Rain",     "RainDay", "RainWeek",    "RainMonth",
                                         "RainYear", "Light",   "UV"};
    return kColumns;
}

bool HistoryDatabase::IsQuantityColumn(const QString& column) {
    return QuantityColumns().contains(column);  // exact case: the list is the schema's
}

// Per (level, bucket): the rows seen and the extremes of every quantity.
struct HistoryDatabase::SummaryBatch {
    struct Cell {
        long long rows = 0;
        Extreme columns[15];
    };
    std::map<std::pair<int, long long>, Cell> cells;
    Cell* last[std::size(kLevels)] = {};
    long long lastBucket[std::size(kLevels)] = {};

    // `values` in the order of QuantityColumns().
    void Add(double time, const double* values) {
        for (size_t l = 0; l < std::size(kLevels); ++l) {
            const long long bucket = BucketOf(time, kLevels[l]);
            // Rows arrive in time order, so the last cell is nearly always it.
            if (!last[l] || lastBucket[l] != bucket) {
                last[l] = &cells[{kLevels[l], bucket}];
                lastBucket[l] = bucket;
            }
            Cell& cell = *last[l];
            ++cell.rows;
            for (int c = 0; c < 15; ++c)
                if (values[c] != NoValue) cell.columns[c].Add(time, values[c]);
        }
    }
};

HistoryDatabase::HistoryDatabase() = default;

HistoryDatabase::HistoryDatabase(ControlWindow* messages) {
    SetMessageWindow(messages);
}

HistoryDatabase::~HistoryDatabase() {
    Close();
}

void HistoryDatabase::SetMessageWindow(ControlWindow* window) {
    if (window)
        m_sink = [window](const QString& text) { window->MessageBox(text); };
    else
        m_sink = nullptr;
}

int HistoryDatabase::Fail(const QString& text) {
    m_lastError = text;
    if (m_sink) m_sink(text);
    return 1;
}

int HistoryDatabase::FailSqlite(int rc) {
    const char* text = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
    Fail(QString::fromUtf8(text ? text : sqlite3_errstr(rc)));
    return rc == 0 ? 1 : rc;
}

int HistoryDatabase::RequireOpen() {
    return m_db ? 0 : Fail(kNotOpen);
}

int HistoryDatabase::Open(const QString& path) {
    return OpenChecked(path, "SELECT Time FROM Records, Param LIMIT 0");
}

int HistoryDatabase::OpenRecords(const QString& path) {
    return OpenChecked(path, "SELECT Time FROM Records LIMIT 0");
}

int HistoryDatabase::OpenChecked(const QString& path, const char* probeSql) {
    Close();
    const QByteArray file = path.toUtf8();
    sqlite3* db = nullptr;
    // No SQLITE_OPEN_CREATE: a missing file is an error, not a new empty
    // database. No mutex: an instance is used by one thread at a time.
    int rc = sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    QString error;
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        // Reading a year of records through the page cache costs a system
        // call per page; mapping the file avoids them.
        sqlite3_exec(db, "PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr);
        // Reading the schema tells a history database from any other file.
        sqlite3_stmt* probe = nullptr;
        rc = sqlite3_prepare_v2(db, probeSql, -1, &probe, nullptr);
        if (rc != SQLITE_OK) error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(probe);
    } else {
        error = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    }
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        if (path.isEmpty()) error = QStringLiteral("No database file was given.");
        m_lastError = error;
        if (m_sink) {
            m_sink(kConnectError);
            m_sink(error);
        }
        return -1;
    }
    m_db = db;
    m_path = path;
    return 0;
}

void HistoryDatabase::Close() {
    m_cursor = nullptr;
    FinalizeAll(m_countStatements);
    FinalizeAll(m_selectStatements);
    FinalizeAll(m_rangeStatements);
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
    sqlite3_finalize(m_countRows);
    m_countRows = nullptr;
    if (m_db) sqlite3_close_v2(m_db);  // rolls back an open transaction
    m_db = nullptr;
    m_inTransaction = false;
    m_batch.reset();
    m_batchChecked = false;
    m_summariesBroken = false;
}

sqlite3_stmt* HistoryDatabase::Prepared(std::map<QString, sqlite3_stmt*>& cache,
                                        const char* pattern, const QString& column, int& rc) {
    auto it = cache.find(column);
    if (it != cache.end()) {
        sqlite3_reset(it->second);
        rc = SQLITE_OK;
        return it->second;
    }
    // The column name was checked against the fixed list, so it may be
    // placed into the statement text; the times are bound.
    const QByteArray sql = QString::fromLatin1(pattern).arg(column).toUtf8();
    sqlite3_stmt* statement = nullptr;
    rc = PrepareKept(m_db, sql.constData(), statement);
    if (rc != SQLITE_OK) return nullptr;
    cache.emplace(column, statement);
    return statement;
}

int HistoryDatabase::BindRange(sqlite3_stmt* statement, const QString& startText,
                               const QString& endText) {
    int rc = sqlite3_bind_double(statement, 1, ParseDateTime(startText));
    if (rc == SQLITE_OK) rc = sqlite3_bind_double(statement, 2, ParseDateTime(endText));
    return rc;
}

int HistoryDatabase::CountInRange(const QString& startText, const QString& endText,
                                  const QString& column, int& count) {
    count = 0;
    FinishCursor();
    if (int status = RequireOpen()) return status;
    if (!IsQuantityColumn(column)) return Fail(QStringLiteral("Unknown column: %1").arg(column));
    int rc = SQLITE_OK;
    sqlite3_stmt* statement = Prepared(m_countStatements, kCountPattern, column, rc);
    if (!statement) return FailSqlite(rc);
    rc = BindRange(statement, startText, endText);
    if (rc == SQLITE_OK) rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW) {
        const int status = FailSqlite(rc);
        sqlite3_reset(statement);
        return status;
    }
    count = sqlite3_column_int(statement, 0);
    sqlite3_reset(statement);
    return 0;
}

int HistoryDatabase::SelectInRange(const QString& startText, const QString& endText,
                                   const QString& column) {
    FinishCursor();
    if (int status = RequireOpen()) return status;
    if (!IsQuantityColumn(column)) return Fail(QStringLiteral("Unknown column: %1").arg(column));
    int rc = SQLITE_OK;
    sqlite3_stmt* statement = Prepared(m_selectStatements, kSelectPattern, column, rc);
    if (!statement) return FailSqlite(rc);
    rc = BindRange(statement, startText, endText);
    if (rc != SQLITE_OK) return FailSqlite(rc);
    m_cursor = statement;
    rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) return 0;
    FinishCursor();
    return rc == SQLITE_DONE ? 0 : FailSqlite(rc);
}

void HistoryDatabase::MoveNext() {
    if (!m_cursor) return;
    const int rc = sqlite3_step(m_cursor);
    if (rc == SQLITE_ROW) return;
    FinishCursor();
    if (rc != SQLITE_DONE) FailSqlite(rc);
}

double HistoryDatabase::RowTime() const {
    return m_cursor ? sqlite3_column_double(m_cursor, 0) : 0.0;
}

double HistoryDatabase::RowValue() const {
    if (!m_cursor) return 0.0;
    return static_cast<double>(static_cast<float>(sqlite3_column_double(m_cursor, 1)));
}

void HistoryDatabase::FinishCursor() {
    if (m_cursor) sqlite3_reset(m_cursor);
    m_cursor = nullptr;
}

int HistoryDatabase::CountRowsInRange(const QString& startText, const QString& endText,
                                      int& count) {
    count = 0;
    if (int status = RequireOpen()) return status;
    int rc = SQLITE_OK;
    if (!m_countRows && (rc = PrepareKept(m_db, kCountRows, m_countRows)) != SQLITE_OK)
        return FailSqlite(rc);
    rc = BindRange(m_countRows, startText, endText);
    if (rc == SQLITE_OK) rc = sqlite3_step(m_countRows);
    if (rc == SQLITE_ROW) count = sqlite3_column_int(m_countRows, 0);
    sqlite3_reset(m_countRows);
    return rc == SQLITE_ROW ? 0 : FailSqlite(rc);
}

int HistoryDatabase::CheckColumns(const QStringList& columns) {
    if (columns.isEmpty() || columns.size() > 16)
        return Fail(QStringLiteral("Between 1 and 16 columns can be read at once."));
    for (const QString& column : columns)
        if (!IsQuantityColumn(column))
            return Fail(QStringLiteral("Unknown column: %1").arg(column));
    return 0;
}

int HistoryDatabase::ReadRange(const QString& startText, const QString& endText,
                               const QStringList& columns, const RowReader& row) {
    FinishCursor();
    if (int status = RequireOpen()) return status;
    if (int status = CheckColumns(columns)) return status;
    return ScanRange(ParseDateTime(startText), ParseDateTime(endText), columns, row);
}

int HistoryDatabase::ScanRange(double start, double end, const QStringList& columns,
                               const RowReader& row) {
    int rc = SQLITE_OK;
    sqlite3_stmt* statement =
        Prepared(m_rangeStatements, kRangePattern, columns.join(QStringLiteral(", ")), rc);
    if (!statement) return FailSqlite(rc);
    rc = sqlite3_bind_double(statement, 1, start);
    if (rc == SQLITE_OK) rc = sqlite3_bind_double(statement, 2, end);
    if (rc != SQLITE_OK) return FailSqlite(rc);
    const int n = static_cast<int>(columns.size());
    double values[16];
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i)
            values[i] =
                static_cast<double>(static_cast<float>(sqlite3_column_double(statement, i + 1)));
        row(sqlite3_column_double(statement, 0), values);
    }
    sqlite3_reset(statement);
    return rc == SQLITE_DONE ? 0 : FailSqlite(rc);
}

bool HistoryDatabase::TimeBounds(double& first, double& last) {
    first = last = 0;
    if (!m_db) return false;
    Statement q;
    if (q.Prepare(m_db, "SELECT min(Time), max(Time) FROM Records") != SQLITE_OK ||
        sqlite3_step(q.s) != SQLITE_ROW || sqlite3_column_type(q.s, 0) == SQLITE_NULL)
        return false;
    first = sqlite3_column_double(q.s, 0);
    last = sqlite3_column_double(q.s, 1);
    return true;
}

// The summaries: one row per (level, bucket) with the number of records and,
// per quantity, the lowest and highest reading with their times (NULL when
// the bucket has none). RecordSummaryState remembers the last rowid folded in
// and its time, so that rows appended by anyone are noticed by a cheap look
// at max(rowid), and a table refilled from scratch by a changed time.
int HistoryDatabase::EnsureSummaryTables() {
    if (m_summariesBroken) return 1;
    QStringList parts;
    for (const QString& c : QuantityColumns())
        parts << QStringLiteral("%1Min REAL, %1MinTime REAL, %1Max REAL, %1MaxTime REAL").arg(c);
    const QByteArray sql =
        QStringLiteral(
            "CREATE TABLE IF NOT EXISTS RecordSummary (Level INTEGER NOT NULL, Bucket INTEGER "
            "NOT NULL, Rows INTEGER NOT NULL, %1, PRIMARY KEY (Level, Bucket)) WITHOUT ROWID;"
            "CREATE TABLE IF NOT EXISTS RecordSummaryState (Covered INTEGER NOT NULL, "
            "CoveredTime REAL);"
            "INSERT INTO RecordSummaryState SELECT 0, NULL "
            "WHERE NOT EXISTS (SELECT 1 FROM RecordSummaryState);")
            .arg(parts.join(QStringLiteral(", ")))
            .toUtf8();
    if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK) return 0;
    // A read-only file: the chart is answered from the rows instead.
    m_summariesBroken = true;
    return 1;
}

bool HistoryDatabase::SummariesCurrent(long long& covered, bool& replaced) {
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

int HistoryDatabase::UpdateSummaries() {
    if (int status = RequireOpen()) return status;
    FinishCursor();
    if (EnsureSummaryTables() != 0) return 1;
    long long covered = 0;
    bool replaced = false;
    if (SummariesCurrent(covered, replaced)) return 0;
    const bool own = !m_inTransaction;
    if (own && BeginTransaction() != 0) return 1;
    int status = 0;
    if (replaced) {
        status = Execute("DELETE FROM RecordSummary");
        covered = 0;
    }
    if (status == 0) status = FoldRowsAfter(covered);
    if (own) {
        if (status == 0)
            status = CommitTransaction();
        else
            RollbackTransaction();
    }
    return status;
}

int HistoryDatabase::FoldRowsAfter(long long covered) {
    const QByteArray sql = QStringLiteral("SELECT Time, %1 FROM Records WHERE rowid > ?1")
                               .arg(QuantityColumns().join(QStringLiteral(", ")))
                               .toUtf8();
    Statement q;
    if (q.Prepare(m_db, sql) != SQLITE_OK || sqlite3_bind_int64(q.s, 1, covered) != SQLITE_OK) {
        // A Records table without every quantity column (another program's
        // file): it is read without summaries.
        m_summariesBroken = true;
        return 1;
    }
    int rc = SQLITE_OK;
    m_batch = std::make_unique<SummaryBatch>();
    double values[15];
    while ((rc = sqlite3_step(q.s)) == SQLITE_ROW) {
        for (int i = 0; i < 15; ++i)
            values[i] = static_cast<double>(static_cast<float>(sqlite3_column_double(q.s, i + 1)));
        m_batch->Add(sqlite3_column_double(q.s, 0), values);
    }
    if (rc != SQLITE_DONE) {
        m_batch.reset();
        return FailSqlite(rc);
    }
    return FlushSummaries();
}

// Writes the gathered cells, merging with rows already there, and marks
// every row of Records as folded in.
int HistoryDatabase::FlushSummaries() {
    std::unique_ptr<SummaryBatch> batch = std::move(m_batch);
    m_batchChecked = false;
    if (!batch) return 0;
    QStringList names, params, updates;
    int index = 4;
    for (const QString& c : QuantityColumns()) {
        names << QStringLiteral("%1Min, %1MinTime, %1Max, %1MaxTime").arg(c);
        params << QStringLiteral("?%1, ?%2, ?%3, ?%4")
                      .arg(index)
                      .arg(index + 1)
                      .arg(index + 2)
                      .arg(index + 3);
        index += 4;
        // SET expressions all see the row as it was before the update.
        const QString lower = QStringLiteral("excluded.%1Min < %1Min OR %1Min IS NULL").arg(c);
        const QString higher = QStringLiteral("excluded.%1Max > %1Max OR %1Max IS NULL").arg(c);
        updates << QStringLiteral(
                       "%1Min = CASE WHEN %2 THEN excluded.%1Min ELSE %1Min END, "
                       "%1MinTime = CASE WHEN %2 THEN excluded.%1MinTime ELSE %1MinTime END, "
                       "%1Max = CASE WHEN %3 THEN excluded.%1Max ELSE %1Max END, "
                       "%1MaxTime = CASE WHEN %3 THEN excluded.%1MaxTime ELSE %1MaxTime END")
                       .arg(c, lower, higher);
    }
    const QByteArray sql =
        QStringLiteral(
            "INSERT INTO RecordSummary (Level, Bucket, Rows, %1) VALUES (?1, ?2, ?3, %2) "
            "ON CONFLICT (Level, Bucket) DO UPDATE SET Rows = Rows + excluded.Rows, %3")
            .arg(names.join(QStringLiteral(", ")), params.join(QStringLiteral(", ")),
                 updates.join(QStringLiteral(", ")))
            .toUtf8();
    Statement insert;
    int rc = insert.Prepare(m_db, sql);
    if (rc != SQLITE_OK) return FailSqlite(rc);
    for (const auto& [key, cell] : batch->cells) {
        sqlite3_bind_int(insert.s, 1, key.first);
        sqlite3_bind_int64(insert.s, 2, key.second);
        sqlite3_bind_int64(insert.s, 3, cell.rows);
        for (int c = 0; c < 15; ++c) {
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
        rc = sqlite3_step(insert.s);
        sqlite3_reset(insert.s);
        if (rc != SQLITE_DONE) return FailSqlite(rc);
    }
    return MarkSummariesCovered();
}

int HistoryDatabase::MarkSummariesCovered() {
    return Execute(
        "UPDATE RecordSummaryState SET Covered = coalesce((SELECT max(rowid) FROM Records), 0), "
        "CoveredTime = (SELECT Time FROM Records WHERE rowid = (SELECT max(rowid) FROM Records))");
}

int HistoryDatabase::ReadSummaries(int levelHours, long long firstBucket, long long endBucket,
                                   const QStringList& columns,
                                   const std::function<void(const double*)>& cell) {
    const QByteArray sql = QStringLiteral(
                               "SELECT Rows, %1 FROM RecordSummary WHERE Level = ?1 AND "
                               "Bucket >= ?2 AND Bucket < ?3")
                               .arg(SummaryColumnList(columns))
                               .toUtf8();
    Statement q;
    int rc = q.Prepare(m_db, sql);
    if (rc == SQLITE_OK) rc = sqlite3_bind_int(q.s, 1, levelHours);
    if (rc == SQLITE_OK) rc = sqlite3_bind_int64(q.s, 2, firstBucket);
    if (rc == SQLITE_OK) rc = sqlite3_bind_int64(q.s, 3, endBucket);
    if (rc != SQLITE_OK) return FailSqlite(rc);
    const int n = 1 + 4 * static_cast<int>(columns.size());
    double values[1 + 4 * 16];
    while ((rc = sqlite3_step(q.s)) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i)
            values[i] = sqlite3_column_type(q.s, i) == SQLITE_NULL ? static_cast<double>(NoValue)
                                                                   : sqlite3_column_double(q.s, i);
        cell(values);
    }
    return rc == SQLITE_DONE ? 0 : FailSqlite(rc);
}

int HistoryDatabase::ReadRangeDetail(double start, double end, const QStringList& columns,
                                     int slices, RangeDetail& detail) {
    detail = RangeDetail();
    FinishCursor();
    if (int status = RequireOpen()) return status;
    if (int status = CheckColumns(columns)) return status;
    const auto n = static_cast<size_t>(columns.size());
    detail.times.resize(n);
    detail.values.resize(n);
    if (!(end > start) || slices < 1) return 0;
    const long long exactLimit = 4LL * slices;
    const double sliceHours = (end - start) * 24.0 / slices;
    int level = 0;
    for (int hours : kLevels)
        if (hours <= sliceHours) {
            level = hours;
            break;
        }

    // Exact rows while there are few; slice extremes once there are more.
    auto readRows = [&]() -> int {
        RangeDetail exact;
        exact.times.resize(n);
        exact.values.resize(n);
        std::unique_ptr<SliceGrid> grid;
        long long rows = 0;
        const int status = ScanRange(start, end, columns, [&](double time, const double* v) {
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
        if (status != 0) return status;
        if (grid) {
            grid->Emit(detail);
        } else {
            detail.times = std::move(exact.times);
            detail.values = std::move(exact.values);
            detail.exact = true;
        }
        detail.rows = rows;
        return 0;
    };
    if (level == 0 || UpdateSummaries() != 0) return readRows();

    // Whole buckets strictly after the start and before the bucket holding
    // the end come from the summaries; the two partial ends from the rows.
    const long long firstBucket = BucketOf(start, level) + 1;
    const long long endBucket = BucketOf(end, level);
    if (firstBucket >= endBucket) return readRows();
    SliceGrid grid(start, end, slices, static_cast<int>(n));
    long long rows = 0;
    const auto addRow = [&](double time, const double* v) {
        ++rows;
        for (size_t c = 0; c < n; ++c) grid.Add(static_cast<int>(c), time, v[c]);
    };
    const double inner = BucketStart(firstBucket, level);
    const double outer = BucketStart(endBucket, level);
    // (start, inner) and [outer, end]: the bounds are moved by one step of
    // the double so that the open and closed ends fall where they should.
    int status = ScanRange(start, std::nextafter(inner, -1.0), columns, addRow);
    if (status == 0) status = ScanRange(std::nextafter(outer, -1.0), end, columns, addRow);
    if (status == 0)
        status = ReadSummaries(level, firstBucket, endBucket, columns, [&](const double* v) {
            rows += static_cast<long long>(v[0]);
            for (size_t c = 0; c < n; ++c) {
                const double* e = v + 1 + 4 * c;
                grid.Add(static_cast<int>(c), e[1], e[0]);
                grid.Add(static_cast<int>(c), e[3], e[2]);
            }
        });
    if (status != 0) return status;
    if (rows <= exactLimit) return readRows();
    grid.Emit(detail);
    detail.rows = rows;
    return 0;
}

int HistoryDatabase::Execute(const char* sql) {
    if (int status = RequireOpen()) return status;
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    if (rc == SQLITE_OK) return 0;
    Fail(QString::fromUtf8(message ? message : sqlite3_errstr(rc)));
    sqlite3_free(message);
    return rc;
}

int HistoryDatabase::DeleteAll() {
    FinishCursor();
    if (int status = Execute("DELETE FROM Records")) return status;
    if (int status = Execute("DELETE FROM Param")) return status;
    // The summaries empty with the records, so that a refill inside this
    // transaction can gather them as its rows go in.
    m_batch.reset();
    m_batchChecked = false;
    if (EnsureSummaryTables() == 0) {
        if (int status = Execute("DELETE FROM RecordSummary")) return status;
        if (int status = MarkSummariesCovered()) return status;
    }
    return 0;
}

int HistoryDatabase::OpenRecordsTable() {
    FinishCursor();
    if (int status = RequireOpen()) return status;
    if (m_insert) return 0;
    const int rc = PrepareKept(m_db, kInsert, m_insert);
    return rc == SQLITE_OK ? 0 : FailSqlite(rc);
}

void HistoryDatabase::CloseRecordsTable() {
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
}

int HistoryDatabase::AddRecord() {
    if (!m_record) return Fail(QStringLiteral("No record to add."));
    return AddRecord(*m_record);
}

int HistoryDatabase::AddRecord(const HistoryRecord& r) {
    if (int status = RequireOpen()) return status;
    if (!m_insert) return Fail(QStringLiteral("The Records table is not open for appending."));
    sqlite3_stmt* s = m_insert;
    sqlite3_bind_double(s, 1, r.Time);
    sqlite3_bind_int(s, 2, r.No);
    sqlite3_bind_int(s, 3, r.OutHumi);
    sqlite3_bind_int(s, 4, r.WindDirection);
    sqlite3_bind_int(s, 5, r.UV);
    const float floats[] = {r.OutTemp,     r.Wind,        r.Gust,     r.DewPoint,
                            r.RelPressure, r.AbsPressure, r.Rain,     r.RainDay,
                            r.RainWeek,    r.RainMonth,   r.RainYear, r.Light};
    for (int i = 0; i < 12; ++i) sqlite3_bind_double(s, 6 + i, static_cast<double>(floats[i]));
    const int rc = sqlite3_step(s);
    sqlite3_reset(s);
    if (rc != SQLITE_DONE) return FailSqlite(rc);
    // Inside a transaction that starts from up-to-date summaries, the new
    // rows are summarised as they go in and written at the commit; otherwise
    // they are folded in from Records on the next read.
    if (m_inTransaction && !m_batchChecked) {
        m_batchChecked = true;
        long long covered = 0;
        bool replaced = false;
        // Only when every earlier row is summarised, this being the first new one.
        if (EnsureSummaryTables() == 0) {
            SummariesCurrent(covered, replaced);
            if (!replaced && covered + 1 == sqlite3_last_insert_rowid(m_db))
                m_batch = std::make_unique<SummaryBatch>();
        }
    }
    if (m_batch) {
        // In the order of QuantityColumns(), as stored (floats widened).
        const double values[15] = {
            static_cast<double>(r.OutTemp),     static_cast<double>(r.OutHumi),
            static_cast<double>(r.RelPressure), static_cast<double>(r.AbsPressure),
            static_cast<double>(r.Wind),        static_cast<double>(r.Gust),
            static_cast<double>(r.DewPoint),    static_cast<double>(r.WindDirection),
            static_cast<double>(r.Rain),        static_cast<double>(r.RainDay),
            static_cast<double>(r.RainWeek),    static_cast<double>(r.RainMonth),
            static_cast<double>(r.RainYear),    static_cast<double>(r.Light),
            static_cast<double>(r.UV)};
        m_batch->Add(r.Time, values);
    }
    return 0;
}

int HistoryDatabase::BeginTransaction() {
    if (m_inTransaction) return 0;
    // IMMEDIATE takes the write lock now, so a busy file fails before any change.
    const int status = Execute("BEGIN IMMEDIATE");
    m_inTransaction = status == 0;
    return status;
}

int HistoryDatabase::CommitTransaction() {
    if (!m_inTransaction) return 0;
    if (m_batch) {
        if (int status = FlushSummaries()) return status;
    }
    m_batchChecked = false;
    const int status = Execute("COMMIT");
    if (status == 0) m_inTransaction = false;
    return status;
}

void HistoryDatabase::RollbackTransaction() {
    if (!m_inTransaction || !m_db) return;
    FinishCursor();
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_inTransaction = false;
    m_batch.reset();
    m_batchChecked = false;
}

}  // namespace orvane
