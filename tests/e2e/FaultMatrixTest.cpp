#include <gtest/gtest.h>

#include <future>
#include <optional>

#include "../link/FakeConsumers.h"
#include "../link/LinkTestSupport.h"
#include "../writes/WriteTestSupport.h"
#include "FullWrite.h"
#include "LinkSession.h"
#include "SettingsLayout.h"
#include "StationSimulator.h"
#include "StringTable.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Every request kind, hit at every stage by an unplug and replug or by a
// stall once or twice, through the real link threads against the simulator.
// Whatever happens, the link must come back to idle: nothing pending, no
// reply half-assembled, no watchdog left, Read and Save All enabled again,
// the poll running, the next request of the same kind answered in full (a
// download resumed from its partial copy), and a prompt stop.
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
        case Kind::Settings:
            return StationRequestKind::ReadSettings;
        case Kind::NowData:
            return StationRequestKind::ReadNowData;
        case Kind::SdList:
            return StationRequestKind::ReadSdList;
        case Kind::FileSize:
            return StationRequestKind::ReadFileSize;
        case Kind::Download:
            return StationRequestKind::ReadFile;
        case Kind::Write:
        case Kind::Reset:
            return StationRequestKind::Write;
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
        test::FillLikeOpenedWindow(resetWindow);
        resetContext.emplace(WriteContext{resetWindow, *dialog, state, clock, {}, {}, {}, {}});
        resetContext->unitStage = [] { return QStringLiteral("EU"); };
        resetContext->unitChanged = [](int) {};
        resetContext->readSettings = [this] { consumers.onReadSettings(); };
        session = std::make_unique<LinkSession>(LinkSessionParts{
            *station, *dialog, state, events, clock, &consumers,
            ReplyConsumers{&consumers, &consumers, &consumers, &consumers, &events},
            station.get()});
        session->Start();
    }
    ~FaultMatrixTest() override {
        if (exchange.valid()) exchange.wait();
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

    // Writes are exchanges that wait for their confirmation, so they run
    // beside the test.
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
                state.requestBusy = true;
                state.pendingRequest = kPendingFileSizes;
                consumers.RequestFileSize();
                break;
            case Kind::Download:
                consumers.StartDownload(state, consumers.fileNames.front());
                break;
            case Kind::Write:
                exchange = std::async(std::launch::async, [this] {
                    return dialog->Transact(QStringLiteral("Write&time zone=5&http 1.0"));
                });
                break;
            case Kind::Reset:
                // The whole factory reset: 27 writes, the max/min reset and
                // the settings read-back, as the Reset button sends them.
                exchange = std::async(std::launch::async, [this] {
                    return FactoryReset(*resetContext).outcome == WriteOutcome::Success
                               ? QStringLiteral("success")
                               : QStringLiteral("failed");
                });
                break;
        }
    }

    // How many replies to requests of `kind` have fully arrived.
    int Answers(Kind kind) {
        switch (kind) {
            case Kind::Settings:
                return consumers.Count("settings:");
            case Kind::NowData:
                return consumers.Count("nowdata:");
            case Kind::SdList:
                return consumers.Count("list:");
            case Kind::FileSize:
                return consumers.Count("size:") / static_cast<int>(consumers.fileNames.size());
            case Kind::Download:
                return consumers.Count("ended:");
            case Kind::Write:
            case Kind::Reset:
                CollectExchange();
                return writesConfirmed;
        }
        return 0;
    }
    void CollectExchange() {
        if (!exchange.valid()) return;
        ASSERT_EQ(exchange.wait_for(5s * test::kSlowdown), std::future_status::ready);
        writesConfirmed += exchange.get().contains(QStringLiteral("success")) ? 1 : 0;
    }
    // The consumer calls, each cut short, to tell what a failed row went through.
    QString CallsForFailure() const {
        QStringList calls;
        for (const QString& call : consumers.Calls()) calls << call.left(40);
        QStringList requests;
        for (const QString& r : station->ReceivedRequests()) requests << r.left(40);
        return calls.join(" | ") + "\nrequests: " + requests.join(" | ");
    }
    bool Attached() const { return events.Attached() == true; }

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
    MemorySettingsWindow resetWindow;
    std::optional<WriteContext> resetContext;
    std::unique_ptr<LinkSession> session;
    std::future<QString> exchange;
    int writesConfirmed = 0;
};

