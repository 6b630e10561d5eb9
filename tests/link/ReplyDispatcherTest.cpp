#include <gtest/gtest.h>

#include "FakeConsumers.h"
#include "LinkTestSupport.h"
#include "ReplyDispatcher.h"

namespace orvane {
namespace {

class ReplyDispatcherTest : public ::testing::Test {
protected:
    ReplyDispatcherTest() {
        SetTimings(test::ShortTimings());
        // Long silences: these tests are about assembly, not stalls.
        Timings t = test::ShortTimings();
        t.downloadSilence = Millis(60000);
        t.fileSizeSilence = Millis(60000);
        SetTimings(t);
    }
    ~ReplyDispatcherTest() override {
        watchdogs.Shutdown();
        tasks.JoinAll();
        SetTimings(Timings());
    }

    void Feed(const QByteArray& payload) { dispatcher.HandlePayload(payload); }

    ExchangeState state;
    test::RecordingConsumers consumers;
    test::RecordingEvents events;
    TaskThreads tasks;
    std::atomic<qint64> downloadTotal{0};
    TransferWatchdogs watchdogs{state, &consumers, tasks};
    ReplyDispatcher dispatcher{
        state, ReplyConsumers{&consumers, &consumers, &consumers, &consumers, &events}, watchdogs,
        downloadTotal};
};

TEST_F(ReplyDispatcherTest, ASettingReplyInFiveReportsIsHandedOverOnceAtItsEnd) {
    state.awaitingSetting = true;
    state.requestBusy = true;
    state.pendingRequest = kPendingSettings;
    const QList<QByteArray> parts{"Setting:Time=2024-", "03-07 10:00\r\nTime", " zone=8\r\nUnit=C",
                                  "&hPa\r\n", "more\r\n@"};
    QByteArray whole;
    for (int i = 0; i < parts.size(); ++i) {
        Feed(parts[i]);
        whole += parts[i];
        if (i < parts.size() - 1) {
            EXPECT_EQ(consumers.Count("settings:"), 0);
            EXPECT_EQ(dispatcher.Kind(), ResponseKind::Setting);
        }
    }
    ASSERT_EQ(consumers.Calls(),
              QStringList{QStringLiteral("settings:") + QString::fromLatin1(whole)});
    EXPECT_EQ(state.settingReplyText.Text(), QString::fromLatin1(whole));
    EXPECT_FALSE(state.awaitingSetting);
    EXPECT_FALSE(state.requestBusy);
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_EQ(dispatcher.Kind(), ResponseKind::None);
    // An "@" without the line break before it does not end a settings reply
    // (the sender empties the buffer before each request).
    state.settingReplyText.Clear();
    Feed("Setting:x=1@");
    EXPECT_EQ(consumers.Count("settings:"), 1);
}

TEST_F(ReplyDispatcherTest, ANowDataReplyCompleteInItsFirstReportBringsTheButtonsBack) {
    state.awaitingNowData = true;
    state.pendingRequest = kPendingNowData;
    Feed("Now Data:21.5C&45%@");
    EXPECT_EQ(consumers.Calls(), QStringList{QStringLiteral("nowdata:Now Data:21.5C&45%@")});
    EXPECT_FALSE(state.awaitingNowData);
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_EQ(events.readingsDone, 1);
}

// A station that never sends the end mark: every assembled kind stays within
// the reply limit, costs time in proportion to what arrives (40,000 reports
// took minutes when each report copied and searched the whole text), gives
// its request up so the poll resumes, and the next reply assembles again.
TEST_F(ReplyDispatcherTest, ARunawayReplyIsDroppedAtTheLimitInLinearTime) {
    struct Case {
        const char* tag;
        int pending;
        std::atomic<bool>& awaiting;
        ReplyBuffer& buffer;
        const char* end;
        const char* consumer;
    };
    const Case cases[] = {
        {"Setting:", kPendingSettings, state.awaitingSetting, state.settingReplyText, "\r\n@",
         "settings:"},
        {"Now Data:", kPendingNowData, state.awaitingNowData, state.nowDataReplyText, "@",
         "nowdata:"},
        {"SDcard file:", kPendingSdList, state.awaitingSdList, state.sdListReplyText, "@", "list:"},
        {"MAX MIN:", kPendingMaxMin, state.awaitingMaxMin, state.maxMinReplyText, "@", "maxmin:"},
    };
    const QByteArray filler(62, 'x');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        c.buffer.Clear();
        c.awaiting = true;
        state.requestBusy = true;
        state.pendingRequest = c.pending;
        Feed(c.tag);
        const qsizetype searchedBefore = c.buffer.Searched();
        qsizetype largest = 0;
        qsizetype fed = 0;
        for (int i = 0; i < 40000 && dispatcher.Kind() != ResponseKind::None; ++i) {
            Feed(filler);
            fed += filler.size();
            largest = std::max(largest, c.buffer.Size());
        }
        // Each character is looked at about once (plus the end mark's
        // length per report); searching the whole text each time would be
        // some 8,000 times more.
        EXPECT_LE(c.buffer.Searched() - searchedBefore, 2 * fed);
        EXPECT_LE(largest, kMaxReplyChars);
        EXPECT_GT(largest, kMaxReplyChars - 2 * filler.size());
        EXPECT_EQ(dispatcher.Kind(), ResponseKind::None);
        EXPECT_EQ(c.buffer.Size(), 0);
        EXPECT_FALSE(c.awaiting);
        EXPECT_FALSE(state.requestBusy);
        EXPECT_EQ(state.pendingRequest, kPendingNone);
        // The end mark split over two reports still ends the next reply.
        const QByteArray end(c.end);
        Feed(QByteArray(c.tag) + "a" + end.left(1));
        Feed(end.mid(1));
        EXPECT_EQ(consumers.Count(c.consumer), 1);
    }
}

TEST_F(ReplyDispatcherTest, ReportsWithoutATagAreDroppedWhileNothingIsAssembled) {
    Feed("Write success");
    Feed(QByteArray(62, 'z'));
    EXPECT_EQ(dispatcher.Kind(), ResponseKind::None);
    EXPECT_TRUE(consumers.Calls().isEmpty());
    EXPECT_EQ(state.settingReplyText.Size() + state.nowDataReplyText.Size() +
                  state.sdListReplyText.Size() + state.maxMinReplyText.Size(),
              0);
}

TEST_F(ReplyDispatcherTest, ReportBytesBecomeTheCharactersOfTheSameCodeUpToTheFirstZero) {
    EXPECT_EQ(ReplyDispatcher::ReportText(QByteArray("\xb0"
                                                     "C")),
              QStringLiteral("\u00b0C"));
    EXPECT_EQ(ReplyDispatcher::ReportText(QByteArray("ab\0cd", 5)), QStringLiteral("ab"));
    Feed(
        QByteArray("Now Data:-3.5\xb0"
                   "C\0@",
                   16));
    EXPECT_EQ(state.nowDataReplyText.Text(), QStringLiteral("Now Data:-3.5\u00b0C"));
    EXPECT_EQ(consumers.Count("nowdata:"), 0);  // the "@" after the zero is not part of the text
}

TEST_F(ReplyDispatcherTest, InputLengthBytesAreClampedToTheReport) {
    std::vector<std::uint8_t> report(64, 'x');
    report[0] = 1;
    for (int lengthByte : {63, 64, 200, 255}) {
        report[1] = static_cast<std::uint8_t>(lengthByte);
        EXPECT_EQ(ReplyDispatcher::ReportPayload(report).size(), 62) << lengthByte;
    }
    report[1] = 0;
    EXPECT_TRUE(ReplyDispatcher::ReportPayload(report).isEmpty());
    report[1] = 40;
    EXPECT_EQ(ReplyDispatcher::ReportPayload(std::span(report.data(), 10)).size(),
              8);  // short read
}

TEST_F(ReplyDispatcherTest, ATagInTheMiddleOfAReplySwitchesTheKindAndLeavesTheOtherIncomplete) {
    state.awaitingSetting = true;
    state.pendingRequest = kPendingSettings;
    Feed("Setting:Time=1\r\n");
    Feed("garbage MAX MIN:Day max=30C");  // a tag anywhere in a report
    EXPECT_EQ(dispatcher.Kind(), ResponseKind::MaxMin);
    Feed("\r\n@");
    EXPECT_EQ(consumers.Calls(),
              QStringList{QStringLiteral("maxmin:garbage MAX MIN:Day max=30C\r\n@")});
    EXPECT_EQ(state.settingReplyText.Text(), QStringLiteral("Setting:Time=1\r\n"));
    EXPECT_TRUE(state.awaitingSetting);  // the settings read stays open
}

TEST_F(ReplyDispatcherTest, TagsAreSearchedInTheirFixedOrder) {
    EXPECT_EQ(ReplyDispatcher::Classify(QStringLiteral("MAX MIN: Setting:")),
              ResponseKind::Setting);
    EXPECT_EQ(ReplyDispatcher::Classify(QStringLiteral("SDcard file: Read File:")),
              ResponseKind::ReadFile);
    EXPECT_EQ(ReplyDispatcher::Classify(QStringLiteral("File Size: Now Data:")),
              ResponseKind::NowData);
    EXPECT_EQ(ReplyDispatcher::Classify(QStringLiteral("setting:")), ResponseKind::None);
}

TEST_F(ReplyDispatcherTest, ListAndMaxMinRepliesOpenTheirWindowsAfterTheFlagsAreCleared) {
    state.awaitingSdList = true;
    state.requestBusy = true;
    state.pendingRequest = kPendingSdList;
    Feed("SDcard file:File<A.CSV&B.C");
    EXPECT_EQ(consumers.Count("list:"), 0);
    Feed("SV&>\r\n@");
    EXPECT_EQ(consumers.Calls(),
              QStringList{QStringLiteral("list:SDcard file:File<A.CSV&B.CSV&>\r\n@")});
    EXPECT_FALSE(state.awaitingSdList);
    EXPECT_FALSE(state.requestBusy);
    EXPECT_EQ(state.pendingRequest, kPendingNone);
}

TEST_F(ReplyDispatcherTest, ADownloadWritesHeaderDataAndEndsAtTheReportWithAnAt) {
    state.pendingRequest = kPendingFileDownload;
    state.requestBusy = true;
    consumers.startOffset = 0;
    Feed("Read File:File<size=1000>abc");
    EXPECT_EQ(consumers.File(), QByteArray("abc"));
    EXPECT_EQ(downloadTotal.load(), 1000);
    EXPECT_TRUE(watchdogs.WatchdogRunning());
    Feed("def");
    EXPECT_EQ(consumers.File(), QByteArray("abcdef"));
    EXPECT_EQ(consumers.Progress(), 59);
    Feed("\r\n@");
    EXPECT_EQ(consumers.File(), QByteArray("abcdef"));
    EXPECT_EQ(consumers.Calls(),
              (QStringList{QStringLiteral("header:1000"), QStringLiteral("ended:1000")}));
    EXPECT_TRUE(watchdogs.TransferDone());
    EXPECT_TRUE(watchdogs.TransferFinished());
    EXPECT_FALSE(watchdogs.WatchdogRunning());
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_FALSE(state.requestBusy);
    EXPECT_EQ(dispatcher.Kind(), ResponseKind::None);
    EXPECT_TRUE(test::Eventually([&] { return watchdogs.LiveWatchdogThreads() == 0; }));
}

TEST_F(ReplyDispatcherTest, AResumedDownloadCountsItsTotalFromTheStartOffset) {
    consumers.startOffset = 400;
    Feed("Read File:File<size=1000>");
    EXPECT_EQ(downloadTotal.load(), 600);
    EXPECT_EQ(consumers.File(), QByteArray());
    // Data reports are stored exactly, bytes of the upper half included.
    Feed("1;-3.5\xb0;\r\n");
    EXPECT_EQ(consumers.File(), QByteArray("1;-3.5\xb0;\r\n"));
}

// A local copy longer than the card's file (the card's file was replaced):
// nothing is left to come, never a negative total for the progress bar.
TEST_F(ReplyDispatcherTest, AResumePastTheEndOfTheCardsFileHasNothingLeftToCount) {
    consumers.startOffset = 1500;
    Feed("Read File:File<size=1000>");
    EXPECT_EQ(downloadTotal.load(), 0);
}

TEST_F(ReplyDispatcherTest, MalformedHeadersGiveASizeOfZeroAndTheDownloadGoesOn) {
    EXPECT_EQ(ReplyDispatcher::ParseHeaderSize(QStringLiteral("Read File:File<size=1000abc")), 0);
    EXPECT_EQ(ReplyDispatcher::ParseHeaderSize(QStringLiteral("Read File:File<size 77>x")), 0);
    EXPECT_EQ(ReplyDispatcher::ParseHeaderSize(QStringLiteral("Read File:File<size=123456>x=9>")),
              123456);
    Feed("Read File:no size here");
    EXPECT_EQ(consumers.File(), QByteArray("Read File:no size here"));
    Feed("next");
    EXPECT_EQ(consumers.File(), QByteArray("Read File:no size herenext"));
}

TEST_F(ReplyDispatcherTest, FileSizesAreShownInKilobytesUpTo1000AndInMegabytesAbove) {
    EXPECT_EQ(ReplyDispatcher::FileSizeText(2048), QStringLiteral("2.00KB"));
    EXPECT_EQ(ReplyDispatcher::FileSizeText(2000000), QStringLiteral("1.91MB"));
    EXPECT_EQ(ReplyDispatcher::FileSizeText(1024000), QStringLiteral("1000.00KB"));
    EXPECT_EQ(ReplyDispatcher::FileSizeText(0), QStringLiteral("0.00KB"));
    EXPECT_EQ(ReplyDispatcher::ParseFileSize(QStringLiteral("File Size:File<size=2048>\r\n@")),
              2048);
}

TEST_F(ReplyDispatcherTest, TheSizeListingAsksForEachFileInTurnAndEndsAfterTheLast) {
    consumers.currentRow = 0;
    consumers.lastRow = 1;
    state.pendingRequest = kPendingFileSizes;
    Feed("File Size:File<size=2048>");
    EXPECT_EQ(consumers.Calls(),
              (QStringList{QStringLiteral("size-report"), QStringLiteral("size:2.00KB"),
                           QStringLiteral("request-size:1")}));
    EXPECT_EQ(state.pendingRequest, kPendingFileSizes);
    Feed("File Size:");  // no size in it: nothing but the buttons
    EXPECT_EQ(consumers.Count("size:"), 1);
    Feed("File Size:File<size=2000000>");
    EXPECT_EQ(consumers.Calls().last(), QStringLiteral("size:1.91MB"));
    EXPECT_EQ(consumers.Count("size-report"), 3);
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_EQ(dispatcher.Kind(), ResponseKind::None);
    EXPECT_TRUE(watchdogs.TransferFinished());
    EXPECT_TRUE(test::Eventually([&] { return watchdogs.LiveWatchdogThreads() == 0; }));
}

}  // namespace
}  // namespace orvane
