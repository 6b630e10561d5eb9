#include <gtest/gtest.h>

#include "FakeConsumers.h"
#include "FakeHid.h"
#include "LinkSession.h"
#include "LinkTestSupport.h"
#include "ManualClock.h"
#include "StringTable.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::FakeHidBus;

// The settings window's connection machinery over the recording bus, with a
// settings read that sends the real request.
class ConnectionTest : public ::testing::Test {
protected:
    ConnectionTest() {
        SetTimings(test::ShortTimings());
        SetCurrentLanguage(UiLanguage::English);
        consumers.onReadSettings = [this] {
            state.settingReplyText.Clear();
            state.awaitingSetting = true;
            state.requestBusy = true;
            state.pendingRequest = kPendingSettings;
            dialog.Drive().SendText(QString::fromLatin1(Request::kReadSettings));
        };
    }
    ~ConnectionTest() override {
        session.reset();
        SetTimings(Timings());
    }

    void StartSession(const MonotonicClock* poll = nullptr) {
        session = std::make_unique<LinkSession>(LinkSessionParts{
            bus, dialog, state, events, clock, &consumers,
            ReplyConsumers{&consumers, &consumers, &consumers, &consumers, &events}, &bus,
            poll});
        session->Start();
    }
    int Sent(const char* request) const {
        int n = 0;
        for (const auto& write : bus.Writes()) {
            const QByteArray payload(reinterpret_cast<const char*>(write.bytes.data()) + 2, 59);
            n += payload.startsWith(request) ? 1 : 0;
        }
        return n;
    }

    FakeHidBus bus;
    COrvaneDlg dialog{bus};
    ExchangeState state;
    test::RecordingEvents events;
    FixedClock clock{QDateTime(QDate(2024, 3, 7), QTime(10, 0)),
                     QDateTime(QDate(2024, 3, 7), QTime(2, 0))};
    test::RecordingConsumers consumers;
    test::ManualClock pollTime;
    std::unique_ptr<LinkSession> session;
};

TEST_F(ConnectionTest, StartingWithTheStationReadsTheSettingsOnceAndShowsConnected) {
    StartSession();
    EXPECT_TRUE(state.stationAttached);
    ASSERT_TRUE(test::Eventually([&] { return Sent(Request::kReadSettings) == 1; }));
    EXPECT_TRUE(test::Eventually([&] { return events.Attached() == true; }));
    EXPECT_TRUE(session->Link().Link().IsPresent());
    EXPECT_TRUE(test::Eventually([&] { return events.Ticks() >= 2; }));
    // The reply reaches the receive connection and the settings handler.
    bus.PushPayload("Setting:Time=2024-03-07 10:00\r\n");
    bus.PushPayload("\r\n@");
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("settings:") == 1; }));
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_EQ(Sent(Request::kReadSettings), 1);
    // The connection is reported when it changes, not on every pass.
    EXPECT_EQ(events.ConnectionReports(), 1);
}

TEST_F(ConnectionTest, APendingRequestHoldsThePoll) {
    StartSession(&pollTime);
    ASSERT_TRUE(test::Eventually([&] { return Sent(Request::kReadSettings) == 1; }));
    // The settings reply never completes: PendingRequest stays 1.
    const Millis period = GetTimings().autoReadPeriod;
    ASSERT_TRUE(pollTime.Settle());
    pollTime.Advance(period * 3);
    ASSERT_TRUE(pollTime.Settle());
    EXPECT_EQ(Sent(Request::kReadNowData), 0);
    // Once it clears, the next poll follows within one period.
    state.pendingRequest = kPendingNone;
    ASSERT_TRUE(pollTime.AdvanceUntil([&] { return Sent(Request::kReadNowData) == 1; },
                                      period / AutoReadThread::kBeatsPerPoll, period));
    EXPECT_EQ(state.pendingRequest, kPendingNowData);
    EXPECT_TRUE(state.awaitingNowData);
    bus.PushPayload("Now Data:12.0C@");
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("nowdata:") == 1; }));
    EXPECT_EQ(state.pendingRequest, kPendingNone);
}

TEST_F(ConnectionTest, DeviceChangesProbeOnlyWhenTheyCanChangeTheState) {
    DeviceChangeHandler handler(state, dialog.Drive());
    state.stationAttached = true;
    handler.HandleDeviceChange(DeviceChange::Arrival);  // attached already: nothing
    EXPECT_EQ(bus.OpenCount(HidOpenMode::ReadWrite), 0);
    handler.HandleDeviceChange(DeviceChange::Removal);  // the station is still there
    EXPECT_TRUE(state.stationAttached);
    EXPECT_GT(bus.OpenCount(HidOpenMode::ReadWrite), 0);
    bus.Unplug();
    handler.HandleDeviceChange(DeviceChange::Removal);
    EXPECT_FALSE(state.stationAttached);
    EXPECT_TRUE(state.reopenNeeded);
    state.reopenNeeded = false;
    handler.HandleDeviceChange(DeviceChange::Arrival);  // some other device arrived
    EXPECT_FALSE(state.stationAttached);
    EXPECT_TRUE(state.reopenNeeded);
}

TEST_F(ConnectionTest, StoppingEndsEveryThreadPromptlyEvenInTheMiddleOfATransfer) {
    Timings t = test::ShortTimings();
    t.downloadSilence = Millis(60000);
    t.linkPass = Millis(1000);
    t.clockTick = Millis(60000);
    SetTimings(t);
    StartSession();
    ASSERT_TRUE(test::Eventually([&] { return Sent(Request::kReadSettings) == 1; }));
    bus.PushPayload("Read File:File<size=100>abc");
    ASSERT_TRUE(
        test::Eventually([&] { return session->Link().Link().Watchdogs().WatchdogRunning(); }));
    const auto start = std::chrono::steady_clock::now();
    session.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

}  // namespace
}  // namespace orvane
