#include "HistoryDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "ControlWindow.h"
#include "HistoryTime.h"
#include "RecordSummary.h"
#include "SqliteStatement.h"

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

using Statement = SqliteStatement;

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
    m_summaries = std::make_unique<SqliteSummaries>(db);
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
    m_summaries.reset();
    m_batchChecked = false;
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
    rc = StepTimeRows(statement, static_cast<int>(columns.size()), row);
    sqlite3_reset(statement);
    return rc == SQLITE_DONE ? 0 : FailSqlite(rc);
}

bool HistoryDatabase::TimeBounds(double& first, double& last) {
    first = last = 0;
    if (!m_db) return false;
    Statement q;
    // Two subqueries: each reads one end of the Time index, where one
    // SELECT of both scans the whole table.
    if (q.Prepare(m_db,
                  "SELECT (SELECT min(Time) FROM Records), (SELECT max(Time) FROM Records)") !=
            SQLITE_OK ||
        sqlite3_step(q.s) != SQLITE_ROW || sqlite3_column_type(q.s, 0) == SQLITE_NULL)
        return false;
    first = sqlite3_column_double(q.s, 0);
    last = sqlite3_column_double(q.s, 1);
    return true;
}

int HistoryDatabase::UpdateSummaries() {
    if (int status = RequireOpen()) return status;
    FinishCursor();
    if (!m_summaries->Ensure()) return 1;
    long long covered = 0;
    bool replaced = false;
    if (m_summaries->Current(covered, replaced)) return 0;
    const bool own = !m_inTransaction;
    if (own && BeginTransaction() != 0) return 1;
    m_summaries->DropBatch();
    m_batchChecked = false;
    const bool updated = m_summaries->Update();
    if (own) {
        if (updated) return CommitTransaction();
        RollbackTransaction();
    }
    return updated ? 0 : 1;
}

int HistoryDatabase::ReadRangeDetail(double start, double end, const QStringList& columns,
                                     int slices, RangeDetail& detail) {
    detail = RangeDetail();
    FinishCursor();
    if (int status = RequireOpen()) return status;
    if (int status = CheckColumns(columns)) return status;
    DetailStore store;
    int status = 0;
    store.scan = [&](double from, double to, const QStringList& c, const RowReader& row) {
        return (status = ScanRange(from, to, c, row)) == 0;
    };
    // A file whose summaries cannot be brought up to date is read from its rows.
    if ((end - start) * 24.0 / std::max(slices, 1) >=
            kSummaryLevels[std::size(kSummaryLevels) - 1] &&
        UpdateSummaries() == 0)
        store.summaries = [&](int level, long long first, long long last, const QStringList& c,
                              const std::function<void(const double*)>& cell) {
            if (m_summaries->Read(level, first, last, c, cell)) return true;
            status = Fail(m_summaries->Error());
            return false;
        };
    if (ReadDetailFrom(store, start, end, columns, slices, detail)) return 0;
    return status != 0 ? status : 1;
}

bool HistoryDatabase::ReadBounds(double& first, double& last) {
    return TimeBounds(first, last);
}

bool HistoryDatabase::ReadRows(double start, double end, const QStringList& columns,
                               const RowReader& row) {
    FinishCursor();
    return RequireOpen() == 0 && CheckColumns(columns) == 0 &&
           ScanRange(start, end, columns, row) == 0;
}

bool HistoryDatabase::ReadDetail(double start, double end, const QStringList& columns, int slices,
                                 RangeDetail& detail) {
    return ReadRangeDetail(start, end, columns, slices, detail) == 0;
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
    m_batchChecked = false;
    if (!m_summaries->Reset()) return Fail(m_summaries->Error());
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
        m_summaries->StartBatchIfCurrent(sqlite3_last_insert_rowid(m_db));
    }
    if (SummaryCells* batch = m_summaries->Batch()) {
        double values[kSummaryColumns];
        SummaryValues(r, values);
        batch->Add(r.Time, values);
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
    if (!m_summaries->Flush()) return Fail(m_summaries->Error());
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
    m_summaries->DropBatch();
    m_batchChecked = false;
}

}  // namespace orvane
