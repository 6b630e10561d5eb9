// Log import against the sqlite3 shell's .import of the same file into the
// same table; graph searches over a year and over ten years of one-minute
// records: the chart's level-of-detail read beside the full read of the
// same span. The ten-year file (5.3 M rows) is kept in
// $ORVANE_BENCH_CACHE (default /tmp/orvane-bench) between runs.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineSeries>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdlib>

#include "CTchart1.h"
#include "GraphSearch.h"
#include "Grapsh.h"
#include "HistoryDatabase.h"
#include "HistoryTime.h"
#include "LogImport.h"
#include "SimulatedLog.h"

using namespace orvane;

namespace {

constexpr long kImportLines = 500000;
constexpr long kYearOfMinutes = 525600;

struct Files {
    QTemporaryDir dir;
    QString log = dir.filePath("import.csv");
    QString yearLog = dir.filePath("year.csv");
    QString importDb = dir.filePath("import.mdb");
    QString yearDb = dir.filePath("year.mdb");
};

Files& Shared() {
    static Files files;
    static bool ready = [] {
        if (!simulated::WriteLog(files.log, kImportLines)) std::abort();
        if (!simulated::WriteLog(files.yearLog, kYearOfMinutes)) std::abort();
        if (!simulated::MakeDatabase(files.yearDb)) std::abort();
        HistoryDatabase db;
        if (ImportDownloadedFile(files.yearLog, files.yearDb, db, nullptr).records !=
            kYearOfMinutes)
            std::abort();
        return true;
    }();
    (void)ready;
    return files;
}

void BM_ImportDownloadedFile(benchmark::State& state) {
    Files& f = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        simulated::MakeDatabase(f.importDb);
        HistoryDatabase db;
        state.ResumeTiming();
        const LogImportResult result = ImportDownloadedFile(f.log, f.importDb, db, nullptr, {},
                                                            UiLanguage::English, kArchiveOff);
        if (result.records != kImportLines) {
            state.SkipWithError("import incomplete");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kImportLines);
}

// The import as it was before it streamed: the whole file read into memory,
// an index of every line kept beside it, then one transaction. Baseline for
// BM_ImportDownloadedFile in the same run.
void BM_ImportWholeFileInMemory(benchmark::State& state) {
    Files& f = Shared();
    long records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        simulated::MakeDatabase(f.importDb);
        HistoryDatabase db;
        state.ResumeTiming();
        QFile file(f.log);
        if (!file.open(QIODevice::ReadOnly)) std::abort();
        const QByteArray bytes = file.readAll();
        struct LineRef {
            std::int64_t start;
            std::int32_t length;
        };
        std::vector<LineRef> lines;
        for (qsizetype pos = bytes.indexOf('\n') + 1; pos < bytes.size();) {
            qsizetype end = bytes.indexOf('\n', pos);
            if (end < 0) end = bytes.size();
            qsizetype length = end - pos;
            if (length > 0 && bytes[end - 1] == '\r') --length;
            lines.push_back({pos, static_cast<std::int32_t>(length)});
            pos = end + 1;
        }
        if (db.Open(f.importDb) != 0 || db.BeginTransaction() != 0 || db.DeleteAll() != 0 ||
            db.OpenRecordsTable() != 0)
            std::abort();
        HistoryRecord record;
        records = 0;
        for (const LineRef& line : lines) {
            ParseLogRecord(std::string_view(bytes.constData() + line.start,
                                            static_cast<std::size_t>(line.length)),
                           record);
            if (db.AddRecord(record) != 0) std::abort();
            ++records;
        }
        db.CommitTransaction();
        db.CloseRecordsTable();
    }
    if (records != kImportLines) state.SkipWithError("import incomplete");
    state.SetItemsProcessed(state.iterations() * kImportLines);
}

