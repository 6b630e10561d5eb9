#include "LogImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <mutex>

#include "AppIni.h"
#include "ControlWindow.h"
#include "DataFolder.h"
#include "HistoryDatabase.h"
#include "HistoryTime.h"
#include "SdCardControls.h"

namespace orvane {

namespace {

const QString kOpenFileError = QStringLiteral("打开文件失败");

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trimmed(std::string_view v) {
    while (!v.empty() && IsBlank(v.front())) v.remove_prefix(1);
    while (!v.empty() && IsBlank(v.back())) v.remove_suffix(1);
    return v;
}

// Leading integer: blanks, optional sign, digits; no digits read 0.
std::int32_t ReadLogInteger(std::string_view v) {
    size_t i = 0;
    while (i < v.size() && IsBlank(v[i])) ++i;
    bool negative = false;
    if (i < v.size() && (v[i] == '+' || v[i] == '-')) negative = v[i++] == '-';
    long long value = 0;
    for (; i < v.size() && IsDigit(v[i]); ++i) {
        value = value * 10 + (v[i] - '0');
        if (value > INT_MAX) {
            value = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
            break;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

// Leading decimal number with the point as separator whatever the locale;
// no number reads 0.
float ReadLogDecimal(std::string_view v) {
    size_t i = 0;
    while (i < v.size() && IsBlank(v[i])) ++i;
    bool negative = false;
    if (i < v.size() && (v[i] == '+' || v[i] == '-')) negative = v[i++] == '-';
    // from_chars would also take "inf" and "nan"; a reading starts with a digit or point.
    if (i >= v.size() || !(IsDigit(v[i]) || v[i] == '.')) return 0.0f;
    double value = 0.0;
    const auto r = std::from_chars(v.data() + i, v.data() + v.size(), value);
    if (r.ec == std::errc::result_out_of_range) return negative ? -3.4e38f : 3.4e38f;
    if (r.ec != std::errc()) return 0.0f;
    return static_cast<float>(negative ? -value : value);
}

std::int32_t IntegerReading(std::string_view v) {
    return IsMissingReading(v) ? NoValue : ReadLogInteger(v);
}

float DecimalReading(std::string_view v) {
    return IsMissingReading(v) ? static_cast<float>(NoValue) : ReadLogDecimal(v);
}

// Lines of a text read in text mode: CR LF and LF end a line; a last line
// without an end still counts, nothing after the final line end does.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
    size_t pos = 0;
    while (pos < text.size()) {
        const void* found = std::memchr(text.data() + pos, '\n', text.size() - pos);
        const size_t end = found
                               ? static_cast<size_t>(static_cast<const char*>(found) - text.data())
                               : text.size();
        size_t length = end - pos;
        if (found && length > 0 && text[end - 1] == '\r') --length;
        f(pos, length);
        pos = found ? end + 1 : text.size();
    }
}

}  // namespace

std::array<std::string_view, kLogColumns> SplitLogLine(std::string_view line) {
    std::array<std::string_view, kLogColumns> values{};
    size_t from = line.empty() ? 0 : 1;  // the first comma is looked for from the second character
    size_t begin = 0;
    for (int i = 0; i < kLogColumns - 1; ++i) {
        const size_t comma = line.find(',', from);
        if (comma == std::string_view::npos) {
            values[i] = line.substr(begin);
            return values;
        }
        values[i] = line.substr(begin, comma - begin);
        begin = comma + 1;
        from = begin;
    }
    values[kLogColumns - 1] = line.substr(begin);
    return values;
}

bool IsMissingReading(std::string_view value) {
    for (char c : value)
        if (IsDigit(c)) return false;
    return true;
}

void ParseLogRecord(std::string_view line, HistoryRecord& r) {
    r = HistoryRecord{};
    const auto v = SplitLogLine(line);
    r.No = ReadLogInteger(v[0]);
    r.Time = ParseDateTime(Trimmed(v[1]));
    r.OutTemp = DecimalReading(v[2]);
    r.OutHumi = IntegerReading(v[3]);
    r.AbsPressure = DecimalReading(v[4]);
    r.RelPressure = DecimalReading(v[5]);
    r.Wind = DecimalReading(v[6]);
    r.Gust = DecimalReading(v[7]);
    r.DewPoint = DecimalReading(v[8]);
    r.WindDirection = IntegerReading(v[9]);
    r.Rain = DecimalReading(v[10]);
    r.RainDay = DecimalReading(v[11]);
    r.RainWeek = DecimalReading(v[12]);
    r.RainMonth = DecimalReading(v[13]);
    r.RainYear = DecimalReading(v[14]);
    r.Light = DecimalReading(v[15]);
    r.Extra = IntegerReading(v[16]);
    r.UV = IntegerReading(v[17]);
}

QString UnitCaption(const QString& title) {
    const qsizetype open = title.indexOf(QLatin1Char('('));
    return open < 0 ? title : title.mid(open);
}

// ---- LogReader ----

namespace {

bool IsLogTitle(std::string_view title) {
    if (Trimmed(title).empty()) return false;
    for (char c : title) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) return false;
    }
    return true;
}

bool IsDated(std::string_view line) {
    return ParseDateTime(Trimmed(SplitLogLine(line)[1])) != 0.0;
}

}  // namespace

LogReader::LogReader(QString path, std::size_t blockBytes)
    : m_path(std::move(path)),
      m_file(m_path),
      m_buffer(std::max<std::size_t>(blockBytes, 16)),
      m_lineLimit(
          std::min<std::int64_t>(kLogLineLimit, static_cast<std::int64_t>(m_buffer.size() / 2))) {}

UnitCaptions LogReader::Captions() const {
    auto title = [this](int i) {
        return i < m_titles.size() ? UnitCaption(m_titles[i]) : QString();
    };
    return {title(2), title(4), title(11), title(6), title(15)};
}

LogReader::Status LogReader::Open() {
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_error = m_file.errorString();
        return Status::FileError;
    }
    m_fileSize = m_file.size();
    LogLine header;
    if (!NextLine(header)) {
        if (m_failed) return Status::FileError;
        m_error = QStringLiteral("the file is empty");
        return Status::NotALog;
    }
    const auto titles = SplitLogLine(header.text);
    const bool titled =
        !header.cut && std::count(header.text.begin(), header.text.end(), ',') == kLogColumns - 1 &&
        std::all_of(titles.begin(), titles.end(), IsLogTitle);
    if (!titled) {
        m_error =
            QStringLiteral("its first line is not a line of %1 column titles").arg(kLogColumns);
        return Status::NotALog;
    }
    for (std::string_view title : titles)
        m_titles.append(QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size())));

    // A file of titles alone, or of lines none of which has a date, holds no
    // record worth replacing a history with. The records are read again from
    // here on, so the look ahead costs one line for a real log.
    const std::int64_t firstRecord = Position();
    LogLine line;
    bool dated = false;
    while (!dated && NextLine(line)) dated = IsDated(line.text);
    if (m_failed) return Status::FileError;
    if (!dated) {
        m_error = QStringLiteral("no line of it has a time that reads as a date");
        return Status::NotALog;
    }
    Rewind(firstRecord);
    return m_failed ? Status::FileError : Status::Ok;
}

