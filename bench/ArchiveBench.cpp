// The archive side by side with today's emptying import: a 500,000-line log
// added to an archive that already holds 2 million records, against the
// refill of Orvane.mdb with the same file; and the PostgreSQL bulk load
// (COPY) of the same file beside SQLite's, each into an empty archive; and
// the first chart of the whole archive after such an import, on both
// backends, which finds the summaries the import kept.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>

#include "Archive.h"
#include "HistoryDatabase.h"
#include "LogImport.h"
#include "PostgresServer.h"
#include "SimulatedLog.h"

using namespace orvane;

namespace {

constexpr long kImportLines = 500000;
constexpr long kArchived = 2000000;

struct Files {
    QTemporaryDir dir;
    QString log = dir.filePath("import.csv");  // minutes after the archived ones
    QString oldLog = dir.filePath("archived.csv");
    QString base = dir.filePath("base.sqlite");  // 2 million records
    QString work = dir.filePath("Archive.sqlite");
    QString db = dir.filePath("Orvane.mdb");
};

Files& Shared() {
    static Files files;
    static bool ready = [] {
        if (!simulated::WriteLog(files.log, kImportLines, kArchived)) std::abort();
        if (!simulated::WriteLog(files.oldLog, kArchived)) std::abort();
        ArchiveImportInfo info;
        QString error;
        if (!ArchiveLogFile(files.oldLog, files.base, {}, info, error) || info.added != kArchived)
            std::abort();
        return true;
    }();
    (void)ready;
    return files;
}

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kImportLines);
}

// Today's import: Orvane.mdb emptied and refilled, no archive.
void BM_EmptyingImport(benchmark::State& state) {
    Files& f = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        simulated::MakeDatabase(f.db);
        HistoryDatabase db;
        state.ResumeTiming();
        const LogImportResult r =
            ImportDownloadedFile(f.log, f.db, db, nullptr, {}, UiLanguage::English, kArchiveOff);
        if (r.records != kImportLines) state.SkipWithError("import incomplete");
    }
    Report(state);
}

// The archive alone: the file added to 2 million records.
void BM_ArchiveAddOnto2M_Sqlite(benchmark::State& state) {
    Files& f = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(f.work);
        QFile::copy(f.base, f.work);
        state.ResumeTiming();
        ArchiveImportInfo info;
        QString error;
        if (!ArchiveLogFile(f.log, f.work, {}, info, error) || info.added != kImportLines)
            state.SkipWithError(qPrintable(error));
    }
    Report(state);
}

// What an import costs now: the refill and the archive onto 2 million records.
void BM_ImportWithArchiveOnto2M(benchmark::State& state) {
    Files& f = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        simulated::MakeDatabase(f.db);
        QFile::remove(f.work);
        QFile::copy(f.base, f.work);
        HistoryDatabase db;
        state.ResumeTiming();
        const LogImportResult r =
            ImportDownloadedFile(f.log, f.db, db, nullptr, {}, UiLanguage::English, f.work);
        if (r.records != kImportLines || r.archive.added != kImportLines)
            state.SkipWithError("import incomplete");
    }
    Report(state);
}

void BM_ArchiveBulkLoad_Sqlite(benchmark::State& state) {
    Files& f = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        const QString empty = f.dir.filePath("empty.sqlite");
        QFile::remove(empty);
        state.ResumeTiming();
        ArchiveImportInfo info;
        QString error;
        if (!ArchiveLogFile(f.log, empty, {}, info, error) || info.added != kImportLines)
            state.SkipWithError(qPrintable(error));
    }
    Report(state);
}

// A private server in a temporary folder, as the tests use; a new database
// for each run.
void BM_ArchiveBulkLoad_PostgresCopy(benchmark::State& state) {
    Files& f = Shared();
    static PostgresServer server;
    if (!server.Running()) {
        state.SkipWithError(qPrintable(server.Error()));
        return;
    }
    static int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QString error;
        const QString name = QStringLiteral("bench%1").arg(++runs);
        const bool created = QProcess::execute("psql", {"-q", "-d", server.Url(), "-c",
                                                        "CREATE DATABASE " + name}) == 0;
        state.ResumeTiming();
        ArchiveImportInfo info;
        if (!created || !ArchiveLogFile(f.log, server.Url(name), {}, info, error) ||
            info.added != kImportLines)
            state.SkipWithError(created ? qPrintable(error) : "cannot create a database");
    }
    Report(state);
}

// The graph window's first Archive chart after the import: the whole span
// (about 4.75 years, 2.5 million records) at 2,000 slices, from opening the
// archive to the points.
void ReadWholeSpan(benchmark::State& state, const QString& location) {
    QString error;
    auto archive = Archive::Open(location, error);
    double first = 0, last = 0;
    RangeDetail detail;
    if (!archive || !archive->ReadBounds(first, last) ||
        !archive->ReadDetail(first - 1e-6, last, {"OutTemp", "DewPoint"}, 2000, detail) ||
        detail.rows != kArchived + kImportLines || detail.exact)
        state.SkipWithError(archive ? qPrintable(archive->ReadError()) : qPrintable(error));
    state.counters["points"] = static_cast<double>(detail.times[0].size());
}

void BM_FirstChartAfterImport_Sqlite(benchmark::State& state) {
    Files& f = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(f.work);
        QFile::copy(f.base, f.work);
        ArchiveImportInfo info;
        QString error;
        if (!ArchiveLogFile(f.log, f.work, {}, info, error)) state.SkipWithError(qPrintable(error));
        state.ResumeTiming();
        ReadWholeSpan(state, f.work);
    }
}

void BM_FirstChartAfterImport_PostgresCopy(benchmark::State& state) {
    Files& f = Shared();
    static PostgresServer server;
    if (!server.Running()) {
        state.SkipWithError(qPrintable(server.Error()));
        return;
    }
    const QString url = server.Url("chart");
    static bool loaded = [&] {
        ArchiveImportInfo info;
        QString error;
        return QProcess::execute("psql",
                                 {"-q", "-d", server.Url(), "-c", "CREATE DATABASE chart"}) == 0 &&
               ArchiveLogFile(f.oldLog, url, {}, info, error) &&
               ArchiveLogFile(f.log, url, {}, info, error);
    }();
    if (!loaded) {
        state.SkipWithError("cannot load the archive");
        return;
    }
    for (auto _ : state) ReadWholeSpan(state, url);
}

}  // namespace

BENCHMARK(BM_EmptyingImport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ArchiveAddOnto2M_Sqlite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ImportWithArchiveOnto2M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ArchiveBulkLoad_Sqlite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ArchiveBulkLoad_PostgresCopy)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

BENCHMARK(BM_FirstChartAfterImport_Sqlite)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_FirstChartAfterImport_PostgresCopy)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
