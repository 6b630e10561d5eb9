#include <gtest/gtest.h>

#include <future>

#include "FakeConsumers.h"
#include "LinkSession.h"
#include "LinkTestSupport.h"
#include "StationSimulator.h"
#include "StringTable.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Every request kind, hit at every stage by an unplug and replug or by a
// stall once or twice, through the real link threads against the simulator.
// Whatever happens, the link must come back to idle: nothing pending, no
// reply half-assembled, no watchdog left, the poll running again, the next
// request of the same kind answered in full, and a prompt stop.
enum class Kind { Settings, NowData, SdList, FileSize, Download, Write, Reset };
enum class Stage { UnplugBeforeRequest, UnplugMidReply, UnplugAfterReply, StallOnce, StallTwice };

struct Row {
    Kind kind;
    Stage stage;
};

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    static const char* kinds[] = {"Settings", "NowData", "SdList", "FileSize",
                                  "Download", "Write",   "Reset"};
    static const char* stages[] = {"UnplugBefore", "UnplugMid", "UnplugAfter", "StallOnce",
                                   "StallTwice"};
    return std::string(kinds[static_cast<int>(info.param.kind)]) + "_" +
           stages[static_cast<int>(info.param.stage)];
}

StationRequestKind StationKind(Kind kind) {
    switch (kind) {
        case Kind::Settings: return StationRequestKind::ReadSettings;
        case Kind::NowData: return StationRequestKind::ReadNowData;
        case Kind::SdList: return StationRequestKind::ReadSdList;
        case Kind::FileSize: return StationRequestKind::ReadFileSize;
        case Kind::Download: return StationRequestKind::ReadFile;
        case Kind::Write:
        case Kind::Reset: return StationRequestKind::Write;
    }
    return StationRequestKind::Unknown;
}

class FaultMatrixTest : public ::testing::TestWithParam<Row> {
protected:
    FaultMatrixTest() {
        Timings t = test::ShortTimings();
        t.downloadSilence = Millis(120 * test::kSlowdown);
        t.fileSizeSilence = Millis(80 * test::kSlowdown);
        t.autoReadPeriod = Millis(64);
        SetTimings(t);
        SetCurrentLanguage(UiLanguage::English);
        StationModelOptions options;
        options.logFileDays = {1, 1};
        station = std::make_unique<StationSimulator>(11, options);
        dialog = std::make_unique<COrvaneDlg>(*station);
        consumers.drive = &dialog->Drive();
        consumers.fileNames = station->Model().FileNames();
        consumers.onReadSettings = [this] {
            if (!dialog->Drive().ProbeStation()) return;
            Send(state.settingReplyText, state.awaitingSetting, kPendingSettings,
                 QString::fromLatin1(Request::kReadSettings));
        };
        session = std::make_unique<LinkSession>(LinkSessionParts{
            *station, *dialog, state, events, clock, &consumers,
            ReplyConsumers{&consumers, &consumers, &consumers, &consumers, &events},
            station.get()});
        session->Start();
    }
    ~FaultMatrixTest() override {
        session.reset();
        SetTimings(Timings());
    }

    void Send(ReplyBuffer& buffer, std::atomic<bool>& awaiting, int pending,
              const QString& request) {
        buffer.Clear();
        awaiting = true;
        state.requestBusy = true;
        state.pendingRequest = pending;
        dialog->Drive().SendText(request);
    }

    // Sends the request as its sender does. Writes are exchanges that wait
    // for their confirmation, so they run beside the test.
    void Issue(Kind kind) {
        switch (kind) {
            case Kind::Settings:
                consumers.onReadSettings();
                break;
            case Kind::NowData:
                Send(state.nowDataReplyText, state.awaitingNowData, kPendingNowData,
                     QString::fromLatin1(Request::kReadNowData));
                break;
            case Kind::SdList:
                Send(state.sdListReplyText, state.awaitingSdList, kPendingSdList,
                     QString::fromLatin1(Request::kReadSdCardList));
                break;
            case Kind::FileSize:
                consumers.currentRow = 0;
                consumers.lastRow = static_cast<int>(consumers.fileNames.size()) - 1;
                state.pendingRequest = kPendingFileSizes;
                consumers.RequestFileSize();
                break;
            case Kind::Download:
                consumers.StartDownload(state, consumers.fileNames.front());
                break;
            case Kind::Write:
            case Kind::Reset: {
                const QString request = kind == Kind::Write
                                            ? QStringLiteral("Write&time zone=5&http 1.0")
                                            : QString::fromLatin1(Request::kWriteResetMaxMin);
                exchange = std::async(std::launch::async,
                                      [this, request] { return dialog->Transact(request); });
                break;
            }
        }
    }

    // Whether the reply to the request of `kind` has fully arrived.
    int Answers(Kind kind) const {
        switch (kind) {
            case Kind::Settings: return consumers.Count("settings:");
            case Kind::NowData: return consumers.Count("nowdata:");
            case Kind::SdList: return consumers.Count("list:");
            case Kind::FileSize:
                return consumers.Count("size:") / static_cast<int>(consumers.fileNames.size());
            case Kind::Download: return consumers.Count("ended:");
            case Kind::Write:
            case Kind::Reset: return writesConfirmed;
        }
        return 0;
    }
    void CollectExchange() {
        if (!exchange.valid()) return;
        ASSERT_EQ(exchange.wait_for(5s * test::kSlowdown), std::future_status::ready);
        writesConfirmed += exchange.get().contains(QStringLiteral("success")) ? 1 : 0;
    }