void LogReader::Rewind(std::int64_t offset) {
    if (offset >= m_bufferOffset && offset <= m_bufferOffset + static_cast<std::int64_t>(m_end)) {
        m_begin = static_cast<std::size_t>(offset - m_bufferOffset);
        return;
    }
    if (!m_file.seek(offset)) {
        m_failed = true;
        m_error = m_file.errorString();
        return;
    }
    m_bufferOffset = offset;
    m_begin = m_end = 0;
    m_eof = false;
}

bool LogReader::ReadMore() {
    // Keep the unread part at the front, so a line never straddles the end.
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_bufferOffset += static_cast<std::int64_t>(m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    const qint64 n =
        m_file.read(m_buffer.data() + m_end, static_cast<qint64>(m_buffer.size() - m_end));
    if (n < 0) {
        m_failed = true;
        m_error = m_file.errorString();
        return false;
    }
    if (n == 0) m_eof = true;
    m_end += static_cast<std::size_t>(n);
    return true;
}

bool LogReader::SkipOverlongLine(LogLine& line) {
    // Keep the line's beginning, then drop blocks until its end.
    line.offset = Position();
    m_longLine.assign(m_buffer.data() + m_begin, static_cast<std::size_t>(m_lineLimit));
    m_bufferOffset += static_cast<std::int64_t>(m_end);
    m_begin = m_end = 0;
    for (;;) {
        if (!ReadMore()) return false;
        if (m_end == 0) break;  // the file ends inside the line
        if (const void* found = std::memchr(m_buffer.data(), '\n', m_end)) {
            m_begin =
                static_cast<std::size_t>(static_cast<const char*>(found) - m_buffer.data()) + 1;
            break;
        }
        m_bufferOffset += static_cast<std::int64_t>(m_end);
        m_end = 0;
    }
    line.text = m_longLine;
    line.cut = true;
    return true;
}

bool LogReader::NextLine(LogLine& line) {
    if (m_failed) return false;
    for (;;) {
        const char* base = m_buffer.data();
        const std::size_t available = m_end - m_begin;
        const void* found = std::memchr(base + m_begin, '\n', available);
        if (found || (m_eof && available > 0)) {
            const std::size_t end =
                found ? static_cast<std::size_t>(static_cast<const char*>(found) - base) : m_end;
            std::size_t length = end - m_begin;
            // CR LF and LF end a line; a CR of a last line without LF stays.
            if (found && length > 0 && base[end - 1] == '\r') --length;
            line.offset = Position();
            line.cut = static_cast<std::int64_t>(length) > m_lineLimit;
            line.text = std::string_view(base + m_begin,
                                         line.cut ? static_cast<std::size_t>(m_lineLimit) : length);
            m_begin = found ? end + 1 : m_end;
            return true;
        }
        if (m_eof) return false;
        if (static_cast<std::int64_t>(available) >= m_lineLimit && m_begin == 0 &&
            m_end == m_buffer.size())
            return SkipOverlongLine(line);
        if (!ReadMore()) return false;
    }
}

bool LogReader::Next(HistoryRecord& record) {
    if (!NextLine(m_line)) return false;
    ParseLogRecord(m_line.text, record);
    ++m_records;
    if (record.Time == 0.0) ++m_undated;
    if (m_line.cut) ++m_cut;
    return true;
}

LogReadSummary ReadLogRecords(const QString& path, const LogRecordCallback& onRecord) {
    LogReader reader(path);
    LogReadSummary summary;
    summary.status = reader.Open();
    summary.titles = reader.Titles();
    summary.captions = reader.Captions();
    if (summary.status == LogReader::Status::Ok) {
        HistoryRecord record;
        while (reader.Next(record)) {
            if (onRecord && !onRecord(record, reader.Line())) {
                summary.stopped = true;
                break;
            }
        }
        if (reader.Failed()) summary.status = LogReader::Status::FileError;
    }
    summary.error = reader.Error();
    summary.records = reader.RecordLines();
    summary.undated = reader.UndatedLines();
    summary.cut = reader.CutLines();
    return summary;
}

// ---- LogTable ----

struct LogTable::FileSource {
    std::mutex mutex;
    QFile file;
    // The last block read: rows are asked for a screenful at a time.
    std::int64_t cacheStart = 0;
    QByteArray cache;
};

LogTable::LogTable(QByteArray fileBytes) : m_bytes(std::move(fileBytes)) {
    const std::string_view text(m_bytes.constData(), static_cast<size_t>(m_bytes.size()));
    bool header = true;
    ForEachLine(text, [&](size_t start, size_t length) {
        if (header) {
            header = false;
            for (std::string_view title : SplitLogLine(text.substr(start, length)))
                m_titles.append(
                    QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size())));
            return;
        }
        m_lines.push_back(static_cast<std::int64_t>(start));
    });
    m_end = m_bytes.size();
}

