#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "HistoryRecord.h"
#include "RecordRange.h"

namespace orvane {

class ArchiveBackend;

// The archive: every record of every import, each kept once, with where it
// came from. It lives beside Orvane.mdb (which each import empties and
// refills) as Archive.sqlite in the data folder, or in a PostgreSQL database
// shared by several stations and PCs.
//
// A record is keyed by (station, Time, No, occurrence): Time is the station's
// own time stamp as a day count, No its record number (0 when the log has
// none), and the occurrence counts earlier lines of the same file with the
// same Time and No. So the same file twice, or overlapping files, add each
// record once, while an hour the clock repeats (daylight saving ends, the
// user sets the clock back) keeps both passes. Lines whose time cannot be
// read go to a table of their own, keyed by their text and occurrence.
//
// Version 2 adds the summaries of the records (RecordSummary) that a chart
// of a long span reads.
inline constexpr int kArchiveSchemaVersion = 2;
inline constexpr const char* kArchiveFileName = "Archive.sqlite";
// A location that switches the archive off (Main.ini or a caller).
inline constexpr const char* kArchiveOff = "off";
// The station of imports that name none.
inline constexpr const char* kDefaultArchiveStation = "default";

// The file an import reads.
struct ArchiveSource {
    QString fileName;  // without the folder
    std::int64_t size = 0;
    QString sha256;   // lower-case hex
    QString station;  // empty: kDefaultArchiveStation
};

// The archive of a data folder: [Archive] Location of its Main.ini when set
// (a file path, a postgresql:// URL or kArchiveOff), else Archive.sqlite in
// the folder.
QString ArchiveLocationFor(const QString& dataFolder);
// The station an import files its records under: [Archive] Station of
// Main.ini in the data folder, empty for the default station.
QString ArchiveStationFor(const QString& dataFolder);

// Size and SHA-256 of a file, read in chunks; false (with the reason) when
// the file cannot be read.
bool DescribeArchiveSource(const QString& path, ArchiveSource& source, QString& error);

// One row of the provenance table.
struct ArchiveImportInfo {
    std::int64_t id = 0;
    QString station;
    QString fileName;
    std::int64_t fileSize = 0;
    QString sha256;
    double firstTime = 0;       // day counts of the file's earliest and latest
    double lastTime = 0;        // readable records; 0 when it had none
    std::int64_t rowsRead = 0;  // = added + duplicates + unreadable
    std::int64_t added = 0;
    std::int64_t duplicates = 0;  // readable records the archive already held
    std::int64_t unreadable = 0;  // lines whose time could not be read
    QString importedAt;           // UTC, ISO 8601
};

// A line whose time could not be read, kept as it was written.
struct ArchiveLine {
    QByteArray text;
    std::int32_t occurrence = 0;  // earlier lines of the file with the same text
    std::int64_t lineNumber = 0;  // 1 = the first record line
};

struct ArchiveInfo {
    QString backend;   // "sqlite" or "postgresql"
    QString location;  // file path, or the URL without its password
    int schemaVersion = 0;
    std::int64_t records = 0;
    std::int64_t unreadable = 0;
    std::vector<ArchiveImportInfo> imports;  // oldest first
};

// Used by one thread at a time (any thread). Every operation returns false
// on failure with the reason in LastError(); a failed import leaves the
// archive exactly as it was before Begin. As a RecordSource it is what the
// graph and the export read: the records of every station, long spans from
// the summaries.
class Archive final : public RecordSource {
public:
    // A location starting with postgresql:// or postgres:// names a
    // PostgreSQL database; anything else is an SQLite file, created when
    // missing. The schema is created or migrated on opening; an archive
    // written by a newer Orvane is refused. Null with the reason on failure.
    static std::unique_ptr<Archive> Open(const QString& location, QString& error);
    static bool IsPostgresLocation(const QString& location);
    // dataFolder/Archive.sqlite.
    static QString DefaultLocation(const QString& dataFolder);

    ~Archive() override;
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // An import: Begin, Add for every record line of the file in order,
    // then Commit (or Rollback; destroying the archive mid-import rolls
    // back). Records are written in batches inside one transaction.
    bool Begin(const ArchiveSource& source);
    // `record` is the parsed line (Time 0 when its time could not be read);
    // `line` its text, kept only for an unreadable line.
    bool Add(const HistoryRecord& record, std::string_view line);
    // The provenance row of the finished import goes to `summary`.
    bool Commit(ArchiveImportInfo* summary = nullptr);
    void Rollback();

    bool Info(ArchiveInfo& info);

    bool ReadBounds(double& first, double& last) override;
    bool ReadRows(double start, double end, const QStringList& columns,
                  const RowReader& row) override;
    bool ReadDetail(double start, double end, const QStringList& columns, int slices,
                    RangeDetail& detail) override;
    QString ReadError() const override { return m_error; }

    QString LastError() const { return m_error; }
    QString Location() const;

    // Lets the copy reach the other side's rows.
    ArchiveBackend& Backend() { return *m_backend; }

    // Rows collected before they are written; fewer round trips to
    // PostgreSQL, and bounded memory whatever the file's size.
    static constexpr size_t kBatchRows = 16384;

private:
    explicit Archive(std::unique_ptr<ArchiveBackend> backend);
    bool Flush();
    bool CheckColumns(const QStringList& columns);
    bool Fail(const QString& text);

    struct Key {
        double time;
        std::int32_t no;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const;
    };

    std::unique_ptr<ArchiveBackend> m_backend;
    QString m_error;
    bool m_importing = false;
    QString m_station;
    ArchiveImportInfo m_import;
    std::unordered_map<Key, std::int32_t, KeyHash> m_seen;
    std::unordered_map<std::string, std::int32_t> m_seenLines;
    std::int64_t m_lineNumber = 0;
    std::vector<HistoryRecord> m_rows;
    std::vector<std::int32_t> m_occurrences;
    std::vector<ArchiveLine> m_lines;
};

struct ArchiveCopySummary {
    std::int64_t records = 0;     // read from the source
    std::int64_t added = 0;       // new in the target
    std::int64_t imports = 0;     // provenance rows new in the target
    std::int64_t unreadable = 0;  // unreadable lines new in the target
};

// Copies every record, unreadable line and provenance row of `from` into
// `to` in one transaction of `to`, each once: copying twice, or into an
// archive that already holds some of the records, adds nothing twice. The
// records keep their keys and the import they came from.
bool CopyArchive(Archive& from, Archive& to, QString& error, ArchiveCopySummary* summary = nullptr);
bool CopyArchive(const QString& fromLocation, const QString& toLocation, QString& error,
                 ArchiveCopySummary* summary = nullptr);

}  // namespace orvane