TEST_P(FaultMatrixTest, TheLinkComesBackToIdleAndServesTheNextRequest) {
    const Row row = GetParam();
    ASSERT_TRUE(test::Eventually([&] { return consumers.Count("settings:") == 1 && Idle(); }));
    const int settingsBefore = consumers.Count("settings:");

    StationFaults faults;
    faults.onlyFor = StationKind(row.kind);
    // Small reports, so that a reply can stop half-way; still large enough
    // for a whole tag, as the receive thread looks for tags report by report.
    faults.chunkSizes = {32};
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
                         row.stage == Stage::UnplugMidReply || row.stage == Stage::UnplugAfterReply;
    if (row.stage == Stage::UnplugBeforeRequest) {
        station->Unplug();
        ASSERT_TRUE(test::Eventually([&] { return !Attached(); }));
    }
    // A download resumes a partial copy, kept from an earlier try.
    const QByteArray cardFile = row.kind == Kind::Download
                                    ? *station->Model().FileBytes(consumers.fileNames.front())
                                    : QByteArray();
    const qsizetype keptBefore = cardFile.size() / 3;
    if (row.kind == Kind::Download) consumers.KeepLocalCopy(cardFile.left(keptBefore));
    const std::size_t requestsBefore = station->ReceivedRequests().size();
    const int answersBefore = Answers(row.kind);
    Issue(row.kind);
    if (row.stage == Stage::UnplugMidReply) {
        ASSERT_TRUE(station->WaitForRequests(requestsBefore + 1, 5s));
        station->Unplug();
    } else if (row.stage == Stage::UnplugAfterReply) {
        ASSERT_TRUE(test::Eventually([&] { return Answers(row.kind) == answersBefore + 1; }))
            << CallsForFailure().toStdString();
        station->Unplug();
    }
    CollectExchange();
    if (unplugs) {
        ASSERT_TRUE(test::Eventually([&] { return !Attached(); }));
        station->Plug();
        ASSERT_TRUE(test::Eventually([&] { return Attached(); }));
        // The reopening reads the settings again, which settles what the
        // unplug left pending.
        ASSERT_TRUE(
            test::Eventually([&] { return consumers.Count("settings:") > settingsBefore; }));
    }
    const bool watched = row.kind == Kind::Download || row.kind == Kind::FileSize;
    if (row.stage == Stage::StallTwice && !watched) {
        // The repeated request stalls as well.
        Issue(row.kind);
        CollectExchange();
    }
    if (watched && (row.stage == Stage::StallOnce || row.stage == Stage::StallTwice)) {
        // A stalled transfer is the watchdogs' to settle, while the window
        // offers nothing new: restarted once it completes, stalled again it
        // is given up.
        ASSERT_TRUE(test::Eventually([&] {
            return Answers(row.kind) > 0 || consumers.Count("abandon") > 0;
        })) << CallsForFailure().toStdString();
        // A size reply fits in one report, so only a download stalls here.
        if (row.kind == Kind::Download) {
            EXPECT_EQ(consumers.Count("abandon"), row.stage == Stage::StallTwice ? 1 : 0);
        }
    }
    station->ClearFaults();
    station->ReleaseHeldReports();

    // The watchdogs restart or give up a stalled transfer; other replies stay
    // open until the next request of the kind, which the sender sends now.
    ASSERT_TRUE(test::Eventually(
        [&] { return session->Link().Link().Watchdogs().LiveWatchdogThreads() == 0; }));
    const int answered = Answers(row.kind);
    const qsizetype stored = consumers.File().size();
    const std::size_t requestsAfterFault = station->ReceivedRequests().size();
    Issue(row.kind);
    ASSERT_TRUE(test::Eventually([&] { return Answers(row.kind) > answered; }));
    if (row.kind == Kind::Download) {
        // Resumed, not restarted: no request, the watchdog's included, went
        // back behind the kept copy, and the first one after the fault asked
        // for exactly what was not stored yet.
        const std::vector<QString> requests = station->ReceivedRequests();
        std::vector<std::pair<std::size_t, qint64>> starts;  // request index, Start
        for (std::size_t i = requestsBefore; i < requests.size(); ++i)
            if (ClassifyStationRequest(requests[i]) == StationRequestKind::ReadFile)
                starts.emplace_back(i, requests[i]
                                           .section(QStringLiteral("&Start="), 1)
                                           .section(u'&', 0, 0)
                                           .toLongLong());
        for (const auto& [index, start] : starts)
            EXPECT_GE(start, keptBefore) << CallsForFailure().toStdString();
        EXPECT_GE(stored, keptBefore);
        const auto next = std::find_if(starts.begin(), starts.end(), [&](const auto& s) {
            return s.first >= requestsAfterFault;
        });
        ASSERT_NE(next, starts.end());
        EXPECT_EQ(next->second, stored) << CallsForFailure().toStdString();
        EXPECT_TRUE(consumers.File() == cardFile) << CallsForFailure().toStdString();
    }
    EXPECT_TRUE(test::Eventually([&] { return Idle(); }));

    // The poll of the current readings runs again, bringing Read and Save
    // All back.
    const int polled = consumers.Count("nowdata:");
    const int buttonsBack = events.readingsDone;
    EXPECT_TRUE(test::Eventually([&] { return consumers.Count("nowdata:") > polled; }));
    EXPECT_TRUE(test::Eventually([&] { return events.readingsDone > buttonsBack; }));

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
