#include <sqlite3.h>

#include <QFile>
#include <map>

#include "ArchiveBackend.h"
#include "RecordSummary.h"
#include "SqliteStatement.h"

namespace orvane {

namespace {

// Each step brings the schema from version (index) to version (index + 1).
// Records keeps the column names and the Time day count of Orvane.mdb, and
// an empty Param, so the history queries run on the archive unchanged;
// RecordsByTime leads with Time for their range scans and is also the key.
const char* const kMigrations[] = {
    R"sql(
CREATE TABLE Imports (
    Id         INTEGER PRIMARY KEY,
    Station    TEXT NOT NULL,
    FileName   TEXT NOT NULL,
    FileSize   INTEGER NOT NULL,
    Sha256     TEXT NOT NULL,
    FirstTime  REAL NOT NULL DEFAULT 0,
    LastTime   REAL NOT NULL DEFAULT 0,
    RowsRead   INTEGER NOT NULL DEFAULT 0,
    Added      INTEGER NOT NULL DEFAULT 0,
    Duplicates INTEGER NOT NULL DEFAULT 0,
    Unreadable INTEGER NOT NULL DEFAULT 0,
    ImportedAt TEXT NOT NULL
);
CREATE TABLE Records (
    Station       TEXT NOT NULL,
    Time          REAL NOT NULL,
    No            INTEGER NOT NULL,
    Occurrence    INTEGER NOT NULL,
    ImportId      INTEGER NOT NULL,
    OutHumi       INTEGER,
    WindDirection INTEGER,
    UV            REAL,
    OutTemp       REAL,
    Wind          REAL,
    Gust          REAL,
    DewPoint      REAL,
    RelPressure   REAL,
    AbsPressure   REAL,
    Rain          REAL,
    RainDay       REAL,
    RainWeek      REAL,
    RainMonth     REAL,
    RainYear      REAL,
    Light         REAL
);
CREATE UNIQUE INDEX RecordsByTime ON Records (Time, Station, No, Occurrence);
CREATE TABLE Unreadable (
    Station    TEXT NOT NULL,
    Line       BLOB NOT NULL,
    Occurrence INTEGER NOT NULL,
    LineNumber INTEGER NOT NULL,
    ImportId   INTEGER NOT NULL,
    PRIMARY KEY (Station, Line, Occurrence)
);
CREATE TABLE Param (
    Name  TEXT,
    Value TEXT
);
)sql",
    // The summaries' bookkeeping; SqliteSummaries creates the rest and fills
    // them from the records already there before the migration commits.
    R"sql(
CREATE TABLE IF NOT EXISTS RecordSummaryState (Covered INTEGER NOT NULL, CoveredTime REAL);
)sql",
};
constexpr int kVersions = static_cast<int>(std::size(kMigrations));
static_assert(kVersions == kArchiveSchemaVersion);

const char* const kInsertRecord =
    "INSERT INTO Records (Station, Time, No, Occurrence, ImportId, OutHumi, WindDirection, UV, "
    "OutTemp, Wind, Gust, DewPoint, RelPressure, AbsPressure, Rain, RainDay, RainWeek, RainMonth, "
    "RainYear, Light) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, "
    "?16, ?17, ?18, ?19, ?20) ON CONFLICT DO NOTHING";
const char* const kSelectRecords =
    "SELECT Station, Time, No, Occurrence, ImportId, OutHumi, WindDirection, UV, OutTemp, Wind, "
    "Gust, DewPoint, RelPressure, AbsPressure, Rain, RainDay, RainWeek, RainMonth, RainYear, Light "
    "FROM Records ORDER BY Time";

class SqliteArchive final : public ArchiveBackend {
public:
    ~SqliteArchive() override {
        for (auto& [columns, statement] : m_ranges) sqlite3_finalize(statement);
        sqlite3_finalize(m_insert);
        sqlite3_close_v2(m_db);
    }

