#include <gtest/gtest.h>

#include "FakeConsumers.h"
#include "LinkSession.h"
#include "LinkTestSupport.h"
#include "ManualClock.h"
#include "StationSimulator.h"
#include "StringTable.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

StationModelOptions SmallCard() {
    StationModelOptions options;
    options.logFileDays = {1, 1};
    return options;
}

class SimulatorLinkTest : public ::testing::Test {
protected:
    SimulatorLinkTest() {
        SetTimings(test::ShortTimings());
        SetCurrentLanguage(UiLanguage::English);
        consumers.drive = &dialog.Drive();
        consumers.onReadSettings = [this] {
            if (!dialog.Drive().ProbeStation()) return;
            state.settingReplyText.Clear();
            state.awaitingSetting = true;
            state.requestBusy = true;
            state.pendingRequest = kPendingSettings;
            dialog.Drive().SendText(QString::fromLatin1(Request::kReadSettings));
        };
    }
    ~SimulatorLinkTest() override {
        session.reset();
        SetTimings(Timings());
    }

    void StartSession(const MonotonicClock* poll = nullptr) {
        session = std::make_unique<LinkSession>(LinkSessionParts{
            station, dialog, state, events, clock, &consumers,
            ReplyConsumers{&consumers, &consumers, &consumers, &consumers, &events}, &station,
            poll});
        session->Start();
    }
    // A whole poll period passes; the poll has looked at the time since.
    void PassPollPeriod() {
        ASSERT_TRUE(pollTime.Settle());
        pollTime.Advance(GetTimings().autoReadPeriod);
        ASSERT_TRUE(pollTime.Settle());
    }
    int Requests(StationRequestKind kind) const {
        int n = 0;
        for (const QString& request : station.ReceivedRequests())
            n += ClassifyStationRequest(request) == kind ? 1 : 0;
        return n;
    }
    bool SettingsReceived(int count) {
        return test::Eventually([&] { return consumers.Count("settings:") == count; });
    }

    StationSimulator station{7, SmallCard()};
    COrvaneDlg dialog{station};
    ExchangeState state;
    test::RecordingEvents events;
    SystemClock clock;
    test::RecordingConsumers consumers;
    test::ManualClock pollTime;
    std::unique_ptr<LinkSession> session;
};

TEST_F(SimulatorLinkTest, TransactGetsTheWriteConfirmationAndTheStationTakesTheValue) {
    const QString reply = dialog.Transact(QStringLiteral("Write&time zone=5&http 1.0"));
    EXPECT_TRUE(reply.contains(QStringLiteral("Write success"))) << reply.toStdString();
    EXPECT_EQ(station.ReceivedRequests().back(), QStringLiteral("Write&time zone=5&http 1.0"));

    station.Unplug();
    EXPECT_EQ(dialog.Transact(QStringLiteral("Write&time zone=6&http 1.0")),
              QStringLiteral("Unconnected"));
    EXPECT_EQ(station.ReceivedRequests().size(), 1u);
}

TEST_F(SimulatorLinkTest, AConfirmationLaterThanTheTwoReadsIsNotSeenByTransact) {
    StationFaults faults;
    faults.holdConfirmations = true;
    station.SetFaults(faults);
    EXPECT_FALSE(dialog.Transact(QStringLiteral("Write&time zone=5&http 1.0"))
                     .contains(QStringLiteral("success")));
    // It does come, after the exchange gave up on it.
    ASSERT_TRUE(dialog.Drive().HasHandle());
    station.ReleaseHeldReports();
    EXPECT_TRUE(dialog.Drive().ReadReplyReport().contains(QStringLiteral("Write success")));
}

