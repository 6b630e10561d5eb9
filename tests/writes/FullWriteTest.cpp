#include <gtest/gtest.h>

#include "FullWrite.h"
#include "SettingsControls.h"
#include "UnitSelection.h"
#include "WriteTestSupport.h"

namespace orvane {
namespace {

using namespace SettingsId;

const QStringList kSaveAllPrefixes = {
    "Write&Time=",
    "Write&Offset<Wind dir=",
    "Write&Offset<Wind=",
    "Write&Offset<Abs Pressure=",
    "Write&Offset<Light=",
    "Write&Unit<",
    "Write&Interval<Save=",
    "Write&Telephone<",
    "Write&Daylight<",
    "Write&Weather server<Web=",
    "Write&Weather server<ID=",
    "Write&Weather server<Server type=",
    "Write&GPRS<",
    "Write&Alarm high<Temperature=",
    "Write&Alarm high<Wind=",
    "Write&Alarm high<Rain Rate=",
    "Write&Alarm low<",
    "Write&high switch<Temperature=",
    "Write&high switch<Wind=",
    "Write&low switch<",
    "Write&time zone=",
    "Write&Interval<Receive SMS=",
    "Write&Interval<Alarm=",
    "Write&Interval<Update=",
    "Write&Interval<Send=",
    "Write&SMS TEST<Send=",
    "Write&Alarm switch<",
};

void ExpectOrder(const QStringList& requests, QStringList prefixes, int skipEmpty = -1) {
    ASSERT_EQ(requests.size(), prefixes.size());
    for (int i = 0; i < prefixes.size(); ++i) {
        if (i == skipEmpty) {
            EXPECT_EQ(requests[i], "") << i;
            continue;
        }
        EXPECT_TRUE(requests[i].startsWith(prefixes[i])) << i << ": " << requests[i].toStdString();
    }
}

QString Find(const QStringList& requests, const QString& prefix) {
    for (const QString& r : requests)
        if (r.startsWith(prefix)) return r;
    return QString();
}

class FullWrite : public test::WriteTest {
protected:
    void SetUp() override {
        WriteTest::SetUp();
        context.unitChanged = [this](int combo) {
            ++unitHandlerRuns;
            for (Quantity q :
                 {Quantity::Temperature, Quantity::Wind, Quantity::Rain, Quantity::Pressure})
                if (UnitSelection::ComboId(q) == combo) UnitChanged(q, w, units);
        };
        context.readSettings = [this] { ++reads; };
        context.unitStage = [this] { return stage; };
    }

