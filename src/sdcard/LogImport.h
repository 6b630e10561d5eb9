#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Archive.h"
#include "HistoryRecord.h"
#include "StringTable.h"
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

// Bytes of a line that are read; a longer line is read from its beginning
// (its cells and values are cut there). No station line comes near this.
inline constexpr std::int64_t kLogLineLimit = 64 * 1024;

// One line of a log file as LogReader hands it out. `text` has no line end
// and at most the reader's line limit of bytes; it stays valid until the
// reader's next call.
struct LogLine {
    std::int64_t offset = 0;  // of the line's first byte in the file
    std::string_view text;
    bool cut = false;  // the line was longer than the limit
};

// Reads a station log file front to back in blocks, so that a file of any
// size (and any line length) costs one block of memory. Open checks that the
// file looks like a station log before anything is read as a record: a first
// line of 18 comma-separated titles (17 commas, none empty, no control
// characters) and at least one record line whose time reads as a date.
//
// One instance per file and thread. Used by the import of a download, and by
// anything else that wants a log's records (pull them with Next, or use
// ReadLogRecords).
class LogReader {
public:
    enum class Status {
        Ok,
        FileError,  // the file could not be opened or read
        NotALog,    // read, but not a station log: Error() says why
    };

    explicit LogReader(QString path, std::size_t blockBytes = std::size_t{1} << 20);

    Status Open();
    const QString& Error() const { return m_error; }
    const QStringList& Titles() const { return m_titles; }
    UnitCaptions Captions() const;

    // The next record line, parsed as ParseLogRecord does (every line after
    // the header is a record line, an empty one too); false at the end of the
    // file or when reading failed (Failed() then holds).
    bool Next(HistoryRecord& record);
    const LogLine& Line() const { return m_line; }
    bool Failed() const { return m_failed; }

    std::int64_t RecordLines() const { return m_records; }
    // Record lines whose time is no date (they are read with the time 0).
    std::int64_t UndatedLines() const { return m_undated; }
    std::int64_t CutLines() const { return m_cut; }
    // Where the next line starts, and the file's size when opened: the
    // position for a progress bar.
    std::int64_t Position() const { return m_bufferOffset + static_cast<std::int64_t>(m_begin); }
    std::int64_t FileSize() const { return m_fileSize; }
    std::int64_t LineLimit() const { return m_lineLimit; }

private:
    bool NextLine(LogLine& line);
    bool ReadMore();
    bool SkipOverlongLine(LogLine& line);
    void Rewind(std::int64_t offset);

    QString m_path;
    QFile m_file;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;          // next unread byte in m_buffer
    std::size_t m_end = 0;            // end of the valid bytes in m_buffer
    std::int64_t m_bufferOffset = 0;  // file offset of m_buffer[0]
    std::int64_t m_lineLimit;
    std::int64_t m_fileSize = 0;
    bool m_eof = false;
    bool m_failed = false;
    std::string m_longLine;  // the kept beginning of a line longer than the block
    LogLine m_line;
    QString m_error;
    QStringList m_titles;
    std::int64_t m_records = 0;
    std::int64_t m_undated = 0;
    std::int64_t m_cut = 0;
};

// What ReadLogRecords saw.
struct LogReadSummary {
    LogReader::Status status = LogReader::Status::FileError;
    QString error;
    QStringList titles;
    UnitCaptions captions;
    std::int64_t records = 0;  // record lines handed to the callback
    std::int64_t undated = 0;
    std::int64_t cut = 0;
    bool stopped = false;  // the callback asked to stop
};

// Reads a whole log file, calling `onRecord` for each record line in file
// order; the callback returns false to stop. A file that is not a station
// log calls nothing. A read error part-way gives FileError after the records
// before it.
using LogRecordCallback = std::function<bool(const HistoryRecord& record, const LogLine& line)>;
LogReadSummary ReadLogRecords(const QString& path, const LogRecordCallback& onRecord);

