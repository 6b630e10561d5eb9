#include "Archive.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <map>

#include "AppIni.h"
#include "ArchiveBackend.h"
#include "DataFolder.h"
#include "HistoryDatabase.h"
#include "RecordSummary.h"

namespace orvane {

QString ArchiveLocationFor(const QString& dataFolder) {
    const AppIni ini(QDir(dataFolder).filePath(QString::fromLatin1(kIniFileName)));
    const QString configured = ini.Read(QStringLiteral("Archive"), QStringLiteral("Location"));
    return configured.isEmpty() ? Archive::DefaultLocation(dataFolder) : configured;
}

QString ArchiveStationFor(const QString& dataFolder) {
    const AppIni ini(QDir(dataFolder).filePath(QString::fromLatin1(kIniFileName)));
    return ini.Read(QStringLiteral("Archive"), QStringLiteral("Station"));
}

bool DescribeArchiveSource(const QString& path, ArchiveSource& source, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    source.fileName = QFileInfo(path).fileName();
    source.size = file.size();
    source.sha256 = QString::fromLatin1(hash.result().toHex());
    return true;
}

size_t Archive::KeyHash::operator()(const Key& k) const {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &k.time, sizeof bits);
    bits ^= static_cast<std::uint64_t>(static_cast<std::uint32_t>(k.no)) * 0x9E3779B97F4A7C15ull;
    bits ^= bits >> 29;
    return static_cast<size_t>(bits * 0xBF58476D1CE4E5B9ull);
}

bool Archive::IsPostgresLocation(const QString& location) {
    return location.startsWith(QLatin1String("postgresql://")) ||
           location.startsWith(QLatin1String("postgres://"));
}

QString Archive::DefaultLocation(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QString::fromLatin1(kArchiveFileName));
}

std::unique_ptr<Archive> Archive::Open(const QString& location, QString& error) {
    std::unique_ptr<ArchiveBackend> backend = IsPostgresLocation(location)
                                                  ? OpenPostgresArchive(location, error)
                                                  : OpenSqliteArchive(location, error);
    if (!backend) return nullptr;
    return std::unique_ptr<Archive>(new Archive(std::move(backend)));
}

Archive::Archive(std::unique_ptr<ArchiveBackend> backend) : m_backend(std::move(backend)) {}

Archive::~Archive() {
    Rollback();
}

QString Archive::Location() const {
    return m_backend->Location();
}

bool Archive::Fail(const QString& text) {
    m_error = text;
    return false;
}

bool Archive::Begin(const ArchiveSource& source) {
    if (m_importing) return Fail(QStringLiteral("An import into the archive is already running."));
    m_station =
        source.station.isEmpty() ? QString::fromLatin1(kDefaultArchiveStation) : source.station;
    m_import = {};
    m_import.station = m_station;
    m_import.fileName = source.fileName;
    m_import.fileSize = source.size;
    m_import.sha256 = source.sha256;
    m_import.importedAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    m_seen.clear();
    m_seenLines.clear();
    m_rows.clear();
    m_occurrences.clear();
    m_lines.clear();
    m_lineNumber = 0;
    if (!m_backend->Begin()) return Fail(m_backend->Error());
    if (!m_backend->AddImport(m_import)) {
        m_error = m_backend->Error();
        m_backend->Rollback();
        return false;
    }
    m_importing = true;
    return true;
}

bool Archive::Add(const HistoryRecord& record, std::string_view line) {
    if (!m_importing) return Fail(QStringLiteral("No import into the archive was begun."));
    ++m_lineNumber;
    ++m_import.rowsRead;
    // ParseDateTime gives 0 for a text that is no date; such lines would all
    // share one key, so they are kept apart by their text instead.
    if (record.Time == 0.0) {
        ++m_import.unreadable;
        const std::int32_t occurrence = m_seenLines[std::string(line)]++;
        m_lines.push_back({QByteArray(line.data(), static_cast<qsizetype>(line.size())), occurrence,
                           m_lineNumber});
    } else {
        if (m_import.firstTime == 0.0 || record.Time < m_import.firstTime)
            m_import.firstTime = record.Time;
        if (m_import.lastTime == 0.0 || record.Time > m_import.lastTime)
            m_import.lastTime = record.Time;
        m_occurrences.push_back(m_seen[Key{record.Time, record.No}]++);
        m_rows.push_back(record);
    }
    if (m_rows.size() + m_lines.size() >= kBatchRows) return Flush();
    return true;
}

bool Archive::Flush() {
    std::int64_t added = 0;
    if (!m_rows.empty()) {
        if (!m_backend->AddRecords(m_station, m_import.id, m_rows, m_occurrences, added)) {
            m_error = m_backend->Error();
            Rollback();
            return false;
        }
        m_import.added += added;
        m_import.duplicates += static_cast<std::int64_t>(m_rows.size()) - added;
    }
    if (!m_lines.empty() && !m_backend->AddUnreadable(m_station, m_import.id, m_lines, added)) {
        m_error = m_backend->Error();
        Rollback();
        return false;
    }
    m_rows.clear();
    m_occurrences.clear();
    m_lines.clear();
    return true;
}

bool Archive::Commit(ArchiveImportInfo* summary) {
    if (!m_importing) return Fail(QStringLiteral("No import into the archive was begun."));
    if (!Flush()) return false;
    if (!m_backend->UpdateImport(m_import) || !m_backend->Commit()) {
        m_error = m_backend->Error();
        Rollback();
        return false;
    }
    m_importing = false;
    m_seen.clear();
    m_seenLines.clear();
    if (summary) *summary = m_import;
    return true;
}