    bool Open(const QString& path) {
        m_path = path;
        const int rc = sqlite3_open_v2(
            QFile::encodeName(path).constData(), &m_db,
            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK) return FailSqlite();
        m_summaries = SqliteSummaries(m_db);
        sqlite3_busy_timeout(m_db, 5000);
        // The key index of years of records should stay in memory while a
        // file is added; 64 MiB of cache.
        if (!Exec("PRAGMA cache_size = -65536") || !Migrate()) return false;
        // Charts read years of records; mapping the file saves a system call a page.
        Exec("PRAGMA mmap_size = 268435456");
        return Prepare(kInsertRecord, m_insert);
    }

    QString Kind() const override { return QStringLiteral("sqlite"); }
    QString Location() const override { return m_path; }
    QString Error() const override { return m_error; }
    int SchemaVersion() override { return m_version; }

    bool Begin() override {
        m_summaries.DropBatch();
        m_batchChecked = false;
        return Exec("BEGIN IMMEDIATE");
    }
    // The summaries take the new rows in the same transaction, so a chart
    // read after an import or a copy finds them up to date.
    bool Commit() override {
        const bool gathered = m_summaries.Batch() != nullptr;
        m_batchChecked = false;
        if (!(gathered ? m_summaries.Flush() : m_summaries.Update())) {
            m_error = QStringLiteral("%1: %2").arg(m_path, m_summaries.Error());
            return false;
        }
        return Exec("COMMIT");
    }
    void Rollback() override {
        m_summaries.DropBatch();
        m_batchChecked = false;
        if (!sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }

    bool AddImport(ArchiveImportInfo& import) override {
        sqlite3_stmt* s = nullptr;
        if (!Prepare("INSERT INTO Imports (Station, FileName, FileSize, Sha256, FirstTime, "
                     "LastTime, RowsRead, Added, Duplicates, Unreadable, ImportedAt) VALUES "
                     "(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)",
                     s))
            return false;
        BindImport(s, import);
        const bool ok = Step(s);
        sqlite3_finalize(s);
        if (ok) import.id = sqlite3_last_insert_rowid(m_db);
        return ok;
    }

    bool UpdateImport(const ArchiveImportInfo& import) override {
        sqlite3_stmt* s = nullptr;
        if (!Prepare("UPDATE Imports SET Station = ?1, FileName = ?2, FileSize = ?3, Sha256 = ?4, "
                     "FirstTime = ?5, LastTime = ?6, RowsRead = ?7, Added = ?8, Duplicates = ?9, "
                     "Unreadable = ?10, ImportedAt = ?11 WHERE Id = ?12",
                     s))
            return false;
        BindImport(s, import);
        sqlite3_bind_int64(s, 12, import.id);
        const bool ok = Step(s);
        sqlite3_finalize(s);
        return ok;
    }

    bool FindImport(const ArchiveImportInfo& import, std::int64_t& id) override {
        id = 0;
        sqlite3_stmt* s = nullptr;
        if (!Prepare("SELECT Id FROM Imports WHERE Station = ?1 AND FileName = ?2 AND Sha256 = ?3 "
                     "AND ImportedAt = ?4",
                     s))
            return false;
        BindText(s, 1, import.station);
        BindText(s, 2, import.fileName);
        BindText(s, 3, import.sha256);
        BindText(s, 4, import.importedAt);
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_ROW) id = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
        return rc == SQLITE_ROW || rc == SQLITE_DONE ? true : FailSqlite();
    }