// The sqlite3 shell reading the same file into the same Records table. The
// file has 18 columns and the table 17, so the shell drops the last value
// of each line with a warning (sent to /dev/null); times and "-" stay text.
void RunShellImport(benchmark::State& state, const char* table, const char* prepare) {
    Files& f = Shared();
    const QByteArray command = QStringLiteral(
                                   "%1 %2 %3 \".import --csv --skip 1 %4 %5\" "
                                   ">/dev/null 2>&1")
                                   .arg(ORVANE_SQLITE3_CLI, f.importDb, prepare, f.log, table)
                                   .toLocal8Bit();
    // The shell's own processor time, for comparison on a busy machine.
    auto childCpuMs = [] {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    };
    double shellCpuMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        simulated::MakeDatabase(f.importDb);
        const double before = childCpuMs();
        state.ResumeTiming();
        const int status = std::system(command.constData());
        state.PauseTiming();
        shellCpuMs += childCpuMs() - before;
        state.ResumeTiming();
        if (status != 0) {
            state.SkipWithError("sqlite3 failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kImportLines);
    state.counters["shell_cpu_ms"] = shellCpuMs / static_cast<double>(state.iterations());
}

void BM_Sqlite3ShellImport_Records(benchmark::State& state) {
    RunShellImport(state, "Records", "-cmd \"SELECT 1\"");
}

// The same with a table of the file's own 18 columns (no per-line warning).
void BM_Sqlite3ShellImport_MatchingTable(benchmark::State& state) {
    RunShellImport(state, "LogRows",
                   "-cmd \"CREATE TABLE LogRows (c0,c1,c2,c3,c4,c5,c6,c7,c8,c9,c10,c11,c12,c13,"
                   "c14,c15,c16,c17)\"");
}

// Count and read of both temperature series over the year, points into arrays.
void BM_GraphSearch_Year(benchmark::State& state) {
    Files& f = Shared();
    HistoryDatabase db;
    long points = 0;
    for (auto _ : state) {
        const GraphData data = RunGraphSearch(db, f.yearDb, "2012-12-31 0:00:00",
                                              "2014-01-01 0:00:00", 0, UnitCaptions{});
        points = data.series[0].count + data.series[1].count;
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}

// The whole Search of the graph window: count, read, and the points handed
// to the chart's series and axes (painting not included).
void BM_GrapshSearch_Year(benchmark::State& state) {
    Files& f = Shared();
    Grapsh window(f.yearDb);
    window.SetUnitCaptions(
        {"(\xc2\xb0"
         "C)",
         "(hPa)", "(mm)", "(m/s)", "(lux)"});
    const QDateTime start(QDate(2012, 12, 31), QTime(0, 0));
    const QDateTime end(QDate(2014, 1, 1), QTime(0, 0));
    for (int id : {GraphId::kStartDate, GraphId::kStartTime})
        window.Controls().SetDateTime(id, start);
    for (int id : {GraphId::kEndDate, GraphId::kEndTime}) window.Controls().SetDateTime(id, end);
    // Shown, so that the chart lays out what it is handed as it would on screen.
    window.show();
    QApplication::processEvents();
    for (auto _ : state) window.Search();
    state.counters["points"] =
        static_cast<double>(window.Chart()->Points(0).size() + window.Chart()->Points(1).size());
}

double PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Level of detail over the same year: what the graph window now asks.
void BM_GraphDetail_Year(benchmark::State& state) {
    Files& f = Shared();
    HistoryDatabase db;
    long points = 0;
    const double start = ParseDateTime("2012-12-31 0:00:00"), end = ParseDateTime("2014-01-01");
    for (auto _ : state) {
        const GraphData data = RunGraphDetail(db, f.yearDb, start, end, 0, UnitCaptions{});
        points = data.series[0].count + data.series[1].count;
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}

// One SQL pass over the rows, GROUP BY slice, for the same year: the other
// way to a level of detail (extremes without their times).
void BM_GroupBySlice_Year(benchmark::State& state) {
    Files& f = Shared();
    sqlite3* db = nullptr;
    sqlite3_open_v2(f.yearDb.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT CAST((Time - ?1) * ?3 AS INTEGER) AS s, min(OutTemp), "
                       "max(OutTemp), min(DewPoint), max(DewPoint) FROM Records "
                       "WHERE Time > ?1 AND Time <= ?2 GROUP BY s",
                       -1, &q, nullptr);
    const double start = ParseDateTime("2012-12-31 0:00:00"), end = ParseDateTime("2014-01-01");
    long slices = 0;
    for (auto _ : state) {
        sqlite3_bind_double(q, 1, start);
        sqlite3_bind_double(q, 2, end);
        sqlite3_bind_double(q, 3, kGraphSlices / (end - start));
        slices = 0;
        while (sqlite3_step(q) == SQLITE_ROW) ++slices;
        sqlite3_reset(q);
    }
    sqlite3_finalize(q);
    sqlite3_close(db);
    state.counters["slices"] = static_cast<double>(slices);
}

// Ten years of one-minute rows written the import's way (one transaction,
// AddRecord), once; later runs reuse the file.
QString TenYears() {
    static const QString path = [] {
        QString folder = qEnvironmentVariable("ORVANE_BENCH_CACHE", "/tmp/orvane-bench");
        QDir().mkpath(folder);
        const QString file = folder + QStringLiteral("/ten-years.mdb");
        if (QFile::exists(file)) return file;
        const QString partial = file + QStringLiteral(".part");
        QFile::remove(partial);
        if (!simulated::MakeDatabase(partial)) std::abort();
        HistoryDatabase db;
        if (db.Open(partial) != 0 || db.BeginTransaction() != 0 || db.OpenRecordsTable() != 0)
            std::abort();
        const double first = DaysFromParts(2010, 1, 1, 0, 0, 0);
        const long rows = 10L * kYearOfMinutes + 2 * 1440;  // with the leap days
        for (long i = 0; i < rows; ++i) {
            HistoryRecord r;
            r.Time = first + static_cast<double>(i) / 1440.0;
            const double day = static_cast<double>(i) / 1440.0;
            r.OutTemp = static_cast<float>(12 - 10 * std::cos(day / 365.25 * 6.2832) -
                                           5 * std::cos(day * 6.2832) +
                                           static_cast<double>(i * 7919 % 100) / 50.0);
            r.DewPoint = r.OutTemp - 4.0f - static_cast<float>(i % 300) / 100.0f;
            if (db.AddRecord(r) != 0) std::abort();
        }
        if (db.CommitTransaction() != 0) std::abort();
        db.Close();
        QFile::rename(partial, file);
        return file;
    }();
    return path;
}

void BM_GraphDetail_TenYears(benchmark::State& state) {
    const QString file = TenYears();
    HistoryDatabase db;
    const double start = DaysFromParts(2010, 1, 1, 0, 0, 0), end = start + 3655;
    long points = 0;
    for (auto _ : state) {
        const GraphData data = RunGraphDetail(db, file, start, end, 0, UnitCaptions{});
        points = data.series[0].count + data.series[1].count;
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
    state.counters["peak_rss_mb"] = PeakRssMb();
}

// Zoom and pan inside the ten years: each iteration is one re-query of a
// span from a year down to an hour, at places spread over the decade.
void BM_GraphDetail_ZoomPan_TenYears(benchmark::State& state) {
    const QString file = TenYears();
    HistoryDatabase db;
    const double first = DaysFromParts(2010, 1, 1, 0, 0, 0);
    const double spans[] = {365, 120, 30, 7, 2, 0.5, 1.0 / 24};
    long step = 0;
    double worstMs = 0;
    for (auto _ : state) {
        const double span = spans[step % 7];
        const double start = first + static_cast<double>(step * 977 % 3200) + 0.37;
        const auto begin = std::chrono::steady_clock::now();
        const GraphData data = RunGraphDetail(db, file, start, start + span, 0, UnitCaptions{});
        worstMs = std::max(worstMs, std::chrono::duration<double, std::milli>(
                                        std::chrono::steady_clock::now() - begin)
                                        .count());
        benchmark::DoNotOptimize(data.series[0].count);
        ++step;
    }
    state.counters["worst_ms"] = worstMs;
    state.counters["peak_rss_mb"] = PeakRssMb();
}

// The full read of the decade, as the window did before (the baseline).
void BM_GraphSearch_TenYears(benchmark::State& state) {
    const QString file = TenYears();
    HistoryDatabase db;
    long points = 0;
    for (auto _ : state) {
        const GraphData data =
            RunGraphSearch(db, file, "2010-1-1 0:00:00", "2020-01-04 0:00:00", 0, UnitCaptions{});
        points = data.series[0].count + data.series[1].count;
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
    state.counters["peak_rss_mb"] = PeakRssMb();
}

}  // namespace

BENCHMARK(BM_ImportDownloadedFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ImportWholeFileInMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Sqlite3ShellImport_Records)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_Sqlite3ShellImport_MatchingTable)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_GraphSearch_Year)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_GrapshSearch_Year)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_GraphDetail_Year)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_GroupBySlice_Year)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_GraphDetail_TenYears)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_GraphDetail_ZoomPan_TenYears)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(70);
BENCHMARK(BM_GraphSearch_TenYears)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