LogTable::LogTable(const QString& path, QStringList titles, std::vector<std::int64_t> lineOffsets,
                   std::int64_t end)
    : m_titles(std::move(titles)),
      m_lines(std::move(lineOffsets)),
      m_end(end),
      m_file(std::make_shared<FileSource>()) {
    m_file->file.setFileName(path);
    (void)m_file->file.open(QIODevice::ReadOnly);  // a table it cannot read shows empty rows
}

std::string LogTable::Read(std::int64_t offset, std::int64_t length) const {
    if (!m_file) {
        const std::int64_t from = std::min<std::int64_t>(offset, m_bytes.size());
        const std::int64_t n = std::min<std::int64_t>(length, m_bytes.size() - from);
        return std::string(m_bytes.constData() + from, static_cast<std::size_t>(n));
    }
    constexpr std::int64_t kBlock = 256 * 1024;
    std::lock_guard lock(m_file->mutex);
    FileSource& source = *m_file;
    const std::int64_t cached = source.cache.size();
    if (offset < source.cacheStart || offset + length > source.cacheStart + cached) {
        source.cache.clear();
        source.cacheStart = offset;
        if (source.file.isOpen() && source.file.seek(offset))
            source.cache = source.file.read(std::max(length, kBlock));
    }
    const std::int64_t from = offset - source.cacheStart;
    const std::int64_t n = std::clamp<std::int64_t>(source.cache.size() - from, 0, length);
    return std::string(source.cache.constData() + from, static_cast<std::size_t>(n));
}

