#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "HistoryRecord.h"
#include "RecordRange.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orvane {

class ControlWindow;
class SqliteSummaries;

// The history database: one SQLite file (Orvane.mdb) with the tables
// Records and Param. Each owning window has its own instance; an instance is
// used by one thread at a time (any thread), and two instances may use the
// same file at once (SQLite arbitrates; a busy file is waited for briefly).
//
// Every operation returns a status, 0 on success. Errors are reported as
// message texts through the message sink (a window's MessageBox), never by
// widgets of its own; LastError() keeps the last text for callers that
// want it.
class HistoryDatabase final : public RecordSource {
public:
    using MessageSink = std::function<void(const QString&)>;

    // The quantity columns a range query may name.
    static const QStringList& QuantityColumns();
    static bool IsQuantityColumn(const QString& column);

    HistoryDatabase();
    explicit HistoryDatabase(ControlWindow* messages);
    ~HistoryDatabase() override;
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    void SetMessageSink(MessageSink sink) { m_sink = std::move(sink); }
    void SetMessageWindow(ControlWindow* window);

    // Connects to an existing database file, replacing any previous
    // connection of this instance. A missing file or one that is not a
    // history database shows "数据库连接错误" and then the error text, and
    // returns a negative status; the file is never created.
    int Open(const QString& path);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    // The file of the open connection (empty when none).
    QString Path() const { return m_db ? m_path : QString(); }

    // Range queries over one quantity column: rows with start < Time <= end
    // whose column value is not NoValue. start and end are date-time texts
    // such as "2013-05-07 9:05:00".
    int CountInRange(const QString& startText, const QString& endText, const QString& column,
                     int& count);
    // Runs the select; walk the rows, oldest first, with Eof/MoveNext and
    // read RowTime/RowValue (the column as a 32-bit float, widened).
    int SelectInRange(const QString& startText, const QString& endText, const QString& column);
    bool Eof() const { return m_cursor == nullptr; }
    void MoveNext();
    double RowTime() const;
    double RowValue() const;

    // One pass over the rows with startText < Time <= endText, oldest first,
    // reading several quantity columns at once (each as a 32-bit float,
    // widened): `row` gets the time and one value per column, NoValue
    // included, so that each caller leaves out a column's missing readings
    // itself. A search over several series reads the table once this way.
    // Rows in the span whatever their values; answered from the time index
    // alone, so it is cheap enough to size buffers before a ReadRange.
    int CountRowsInRange(const QString& startText, const QString& endText, int& count);
    using RowReader = orvane::RowReader;
    int ReadRange(const QString& startText, const QString& endText, const QStringList& columns,
                  const RowReader& row);

    // What a chart of the span (start, end] can show, read without visiting
    // every row: the span is cut into `slices` equal time slices and each
    // column gets the lowest and the highest of its readings (NoValue left
    // out) in each slice, with their times, oldest first. Long spans are
    // answered from per-hour, per-six-hour and per-day summaries of Records
    // (built on first use and brought up to date with new rows); short
    // spans from the rows themselves. When the span holds at most
    // 4 x slices rows, every reading is returned and `exact` is set. Times
    // are day counts; memory is bounded by slices, not rows.
    using RangeDetail = orvane::RangeDetail;
    int ReadRangeDetail(double start, double end, const QStringList& columns, int slices,
                        RangeDetail& detail);
    // Brings the summaries up to date with Records (creating them when
    // missing); ReadRangeDetail does it on its own when needed.
    int UpdateSummaries();
    // Earliest and latest Time of Records; false when the table is empty
    // or unreadable (nothing is reported).
    bool TimeBounds(double& first, double& last);

    // The same reads as a RecordSource (failures also go to the message sink).
    bool ReadBounds(double& first, double& last) override;
    bool ReadRows(double start, double end, const QStringList& columns,
                  const RowReader& row) override;
    bool ReadDetail(double start, double end, const QStringList& columns, int slices,
                    RangeDetail& detail) override;
    QString ReadError() const override { return m_lastError; }

    // Empties Records and Param.
    int DeleteAll();

    // Prepares appending rows. AddRecord appends the referenced record (set
    // with SetRecord) or the given one; every call appends a row.
    int OpenRecordsTable();
    void SetRecord(const HistoryRecord* record) { m_record = record; }
    int AddRecord();
    int AddRecord(const HistoryRecord& record);
    void CloseRecordsTable();

    // One transaction around a refill, so that a failing import leaves the
    // previous history as it was.
    int BeginTransaction();
    int CommitTransaction();
    void RollbackTransaction();
    bool InTransaction() const { return m_inTransaction; }

    QString LastError() const { return m_lastError; }

private:
    int Fail(const QString& text);
    int FailSqlite(int rc);
    int RequireOpen();
    int Execute(const char* sql);
    sqlite3_stmt* Prepared(std::map<QString, sqlite3_stmt*>& cache, const char* pattern,
                           const QString& column, int& rc);
    int BindRange(sqlite3_stmt* statement, const QString& startText, const QString& endText);
    void FinishCursor();
    int OpenChecked(const QString& path, const char* probe);
    int ScanRange(double start, double end, const QStringList& columns, const RowReader& row);
    int CheckColumns(const QStringList& columns);

    sqlite3* m_db = nullptr;
    QString m_path;
    sqlite3_stmt* m_countRows = nullptr;
    std::map<QString, sqlite3_stmt*> m_countStatements;
    std::map<QString, sqlite3_stmt*> m_selectStatements;
    std::map<QString, sqlite3_stmt*> m_rangeStatements;
    sqlite3_stmt* m_insert = nullptr;
    sqlite3_stmt* m_cursor = nullptr;  // the select being walked
    const HistoryRecord* m_record = nullptr;
    bool m_inTransaction = false;
    // The summaries of Records; rows appended inside a transaction that
    // starts from up-to-date summaries are gathered as they go in and
    // written at its commit, others are folded in on the next read.
    std::unique_ptr<SqliteSummaries> m_summaries;
    bool m_batchChecked = false;
    MessageSink m_sink;
    QString m_lastError;
};

}  // namespace orvane
