#include <gtest/gtest.h>

#include "FakeConsumers.h"
#include "LinkTestSupport.h"
#include "ManualClock.h"
#include "ReplyDispatcher.h"
#include "TransferWatchdogs.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

class TransferWatchdogsTest : public ::testing::Test {
protected:
    TransferWatchdogsTest() { SetTimings(test::ShortTimings()); }
    ~TransferWatchdogsTest() override {
        watchdogs.Shutdown();
        tasks.JoinAll();
        SetTimings(Timings());
    }

    void Feed(const QByteArray& payload) { dispatcher.HandlePayload(payload); }
    // The watchdog waits; then `span` passes without a report.
    void Pass(std::chrono::milliseconds span) {
        ASSERT_TRUE(clock.Settle());
        clock.Advance(span);
    }
    static Millis Silence() { return GetTimings().downloadSilence; }
    static Millis SizeSilence() { return GetTimings().fileSizeSilence; }
    // What the watchdogs started on task threads has been done.
    bool TasksDone() {
        return test::Eventually([&] { return tasks.Running() == 0; });
    }
    void StartDownload() {
        state.pendingRequest = kPendingFileDownload;
        state.requestBusy = true;
        Feed("Read File:File<size=500>head");
    }

    ExchangeState state;
    test::RecordingConsumers consumers;
    TaskThreads tasks;
    test::ManualClock clock;
    std::atomic<qint64> downloadTotal{0};
    TransferWatchdogs watchdogs{state, &consumers, tasks, clock};
    ReplyDispatcher dispatcher{state,
                               ReplyConsumers{nullptr, nullptr, nullptr, &consumers, nullptr},
                               watchdogs, downloadTotal};
};

TEST_F(TransferWatchdogsTest, ADownloadStalledOnceIsRestartedAndThenCompletes) {
    StartDownload();
    Pass(Silence() - 1ms);
    ASSERT_TRUE(clock.Settle());
    ASSERT_TRUE(TasksDone());
    EXPECT_EQ(consumers.Count("restart"), 0);
    Pass(2ms);
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("restart") == 1; }));
    EXPECT_EQ(watchdogs.RetryCount(), 1);
    // The station answers the new request from the start.
    Feed("Read File:File<size=500>again");
    Feed("more");
    Feed("@");
    EXPECT_EQ(consumers.File(), QByteArray("againmore"));
    EXPECT_EQ(consumers.Calls().last(), QStringLiteral("ended:500"));
    EXPECT_TRUE(test::Eventually([&] { return watchdogs.LiveWatchdogThreads() == 0; }));
    EXPECT_EQ(watchdogs.RetryCount(), 0);
    EXPECT_EQ(consumers.Count("abandon"), 0);
    EXPECT_EQ(state.pendingRequest, kPendingNone);
}

TEST_F(TransferWatchdogsTest, ADownloadStalledTwiceIsAbandonedNotRestartedAgain) {
    StartDownload();
    Pass(Silence() + 2ms);
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("restart") == 1; }));
    Pass(Silence() + 2ms);
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("abandon") == 1; }));
    EXPECT_EQ(consumers.Count("restart"), 1);
    EXPECT_FALSE(watchdogs.WatchdogRunning());
    EXPECT_EQ(watchdogs.RetryCount(), 0);
    // Nothing is awaited any more and late data is not taken for the file.
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_FALSE(state.requestBusy);
    EXPECT_EQ(dispatcher.Kind(), ResponseKind::None);
    Feed("late data");
    EXPECT_EQ(consumers.File(), QByteArray());
    // No watchdog is left to act on later silences.
    EXPECT_TRUE(test::Eventually([&] { return watchdogs.LiveWatchdogThreads() == 0; }));
    clock.Advance(Silence() * 3);
    ASSERT_TRUE(TasksDone());
    EXPECT_EQ(consumers.Count("restart"), 1);
    EXPECT_EQ(consumers.Count("abandon"), 1);
}

TEST_F(TransferWatchdogsTest, ADownloadWhoseReportsKeepComingIsNeverRestarted) {
    StartDownload();
    // Five silences in all, never a whole one without a report.
    for (int i = 0; i < 10; ++i) {
        Pass(Silence() / 2);
        Feed("x");
    }
    ASSERT_TRUE(clock.Settle());
    Feed("@");
    ASSERT_TRUE(TasksDone());
    EXPECT_EQ(consumers.Count("restart"), 0);
    EXPECT_EQ(consumers.Count("abandon"), 0);
}

TEST_F(TransferWatchdogsTest, AStalledSizeListingIsAskedAgainOnceThenAbandoned) {
    consumers.currentRow = 0;
    consumers.lastRow = 2;
    state.pendingRequest = kPendingFileSizes;
    Feed("File Size:File<size=10>");
    ASSERT_EQ(consumers.Count("request-size:1"), 1);
    Pass(SizeSilence() + 2ms);
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("request-size:1") == 2; }));
    EXPECT_EQ(consumers.Count("abandon"), 0);
    Pass(SizeSilence() + 2ms);
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("abandon") == 1; }));
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_EQ(dispatcher.Kind(), ResponseKind::None);
}

TEST_F(TransferWatchdogsTest, TheSizeWatchdogEndsWithItsListingAndNeverActsOnTheDownloadAfterIt) {
    consumers.currentRow = 0;
    consumers.lastRow = 0;
    Feed("File Size:File<size=10>");
    // The listing is over; a download begins at once.
    StartDownload();
    EXPECT_TRUE(watchdogs.WatchdogRunning());
    EXPECT_TRUE(test::Eventually([&] { return watchdogs.LiveWatchdogThreads() == 1; }, 1000ms));
    // Well within the download's silence, longer than the size silence.
    for (int i = 0; i < 6; ++i) {
        Pass(SizeSilence() / 2);
        Feed("data");
    }
    ASSERT_TRUE(clock.Settle());
    ASSERT_TRUE(TasksDone());
    EXPECT_EQ(consumers.Count("request-size"), 0);
    EXPECT_EQ(consumers.Count("abandon"), 0);
    EXPECT_EQ(consumers.Count("restart"), 0);
    Feed("@");
    EXPECT_TRUE(test::Eventually([&] { return watchdogs.LiveWatchdogThreads() == 0; }));
}

TEST_F(TransferWatchdogsTest, ShuttingDownStopsARunningWatchdogAtOnce) {
    Timings t = test::ShortTimings();
    t.downloadSilence = Millis(60000);
    SetTimings(t);
    StartDownload();
    const auto start = std::chrono::steady_clock::now();
    watchdogs.Shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(consumers.Count("restart"), 0);
}

}  // namespace
}  // namespace orvane
