// What one received download report costs the program: the real dispatcher,
// the SD-card logic and its file write, and the progress update, with the
// progress either waited for on a GUI thread (one call per report, as it
// was) or posted and coalesced. The "GUI thread" is a QThread running an
// event loop, so a waited call pays the real round trip.
//
// BM_PacedDownload_1MB: a whole 1 MB download over the real link (request
// connection, receive thread, dispatcher, file write) from the station
// simulator sending one report per millisecond, as a full-speed USB device
// does; its time is reported beside the pacing time of the same reports.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

#include "COrvaneDlg.h"
#include "CReadSDcard.h"
#include "CoalescedPost.h"
#include "DeviceLink.h"
#include "GuiCall.h"
#include "MemoryControlWindow.h"
#include "ReplyDispatcher.h"
#include "SdCardLayout.h"
#include "SdCardView.h"
#include "StationSimulator.h"
#include "Timing.h"

using namespace orvane;

namespace {

class GuiThread {
public:
    GuiThread() {
        m_context.moveToThread(&m_thread);
        m_thread.start();
    }
    ~GuiThread() {
        m_thread.quit();
        m_thread.wait();
    }
    QObject* Context() { return &m_context; }

private:
    QThread m_thread;
    QObject m_context;
};

// One waited GUI call per progress update.
class WaitedView : public MemorySdCardView {
public:
    explicit WaitedView(QObject* gui) : m_call(gui) {}
    void SetProgressRange(int maximum) override {
        m_call.Call([&] { MemorySdCardView::SetProgressRange(maximum); });
    }
    void SetProgress(int value) override {
        m_call.Call([&] { MemorySdCardView::SetProgress(value); });
    }

private:
    GuiCall m_call;
};

// The newest value posted, applied at most every guiRefresh.
class PostedView : public MemorySdCardView {
public:
    explicit PostedView(QObject* gui)
        : m_post(gui, [this] {
              MemorySdCardView::SetProgressRange(m_maximum.load());
              MemorySdCardView::SetProgress(m_value.load());
          }) {}
    void SetProgressRange(int maximum) override {
        m_maximum = maximum;
        m_post.Request();
    }
    void SetProgress(int value) override {
        m_value = value;
        m_post.Request();
    }
    long long Posts() const { return m_post.Posts(); }

private:
    std::atomic<int> m_maximum{0};
    std::atomic<int> m_value{0};
    CoalescedPost m_post;
};

class NoTransactor : public Transactor {
public:
    QString Transact(const QString&) override { return QString(); }
};

void RunDownload(benchmark::State& st, SdCardView& view) {
    Timings t;
    t.downloadSilence = std::chrono::hours(1);
    t.fileSizeSilence = std::chrono::hours(1);
    SetTimings(t);
    QTemporaryDir dir;
    ExchangeState state;
    MemorySdCardWindow window;
    NoTransactor transactor;
    CReadSDcard sd(
        state, window, view, [](const QString&) { return true; }, transactor, dir.path());
    TaskThreads tasks;
    TransferWatchdogs watchdogs(state, &sd, tasks);
    std::atomic<qint64> downloadTotal{0};
    ReplyConsumers consumers;
    consumers.sdCard = &sd;
    ReplyDispatcher dispatcher(state, consumers, watchdogs, downloadTotal);

    sd.SetFileListText(QStringLiteral("SDcard file:File<BENCH.CSV&>\r\n@"));
    sd.OpenWindow(UiLanguage::English);
    dispatcher.HandlePayload("File Size:File<size=1000000000>");
    sd.ClickFileRow(0);
    sd.SaveAs();
    dispatcher.HandlePayload("Read File:=1000000000>");
    if (!sd.IsDownloading()) {
        st.SkipWithError("the download did not start");
        return;
    }
    const QByteArray data(62, 'x');
    for (auto _ : st) dispatcher.HandlePayload(data);
    st.SetItemsProcessed(st.iterations());
    st.SetBytesProcessed(st.iterations() * data.size());
    watchdogs.Shutdown();
    tasks.JoinAll();
}

void BM_Report_WaitedProgress(benchmark::State& st) {
    GuiThread gui;
    WaitedView view(gui.Context());
    RunDownload(st, view);
}

void BM_Report_PostedProgress(benchmark::State& st) {
    GuiThread gui;
    PostedView view(gui.Context());
    RunDownload(st, view);
    st.counters["gui_posts"] = static_cast<double>(view.Posts());
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Log lines (no "@", which ends a download) up to `size` bytes.
QByteArray LogLikeBytes(qsizetype size) {
    QByteArray bytes = "No.,Time,Temperature\r\n";
    for (int i = 0; bytes.size() < size; ++i)
        bytes += QByteArray::number(i) + ",2026-3-10 " + QByteArray::number(i % 24) + ":" +
                 QByteArray::number(i % 60) + "," + QByteArray::number(i % 300 / 10.0) + "\r\n";
    bytes.truncate(size);
    return bytes;
}

void BM_PacedDownload_1MB(benchmark::State& st) {
    using namespace std::chrono;
    const Timings saved = GetTimings();
    Timings t;
    t.reportPause = milliseconds(0);
    t.nowDataWaitBeforeRead = milliseconds(1);
    t.writePause = milliseconds(1);
    t.downloadSilence = seconds(2);
    t.fileSizeSilence = seconds(2);
    SetTimings(t);
    const auto pace = microseconds(st.range(0));

    StationModelOptions options;
    options.logFileDays = {1};
    StationSimulator sim(1, options);
    const QString name = QStringLiteral("PACED.CSV");
    const QByteArray bytes = LogLikeBytes(1 << 20);
    sim.Model().AddFile(name, bytes);
    QTemporaryDir dir;
    ExchangeState state;
    MemorySdCardWindow window;
    MemorySdCardView view;
    COrvaneDlg dialog(sim);
    if (!dialog.Drive().ProbeStation()) {
        st.SkipWithError("no simulated station");
        return;
    }
    auto send = [&](const QString& r) { return dialog.Drive().SendText(r); };
    CReadSDcard sd(state, window, view, send, dialog, dir.path());
    ReplyConsumers consumers;
    consumers.sdCard = &sd;
    DeviceLink link(sim, state, consumers);
    link.Open();
    auto waitFor = [](auto done) {
        const auto until = steady_clock::now() + minutes(2);
        while (!done() && steady_clock::now() < until) std::this_thread::sleep_for(milliseconds(1));
        return done();
    };
    sd.SetFileListText(QStringLiteral("SDcard file:File<PACED.CSV&>\r\n@"));
    sd.OpenWindow(UiLanguage::English);
    if (!waitFor([&] { return !sd.IsListingSizes(); })) st.SkipWithError("no size listing");

    StationFaults faults;
    faults.onlyFor = StationRequestKind::ReadFile;
    faults.reportPacing = pace;
    sim.SetFaults(faults);
    const std::size_t reports = std::size_t(bytes.size() + 61) / 62 + 1;  // header, data, "@"
    double cpu = 0;
    for (auto _ : st) {
        QFile::remove(QDir(dir.path()).filePath(name));
        const double cpuBefore = ProcessCpuSeconds();
        const auto start = steady_clock::now();
        sd.ClickFileRow(0);
        sd.SaveAs();
        if (!waitFor([&] { return !sd.IsDownloading(); })) st.SkipWithError("download hung");
        st.SetIterationTime(duration<double>(steady_clock::now() - start).count());
        cpu += ProcessCpuSeconds() - cpuBefore;
        sd.WaitForImport();
        st.PauseTiming();
        waitFor([&] { return state.pendingRequest == kPendingNone; });
        st.ResumeTiming();
    }
    QFile copy(QDir(dir.path()).filePath(name));
    if (!copy.open(QIODevice::ReadOnly) || copy.readAll() != bytes)
        st.SkipWithError("the local copy differs from the card's file");
    st.counters["pacing_s"] = duration<double>(pace * reports).count();
    st.counters["reports"] = double(reports);
    // The whole process: the simulator's pacing thread is part of it.
    st.counters["process_cpu_us_per_report"] =
        benchmark::Counter(cpu * 1e6 / double(reports) / double(st.iterations()));
    link.Shutdown();
    SetTimings(saved);
}

}  // namespace

// Wall-clock time per report is what limits a download; processor time is
// the program's own cost.
BENCHMARK(BM_Report_WaitedProgress)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_Report_PostedProgress)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_PacedDownload_1MB)
    ->Arg(1000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