TEST_F(SimulatorLinkTest, BothConnectionsSeeTheSameInputReports) {
    ASSERT_TRUE(dialog.Drive().ProbeStation());
    DeviceLink link(station, state,
                    ReplyConsumers{&consumers, &consumers, &consumers, &consumers, nullptr});
    link.Open();
    ASSERT_TRUE(link.IsPresent());
    // The write confirmation reaches the receive thread too, which ignores it
    // while no reply is being assembled; the request connection reads it.
    state.pendingRequest = kPendingSettings;
    state.awaitingSetting = true;
    ASSERT_TRUE(dialog.Drive().SendText(QString::fromLatin1(Request::kReadSettings)));
    ASSERT_TRUE(SettingsReceived(1));
    EXPECT_TRUE(state.settingReplyText.Text().startsWith(QStringLiteral("Setting:")));
    station.InjectPayload("Write success");
    EXPECT_EQ(dialog.Drive().ReadReplyReport().left(8), QStringLiteral("Setting:"));
    QString rest;
    for (int i = 0; i < 40 && !rest.contains(QStringLiteral("Write success")); ++i)
        rest += dialog.Drive().ReadReplyReport();
    EXPECT_TRUE(rest.contains(QStringLiteral("Write success")));
    EXPECT_EQ(link.Dispatcher().Kind(), ResponseKind::None);
    EXPECT_EQ(consumers.Count("settings:"), 1);
}

TEST_F(SimulatorLinkTest, RepliesSplitAtAnyByteWithNoiseAheadStillAssemble) {
    DeviceLink link(station, state,
                    ReplyConsumers{&consumers, &consumers, &consumers, &consumers, nullptr});
    link.Open();
    ASSERT_TRUE(dialog.Drive().ProbeStation());
    StationFaults faults;
    // The tag itself has to arrive whole in one report: tags are searched
    // report by report.
    faults.chunkSizes = {20, 1, 7, 13, 62, 3};
    faults.tagOffset = 5;
    faults.garbageBeforeReply = true;
    faults.oversizedLengthReport = 2;
    faults.oversizedLengthByte = 200;
    station.SetFaults(faults);
    state.pendingRequest = kPendingNowData;
    ASSERT_TRUE(dialog.Drive().SendText(QString::fromLatin1(Request::kReadNowData)));
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("nowdata:") == 1; }));
    EXPECT_TRUE(consumers.Calls().back().contains(QStringLiteral("Now Data:")));
    EXPECT_EQ(state.pendingRequest, kPendingNone);
}

TEST_F(SimulatorLinkTest, PlugUnplugAndReplugFollowTheStation) {
    station.Unplug();
    StartSession(&pollTime);
    ASSERT_TRUE(test::Eventually([&] { return events.Attached() == false; }));
    PassPollPeriod();
    EXPECT_TRUE(station.ReceivedRequests().empty());

    station.Plug();
    ASSERT_TRUE(SettingsReceived(1));
    EXPECT_EQ(Requests(StationRequestKind::ReadSettings), 1);
    EXPECT_TRUE(test::Eventually([&] { return events.Attached() == true; }));
    // The poll starts once the settings reply has cleared PendingRequest.
    const Millis period = GetTimings().autoReadPeriod;
    ASSERT_TRUE(
        pollTime.AdvanceUntil([&] { return Requests(StationRequestKind::ReadNowData) >= 1; },
                              period / AutoReadThread::kBeatsPerPoll, period));
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("nowdata:") >= 1; }));

    station.Unplug();
    const auto unplugged = std::chrono::steady_clock::now();
    ASSERT_TRUE(test::Eventually([&] { return events.Attached() == false; }));
    EXPECT_LT(std::chrono::steady_clock::now() - unplugged, test::StatusDeadline());
    EXPECT_TRUE(test::Eventually([&] { return !session->Link().Link().IsPresent(); }));
    EXPECT_FALSE(session->Link().Link().HasReadHandle());
    const int polls = Requests(StationRequestKind::ReadNowData);
    PassPollPeriod();
    EXPECT_EQ(Requests(StationRequestKind::ReadNowData), polls);

    station.Plug();
    ASSERT_TRUE(SettingsReceived(2));
    EXPECT_EQ(Requests(StationRequestKind::ReadSettings), 2);
}

