// What one received download report costs the program: the real dispatcher,
// the SD-card logic and its file write, and the progress update, with the
// progress either waited for on a GUI thread (one call per report, as it
// was) or posted and coalesced. The "GUI thread" is a QThread running an
// event loop, so a waited call pays the real round trip.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <chrono>

#include "CReadSDcard.h"
#include "CoalescedPost.h"
#include "GuiCall.h"
#include "MemoryControlWindow.h"
#include "ReplyDispatcher.h"
#include "SdCardView.h"
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
    MemoryControlWindow window;
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

}  // namespace

// Wall-clock time per report is what limits a download; processor time is
// the program's own cost.
BENCHMARK(BM_Report_WaitedProgress)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_Report_PostedProgress)->MinTime(2.0)->UseRealTime();

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
