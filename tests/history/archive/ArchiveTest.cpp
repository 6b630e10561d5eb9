#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <tuple>

#include "Archive.h"
#include "ArchiveBackend.h"
#include "HistoryDatabase.h"
#include "HistoryTestDatabase.h"
#include "HistoryTime.h"
#include "LogImport.h"
#include "PostgresServer.h"
#include "RecordSummary.h"

using namespace orvane;

namespace {

const char* const kHeader =
    "No,Time,Temp(C),Humi(%),AbsPress(hPa),RelPress(hPa),Wind,Gust,Dew,"
    "WindDir,Rain,DayRain,WeekRain,MonthRain,YearRain,Light,Extra,UVI";

// A record line; `no` < 0 leaves the record number blank (read as 0).
std::string Line(int no, const std::string& time, double temp) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "%s,%s,%.1f,50,1000.0,1010.0,1.0,2.0,3.0,90,0.0,0,0,0,0,100,0,3",
                  no < 0 ? " " : std::to_string(no).c_str(), time.c_str(), temp);
    return text;
}

// Record lines No first..last, one a minute from 2024-03-01 00:00 + (No - 1) minutes.
std::vector<std::string> Minutes(int first, int last) {
    std::vector<std::string> lines;
    const QDateTime start(QDate(2024, 3, 1), QTime(0, 0), Qt::UTC);
    for (int no = first; no <= last; ++no)
        lines.push_back(
            Line(no, start.addSecs(60LL * (no - 1)).toString("yyyy-MM-dd h:mm").toStdString(),
                 no * 0.5));
    return lines;
}

PostgresServer& Server() {
    static PostgresServer server;  // one per test program, stopped at exit
    return server;
}

// A fresh, empty database of the private server.
QString NewPostgresDatabase() {
    static int count = 0;
    if (!Server().Running()) return {};
    const QString name = QStringLiteral("archive%1").arg(++count);
    PGconn* admin = PQconnectdb(Server().Url().toUtf8().constData());
    PGresult* r = PQexec(admin, ("CREATE DATABASE " + name).toUtf8().constData());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
    PQfinish(admin);
    return ok ? Server().Url(name) : QString();
}

bool PostgresExec(const QString& url, const char* sql) {
    PGconn* c = PQconnectdb(url.toUtf8().constData());
    PGresult* r = PQexec(c, sql);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
    PQfinish(c);
    return ok;
}

using RecordKey = std::tuple<QString, double, int, int>;  // station, Time, No, occurrence

// Every record of an archive with its temperature; a key seen twice fails.
std::map<RecordKey, float> Records(Archive& archive) {
    std::map<RecordKey, float> records;
    EXPECT_TRUE(archive.Backend().ScanRecords(
        [&](const QString& station, std::int64_t, const HistoryRecord& r, std::int32_t occ) {
            EXPECT_TRUE(records.emplace(RecordKey{station, r.Time, r.No, occ}, r.OutTemp).second)
                << "key twice: " << r.Time << " " << r.No;
            return true;
        }));
    return records;
}

class ArchiveSuite : public ::testing::TestWithParam<const char*> {
protected:
    bool Postgres() const { return std::string(GetParam()) == "postgresql"; }

    QString NewLocation() {
        if (!Postgres()) return dir.filePath(QStringLiteral("a%1.sqlite").arg(++m_files));
        const QString url = NewPostgresDatabase();
        EXPECT_FALSE(url.isEmpty()) << Server().Error().toStdString();
        return url;
    }
    std::unique_ptr<Archive> Open(const QString& location) {
        QString error;
        auto archive = Archive::Open(location, error);
        EXPECT_TRUE(archive) << error.toStdString();
        return archive;
    }