std::string LogTable::Line(int row) const {
    if (row < 0 || row >= RowCount()) return {};
    const std::int64_t start = m_lines[static_cast<size_t>(row)];
    const bool last = row + 1 == RowCount();
    const std::int64_t stop = last ? m_end : m_lines[static_cast<size_t>(row) + 1];
    // Room for the line end, so that a line of exactly the limit is not cut.
    std::string line = Read(start, std::min<std::int64_t>(stop - start, kLogLineLimit + 2));
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
        if (!line.empty() && line.back() == '\r') line.pop_back();
    }
    if (static_cast<std::int64_t>(line.size()) > kLogLineLimit)
        line.resize(static_cast<std::size_t>(kLogLineLimit));
    return line;
}

std::string LogTable::CellBytes(int row, int column) const {
    if (column < 0 || column >= kLogColumns) return {};
    const std::string line = Line(row);
    const std::string_view cell = SplitLogLine(line)[static_cast<size_t>(column)];
    return std::string(cell.substr(0, kLogCellBytes));
}

QString LogTable::Cell(int row, int column) const {
    const std::string cell = CellBytes(row, column);
    return QString::fromLatin1(cell.data(), static_cast<qsizetype>(cell.size()));
}

UnitCaptions LogTable::Captions() const {
    auto title = [this](int i) {
        return i < m_titles.size() ? UnitCaption(m_titles[i]) : QString();
    };
    return {title(2), title(4), title(11), title(6), title(15)};
}

QString NotALogMessage(const QString& fileName, UiLanguage language) {
    if (EffectiveLanguage(language) == UiLanguage::Chinese)
        return QStringLiteral("%1 不是气象站的记录文件，历史记录保持不变。").arg(fileName);
    return QStringLiteral("%1 is not a station log file; the history was left as it was.")
        .arg(fileName);
}

namespace {

// An archive import that runs beside the refill; it drops out (rolled back)
// at its first failure and keeps the reason.
struct ArchiveFeed {
    std::unique_ptr<Archive> archive;
    QString error;

    void Start(const QString& path, const QString& location, const QString& station) {
        if (location == QLatin1String(kArchiveOff)) return;
        ArchiveSource source;
        if (!DescribeArchiveSource(path, source, error)) return;
        source.station = station;
        archive = Archive::Open(location, error);
        if (archive && !archive->Begin(source)) Drop();
    }
    void Add(const HistoryRecord& record, std::string_view line) {
        if (archive && !archive->Add(record, line)) Drop();
    }
    bool Commit(ArchiveImportInfo& summary) {
        if (archive && !archive->Commit(&summary)) Drop();
        return archive != nullptr;
    }
    void Drop() {
        error = archive->LastError();
        archive.reset();
    }
};

}  // namespace

