#include "LogImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <charconv>
#include <climits>
#include <cstring>

#include "AppIni.h"
#include "ControlWindow.h"
#include "DataFolder.h"
#include "HistoryDatabase.h"
#include "HistoryTime.h"

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
        m_lines.push_back({static_cast<std::int64_t>(start), static_cast<std::int32_t>(length)});
    });
}

std::string_view LogTable::Line(int row) const {
    if (row < 0 || row >= RowCount()) return {};
    const LineRef& ref = m_lines[static_cast<size_t>(row)];
    return std::string_view(m_bytes.constData() + ref.start, static_cast<size_t>(ref.length));
}

std::string_view LogTable::CellBytes(int row, int column) const {
    if (column < 0 || column >= kLogColumns) return {};
    std::string_view cell = SplitLogLine(Line(row))[static_cast<size_t>(column)];
    return cell.substr(0, kLogCellBytes);
}

QString LogTable::Cell(int row, int column) const {
    const std::string_view cell = CellBytes(row, column);
    return QString::fromLatin1(cell.data(), static_cast<qsizetype>(cell.size()));
}

UnitCaptions LogTable::Captions() const {
    auto title = [this](int i) {
        return i < m_titles.size() ? UnitCaption(m_titles[i]) : QString();
    };
    return {title(2), title(4), title(11), title(6), title(15)};
}

QString ArchiveLocationFor(const QString& dataFolder) {
    const AppIni ini(QDir(dataFolder).filePath(QString::fromLatin1(kIniFileName)));
    const QString configured = ini.Read(QStringLiteral("Archive"), QStringLiteral("Location"));
    return configured.isEmpty() ? Archive::DefaultLocation(dataFolder) : configured;
}

bool ArchiveLogTable(const LogTable& table, const QString& localPath, const QString& location,
                     const QString& dataFolder, ArchiveImportInfo& summary, QString& error) {
    ArchiveSource source;
    if (!DescribeArchiveSource(localPath, source, error)) return false;
    const AppIni ini(QDir(dataFolder).filePath(QString::fromLatin1(kIniFileName)));
    source.station = ini.Read(QStringLiteral("Archive"), QStringLiteral("Station"));
    std::unique_ptr<Archive> archive = Archive::Open(location, error);
    if (!archive || !archive->Begin(source)) {
        if (archive) error = archive->LastError();
        return false;
    }
    HistoryRecord record;
    for (int row = 0; row < table.RowCount(); ++row) {
        const std::string_view line = table.Line(row);
        ParseLogRecord(line, record);
        if (!archive->Add(record, line)) {
            error = archive->LastError();
            return false;
        }
    }
    if (archive->Commit(&summary)) return true;
    error = archive->LastError();
    return false;
}

LogImportResult ImportDownloadedFile(const QString& localPath, const QString& databasePath,
                                     HistoryDatabase& database, ControlWindow* window,
                                     const ImportProgress& progress,
                                     const QString& archiveLocation) {
    LogImportResult result;
    int lastPercent = -1;
    auto report = [&](int percent) {
        if (progress && percent != lastPercent) progress(percent);
        lastPercent = percent;
    };
    report(0);

    QFile file(localPath);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) bytes.clear();
    }
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        result.status = LogImportResult::Status::FileError;
        result.error = file.errorString();
        if (window) window->MessageBox(kOpenFileError);
        return result;
    }
    file.close();

    auto table = std::make_shared<LogTable>(std::move(bytes));
    result.table = table;
    result.captions = table->Captions();

    auto finish = [&](LogImportResult::Status status) {
        result.status = status;
        if (status != LogImportResult::Status::Ok) {
            result.error = database.LastError();
            database.RollbackTransaction();
            result.records = 0;
        }
        database.CloseRecordsTable();
        // The archive follows the refill, whatever became of it, in its own
        // transaction.
        const QString dataFolder = QFileInfo(databasePath).absolutePath();
        result.archived = ArchiveLogTable(
            *table, localPath,
            archiveLocation.isEmpty() ? ArchiveLocationFor(dataFolder) : archiveLocation,
            dataFolder, result.archive, result.archiveError);
        if (window) {
            window->SetEnabled(1005, true);
            window->SetEnabled(1008, true);
        }
        report(100);
        return result;
    };

    if (database.Open(databasePath) != 0 || database.BeginTransaction() != 0 ||
        database.DeleteAll() != 0 || database.OpenRecordsTable() != 0)
        return finish(LogImportResult::Status::DatabaseError);

    HistoryRecord record;
    const int rows = table->RowCount();
    for (int row = 0; row < rows; ++row) {
        ParseLogRecord(table->Line(row), record);
        if (database.AddRecord(record) != 0) return finish(LogImportResult::Status::DatabaseError);
        ++result.records;
        report(static_cast<int>(99LL * (row + 1) / rows));
    }
    if (database.CommitTransaction() != 0) return finish(LogImportResult::Status::DatabaseError);
    return finish(LogImportResult::Status::Ok);
}

}  // namespace orvane
