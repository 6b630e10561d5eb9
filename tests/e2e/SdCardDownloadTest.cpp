#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <chrono>
#include <mutex>
#include <thread>

#include "../history/HistoryTestDatabase.h"
#include "COrvaneDlg.h"
#include "CReadSDcard.h"
#include "DeviceLink.h"
#include "GraphSearch.h"
#include "HistoryDatabase.h"
#include "HistoryTime.h"
#include "LogImport.h"
#include "ProcessThreads.h"
#include "SdCardLayout.h"
#include "SdCardListRequest.h"
#include "StationSimulator.h"
#include "Timing.h"

using namespace orvane;
using namespace std::chrono_literals;

namespace {

template <class F>
bool WaitFor(F done, std::chrono::milliseconds limit = 10s) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Takes down the threads that run while the import reports its progress
// (from the import thread).
class ThreadsAtImport : public MemorySdCardView {
public:
    void ImportProgress(int percent) override {
        {
            std::lock_guard lock(m_mutex);
            if (m_names.isEmpty()) m_names = test::ThreadNames();
        }
        MemorySdCardView::ImportProgress(percent);
    }
    QStringList Names() const {
        std::lock_guard lock(m_mutex);
        return m_names;
    }

private:
    mutable std::mutex m_mutex;
    QStringList m_names;
};

StationModelOptions SmallCard() {
    StationModelOptions options;
    options.stationTime = QDateTime(QDate(2013, 5, 7), QTime(12, 0));
    options.logFileDays = {2, 1};
    options.logIntervalMinutes = 30;
    return options;
}

// The whole road of a download: the station simulator behind the HID seam,
// the request connection, the receive connection with its thread and
// watchdogs, and the SD-card window's logic over an in-memory window. The
// test thread plays the window's thread.
class SdCardEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = GetTimings();
        Timings t;
        t.reportPause = 0ms;
        t.nowDataWaitBeforeRead = 1ms;
        t.writePause = 1ms;
        t.downloadSilence = 150ms;
        t.fileSizeSilence = 100ms;
        SetTimings(t);

        dialog = std::make_unique<COrvaneDlg>(sim);
        ASSERT_TRUE(dialog->Drive().ProbeStation());
        sd = std::make_unique<CReadSDcard>(
            state, window, view, [this](const QString& r) { return dialog->Drive().SendText(r); },
            *dialog, db.Folder());
        sd->SetOpener([this] { opened = true; });
        ReplyConsumers consumers;
        consumers.sdCard = sd.get();
        link = std::make_unique<DeviceLink>(sim, state, consumers);
        link->Open();
        ASSERT_TRUE(link->IsPresent());
    }

    void TearDown() override {
        link->Shutdown();
        link.reset();
        sd.reset();
        dialog.reset();
        SetTimings(m_saved);
    }

    // SDCard File, then the window's opening once the list has arrived.
    void OpenWindow() {
        opened = false;
        ASSERT_TRUE(SendSdCardListRequest(
            state, [this](const QString& r) { return dialog->Drive().SendText(r); }));
        ASSERT_TRUE(WaitFor([&] { return opened.load(); }));
        sd->OpenWindow(UiLanguage::English);
        ASSERT_TRUE(WaitFor([&] { return !sd->IsListingSizes(); }));
    }

    // Save as on the named file; waits for the end of download and import.
    void Download(const QString& name) {
        sd->ClickFileRow(
            static_cast<int>(sd->FileNames().indexOf(name)));  // a card lists a few files
        ASSERT_EQ(window.Text(SdCardId::kSelectedName), name);
        sd->SaveAs();
        ASSERT_TRUE(WaitFor([&] {
            return !sd->IsDownloading() && !sd->IsImportRunning() &&
                   state.pendingRequest == kPendingNone;
        }));
        sd->WaitForImport();
    }

    QByteArray Local(const QString& name) const {
        QFile f(QDir(db.Folder()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QStringList ReadRequests() const {
        QStringList found;
        for (const QString& r : sim.ReceivedRequests())
            if (r.startsWith("read&File=")) found.append(r);
        return found;
    }

    // Every record line of a log file whose temperature is a reading, as
    // (time, value) pairs in file order.
    static std::vector<std::pair<double, float>> TemperaturesOf(const QByteArray& file) {
        std::vector<std::pair<double, float>> points;
        const QList<QByteArray> lines = file.split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            QByteArray line = lines[i];
            if (line.endsWith('\r')) line.chop(1);
            if (line.isEmpty()) continue;
            HistoryRecord record;
            ParseLogRecord(std::string_view(line.constData(), line.size()), record);
            if (record.OutTemp != float(NoValue)) points.emplace_back(record.Time, record.OutTemp);
        }
        return points;
    }

    Timings m_saved;
    StationSimulator sim{7, SmallCard()};
    HistoryTestDatabase db;
    ExchangeState state;
    MemorySdCardWindow window;
    ThreadsAtImport view;
    std::atomic<bool> opened{false};
    std::unique_ptr<COrvaneDlg> dialog;
    std::unique_ptr<CReadSDcard> sd;
    std::unique_ptr<DeviceLink> link;
};

}  // namespace