    bool AddRecords(const QString& station, std::int64_t importId,
                    const std::vector<HistoryRecord>& rows,
                    const std::vector<std::int32_t>& occurrences, std::int64_t& added) override {
        added = 0;
        sqlite3_stmt* s = m_insert;
        const QByteArray stationText = station.toUtf8();
        sqlite3_bind_text(s, 1, stationText.constData(), static_cast<int>(stationText.size()),
                          SQLITE_STATIC);
        sqlite3_bind_int64(s, 5, importId);
        for (size_t i = 0; i < rows.size(); ++i) {
            const HistoryRecord& r = rows[i];
            sqlite3_bind_double(s, 2, r.Time);
            sqlite3_bind_int(s, 3, r.No);
            sqlite3_bind_int(s, 4, occurrences[i]);
            sqlite3_bind_int(s, 6, r.OutHumi);
            sqlite3_bind_int(s, 7, r.WindDirection);
            sqlite3_bind_int(s, 8, r.UV);
            const float floats[] = {r.OutTemp,     r.Wind,        r.Gust,     r.DewPoint,
                                    r.RelPressure, r.AbsPressure, r.Rain,     r.RainDay,
                                    r.RainWeek,    r.RainMonth,   r.RainYear, r.Light};
            for (int c = 0; c < 12; ++c)
                sqlite3_bind_double(s, 9 + c, static_cast<double>(floats[c]));
            const int rc = sqlite3_step(s);
            sqlite3_reset(s);
            if (rc != SQLITE_DONE) {
                sqlite3_clear_bindings(s);
                return FailSqlite();
            }
            if (sqlite3_changes(m_db) == 0) continue;
            ++added;
            // The new rows go into the summaries as they are written, when
            // every earlier row is already in them; else Commit folds them in.
            if (!m_batchChecked) {
                m_batchChecked = true;
                m_summaries.StartBatchIfCurrent(sqlite3_last_insert_rowid(m_db));
            }
            if (SummaryCells* batch = m_summaries.Batch()) {
                double values[kSummaryColumns];
                SummaryValues(r, values);
                batch->Add(r.Time, values);
            }
        }
        sqlite3_clear_bindings(s);
        return true;
    }

    bool AddUnreadable(const QString& station, std::int64_t importId,
                       const std::vector<ArchiveLine>& lines, std::int64_t& added) override {
        added = 0;
        sqlite3_stmt* s = nullptr;
        if (!Prepare("INSERT INTO Unreadable (Station, Line, Occurrence, LineNumber, ImportId) "
                     "VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT DO NOTHING",
                     s))
            return false;
        BindText(s, 1, station);
        sqlite3_bind_int64(s, 5, importId);
        bool ok = true;
        for (const ArchiveLine& line : lines) {
            sqlite3_bind_blob(s, 2, line.text.constData(), static_cast<int>(line.text.size()),
                              SQLITE_STATIC);
            sqlite3_bind_int(s, 3, line.occurrence);
            sqlite3_bind_int64(s, 4, line.lineNumber);
            if (!(ok = Step(s))) break;
            added += sqlite3_changes(m_db);
        }
        sqlite3_finalize(s);
        return ok;
    }

