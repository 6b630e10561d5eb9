#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Archive.h"
#include "RecordRange.h"

namespace orvane {

// One archive storage: the same tables and keys on SQLite and PostgreSQL.
// Archive does the keying; a backend stores rows and answers for them.
// Every operation returns false on failure with the reason in Error().
class ArchiveBackend {
public:
    virtual ~ArchiveBackend() = default;

    virtual QString Kind() const = 0;
    virtual QString Location() const = 0;
    virtual QString Error() const = 0;
    virtual int SchemaVersion() = 0;

    virtual bool Begin() = 0;
    virtual bool Commit() = 0;
    virtual void Rollback() = 0;

    // Inserts the row and sets its id.
    virtual bool AddImport(ArchiveImportInfo& import) = 0;
    virtual bool UpdateImport(const ArchiveImportInfo& import) = 0;
    // The id of an import with the same station, file, hash and time, or 0.
    virtual bool FindImport(const ArchiveImportInfo& import, std::int64_t& id) = 0;

    // Rows of one station, each with its occurrence, from one import;
    // `added` counts the rows that were not there yet.
    virtual bool AddRecords(const QString& station, std::int64_t importId,
                            const std::vector<HistoryRecord>& rows,
                            const std::vector<std::int32_t>& occurrences, std::int64_t& added) = 0;
    virtual bool AddUnreadable(const QString& station, std::int64_t importId,
                               const std::vector<ArchiveLine>& lines, std::int64_t& added) = 0;

    virtual bool ReadImports(std::vector<ArchiveImportInfo>& imports) = 0;
    virtual bool Count(std::int64_t& records, std::int64_t& unreadable) = 0;

    // Every record in Time order; the visitor returns false to stop.
    using RecordVisitor = std::function<bool(const QString& station, std::int64_t importId,
                                             const HistoryRecord& row, std::int32_t occurrence)>;
    virtual bool ScanRecords(const RecordVisitor& visit) = 0;
    using LineVisitor =
        std::function<bool(const QString& station, std::int64_t importId, const ArchiveLine& line)>;
    virtual bool ScanUnreadable(const LineVisitor& visit) = 0;

    // Chart reads over the records of every station. Columns are checked
    // quantity column names; values come as stored floats, widened.
    // `any` is false for an archive without records.
    virtual bool Bounds(double& first, double& last, bool& any) = 0;
    // Rows with start < Time <= end, oldest first.
    virtual bool ScanRange(double start, double end, const QStringList& columns,
                           const RowReader& row) = 0;
    // The per-hour, six-hour and day summaries (RecordSummary), which every
    // import and copy keeps up to date in its own transaction: cells of one
    // level with first <= Bucket < end, Rows then four values per column.
    virtual bool ReadSummaries(int level, long long first, long long end,
                               const QStringList& columns,
                               const std::function<void(const double*)>& cell) = 0;
};

std::unique_ptr<ArchiveBackend> OpenSqliteArchive(const QString& path, QString& error);
std::unique_ptr<ArchiveBackend> OpenPostgresArchive(const QString& url, QString& error);

}  // namespace orvane