// The imported file as a table: the header titles and one row per record
// line, each row's cells cut from its line on demand. A table of a file
// holds only the offsets of its lines (8 bytes a line) and reads the rows
// that are asked for from the file; it keeps the file open, so rows that
// were imported stay readable while the local copy grows or is deleted. Any
// thread may read it.
class LogTable {
public:
    LogTable() = default;
    // A table of a text held in memory (small texts, tests).
    explicit LogTable(QByteArray fileBytes);
    // A table of a file whose record lines start at `lineOffsets` and whose
    // last line ends at `end`, as LogReader found them.
    LogTable(const QString& path, QStringList titles, std::vector<std::int64_t> lineOffsets,
             std::int64_t end);

    const QStringList& Titles() const { return m_titles; }
    int RowCount() const { return static_cast<int>(m_lines.size()); }
    // The cell as bytes (at most kLogCellBytes) and as text (ISO-8859-1).
    std::string CellBytes(int row, int column) const;
    QString Cell(int row, int column) const;
    // The row's line without its line end, at most kLogLineLimit bytes.
    std::string Line(int row) const;
    UnitCaptions Captions() const;

private:
    std::string Read(std::int64_t offset, std::int64_t length) const;

    QByteArray m_bytes;
    QStringList m_titles;
    std::vector<std::int64_t> m_lines;  // offset of each record line
    std::int64_t m_end = 0;

    struct FileSource;
    std::shared_ptr<FileSource> m_file;  // null for a table held in memory
};

struct LogImportResult {
    enum class Status {
        Ok,
        FileError,      // the local copy could not be read; nothing changed
        NotALog,        // the file is no station log; nothing changed
        DatabaseError,  // the database kept its previous content
    };
    Status status = Status::FileError;
    std::shared_ptr<const LogTable> table;  // null when the file could not be read
    UnitCaptions captions;
    std::int64_t records = 0;  // rows written to Records
    std::int64_t undated = 0;  // of them, rows whose time was no date
    QString error;
    // The archive's part: its provenance row, or why it failed (the refill
    // stands either way).
    bool archived = false;
    ArchiveImportInfo archive;
    QString archiveError;
};

// Progress of an import in percent (0..100), called on the importing thread.
using ImportProgress = std::function<void(int percent)>;

// Imports a downloaded log file: checks that the local copy is a station
// log (LogReader::Open), then streams it and in one transaction empties
// Records and Param and writes one row per record line, so that the database
// holds exactly this file's records; any failure rolls back and leaves the
// previous history as it was.
//
// "打开文件失败" goes to `window` when the file cannot be read; a file that is
// no station log is named in a message (in `language`) that says the history
// was left as it was; database errors are reported by `database` through its
// own message sink. When the file was read, Save as and Graph
// of `window` are enabled at the end. The caller shows result.table in the
// imported table (LogImportTableModel) and keeps result.captions for the graph window.
//
// May run on any thread (typically a worker of its own); it uses only its
// arguments, and `window` is called through its thread-safe interface.
//
// The same pass adds the file's records to the archive at `archiveLocation`
// (empty: ArchiveLocationFor the database's folder; kArchiveOff: none) in a transaction of its
// own, committed after the refill's: a failing archive never undoes the
// refill, nor a failing refill the archive. A file that cannot be read to
// its end enters neither.
LogImportResult ImportDownloadedFile(const QString& localPath, const QString& databasePath,
                                     HistoryDatabase& database, ControlWindow* window,
                                     const ImportProgress& progress = {},
                                     UiLanguage language = UiLanguage::English,
                                     const QString& archiveLocation = {});

// Adds a log file's records to the archive at `location` in one
// transaction, without touching Orvane.mdb (for instance a file imported
// again into the archive only). False with the reason when the file is no
// log, cannot be read, or the archive fails; the archive is then unchanged.
// `progress` follows the reading of the file, inside the transaction.
bool ArchiveLogFile(const QString& path, const QString& location, const QString& station,
                    ArchiveImportInfo& summary, QString& error,
                    const ImportProgress& progress = {});

// The message of a file that is no station log.
QString NotALogMessage(const QString& fileName, UiLanguage language);

}  // namespace orvane