    bool ReadImports(std::vector<ArchiveImportInfo>& imports) override {
        imports.clear();
        sqlite3_stmt* s = nullptr;
        if (!Prepare("SELECT Id, Station, FileName, FileSize, Sha256, FirstTime, LastTime, "
                     "RowsRead, Added, Duplicates, Unreadable, ImportedAt FROM Imports ORDER BY Id",
                     s))
            return false;
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            ArchiveImportInfo i;
            i.id = sqlite3_column_int64(s, 0);
            i.station = Text(s, 1);
            i.fileName = Text(s, 2);
            i.fileSize = sqlite3_column_int64(s, 3);
            i.sha256 = Text(s, 4);
            i.firstTime = sqlite3_column_double(s, 5);
            i.lastTime = sqlite3_column_double(s, 6);
            i.rowsRead = sqlite3_column_int64(s, 7);
            i.added = sqlite3_column_int64(s, 8);
            i.duplicates = sqlite3_column_int64(s, 9);
            i.unreadable = sqlite3_column_int64(s, 10);
            i.importedAt = Text(s, 11);
            imports.push_back(std::move(i));
        }
        sqlite3_finalize(s);
        return rc == SQLITE_DONE ? true : FailSqlite();
    }

    bool Count(std::int64_t& records, std::int64_t& unreadable) override {
        return Scalar("SELECT count(*) FROM Records", records) &&
               Scalar("SELECT count(*) FROM Unreadable", unreadable);
    }

    bool ScanRecords(const RecordVisitor& visit) override {
        sqlite3_stmt* s = nullptr;
        if (!Prepare(kSelectRecords, s)) return false;
        int rc;
        QString station;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            HistoryRecord r;
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
            if (station != QLatin1String(text)) station = QString::fromUtf8(text);
            r.Time = sqlite3_column_double(s, 1);
            r.No = sqlite3_column_int(s, 2);
            const std::int32_t occurrence = sqlite3_column_int(s, 3);
            const std::int64_t importId = sqlite3_column_int64(s, 4);
            r.OutHumi = sqlite3_column_int(s, 5);
            r.WindDirection = sqlite3_column_int(s, 6);
            r.UV = sqlite3_column_int(s, 7);
            float* floats[] = {&r.OutTemp,     &r.Wind,        &r.Gust,     &r.DewPoint,
                               &r.RelPressure, &r.AbsPressure, &r.Rain,     &r.RainDay,
                               &r.RainWeek,    &r.RainMonth,   &r.RainYear, &r.Light};
            for (int c = 0; c < 12; ++c)
                *floats[c] = static_cast<float>(sqlite3_column_double(s, 8 + c));
            if (!visit(station, importId, r, occurrence)) {
                sqlite3_finalize(s);
                return false;
            }
        }
        sqlite3_finalize(s);
        return rc == SQLITE_DONE ? true : FailSqlite();
    }

    bool ScanUnreadable(const LineVisitor& visit) override {
        sqlite3_stmt* s = nullptr;
        if (!Prepare("SELECT Station, Line, Occurrence, LineNumber, ImportId FROM Unreadable", s))
            return false;
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            ArchiveLine line;
            line.text = QByteArray(static_cast<const char*>(sqlite3_column_blob(s, 1)),
                                   sqlite3_column_bytes(s, 1));
            line.occurrence = sqlite3_column_int(s, 2);
            line.lineNumber = sqlite3_column_int64(s, 3);
            if (!visit(Text(s, 0), sqlite3_column_int64(s, 4), line)) {
                sqlite3_finalize(s);
                return false;
            }
        }
        sqlite3_finalize(s);
        return rc == SQLITE_DONE ? true : FailSqlite();
    }

    bool Bounds(double& first, double& last, bool& any) override {
        sqlite3_stmt* s = nullptr;
        // Two subqueries: each reads one end of the Time index, where one
        // SELECT of both scans the whole table.
        if (!Prepare("SELECT (SELECT min(Time) FROM Records), (SELECT max(Time) FROM Records)", s))
            return false;
        const int rc = sqlite3_step(s);
        any = rc == SQLITE_ROW && sqlite3_column_type(s, 0) != SQLITE_NULL;
        first = any ? sqlite3_column_double(s, 0) : 0;
        last = any ? sqlite3_column_double(s, 1) : 0;
        sqlite3_finalize(s);
        return rc == SQLITE_ROW || FailSqlite();
    }

    bool ScanRange(double start, double end, const QStringList& columns,
                   const RowReader& row) override {
        const QString names = columns.join(QStringLiteral(", "));
        sqlite3_stmt*& s = m_ranges[names];
        if (!s) {
            // The names were checked against the quantity columns.
            const QByteArray sql = QStringLiteral(
                                       "SELECT Time, %1 FROM Records WHERE Time > ?1 AND Time <= "
                                       "?2 ORDER BY Time")
                                       .arg(names)
                                       .toUtf8();
            if (sqlite3_prepare_v3(m_db, sql.constData(), -1, SQLITE_PREPARE_PERSISTENT, &s,
                                   nullptr) != SQLITE_OK) {
                m_ranges.erase(names);
                return FailSqlite();
            }
        }
        sqlite3_bind_double(s, 1, start);
        sqlite3_bind_double(s, 2, end);
        const int rc = StepTimeRows(s, static_cast<int>(columns.size()), row);
        sqlite3_reset(s);
        return rc == SQLITE_DONE || FailSqlite();
    }

    bool ReadSummaries(int level, long long first, long long end, const QStringList& columns,
                       const std::function<void(const double*)>& cell) override {
        return m_summaries.Read(level, first, end, columns, cell) || Fail(m_summaries.Error());
    }