void Archive::Rollback() {
    if (!m_importing) return;
    m_importing = false;
    m_backend->Rollback();
    m_rows.clear();
    m_occurrences.clear();
    m_lines.clear();
    m_seen.clear();
    m_seenLines.clear();
}

bool Archive::Info(ArchiveInfo& info) {
    info = {};
    info.backend = m_backend->Kind();
    info.location = m_backend->Location();
    info.schemaVersion = m_backend->SchemaVersion();
    if (!m_backend->Count(info.records, info.unreadable) || !m_backend->ReadImports(info.imports))
        return Fail(m_backend->Error());
    return true;
}

bool Archive::CheckColumns(const QStringList& columns) {
    if (columns.isEmpty() || columns.size() > 16)
        return Fail(QStringLiteral("Between 1 and 16 columns can be read at once."));
    for (const QString& column : columns)
        if (!HistoryDatabase::IsQuantityColumn(column))
            return Fail(QStringLiteral("Unknown column: %1").arg(column));
    return true;
}

bool Archive::ReadBounds(double& first, double& last) {
    first = last = 0;
    bool any = false;
    if (!m_backend->Bounds(first, last, any)) return Fail(m_backend->Error());
    m_error.clear();
    return any;
}

bool Archive::ReadRows(double start, double end, const QStringList& columns, const RowReader& row) {
    if (!CheckColumns(columns)) return false;
    return m_backend->ScanRange(start, end, columns, row) || Fail(m_backend->Error());
}

bool Archive::ReadDetail(double start, double end, const QStringList& columns, int slices,
                         RangeDetail& detail) {
    detail = RangeDetail();
    if (!CheckColumns(columns)) return false;
    DetailStore store;
    store.scan = [this](double from, double to, const QStringList& c, const RowReader& row) {
        return m_backend->ScanRange(from, to, c, row);
    };
    store.summaries = [this](int level, long long first, long long last, const QStringList& c,
                             const std::function<void(const double*)>& cell) {
        return m_backend->ReadSummaries(level, first, last, c, cell);
    };
    return ReadDetailFrom(store, start, end, columns, slices, detail) || Fail(m_backend->Error());
}

bool CopyArchive(Archive& from, Archive& to, QString& error, ArchiveCopySummary* summary) {
    ArchiveBackend& source = from.Backend();
    ArchiveBackend& target = to.Backend();
    ArchiveCopySummary counts;
    auto fail = [&](const QString& text) {
        error = text;
        target.Rollback();
        return false;
    };
    std::vector<ArchiveImportInfo> imports;
    if (!source.ReadImports(imports)) {
        error = source.Error();
        return false;
    }
    if (!target.Begin()) {
        error = target.Error();
        return false;
    }
    // Provenance rows first, so that every record keeps pointing at the
    // import it came from under the target's own ids.
    std::map<std::int64_t, std::int64_t> importIds;
    for (ArchiveImportInfo import : imports) {
        const std::int64_t sourceId = import.id;
        std::int64_t id = 0;
        if (!target.FindImport(import, id)) return fail(target.Error());
        if (id == 0) {
            if (!target.AddImport(import)) return fail(target.Error());
            id = import.id;
            ++counts.imports;
        }
        importIds[sourceId] = id;
    }

    // Rows wait in one batch per station and import, since the scan in Time
    // order interleaves stations that logged at the same minutes.
    struct Batch {
        std::vector<HistoryRecord> rows;
        std::vector<std::int32_t> occurrences;
    };
    std::map<std::pair<QString, std::int64_t>, Batch> batches;
    QString targetError;
    auto flush = [&](const std::pair<QString, std::int64_t>& key, Batch& batch) {
        std::int64_t added = 0;
        if (batch.rows.empty()) return true;
        if (!target.AddRecords(key.first, importIds[key.second], batch.rows, batch.occurrences,
                               added)) {
            targetError = target.Error();
            return false;
        }
        counts.added += added;
        batch.rows.clear();
        batch.occurrences.clear();
        return true;
    };
    const bool scanned = source.ScanRecords([&](const QString& station, std::int64_t importId,
                                                const HistoryRecord& row, std::int32_t occurrence) {
        auto key = std::pair(station, importId);
        Batch& batch = batches[key];
        batch.rows.push_back(row);
        batch.occurrences.push_back(occurrence);
        ++counts.records;
        return batch.rows.size() < Archive::kBatchRows || flush(key, batch);
    });
    if (!targetError.isEmpty()) return fail(targetError);
    if (!scanned) return fail(source.Error());
    for (auto& [key, batch] : batches)
        if (!flush(key, batch)) return fail(targetError);

    const bool linesScanned = source.ScanUnreadable(
        [&](const QString& lineStation, std::int64_t lineImport, const ArchiveLine& line) {
            std::int64_t added = 0;
            if (!target.AddUnreadable(lineStation, importIds[lineImport], {line}, added)) {
                targetError = target.Error();
                return false;
            }
            counts.unreadable += added;
            return true;
        });
    if (!targetError.isEmpty()) return fail(targetError);
    if (!linesScanned) return fail(source.Error());
    if (!target.Commit()) return fail(target.Error());
    if (summary) *summary = counts;
    return true;
}

bool CopyArchive(const QString& fromLocation, const QString& toLocation, QString& error,
                 ArchiveCopySummary* summary) {
    std::unique_ptr<Archive> from = Archive::Open(fromLocation, error);
    if (!from) return false;
    std::unique_ptr<Archive> to = Archive::Open(toLocation, error);
    if (!to) return false;
    return CopyArchive(*from, *to, error, summary);
}

}  // namespace orvane
