#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "SettingsControls.h"
#include "WriteTestSupport.h"
#include "WriteTransaction.h"

namespace orvane {
namespace {

using namespace SettingsId;

TEST(ClassifyWriteReply, ConfirmationAnywhereWinsThenUnconnectedThenFail) {
    EXPECT_EQ(ClassifyWriteReply("xxWrite successyy"), WriteOutcome::Success);
    EXPECT_EQ(ClassifyWriteReply("UnconnectedWrite success"), WriteOutcome::Success);
    EXPECT_EQ(ClassifyWriteReply("UnconnectedUnconnected"), WriteOutcome::Unconnected);
    EXPECT_EQ(ClassifyWriteReply("write success"), WriteOutcome::Fail);
    EXPECT_EQ(ClassifyWriteReply("unconnected"), WriteOutcome::Fail);
    EXPECT_EQ(ClassifyWriteReply(""), WriteOutcome::Fail);
    EXPECT_EQ(ClassifyWriteReply("Unconnected", ""), WriteOutcome::Fail);
}

TEST(OutcomeText, FollowsTheUiLanguageAndTheSmsTestColumn) {
    SetCurrentLanguage(UiLanguage::English);
    EXPECT_EQ(OutcomeText(WriteOutcome::Success), "Save Success");
    EXPECT_EQ(OutcomeText(WriteOutcome::Fail), "Save Fail");
    EXPECT_EQ(OutcomeText(WriteOutcome::Unconnected, true), "UnConnected");
    EXPECT_EQ(OutcomeText(WriteOutcome::Success, true), "Send Success");
    EXPECT_EQ(OutcomeText(WriteOutcome::Fail, true), "Send Fail");
    SetCurrentLanguage(UiLanguage::Chinese);
    EXPECT_EQ(OutcomeText(WriteOutcome::Success), QString::fromUtf8("保存成功"));
    EXPECT_EQ(OutcomeText(WriteOutcome::Unconnected), QString::fromUtf8("未连接"));
    SetCurrentLanguage(UiLanguage::English);
}

class Transaction : public test::WriteTest {
protected:
    WriteResult Press(int button) {
        w.ClearMessages();
        transactor.requests.clear();
        return RunWriteTransaction(button, context);
    }
};

TEST_F(Transaction, EverySaveButtonSendsItsBuildersInOrder) {
    struct Case {
        int button;
        QStringList prefixes;
    };
    const Case cases[] = {
        {kSync, {"Write&Time=0&2024-03-10&07:05:09&2&"}},
        {kSaveDaylight, {"Write&Daylight<"}},
        {kSaveTimeZone, {"Write&time zone="}},
        {kSaveCalibration,
         {"Write&Offset<Wind dir=", "Write&Offset<Wind=", "Write&Offset<Abs Pressure=",
          "Write&Offset<Light="}},
        {kSaveUnit, {"Write&Unit<"}},
        {kSaveAlarm,
         {"Write&Alarm high<Temperature=", "Write&Alarm high<Wind=", "Write&Alarm high<Rain Rate=",
          "Write&Alarm low<", "Write&high switch<Temperature=", "Write&high switch<Wind=",
          "Write&low switch<", "Write&Interval<Alarm=", "Write&Alarm switch<"}},
        {kSaveTelephone, {"Write&Telephone<", "Write&SMS TEST<Send="}},
        {kSmsTest, {"Write&SMS TEST<ID="}},
        {kSaveWebServer,
         {"Write&Weather server<Web=", "Write&Weather server<ID=",
          "Write&Weather server<Server type=", "Write&Interval<Update="}},
        {kSaveGprs, {"Write&GPRS<", "Write&Interval<Receive SMS="}},
        {kSaveLoggerInterval, {"Write&Interval<Save="}},
        {kSaveSendCurrent, {"Write&Interval<Send="}},
    };
    for (const Case& c : cases) {
        const WriteResult result = Press(c.button);
        ASSERT_EQ(transactor.requests.size(), c.prefixes.size()) << c.button;
        for (int i = 0; i < c.prefixes.size(); ++i)
            EXPECT_TRUE(transactor.requests[i].startsWith(c.prefixes[i]))
                << transactor.requests[i].toStdString();
        EXPECT_EQ(result.outcome, WriteOutcome::Success);
        const QString expected = c.button == kSmsTest ? "Send Success" : "Save Success";
        EXPECT_EQ(w.Messages(), QStringList{expected}) << c.button;
    }
}

TEST_F(Transaction, MarksHeldWhileSendingAndClearedAfter) {
    int seen = 0;
    transactor.observe = [&](const QString&) {
        EXPECT_TRUE(state.requestBusy);
        EXPECT_EQ(state.pendingRequest, kPendingWrite);
        EXPECT_EQ(w.busyDepth, 1);
        ++seen;
    };
    Press(SettingsId::kSaveAlarm);
    EXPECT_EQ(seen, 9);
    EXPECT_FALSE(state.requestBusy);
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_EQ(w.busyDepth, 0);
    EXPECT_EQ(w.maxDepth, 1);
    EXPECT_TRUE(w.messagesWhileBusy.isEmpty());
}

TEST_F(Transaction, RefusalInAnAllOrNothingGroupSendsNothingAndShowsNoOutcome) {
    w.SetText(SettingsId::kTemperatureOffset, "7");
    w.SetText(SettingsId::kUvFactor, "0");
    const WriteResult result = Press(SettingsId::kSaveCalibration);
    EXPECT_TRUE(result.abandoned);
    EXPECT_TRUE(transactor.requests.isEmpty());
    EXPECT_EQ(w.Messages(), (QStringList{"Offest Temperature:±6.0C", "Offest UV: 0.05 to 10.00"}));
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_FALSE(state.requestBusy);
    EXPECT_EQ(w.busyCount, 0);
}

TEST_F(Transaction, AlarmRefusedIntervalAbandonsTheWholeSave) {
    w.SetText(SettingsId::kAlarmSmsInterval, "9");
    Press(SettingsId::kSaveAlarm);
    EXPECT_TRUE(transactor.requests.isEmpty());
    EXPECT_EQ(w.Messages(), QStringList{"Alarm Interval:10 to 120 (minute)"});
}

TEST_F(Transaction, TelephoneWithTooLongIdStillSendsTelephonesAndAnEmptyRequest) {
    w.SetText(SettingsId::kTelephone1, "13800000000");
    w.SetText(SettingsId::kSmsTestId, QString(15, 'X'));
    transactor.script = {"Write success", ""};
    const WriteResult result = Press(SettingsId::kSaveTelephone);
    EXPECT_EQ(transactor.requests,
              (QStringList{"Write&Telephone<1=13800000000&2=&3=>&http 1.0", ""}));
    EXPECT_EQ(w.Messages(), (QStringList{"ID Length Max 14.", "Save Success"}));
    EXPECT_EQ(result.outcome, WriteOutcome::Success);
}

TEST_F(Transaction, FirstOnlyGroupsAbandonOnlyOnTheirFirstBuilder) {
    w.SetText(SettingsId::kWebHost, QString(41, 'w'));
    Press(SettingsId::kSaveWebServer);
    EXPECT_TRUE(transactor.requests.isEmpty());
    EXPECT_EQ(w.Messages(), QStringList{"Web Length Max 40."});

    w.SetText(SettingsId::kWebHost, "example.org");
    w.SelectIndex(SettingsId::kUploadIntervalUnit, 0);
    w.SetText(SettingsId::kUploadInterval, "");
    Press(SettingsId::kSaveWebServer);
    ASSERT_EQ(transactor.requests.size(), 4);
    EXPECT_EQ(transactor.requests[3], "");
    EXPECT_EQ(w.Messages(), (QStringList{"Upload Interval:1 to 24 (Hour)", "Save Success"}));
}

TEST_F(Transaction, UnpluggedStationGivesUnConnectedForEveryButton) {
    transactor.reply = "Unconnected";
    for (int button : {kSync, kSaveDaylight, kSaveTimeZone, kSaveCalibration, kSaveUnit, kSaveAlarm,
                       kSaveTelephone, kSaveWebServer, kSaveGprs, kSaveLoggerInterval,
                       kSaveSendCurrent, kSmsTest}) {
        const WriteResult result = Press(button);
        EXPECT_EQ(result.outcome, WriteOutcome::Unconnected) << button;
        EXPECT_EQ(w.Messages(), QStringList{"UnConnected"}) << button;
    }
}

TEST_F(Transaction, ReplyWithoutConfirmationIsAFail) {
    transactor.reply = "Write error";
    Press(SettingsId::kSaveUnit);
    EXPECT_EQ(w.Messages(), QStringList{"Save Fail"});
    Press(SettingsId::kSmsTest);
    EXPECT_EQ(w.Messages(), QStringList{"Send Fail"});
    transactor.reply = "";
    Press(SettingsId::kSaveTimeZone);
    EXPECT_EQ(w.Messages(), QStringList{"Save Fail"});
}

TEST_F(Transaction, OneConfirmationInAMultiRequestWriteIsEnough) {
    transactor.script = {"", "Write success", "garbage", ""};
    Press(SettingsId::kSaveCalibration);
    EXPECT_EQ(w.Messages(), QStringList{"Save Success"});
}

TEST_F(Transaction, AlarmLooksForUnconnectedInItsLastReplyOnly) {
    transactor.script = {"Unconnected", "Unconnected", "Unconnected",
                         "Unconnected", "Unconnected", "Unconnected",
                         "Unconnected", "Unconnected", ""};
    Press(SettingsId::kSaveAlarm);
    EXPECT_EQ(w.Messages(), QStringList{"Save Fail"});

    transactor.script = {"", "", "", "", "", "", "", "", "Unconnected"};
    Press(SettingsId::kSaveAlarm);
    EXPECT_EQ(w.Messages(), QStringList{"UnConnected"});

    transactor.script = {"Unconnected", "", "", "", "", "", "", "", ""};
    Press(SettingsId::kSaveTelephone);  // other buttons look at the whole reply
    EXPECT_EQ(w.Messages(), QStringList{"UnConnected"});
}

TEST_F(Transaction, NotASaveButtonDoesNothing) {
    EXPECT_FALSE(IsSaveButton(SettingsId::kRead));
    const WriteResult result = Press(SettingsId::kRead);
    EXPECT_TRUE(result.abandoned);
    EXPECT_TRUE(transactor.requests.isEmpty());
    EXPECT_TRUE(w.Messages().isEmpty());
}

TEST_F(Transaction, WaitsOnceForAnOutstandingCurrentReadingsReply) {
    Timings t = GetTimings();
    t.nowDataWaitBeforeWrite = Millis(30);
    SetTimings(t);
    state.awaitingNowData = true;
    QElapsedTimer timer;
    timer.start();
    Press(SettingsId::kSaveUnit);
    EXPECT_GE(timer.elapsed(), 30);
    EXPECT_EQ(transactor.requests.size(), 1);
    EXPECT_TRUE(state.awaitingNowData);  // not ours to clear
}

}  // namespace
}  // namespace orvane