private:
    bool Fail(const QString& text) {
        m_error = QStringLiteral("%1: %2").arg(m_path, text);
        return false;
    }
    bool FailSqlite() {
        m_error = QStringLiteral("%1: %2").arg(
            m_path, QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "cannot open"));
        return false;
    }
    bool Exec(const char* sql) {
        return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK || FailSqlite();
    }
    bool Prepare(const char* sql, sqlite3_stmt*& s) {
        return sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr) == SQLITE_OK || FailSqlite();
    }
    bool Step(sqlite3_stmt* s) {
        const int rc = sqlite3_step(s);
        sqlite3_reset(s);
        return rc == SQLITE_DONE || rc == SQLITE_ROW || FailSqlite();
    }
    bool Scalar(const char* sql, std::int64_t& value) {
        sqlite3_stmt* s = nullptr;
        if (!Prepare(sql, s)) return false;
        const int rc = sqlite3_step(s);
        value = rc == SQLITE_ROW ? sqlite3_column_int64(s, 0) : 0;
        sqlite3_finalize(s);
        return rc == SQLITE_ROW || FailSqlite();
    }
    static void BindText(sqlite3_stmt* s, int index, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(s, index, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
    }
    static QString Text(sqlite3_stmt* s, int column) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, column)));
    }
    static void BindImport(sqlite3_stmt* s, const ArchiveImportInfo& i) {
        BindText(s, 1, i.station);
        BindText(s, 2, i.fileName);
        sqlite3_bind_int64(s, 3, i.fileSize);
        BindText(s, 4, i.sha256);
        sqlite3_bind_double(s, 5, i.firstTime);
        sqlite3_bind_double(s, 6, i.lastTime);
        sqlite3_bind_int64(s, 7, i.rowsRead);
        sqlite3_bind_int64(s, 8, i.added);
        sqlite3_bind_int64(s, 9, i.duplicates);
        sqlite3_bind_int64(s, 10, i.unreadable);
        BindText(s, 11, i.importedAt);
    }

    // Brings an older archive up to this version in one transaction; a
    // newer one is left alone and refused.
    bool Migrate() {
        std::int64_t version = 0;
        if (!Scalar("PRAGMA user_version", version)) return false;
        if (version > kVersions) {
            m_error = QStringLiteral(
                          "%1 is an archive of schema version %2; this Orvane reads "
                          "versions up to %3.")
                          .arg(m_path)
                          .arg(version)
                          .arg(kVersions);
            return false;
        }
        if (version == kVersions) {
            m_version = kVersions;
            return true;
        }
        if (!Exec("BEGIN IMMEDIATE")) return false;
        // Read again under the write lock: another process may have migrated meanwhile.
        if (!Scalar("PRAGMA user_version", version)) return Abort();
        for (auto step = version; step < kVersions; ++step)
            if (!Exec(kMigrations[step])) return Abort();
        if (!m_summaries.Update()) {
            Fail(m_summaries.Error());
            return Abort();
        }
        const QByteArray setVersion = "PRAGMA user_version = " + QByteArray::number(kVersions);
        if (!Exec(setVersion.constData()) || !Exec("COMMIT")) return Abort();
        m_version = kVersions;
        return true;
    }
    bool Abort() {
        const QString error = m_error;
        Rollback();
        m_error = error;
        return false;
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    std::map<QString, sqlite3_stmt*> m_ranges;  // by column list
    SqliteSummaries m_summaries{nullptr};
    bool m_batchChecked = false;  // the import's first new row was looked at
    QString m_path;
    QString m_error;
    int m_version = 0;
};

}  // namespace

std::unique_ptr<ArchiveBackend> OpenSqliteArchive(const QString& path, QString& error) {
    auto archive = std::make_unique<SqliteArchive>();
    if (!archive->Open(path)) {
        error = archive->Error();
        return nullptr;
    }
    return archive;
}

}  // namespace orvane