bool ArchiveLogFile(const QString& path, const QString& location, const QString& station,
                    ArchiveImportInfo& summary, QString& error, const ImportProgress& progress) {
    LogReader reader(path);
    if (reader.Open() != LogReader::Status::Ok) {
        error = reader.Error();
        return false;
    }
    ArchiveFeed feed;
    feed.Start(path, location, station);
    HistoryRecord record;
    const double size = static_cast<double>(std::max<std::int64_t>(reader.FileSize(), 1));
    while (feed.archive && reader.Next(record)) {
        feed.Add(record, reader.Line().text);
        if (progress)
            progress(static_cast<int>(99.0 * static_cast<double>(reader.Position()) / size));
    }
    if (reader.Failed()) {
        error = reader.Error();
        return false;
    }
    const bool ok = feed.Commit(summary);
    error = feed.error;
    return ok;
}

LogImportResult ImportDownloadedFile(const QString& localPath, const QString& databasePath,
                                     HistoryDatabase& database, ControlWindow* window,
                                     const ImportProgress& progress, UiLanguage language,
                                     const QString& archiveLocation) {
    LogImportResult result;
    int lastPercent = -1;
    auto report = [&](int percent) {
        if (progress && percent != lastPercent) progress(percent);
        lastPercent = percent;
    };
    report(0);

    LogReader reader(localPath);
    switch (reader.Open()) {
        case LogReader::Status::Ok:
            break;
        case LogReader::Status::FileError:
            result.status = LogImportResult::Status::FileError;
            result.error = reader.Error();
            if (window) window->MessageBox(kOpenFileError);
            return result;
        case LogReader::Status::NotALog:
            result.status = LogImportResult::Status::NotALog;
            result.error = reader.Error();
            if (window)
                window->MessageBox(NotALogMessage(QFileInfo(localPath).fileName(), language));
            return result;
    }
    result.captions = reader.Captions();

    // Checked before anything is written: a database that cannot take the
    // file leaves it as it was, and the rows are still shown.
    bool writing = database.Open(databasePath) == 0 && database.BeginTransaction() == 0 &&
                   database.DeleteAll() == 0 && database.OpenRecordsTable() == 0;
    bool databaseFailed = !writing;
    auto stopWriting = [&] {
        result.error = database.LastError();
        database.RollbackTransaction();
        result.records = 0;
        result.undated = 0;
        writing = false;
        databaseFailed = true;
    };
    if (databaseFailed) stopWriting();

    const QString dataFolder = QFileInfo(databasePath).absolutePath();
    ArchiveFeed archive;
    archive.Start(localPath,
                  archiveLocation.isEmpty() ? ArchiveLocationFor(dataFolder) : archiveLocation,
                  ArchiveStationFor(dataFolder));

    std::vector<std::int64_t> offsets;
    HistoryRecord record;
    const double size = static_cast<double>(std::max<std::int64_t>(reader.FileSize(), 1));
    while (reader.Next(record)) {
        offsets.push_back(reader.Line().offset);
        archive.Add(record, reader.Line().text);
        if (writing) {
            if (database.AddRecord(record) != 0) {
                stopWriting();
            } else {
                ++result.records;
                if (record.Time == 0.0) ++result.undated;
            }
        }
        if (progress)
            report(static_cast<int>(99.0 * static_cast<double>(reader.Position()) / size));
    }

    auto finish = [&](LogImportResult::Status status) {
        result.status = status;
        // After the refill's commit or rollback, so that each stands alone.
        if (!reader.Failed() && archive.archive) result.archived = archive.Commit(result.archive);
        result.archiveError = archive.error;
        database.CloseRecordsTable();
        if (window && result.table) {
            window->SetEnabled(SdCardId::kSaveAs, true);
            window->SetEnabled(SdCardId::kGraph, true);
        }
        report(100);
        return result;
    };
    if (reader.Failed()) {
        // Half a file must not become the history.
        if (writing) stopWriting();
        result.error = reader.Error();
        if (window) window->MessageBox(kOpenFileError);
        return finish(LogImportResult::Status::FileError);
    }
    result.table = std::make_shared<LogTable>(localPath, reader.Titles(), std::move(offsets),
                                              reader.Position());
    if (databaseFailed) return finish(LogImportResult::Status::DatabaseError);
    if (database.CommitTransaction() != 0) {
        stopWriting();
        return finish(LogImportResult::Status::DatabaseError);
    }
    return finish(LogImportResult::Status::Ok);
}

}  // namespace orvane