TEST_F(SimulatorLinkTest, ADownloadStalledOnceIsRestartedAndGivesTheWholeFile) {
    StartSession();
    ASSERT_TRUE(SettingsReceived(1));
    const QString name = station.Model().FileNames().front();
    const QByteArray expected = *station.Model().FileBytes(name);
    StationFaults faults;
    faults.onlyFor = StationRequestKind::ReadFile;
    faults.stallAfterReports = 4;
    faults.stallOnce = true;
    station.SetFaults(faults);
    consumers.StartDownload(state, name);
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("ended:") == 1; }, 10s));
    EXPECT_EQ(consumers.Count("restart"), 1);
    EXPECT_EQ(consumers.Count("abandon"), 0);
    EXPECT_EQ(consumers.File(), expected);
    EXPECT_EQ(session->Link().Link().DownloadTotal(), expected.size());
    EXPECT_EQ(state.pendingRequest, kPendingNone);
}

TEST_F(SimulatorLinkTest, ADownloadResumedFromTheMiddleGetsTheRest) {
    StartSession();
    ASSERT_TRUE(SettingsReceived(1));
    const QString name = station.Model().FileNames().back();
    const QByteArray expected = *station.Model().FileBytes(name);
    StationFaults faults;
    faults.onlyFor = StationRequestKind::ReadFile;
    faults.stallAfterReports = 10;
    station.SetFaults(faults);
    consumers.StartDownload(state, name);
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("ended:") == 1; }, 10s));
    ASSERT_EQ(consumers.File(), expected);
    // The card's file grows; the next download asks only for the new part.
    const QByteArray added = station.Model().AppendRecords(name, 20);
    ASSERT_FALSE(added.isEmpty());
    consumers.StartDownload(state, name);
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("ended:") == 2; }, 10s));
    EXPECT_EQ(consumers.File(), expected + added);
    EXPECT_EQ(session->Link().Link().DownloadTotal(), added.size());
}

TEST_F(SimulatorLinkTest, ADownloadStalledTwiceIsAbandonedAndItsPartialFileRemoved) {
    StartSession();
    ASSERT_TRUE(SettingsReceived(1));
    const QString name = station.Model().FileNames().front();
    StationFaults faults;
    faults.onlyFor = StationRequestKind::ReadFile;
    faults.stallAfterReports = 4;
    faults.stallOnce = false;
    station.SetFaults(faults);
    consumers.StartDownload(state, name);
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("abandon") == 1; }, 10s));
    EXPECT_EQ(consumers.Count("restart"), 1);
    EXPECT_EQ(consumers.Count("ended:"), 0);
    EXPECT_TRUE(consumers.File().isEmpty());
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    // With nothing pending the current readings are polled again.
    const int polls = Requests(StationRequestKind::ReadNowData);
    EXPECT_TRUE(
        test::Eventually([&] { return Requests(StationRequestKind::ReadNowData) > polls; }));
}

TEST_F(SimulatorLinkTest, TheSizeListingStalledOnceIsAskedAgainAndTwiceIsAbandoned) {
    StartSession();
    ASSERT_TRUE(SettingsReceived(1));
    consumers.fileNames = station.Model().FileNames();
    ASSERT_GE(consumers.fileNames.size(), 2);
    consumers.currentRow = 0;
    consumers.lastRow = static_cast<int>(consumers.fileNames.size()) - 1;
    StationFaults faults;
    faults.onlyFor = StationRequestKind::ReadFileSize;
    faults.silent = true;
    station.SetFaults(faults);
    // The first size arrives (injected), the station then falls silent.
    state.pendingRequest = kPendingFileSizes;
    station.InjectPayload("File Size:File<size=2048>");
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("request-size:1") == 2; }, 10s));
    EXPECT_EQ(consumers.Count("abandon"), 0);
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("abandon") == 1; }, 10s));
    EXPECT_EQ(consumers.Count("size:"), 1);
    EXPECT_EQ(state.pendingRequest, kPendingNone);

    // A listing that the station answers completes with every size.
    station.ClearFaults();
    consumers.currentRow = 0;
    state.pendingRequest = kPendingFileSizes;
    consumers.RequestFileSize();
    ASSERT_TRUE(test::Eventually(
        [&] { return consumers.Count("size:") == 1 + consumers.fileNames.size(); }, 10s));
    EXPECT_EQ(state.pendingRequest, kPendingNone);
}

}  // namespace
}  // namespace orvane