    bool Idle() {
        DeviceLink& link = session->Link().Link();
        return state.pendingRequest == kPendingNone && !state.requestBusy &&
               link.Dispatcher().Kind() == ResponseKind::None &&
               !link.Watchdogs().WatchdogRunning() && link.Watchdogs().LiveWatchdogThreads() == 0;
    }

    std::unique_ptr<StationSimulator> station;
    std::unique_ptr<COrvaneDlg> dialog;
    ExchangeState state;
    test::RecordingEvents events;
    SystemClock clock;
    test::RecordingConsumers consumers;
    std::unique_ptr<LinkSession> session;
    std::future<QString> exchange;
    int writesConfirmed = 0;
};

TEST_P(FaultMatrixTest, TheLinkComesBackToIdleAndServesTheNextRequest) {
    const Row row = GetParam();
    const StationRequestKind stationKind = StationKind(row.kind);
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("settings:") == 1 && Idle(); }));
    const int settingsBefore = consumers.Count("settings:");

    StationFaults faults;
    faults.onlyFor = stationKind;
    // Small reports, so that every reply (a size too) can stop half-way;
    // each still carries its whole tag.
    faults.chunkSizes = {16};
    if (row.stage == Stage::UnplugMidReply || row.stage == Stage::StallOnce ||
        row.stage == Stage::StallTwice) {
        // The reply stops after its first report (a write confirmation is
        // held back); when stalled twice, the repeated request stops too.
        faults.stallAfterReports = 1;
        faults.holdConfirmations = true;
        faults.stallOnce = row.stage != Stage::StallTwice;
    }
    station->SetFaults(faults);

    const bool unplugs = row.stage == Stage::UnplugBeforeRequest ||
                         row.stage == Stage::UnplugMidReply ||
                         row.stage == Stage::UnplugAfterReply;
    if (row.stage == Stage::UnplugBeforeRequest) {
        station->Unplug();
        ASSERT_TRUE(test::Eventually([&] { return events.Attached() == false; }));
    }
    const std::size_t requestsBefore = station->ReceivedRequests().size();
    Issue(row.kind);
    if (row.stage == Stage::UnplugMidReply) {
        ASSERT_TRUE(station->WaitForRequests(requestsBefore + 1, 5s));
        station->Unplug();
    } else if (row.stage == Stage::UnplugAfterReply) {
        ASSERT_TRUE(test::Eventually([&] {
            if (exchange.valid()) CollectExchange();
            return Answers(row.kind) == 1;
        }));
        station->Unplug();
    }
    CollectExchange();
    if (unplugs) {
        ASSERT_TRUE(test::Eventually([&] { return events.Attached() == false; }));
        station->Plug();
        ASSERT_TRUE(test::Eventually([&] { return events.Attached() == true; }));
        // The reopening reads the settings again, which settles what the
        // unplug left pending.
        ASSERT_TRUE(
            test::Eventually([&] { return consumers.Count("settings:") > settingsBefore; }));
    }
    const bool watched = row.kind == Kind::Download || row.kind == Kind::FileSize;
    if (row.stage == Stage::StallTwice && !watched) {
        // The repeated request stalls as well; the sender's next one after
        // the station recovers is answered.
        Issue(row.kind);
        CollectExchange();
    }
    station->ClearFaults();
    station->ReleaseHeldReports();

    // The watchdogs restart or give up a stalled transfer; other replies stay
    // open until the next request of the kind, which the sender sends now.
    // A download resumes from what its local copy holds.
    ASSERT_TRUE(test::Eventually(
        [&] { return session->Link().Link().Watchdogs().LiveWatchdogThreads() == 0; }));
    const int answered = Answers(row.kind);
    Issue(row.kind);
    ASSERT_TRUE(test::Eventually([&] {
        if (exchange.valid()) CollectExchange();
        return Answers(row.kind) > answered;
    }));
    if (row.kind == Kind::Download)
        EXPECT_EQ(consumers.File(), *station->Model().FileBytes(consumers.fileNames.front()));
    EXPECT_TRUE(test::Eventually([&] { return Idle(); }));

    // The poll of the current readings runs again, bringing the buttons back.
    const int done = events.readingsDone;
    EXPECT_TRUE(test::Eventually([&] { return events.readingsDone > done; }));

    const auto stopping = std::chrono::steady_clock::now();
    session.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, 1s * test::kSlowdown);
}

std::vector<Row> AllRows() {
    std::vector<Row> rows;
    for (Kind kind : {Kind::Settings, Kind::NowData, Kind::SdList, Kind::FileSize, Kind::Download,
                      Kind::Write, Kind::Reset})
        for (Stage stage : {Stage::UnplugBeforeRequest, Stage::UnplugMidReply,
                            Stage::UnplugAfterReply, Stage::StallOnce, Stage::StallTwice})
            rows.push_back({kind, stage});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(EveryKindAndStage, FaultMatrixTest, ::testing::ValuesIn(AllRows()),
                         RowName);

}  // namespace
}  // namespace orvane