TEST_F(SdCardEndToEnd, DownloadResumeImportAndSearch) {
    OpenWindow();
    const QStringList names = sim.Model().FileNames();
    ASSERT_GE(names.size(), 2);
    EXPECT_EQ(sd->FileNames(), names);
    EXPECT_EQ(view.Sizes().size(), names.size());
    for (const QString& size : view.Sizes()) EXPECT_TRUE(size.endsWith("KB")) << size.toStdString();
    EXPECT_EQ(state.pendingRequest, kPendingNone);

    const QString name = names.first();
    Download(name);
    const QByteArray first = *sim.Model().FileBytes(name);
    EXPECT_EQ(Local(name), first);
    EXPECT_EQ(ReadRequests(), QStringList({QString("read&File=%1&Start=0&http 1.0").arg(name)}));
    EXPECT_EQ(window.Text(SdCardId::kStatus), "ok...");
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_FALSE(state.requestBusy);

    // The station logs on; the next download brings only what was added.
    const QByteArray added = sim.Model().AppendRecords(name, 12);
    ASSERT_FALSE(added.isEmpty());
    sim.ClearReceivedRequests();
    Download(name);
    const QByteArray whole = *sim.Model().FileBytes(name);
    EXPECT_EQ(ReadRequests(),
              QStringList({QString("read&File=%1&Start=%2&http 1.0").arg(name).arg(first.size())}));
    EXPECT_EQ(link->DownloadTotal(), added.size());
    EXPECT_EQ(Local(name), whole);

    // The import holds exactly this file: a search for temperature over its
    // span returns its readings, oldest first.
    ASSERT_TRUE(window.IsEnabled(SdCardId::kGraph));
    const auto expected = TemperaturesOf(whole);
    ASSERT_GT(expected.size(), 10u);
    const QString start = FormatRangeText(DateTimeFromDays(expected.front().first).addSecs(-60));
    const QString end = FormatRangeText(DateTimeFromDays(expected.back().first));
    HistoryDatabase graphDatabase;
    const GraphData found =
        RunGraphSearch(graphDatabase, sd->DatabasePath(), start, end, 0, sd->ImportedUnits());
    const GraphSeriesData& temperature = found.series[0];
    EXPECT_EQ(temperature.column, "OutTemp");
    ASSERT_EQ(temperature.times.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(temperature.times[i], expected[i].first, 1e-6) << i;
        EXPECT_FLOAT_EQ(float(temperature.values[i]), expected[i].second) << i;
    }
    EXPECT_EQ(db.RecordCount(), int(whole.count('\n')) - 1);
    EXPECT_TRUE(sd->Exit());
}

TEST_F(SdCardEndToEnd, ADownloadThatStallsOnceIsRestartedAndCompletes) {
    OpenWindow();
    const QString name = sim.Model().FileNames().first();
    StationFaults faults;
    faults.onlyFor = StationRequestKind::ReadFile;
    faults.stallAfterReports = 4;
    faults.stallOnce = true;
    faults.reportPacing = 50us;
    sim.SetFaults(faults);

    Download(name);
    EXPECT_EQ(ReadRequests().size(), 2);
    EXPECT_EQ(Local(name), *sim.Model().FileBytes(name));
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_GT(db.RecordCount(), 0);
    // Every thread of the download was named (as `top -H` shows them).
    const QStringList threads = view.Names();
    for (const char* worker : {"orv-receive", "orv-sim-pacing", "orv-import"})
        EXPECT_TRUE(threads.contains(worker))
            << worker << " in " << threads.join(' ').toStdString();
    EXPECT_EQ(test::UnnamedThreads(threads), QStringList());
}

TEST_F(SdCardEndToEnd, ADownloadThatStallsTwiceIsAbandonedAndItsPartialFileGoes) {
    OpenWindow();
    const QString name = sim.Model().FileNames().first();
    StationFaults faults;
    faults.onlyFor = StationRequestKind::ReadFile;
    faults.stallAfterReports = 4;
    faults.stallOnce = false;
    sim.SetFaults(faults);

    sd->ClickFileRow(0);
    sd->SaveAs();
    ASSERT_TRUE(WaitFor([&] { return !sd->IsDownloading() && !state.requestBusy; }));
    EXPECT_EQ(ReadRequests().size(), 2);
    EXPECT_FALSE(QFile::exists(QDir(db.Folder()).filePath(name)));
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_FALSE(state.requestBusy);
    EXPECT_TRUE(window.IsEnabled(SdCardId::kSaveAs));
    EXPECT_EQ(db.RecordCount(), 0);
    EXPECT_TRUE(sd->Exit());
}

TEST_F(SdCardEndToEnd, AStalledSizeListingIsAbandonedWithoutTouchingLocalCopies) {
    const QString name = sim.Model().FileNames().first();
    {
        QFile old(QDir(db.Folder()).filePath(name));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an earlier download");
    }
    StationFaults faults;
    faults.onlyFor = StationRequestKind::ReadFileSize;
    faults.silent = true;
    sim.SetFaults(faults);

    opened = false;
    ASSERT_TRUE(SendSdCardListRequest(
        state, [this](const QString& r) { return dialog->Drive().SendText(r); }));
    ASSERT_TRUE(WaitFor([&] { return opened.load(); }));
    sd->OpenWindow(UiLanguage::English);
    EXPECT_TRUE(sd->IsListingSizes());
    EXPECT_FALSE(sd->Exit());  // the listing is still running

    // Without a single size no watchdog starts; the window's own patience
    // gives the listing up once it has been silent far too long.
    ASSERT_TRUE(WaitFor([&] { return sd->Exit(); }));
    EXPECT_EQ(Local(name), "an earlier download");
    EXPECT_EQ(state.pendingRequest, kPendingNone);
}