    UnitSelection units;
    QString stage;
    int reads = 0;
    int unitHandlerRuns = 0;
};

TEST_F(FullWrite, SaveAllSendsTwentySevenRequestsInOrder) {
    w.SetEnabled(SettingsId::kRead, false);
    w.SetEnabled(SettingsId::kSaveAll, false);
    int sent = 0;
    transactor.observe = [&](const QString&) {
        EXPECT_EQ(state.pendingRequest, kPendingWrite);
        EXPECT_FALSE(state.requestBusy);
        ++sent;
    };
    const WriteResult result = SaveAll(context);
    ExpectOrder(transactor.requests, kSaveAllPrefixes);
    EXPECT_EQ(sent, 27);
    EXPECT_EQ(w.Confirmations(), QStringList{"Are you want to save all settings?"});
    EXPECT_EQ(w.Messages(), QStringList{"Save Success"});
    EXPECT_EQ(result.outcome, WriteOutcome::Success);
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_TRUE(w.IsEnabled(SettingsId::kRead));
    EXPECT_TRUE(w.IsEnabled(SettingsId::kSaveAll));
    EXPECT_TRUE(w.messagesWhileBusy.isEmpty());
}

TEST_F(FullWrite, SaveAllSendsRefusedEntriesEmptyAndNamesTheirGroups) {
    w.SetText(SettingsId::kWebHost, QString(41, 'w'));
    transactor.reply = "";
    transactor.script = {"Write success"};
    WriteResult result = SaveAll(context);
    ExpectOrder(transactor.requests, kSaveAllPrefixes, 9);
    EXPECT_EQ(w.Messages(), (QStringList{"Web Length Max 40.",
                                         "Some settings were not saved: Web Server. The others "
                                         "were saved."}));
    EXPECT_EQ(result.outcome, WriteOutcome::Success);

    // Several groups, each named once in the order of the list, also in
    // Chinese; the station's "Save Fail" needs no list.
    SetCurrentLanguage(UiLanguage::Chinese);
    w.SetText(SettingsId::kWindFactor, "");
    w.SetText(SettingsId::kHighHumidity, "");
    w.SetText(SettingsId::kLowHumidity, "");
    w.ClearMessages();
    transactor.script = {"Write success"};
    result = SaveAll(context);
    EXPECT_EQ(result.refusedGroups, (QStringList{"校准", "服务器", "报警"}));
    EXPECT_EQ(w.Messages().last(), "部分设置未保存：校准、服务器、报警。其余设置已保存。");
    w.ClearMessages();
    SaveAll(context);
    EXPECT_EQ(w.Messages().last(), "保存失败");
}

TEST_F(FullWrite, SaveAllCancelledTouchesNothing) {
    w.AnswerNextConfirm(false);
    w.SetText(SettingsId::kWebHost, QString(41, 'w'));
    const WriteResult result = SaveAll(context);
    EXPECT_TRUE(result.abandoned);
    EXPECT_TRUE(transactor.requests.isEmpty());
    EXPECT_TRUE(w.Messages().isEmpty());  // not even the refusal: nothing was built
    EXPECT_EQ(state.pendingRequest, kPendingNone);
}

TEST_F(FullWrite, SaveAllUnpluggedOrSilent) {
    transactor.reply = "Unconnected";
    SaveAll(context);
    EXPECT_EQ(w.Messages(), QStringList{"UnConnected"});
    w.ClearMessages();
    transactor.reply = "";
    SaveAll(context);
    EXPECT_EQ(w.Messages(), QStringList{"Save Fail"});
}

TEST_F(FullWrite, ProgressCountsEveryRequestAndAStopSendsNothingMore) {
    const struct {
        WriteResult (*run)(WriteContext&);
        int total;
    } cases[] = {{SaveAll, 27}, {FactoryReset, 28}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.total);
        QList<std::pair<int, int>> reported;
        context.progress = [&](int sent, int total) { reported.append({sent, total}); };
        transactor.requests.clear();
        w.ClearMessages();
        reads = 0;
        c.run(context);
        ASSERT_EQ(reported.size(), c.total);
        for (int i = 0; i < c.total; ++i) EXPECT_EQ(reported[i], std::pair(i + 1, c.total));
        EXPECT_EQ(w.Messages().size(), 1);

        // The window closes after the third request: no more requests, no
        // outcome, no read-back, and the marks are put back.
        std::stop_source closing;
        context.stop = closing.get_token();
        transactor.observe = [&](const QString&) {
            if (transactor.requests.size() == 3) closing.request_stop();
        };
        transactor.requests.clear();
        w.ClearMessages();
        reads = 0;
        c.run(context);
        EXPECT_EQ(transactor.requests.size(), 3);
        EXPECT_TRUE(w.Messages().isEmpty());
        EXPECT_EQ(reads, 0);
        EXPECT_EQ(state.pendingRequest, kPendingNone);
        EXPECT_TRUE(w.IsEnabled(SettingsId::kSaveAll));
        EXPECT_TRUE(w.IsEnabled(SettingsId::kReset));
        EXPECT_EQ(w.busyDepth, 0);
        context.stop = {};
        transactor.observe = nullptr;
    }
}

TEST_F(FullWrite, ResetWithStageEuSendsMetricFactoryConfiguration) {
    stage = "EU";
    // A window that showed other values and units before the reset.
    w.SelectIndex(SettingsId::kTemperatureUnit, 1);
    TemperatureUnitChanged(w, units);
    w.SetText(SettingsId::kHighTemperature, "100");
    w.SetText(SettingsId::kTelephone1, "123");
    w.SetChecked(SettingsId::kHighWindSwitch, true);
    w.SelectIndex(SettingsId::kAlarmAll, 1);

    const WriteResult result = FactoryReset(context);
    ASSERT_EQ(transactor.requests.size(), 28);
    QStringList resetOrder = kSaveAllPrefixes;
    resetOrder.swapItemsAt(25, 26);
    ExpectOrder(transactor.requests.mid(0, 27), resetOrder);
    EXPECT_EQ(transactor.requests[27], "Write&Reset<Max&Min>&http 1.0\r\n");
    EXPECT_EQ(w.Confirmations(), QStringList{"Are you want to reset to factory?"});
    EXPECT_EQ(w.Messages(), QStringList{"Save Success"});
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(result.outcome, WriteOutcome::Success);

    const QStringList& r = transactor.requests;
    EXPECT_EQ(r[5],
              "Write&Unit<Temperature=C&Light=w/m2&Wind=km/h&Rainfall=mm&Pressure=hpa>&http 1.0");
    EXPECT_EQ(r[20], "Write&time zone=0&http 1.0");
    EXPECT_EQ(r[13], "Write&Alarm high<Temperature=25.0&Dew Point=25.0&Humidity=65>&http 1.0\r\n");
    EXPECT_EQ(r[16], "Write&Alarm low<Temperature=10.0&Dew Point=10.0&Humidity=35>&http 1.0\r\n");
    EXPECT_EQ(r[8], "Write&Daylight<DST=On&start time=03:2:02&end time=11:1:02>&http 1.0");
    EXPECT_EQ(r[1], "Write&Offset<Wind dir=0&Temperature=0.0&Humidity=0>&http 1.0");
    EXPECT_EQ(r[2], "Write&Offset<Wind=1.00&Rain fall=1.00>&http 1.0");
    EXPECT_EQ(r[3], "Write&Offset<Abs Pressure=0.0&Rel Pressure=0.0>&http 1.0");
    EXPECT_EQ(r[6], "Write&Interval<Save=5m>&http 1.0");
    EXPECT_EQ(r[7], "Write&Telephone<1=&2=&3=>&http 1.0");
    EXPECT_EQ(r[9], "Write&Weather server<Web=rtupdate.wunderground.com>&http 1.0");
    EXPECT_EQ(r[11],
              "Write&Weather server<Server type=php&Upload type=Customize&Port=80>&http 1.0");
    EXPECT_EQ(r[12], "Write&GPRS<APN=UNINET&User=&Password=>&http 1.0");
    EXPECT_EQ(r[18],
              "Write&high switch<Wind=Off&Gust=Off&Rain Rate=Off&Daily Rain=Off>&http 1.0\r\n");
    EXPECT_EQ(r[21], "Write&Interval<Receive SMS=2h>&http 1.0");
    EXPECT_EQ(r[22], "Write&Interval<Alarm=30m>&http 1.0");
    EXPECT_EQ(r[23], "Write&Interval<Update=30m>&http 1.0");
    EXPECT_EQ(r[24], "Write&Interval<Send=2h>&http 1.0");
    EXPECT_EQ(r[25], "Write&Alarm switch<Enable>&http 1.0");
    EXPECT_EQ(r[26], "Write&SMS TEST<Send=>&http 1.0\r\n");

    EXPECT_TRUE(w.IsEnabled(kHighTemperatureSwitch));  // Alarm All handler ran
    EXPECT_FALSE(w.IsEnabled(SettingsId::kServerPort));
    EXPECT_TRUE(w.IsEnabled(SettingsId::kReset));
    EXPECT_EQ(w.Text(kHighTemperatureCaption),
              QString::fromUtf8("°C"));  // the unit handler relabelled
}

TEST_F(FullWrite, ResetWithoutStageSendsImperialUnitsAndCelsiusThresholds) {
    stage = "";
    FactoryReset(context);
    const QStringList& r = transactor.requests;
    ASSERT_EQ(r.size(), 28);
    EXPECT_EQ(r[5],
              "Write&Unit<Temperature=F&Light=w/m2&Wind=mph&Rainfall=inch&Pressure=inHg>&http 1.0");
    EXPECT_EQ(r[20], "Write&time zone=-5&http 1.0");
    EXPECT_EQ(r[13], "Write&Alarm high<Temperature=25.0&Dew Point=25.0&Humidity=65>&http 1.0\r\n");
    EXPECT_EQ(r[16], "Write&Alarm low<Temperature=10.0&Dew Point=10.0&Humidity=35>&http 1.0\r\n");
    EXPECT_EQ(w.Text(SettingsId::kHighTemperature), "77.0");
    EXPECT_EQ(w.Text(SettingsId::kLowDewPoint), "50.0");
    EXPECT_EQ(unitHandlerRuns, 4);

    // Stage is compared exactly.
    transactor.requests.clear();
    stage = "eu";
    FactoryReset(context);
    EXPECT_EQ(Find(transactor.requests, "Write&time zone="), "Write&time zone=-5&http 1.0");
}

TEST_F(FullWrite, ResetUnpluggedShowsUnConnectedAndNeitherClearsMaxMinNorReads) {
    transactor.reply = "Unconnected";
    const WriteResult result = FactoryReset(context);
    EXPECT_EQ(transactor.requests.size(), 27);
    EXPECT_EQ(w.Messages(), QStringList{"UnConnected"});
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(result.outcome, WriteOutcome::Unconnected);
    EXPECT_TRUE(w.IsEnabled(SettingsId::kReset));

    w.ClearMessages();
    transactor.requests.clear();
    transactor.reply = "nonsense";
    FactoryReset(context);
    EXPECT_EQ(transactor.requests.size(), 27);
    EXPECT_EQ(w.Messages(), QStringList{"Save Fail"});
}

TEST_F(FullWrite, ResetCancelledLeavesTheWindowAlone) {
    w.AnswerNextConfirm(false);
    w.SetText(SettingsId::kTelephone1, "123");
    FactoryReset(context);
    EXPECT_TRUE(transactor.requests.isEmpty());
    EXPECT_EQ(w.Text(SettingsId::kTelephone1), "123");
    EXPECT_EQ(reads, 0);
}

TEST_F(FullWrite, ResetHoldsTheAutoReadOffAndPutsBackThePendingCode) {
    state.pendingRequest = kPendingNowData;
    int held = 0;
    transactor.observe = [&](const QString&) { held += state.pendingRequest == kPendingWrite; };
    FactoryReset(context);
    EXPECT_EQ(held, 28);  // the 27 requests and the max/min reset
    EXPECT_EQ(state.pendingRequest, kPendingNowData);
    EXPECT_FALSE(state.requestBusy);
    EXPECT_TRUE(w.messagesWhileBusy.isEmpty());
    EXPECT_EQ(w.maxDepth, 1);
}

TEST_F(FullWrite, ResetDisablesResetWhileSending) {
    int sent = 0;
    transactor.observe = [&](const QString&) {
        ++sent;
        EXPECT_FALSE(w.IsEnabled(SettingsId::kReset));
    };
    FactoryReset(context);
    EXPECT_EQ(sent, 28);  // else nothing above was checked
    EXPECT_TRUE(w.IsEnabled(SettingsId::kReset));
}

}  // namespace
}  // namespace orvane