    QString WriteLog(const QString& name, const std::vector<std::string>& lines) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kHeader);
        f.write("\r\n");
        for (const auto& l : lines) {
            f.write(l.data(), static_cast<qint64>(l.size()));
            f.write("\r\n");
        }
        return path;
    }

    // Imports a log file the way every import does; the provenance row.
    ArchiveImportInfo Import(const QString& location, const QString& path) {
        ArchiveImportInfo info;
        QString error;
        EXPECT_TRUE(ArchiveLogFile(path, location, {}, info, error)) << error.toStdString();
        EXPECT_EQ(info.rowsRead, info.added + info.duplicates + info.unreadable);
        return info;
    }

    QTemporaryDir dir;

private:
    int m_files = 0;
};

TEST_P(ArchiveSuite, OverlappingAndRepeatedFiles_InEveryOrder_AddEachRecordOnce) {
    const QString a = WriteLog("a.txt", Minutes(1, 40));
    const QString b = WriteLog("b.txt", Minutes(21, 60));
    const QString c = WriteLog("c.txt", Minutes(1, 60));
    std::vector<QString> order = {a, b, c};
    std::sort(order.begin(), order.end());
    do {
        const QString location = NewLocation();
        std::int64_t added = 0;
        for (const QString& file : order) added += Import(location, file).added;
        // The first file again adds nothing.
        const ArchiveImportInfo again = Import(location, order.front());
        EXPECT_EQ(again.added, 0);
        EXPECT_EQ(again.duplicates, again.rowsRead);
        EXPECT_EQ(added, 60);
        auto archive = Open(location);
        ASSERT_TRUE(archive);
        const auto records = Records(*archive);
        ASSERT_EQ(records.size(), 60u);
        int no = 1;
        for (const auto& [key, temp] : records) {  // Time order: No 1..60, values intact
            EXPECT_EQ(std::get<2>(key), no);
            EXPECT_FLOAT_EQ(temp, static_cast<float>(no) * 0.5f);
            ++no;
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_P(ArchiveSuite, RepeatedClockHours_KeepEveryPass) {
    struct Case {
        const char* name;
        std::vector<std::vector<std::string>> files;
        std::vector<std::int64_t> added;  // per file
        size_t records;
    };
    const std::vector<Case> cases = {
        // Daylight saving ends: 1:00-1:59 comes twice; the log has no record numbers.
        {"repeat without numbers",
         {{Line(-1, "2024-10-27 0:30", 1), Line(-1, "2024-10-27 1:00", 2),
           Line(-1, "2024-10-27 1:30", 3), Line(-1, "2024-10-27 1:00", 4),
           Line(-1, "2024-10-27 1:30", 5), Line(-1, "2024-10-27 2:00", 6)},
          {Line(-1, "2024-10-27 0:30", 1), Line(-1, "2024-10-27 1:00", 2),
           Line(-1, "2024-10-27 1:30", 3), Line(-1, "2024-10-27 1:00", 4),
           Line(-1, "2024-10-27 1:30", 5), Line(-1, "2024-10-27 2:00", 6)}},
         {6, 0},
         6},
        // The user sets the clock back; the record numbers tell the passes
        // apart even when a later file holds only the second one.
        {"clock set back with numbers",
         {{Line(1, "2024-05-01 10:00", 1), Line(2, "2024-05-01 10:10", 2),
           Line(3, "2024-05-01 10:05", 3), Line(4, "2024-05-01 10:10", 4)},
          {Line(3, "2024-05-01 10:05", 3), Line(4, "2024-05-01 10:10", 4),
           Line(5, "2024-05-01 10:15", 5)}},
         {4, 1},
         5},
        // A station that restarts its numbering: same numbers, other times.
        {"numbers restart",
         {{Line(1, "2024-06-01 8:00", 1), Line(2, "2024-06-01 8:01", 2)},
          {Line(1, "2024-06-02 8:00", 3), Line(2, "2024-06-02 8:01", 4)}},
         {2, 2},
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString location = NewLocation();
        for (size_t i = 0; i < c.files.size(); ++i)
            EXPECT_EQ(Import(location, WriteLog(QString("f%1.txt").arg(i), c.files[i])).added,
                      c.added[i]);
        auto archive = Open(location);
        ASSERT_TRUE(archive);
        EXPECT_EQ(Records(*archive).size(), c.records);
    }
}

TEST_P(ArchiveSuite, UnreadableTimes_KeptApartAndCounted_ProvenanceDescribesTheFile) {
    const QString location = NewLocation();
    const QString path = WriteLog(
        "mixed.txt", {Line(1, "2024-03-01 0:00", 1.0), Line(2, "garbage", 2.0), Line(3, "", 3.0),
                      Line(4, "2024-03-01 0:10", 4.0), Line(2, "garbage", 2.0)});
    const ArchiveImportInfo first = Import(location, path);
    const ArchiveImportInfo second = Import(location, path);
    auto archive = Open(location);
    ASSERT_TRUE(archive);
    ArchiveInfo info;
    ASSERT_TRUE(archive->Info(info)) << archive->LastError().toStdString();
    EXPECT_EQ(info.backend, GetParam());
    EXPECT_EQ(info.schemaVersion, kArchiveSchemaVersion);
    EXPECT_EQ(info.records, 2);
    EXPECT_EQ(info.unreadable, 3);  // the repeated garbage line is a line of its own
    ASSERT_EQ(info.imports.size(), 2u);
    const ArchiveImportInfo& row = info.imports[0];
    EXPECT_EQ(row.id, first.id);
    EXPECT_EQ(row.station, QString(kDefaultArchiveStation));
    EXPECT_EQ(row.fileName, "mixed.txt");
    EXPECT_EQ(row.fileSize, QFileInfo(path).size());
    EXPECT_EQ(row.sha256.size(), 64);
    EXPECT_EQ(row.sha256, first.sha256);
    EXPECT_DOUBLE_EQ(row.firstTime, 45352.0);
    EXPECT_DOUBLE_EQ(row.lastTime, 45352.0 + 10.0 / 1440);
    EXPECT_EQ(std::tuple(row.rowsRead, row.added, row.duplicates, row.unreadable),
              std::tuple(5, 2, 0, 3));
    const ArchiveImportInfo& again = info.imports[1];
    EXPECT_EQ(std::tuple(again.rowsRead, again.added, again.duplicates, again.unreadable),
              std::tuple(5, 0, 2, 3));
    EXPECT_EQ(again.id, second.id);
    EXPECT_LE(std::abs(QDateTime::fromString(again.importedAt, Qt::ISODateWithMs)
                           .secsTo(QDateTime::currentDateTimeUtc())),
              60);

    std::vector<QByteArray> lines;
    ASSERT_TRUE(archive->Backend().ScanUnreadable(
        [&](const QString&, std::int64_t importId, const ArchiveLine& line) {
            EXPECT_EQ(importId, first.id);
            lines.push_back(line.text);
            return true;
        }));
    std::sort(lines.begin(), lines.end());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], QByteArray::fromStdString(Line(2, "garbage", 2.0)));
    EXPECT_EQ(lines[1], lines[0]);
}

TEST_P(ArchiveSuite, KnownSha256OfTheImportedFile) {
    // The bytes of this file hash to the value below (sha256sum).
    EXPECT_EQ(Import(NewLocation(), WriteLog("x.txt", {Line(1, "2024-03-01 0:00", 5.0)})).sha256,
              "fca61f917af7e0e4d256b455ab2f3dec3130c3b61f80728c02ad8de749d4e0fa");
}

TEST_P(ArchiveSuite, ProcessKilledMidImport_ArchiveKeepsTheEarlierImportThenTakesTheFileOnce) {
    const QString location = NewLocation();
    Import(location, WriteLog("first.txt", Minutes(1, 100)));
    const int rows = static_cast<int>(Archive::kBatchRows) * 3;
    const QString big = WriteLog("big.txt", Minutes(51, 50 + rows));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        LogReader reader(big);
        if (reader.Open() != LogReader::Status::Ok) _exit(2);
        QString error;
        auto archive = Archive::Open(location, error);
        if (!archive || !archive->Begin({"big.txt", 1, "00", {}})) _exit(3);
        HistoryRecord record;
        for (int row = 0; reader.Next(record); ++row) {
            if (!archive->Add(record, reader.Line().text)) _exit(4);
            // Two batches are written by now: the kill lands inside the transaction.
            if (row == 2 * static_cast<int>(Archive::kBatchRows) + 5) raise(SIGKILL);
        }
        _exit(5);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "child status " << status;

    if (!Postgres()) {
        EXPECT_EQ(SqliteIntegrity(location), "ok");
    }
    {
        auto archive = Open(location);
        ASSERT_TRUE(archive);
        ArchiveInfo info;
        ASSERT_TRUE(archive->Info(info));
        EXPECT_EQ(info.records, 100);
        EXPECT_EQ(info.imports.size(), 1u);
    }
    const ArchiveImportInfo retry = Import(location, big);
    EXPECT_EQ(retry.added, rows - 50);
    EXPECT_EQ(retry.duplicates, 50);
    auto archive = Open(location);
    ASSERT_TRUE(archive);
    EXPECT_EQ(Records(*archive).size(), static_cast<size_t>(50 + rows));
}

TEST_P(ArchiveSuite, NewerSchemaIsRefused_CurrentOneReopensWithItsRecords) {
    const QString location = NewLocation();
    Import(location, WriteLog("a.txt", Minutes(1, 3)));
    auto again = Open(location);
    ASSERT_TRUE(again);
    ArchiveInfo info;
    ASSERT_TRUE(again->Info(info));
    EXPECT_EQ(info.records, 3);
    again.reset();
    if (Postgres()) {
        ASSERT_TRUE(PostgresExec(location, "UPDATE archiveversion SET version = 99"));
    } else {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(location).constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    QString error;
    EXPECT_FALSE(Archive::Open(location, error));
    EXPECT_TRUE(error.contains("version 99")) << error.toStdString();
}

// A chart of a long span reads the summaries that the imports kept in
// their own transactions: every record counted once however the files
// overlap, real readings only, the extremes kept; an archive from before the
// summaries gets them when it is opened.
TEST_P(ArchiveSuite, LongSpanChart_ReadsSummariesTheImportsKept) {
    const QString location = NewLocation();
    Import(location, WriteLog("a.txt", Minutes(1, 2000)));
    Import(location, WriteLog("b.txt", Minutes(1500, 3000)));
    const QStringList columns{"OutTemp", "UV"};
    const double start = DaysFromParts(2024, 2, 29, 22, 0, 0);
    const double end = DaysFromParts(2024, 3, 3, 4, 0, 0);
    auto summarisedRows = [&](Archive& archive) {
        long long rows = 0;
        EXPECT_TRUE(archive.Backend().ReadSummaries(
            1, SummaryBucket(start, 1), SummaryBucket(end, 1) + 1, columns,
            [&](const double* cell) { rows += static_cast<long long>(cell[0]); }));
        return rows;
    };
    auto olderArchive = [&] {
        if (Postgres())
            return PostgresExec(location,
                                "DROP TABLE recordsummary; UPDATE archiveversion SET version = 1");
        sqlite3* db = nullptr;
        const bool ok = sqlite3_open(QFile::encodeName(location).constData(), &db) == SQLITE_OK &&
                        sqlite3_exec(db,
                                     "DROP TABLE RecordSummary; DROP TABLE RecordSummaryState; "
                                     "PRAGMA user_version = 1",
                                     nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
    };
    for (const bool older : {false, true}) {
        SCOPED_TRACE(older ? "opened from version 1" : "after the imports");
        if (older) {
            ASSERT_TRUE(olderArchive());
        }
        auto archive = Open(location);
        ASSERT_TRUE(archive);
        // Before any chart has read them.
        EXPECT_EQ(summarisedRows(*archive), 3000);
        std::map<double, double> temps;
        ASSERT_TRUE(archive->ReadRows(start, end, {"OutTemp"},
                                      [&](double t, const double* v) { temps[t] = v[0]; }));
        ASSERT_EQ(temps.size(), 3000u);
        RangeDetail detail;
        ASSERT_TRUE(archive->ReadDetail(start, end, columns, 20, detail));
        EXPECT_FALSE(detail.exact);
        EXPECT_EQ(detail.rows, 3000);
        ASSERT_FALSE(detail.times[0].empty());
        EXPECT_LE(detail.times[0].size(), 40u);
        for (size_t i = 0; i < detail.times[0].size(); ++i)
            EXPECT_EQ(temps.at(detail.times[0][i]), detail.values[0][i]);
        EXPECT_EQ(*std::min_element(detail.values[0].begin(), detail.values[0].end()), 0.5);
        EXPECT_EQ(*std::max_element(detail.values[0].begin(), detail.values[0].end()), 1500.0);
        EXPECT_TRUE(std::all_of(detail.values[1].begin(), detail.values[1].end(),
                                [](double uv) { return uv == 3; }));
        double first = 0, last = 0;
        ASSERT_TRUE(archive->ReadBounds(first, last));
        EXPECT_EQ(first, temps.begin()->first);
        EXPECT_EQ(last, temps.rbegin()->first);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveSuite, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& paramInfo) { return std::string(paramInfo.param); });

// A full disk: the import fails with the reason and the archive stays as it
// was. A small tmpfs when this process may mount one; otherwise a file-size
// limit on a child process, which fails the same writes.
TEST(ArchiveDiskFull, ImportThatDoesNotFit_FailsClearly_ArchiveUnchanged) {
    QTemporaryDir dir;
    const QString mountPoint = dir.filePath("disk");
    QDir().mkpath(mountPoint);
    const bool mounted =
        mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=1m") == 0;
    const QString location = mountPoint + "/Archive.sqlite";
    auto logOf = [&](const QString& name, int first, int last) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kHeader);
        for (const auto& l : Minutes(first, last)) f.write(("\r\n" + l).c_str());
        return path;
    };
    ArchiveImportInfo info;
    QString error;
    ASSERT_TRUE(ArchiveLogFile(logOf("small.txt", 1, 200), location, {}, info, error))
        << error.toStdString();
    const QString big = logOf("big.txt", 100, 40000);  // several MiB of records and index

    if (mounted) {
        EXPECT_FALSE(ArchiveLogFile(big, location, {}, info, error));
        EXPECT_TRUE(error.contains("full")) << error.toStdString();
    } else {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{512 * 1024, 512 * 1024};
            setrlimit(RLIMIT_FSIZE, &limit);
            const bool ok = ArchiveLogFile(big, location, {}, info, error);
            _exit(!ok && !error.isEmpty() ? 0 : 1);
        }
        int status = 1;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(SqliteIntegrity(location), "ok");
    QString openError;
    auto archive = Archive::Open(location, openError);
    ASSERT_TRUE(archive) << openError.toStdString();
    ArchiveInfo after;
    ASSERT_TRUE(archive->Info(after));
    EXPECT_EQ(after.records, 200);
    EXPECT_EQ(after.imports.size(), 1u);
    archive.reset();
    if (mounted) umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
}

// SQLite -> PostgreSQL -> SQLite gives back every record, line and import
// once, under each station; copying again adds nothing.
TEST(ArchiveCopy, SqliteToPostgresAndBack_KeepsEverythingOnce) {
    QTemporaryDir dir;
    const QString sqlite = dir.filePath("from.sqlite");
    QString error;
    {
        auto archive = Archive::Open(sqlite, error);
        ASSERT_TRUE(archive) << error.toStdString();
        for (const char* station : {"north", "south"}) {
            ASSERT_TRUE(archive->Begin({"log.txt", 10, "ab", station}));
            for (int i = 1; i <= 3000; ++i) {
                HistoryRecord r;
                r.Time = 45000 + i / 1440.0;
                r.No = i;
                r.OutTemp = static_cast<float>(i) / 8;
                ASSERT_TRUE(archive->Add(r, "line"));
            }
            ASSERT_TRUE(archive->Add(HistoryRecord{}, "no time here"));
            ASSERT_TRUE(archive->Commit());
        }
    }
    const QString postgres = NewPostgresDatabase();
    ASSERT_FALSE(postgres.isEmpty()) << Server().Error().toStdString();
    ArchiveCopySummary summary;
    ASSERT_TRUE(CopyArchive(sqlite, postgres, error, &summary)) << error.toStdString();
    EXPECT_EQ(std::tuple(summary.records, summary.added, summary.imports, summary.unreadable),
              std::tuple(6000, 6000, 2, 2));
    ASSERT_TRUE(CopyArchive(sqlite, postgres, error, &summary)) << error.toStdString();
    EXPECT_EQ(std::tuple(summary.added, summary.imports, summary.unreadable), std::tuple(0, 0, 0));

    const QString back = dir.filePath("back.sqlite");
    ASSERT_TRUE(CopyArchive(postgres, back, error, &summary)) << error.toStdString();
    auto from = Archive::Open(sqlite, error);
    auto to = Archive::Open(back, error);
    ASSERT_TRUE(from && to);
    EXPECT_EQ(Records(*from), Records(*to));
    ArchiveInfo a, b;
    ASSERT_TRUE(from->Info(a) && to->Info(b));
    EXPECT_EQ(b.unreadable, 2);
    ASSERT_EQ(a.imports.size(), b.imports.size());
    for (size_t i = 0; i < a.imports.size(); ++i) {
        EXPECT_EQ(a.imports[i].station, b.imports[i].station);
        EXPECT_EQ(a.imports[i].importedAt, b.imports[i].importedAt);
        EXPECT_EQ(a.imports[i].added, b.imports[i].added);
        EXPECT_DOUBLE_EQ(a.imports[i].lastTime, b.imports[i].lastTime);
    }
}

// The log import refills Orvane.mdb and feeds the archive; either may fail
// without taking the other with it.
TEST(ArchiveFromLogImport, RefillAndArchiveFailIndependently) {
    struct Case {
        const char* name;
        bool databaseMissing;
        bool archiveBroken;
    };
    for (const Case c : {Case{"both work", false, false}, Case{"archive broken", false, true},
                         Case{"database missing", true, false}}) {
        SCOPED_TRACE(c.name);
        HistoryTestDatabase db;
        const QString log = db.Folder() + "/log.txt";
        QFile f(log);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kHeader);
        for (const auto& l : Minutes(1, 30)) f.write(("\r\n" + l).c_str());
        f.close();
        // A folder where the archive file should be cannot be opened as one.
        if (c.archiveBroken) QDir(db.Folder()).mkdir(kArchiveFileName);
        if (c.databaseMissing) QFile::remove(db.Path());
        HistoryDatabase database;
        const LogImportResult result = ImportDownloadedFile(log, db.Path(), database, nullptr);
        EXPECT_EQ(result.status, c.databaseMissing ? LogImportResult::Status::DatabaseError
                                                   : LogImportResult::Status::Ok);
        if (!c.databaseMissing) {
            EXPECT_EQ(db.RecordCount(), 30);
        }
        EXPECT_EQ(result.archived, !c.archiveBroken) << result.archiveError.toStdString();
        EXPECT_EQ(result.archiveError.isEmpty(), !c.archiveBroken);
        if (!c.archiveBroken) {
            EXPECT_EQ(result.archive.added, 30);
        }
    }
}

}  // namespace
