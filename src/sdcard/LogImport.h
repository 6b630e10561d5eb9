#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "Archive.h"
#include "HistoryRecord.h"
#include "UnitCaptions.h"

namespace orvane {

class ControlWindow;
class HistoryDatabase;

// The station's log file: a text file of single-byte characters (each byte
// the character of the same code), lines ended by CR LF or LF, values
// separated by ",". The first line holds the 18 column titles, every further
// line one record.
inline constexpr int kLogColumns = 18;
// A table cell shows at most this many bytes of its value.
inline constexpr int kLogCellBytes = 79;

// Splits one line into its 18 values. The first comma is looked for from the
// line's second character on; value 17 is everything after the 17th comma.
// Values after missing commas are empty.
std::array<std::string_view, kLogColumns> SplitLogLine(std::string_view line);

// True for a value that holds no number at all ("", "-", "--", "---",
// blanks): the reading is missing. A negative number is a reading.
bool IsMissingReading(std::string_view value);

// Fills a record from one record line (the record is zeroed first). Missing
// readings become NoValue; the record number and the time are read as they
// are (a time that is no date gives 0.0).
void ParseLogRecord(std::string_view line, HistoryRecord& record);

// The unit caption of a header title: from its first "(" to the end, or the
// whole title when it has none ("Temp(°C)" gives "(°C)").
QString UnitCaption(const QString& title);

// The imported file as a table: the header titles and one row per record
// line, each row's cells cut from the line on demand. Immutable once built,
// so any thread may read it.
class LogTable {
public:
    LogTable() = default;
    // Builds the table from a whole file's bytes.
    explicit LogTable(QByteArray fileBytes);

    const QStringList& Titles() const { return m_titles; }
    int RowCount() const { return static_cast<int>(m_lines.size()); }
    // The cell as bytes (at most kLogCellBytes) and as text (ISO-8859-1).
    std::string_view CellBytes(int row, int column) const;
    QString Cell(int row, int column) const;
    std::string_view Line(int row) const;
    UnitCaptions Captions() const;

private:
    struct LineRef {
        std::int64_t start;
        std::int32_t length;
    };
    QByteArray m_bytes;
    QStringList m_titles;
    std::vector<LineRef> m_lines;
};

struct LogImportResult {
    enum class Status {
        Ok,
        FileError,      // the local copy could not be read; nothing changed
        DatabaseError,  // the database kept its previous content
    };
    Status status = Status::FileError;
    std::shared_ptr<const LogTable> table;  // null when the file could not be read
    UnitCaptions captions;
    std::int64_t records = 0;  // rows written to Records
    QString error;
    // The archive's part: its provenance row, or why it failed (the refill
    // above stands either way).
    bool archived = false;
    ArchiveImportInfo archive;
    QString archiveError;
};

// Progress of an import in percent (0..100), called on the importing thread.
using ImportProgress = std::function<void(int percent)>;

// Imports a downloaded log file: reads the local copy, and in one
// transaction empties Records and Param and writes one row per record line,
// so that the database holds exactly this file's records; any failure
// rolls back and leaves the previous history as it was.
//
// "打开文件失败" goes to `window` when the file cannot be read; database
// errors are reported by `database` through its own message sink. When the
// file was read, Save as (1005) and Graph (1008) of `window` are enabled at
// the end. The caller shows result.table in list 1203 (LogImportTableModel)
// and keeps result.captions for the graph window.
//
// May run on any thread (typically a worker of its own); it uses only its
// arguments, and `window` is called through its thread-safe interface.
//
// Afterwards the file's records are also added to the archive at
// `archiveLocation` (empty: ArchiveLocationFor the database's folder), in a
// transaction of its own: a failing archive never undoes the refill, nor a
// failing refill the archive.
LogImportResult ImportDownloadedFile(const QString& localPath, const QString& databasePath,
                                     HistoryDatabase& database, ControlWindow* window,
                                     const ImportProgress& progress = {},
                                     const QString& archiveLocation = {});

// The archive of a data folder: [Archive] Location of its Main.ini when set
// (a file path or a postgresql:// URL), else Archive.sqlite in the folder.
QString ArchiveLocationFor(const QString& dataFolder);

// Adds a log's record lines to the archive at `location` (one transaction).
// The station is [Archive] Station of Main.ini in `dataFolder`, else the
// default station.
bool ArchiveLogTable(const LogTable& table, const QString& localPath, const QString& location,
                     const QString& dataFolder, ArchiveImportInfo& summary, QString& error);

}  // namespace orvane
