#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <functional>

#include "../settings/SimulatorRead.h"
#include "COrvaneDlg.h"
#include "CUSBDrive.h"
#include "DeviceLink.h"
#include "FullWrite.h"
#include "SettingsControls.h"
#include "SettingsLayout.h"
#include "SettingsReplyApplier.h"
#include "StationSimulator.h"
#include "UnitSelection.h"
#include "WriteTestSupport.h"
#include "WriteTransaction.h"

namespace orvane {
namespace {

using namespace SettingsId;

// Everything a settings read fills and a full write sends, as the window
// shows it.
struct Snapshot {
    QMap<int, QString> texts;
    QMap<int, int> selections;
    QMap<int, bool> checks;

    static Snapshot Of(const ControlWindow& w) {
        Snapshot s;
        for (int id : {kWindDirectionOffset,
                       kTemperatureOffset,
                       kHumidityOffset,
                       kAbsPressureOffset,
                       kRelPressureOffset,
                       kWindFactor,
                       kRainFactor,
                       kLightFactor,
                       kUvFactor,
                       kTelephone1,
                       kTelephone2,
                       kTelephone3,
                       kSmsTestId,
                       kGprsApn,
                       kGprsUser,
                       kGprsPassword,
                       kWebHost,
                       kWebId,
                       kWebPassword,
                       kServerPort,
                       kHighTemperature,
                       kHighDewPoint,
                       kHighHumidity,
                       kHighWind,
                       kHighGust,
                       kHighDailyRain,
                       kHighRainRate,
                       kLowTemperature,
                       kLowDewPoint,
                       kLowHumidity,
                       kLoggerInterval,
                       kSendCurrentInterval,
                       kAlarmSmsInterval,
                       kUploadInterval,
                       kSmsCheckInterval})
            s.texts[id] = w.Text(id);
        for (int id : {kTemperatureUnit, kLightUnit, kWindUnit, kRainUnit, kPressureUnit, kTimeZone,
                       kDstStartMonth, kDstStartWeek, kDstStartHour, kDstEndMonth, kDstEndWeek,
                       kDstEndHour, kServerType, kUploadType, kAlarmAll, kSendCurrentIntervalUnit,
                       kAlarmSmsIntervalUnit, kUploadIntervalUnit, kSmsCheckIntervalUnit})
            s.selections[id] = w.SelectedIndex(id);
        for (int id : {kDst, kHighTemperatureSwitch, kHighDewPointSwitch, kHighHumiditySwitch,
                       kHighWindSwitch, kHighGustSwitch, kHighRainRateSwitch, kHighDailyRainSwitch,
                       kLowTemperatureSwitch, kLowDewPointSwitch, kLowHumiditySwitch})
            s.checks[id] = w.IsChecked(id);
        return s;
    }
};

// How many of the entries differ between two snapshots.
int Differences(const Snapshot& a, const Snapshot& b) {
    int count = 0;
    for (auto it = a.texts.begin(); it != a.texts.end(); ++it)
        count += b.texts.value(it.key()) != it.value();
    for (auto it = a.selections.begin(); it != a.selections.end(); ++it)
        count += b.selections.value(it.key()) != it.value();
    for (auto it = a.checks.begin(); it != a.checks.end(); ++it)
        count += b.checks.value(it.key()) != it.value();
    return count;
}

void ExpectSame(const Snapshot& expected, const Snapshot& actual) {
    for (auto it = expected.texts.begin(); it != expected.texts.end(); ++it)
        EXPECT_EQ(actual.texts.value(it.key()), it.value()) << "control " << it.key();
    for (auto it = expected.selections.begin(); it != expected.selections.end(); ++it)
        EXPECT_EQ(actual.selections.value(it.key()), it.value()) << "control " << it.key();
    for (auto it = expected.checks.begin(); it != expected.checks.end(); ++it)
        EXPECT_EQ(actual.checks.value(it.key()), it.value()) << "control " << it.key();
}

class SimulatorRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        SetCurrentLanguage(UiLanguage::English);
        savedTimings = GetTimings();
        test::UseInstantTimings();
        Timings t = GetTimings();
        t.reportWait = std::chrono::milliseconds(20);
        t.reportPause = std::chrono::milliseconds(1);
        t.settingsBusyWait = std::chrono::milliseconds(5);
        SetTimings(t);
        test::FillLikeOpenedWindow(w);
        w.SetDateTime(kDatePicker, clock.LocalNow());
        context.busy = w.Hooks();
        context.unitChanged = [this](int combo) {
            for (Quantity q :
                 {Quantity::Temperature, Quantity::Wind, Quantity::Rain, Quantity::Pressure})
                if (UnitSelection::ComboId(q) == combo) UnitChanged(q, w, units);
        };
        context.readSettings = [this] { Read(); };
    }
    void TearDown() override { SetTimings(savedTimings); }

    // The Read procedure over the receive connection: flags, empty buffer,
    // request; then wait until the reply has been applied to the window.
    void Read() { ReadInto(w); }
    void ReadInto(ControlWindow& window) {
        ASSERT_TRUE(test::ReadSettingsFromSimulator(sim, window, state, units));
    }

    // Reads the station into a window as it opens, unit memory included.
    Snapshot ReadIntoOpenedWindow() {
        MemorySettingsWindow opened;
        test::FillLikeOpenedWindow(opened);
        units.Reset();
        // Nearly everything written differs from what an opened window shows.
        EXPECT_GE(Differences(Snapshot::Of(w), Snapshot::Of(opened)), 50);
        ReadInto(opened);
        EXPECT_TRUE(opened.Messages().isEmpty()) << opened.Messages().join("|").toStdString();
        return Snapshot::Of(opened);
    }

    void ChangeEveryGroup() {
        w.SelectIndex(kTemperatureUnit, 1);
        w.SelectIndex(kLightUnit, 2);
        w.SelectIndex(kWindUnit, 1);
        w.SelectIndex(kRainUnit, 1);
        w.SelectIndex(kPressureUnit, 2);
        for (int combo : {kTemperatureUnit, kWindUnit, kRainUnit, kPressureUnit})
            context.unitChanged(combo);

        w.SelectText(kTimeZone, "-5");
        w.SetChecked(kDst, false);
        w.SelectText(kDstStartMonth, "4");
        w.SelectText(kDstStartWeek, "1");
        w.SelectText(kDstStartHour, "0");
        w.SelectText(kDstEndMonth, "11");
        w.SelectText(kDstEndWeek, "2");
        w.SelectText(kDstEndHour, "23");

        w.SetText(kWindDirectionOffset, "15");
        w.SetText(kTemperatureOffset, "1.8");  // 1.0 °C
        w.SetText(kHumidityOffset, "-5");
        w.SetText(kAbsPressureOffset, "0.30");   // 10.2 hPa
        w.SetText(kRelPressureOffset, "-0.50");  // -16.9 hPa
        w.SetText(kWindFactor, "1.25");
        w.SetText(kRainFactor, "0.80");
        w.SetText(kLightFactor, "2.50");
        w.SetText(kUvFactor, "0.05");

        w.SetText(kTelephone1, "+15551234567");
        w.SetText(kTelephone2, "0123");
        w.SetText(kTelephone3, "");
        w.SetText(kSmsTestId, "STATION9");
        w.SetText(kGprsApn, "apn.example");
        w.SetText(kGprsUser, "bob");
        w.SetText(kGprsPassword, "pw1");

        w.SelectIndex(kWebHost, 1);
        w.SetText(kWebHost, "upload.example.net");
        WebHostChanged(w);
        w.SelectIndex(kServerType, 1);
        w.SelectIndex(kUploadType, 0);
        w.SetText(kServerPort, "8080");
        w.SetText(kWebId, "ID42");
        w.SetText(kWebPassword, "s3cret");

        w.SetText(kHighTemperature, "86.0");  // 30.0 °C
        w.SetText(kHighDewPoint, "68.0");
        w.SetText(kHighHumidity, "80");
        w.SetText(kHighWind, "22.4");  // 10.0 m/s
        w.SetText(kHighGust, "33.6");
        w.SetText(kHighDailyRain, "1.97");  // 50.0 mm
        w.SetText(kHighRainRate, "0.98");
        w.SetText(kLowTemperature, "14.0");  // -10.0 °C
        w.SetText(kLowDewPoint, "5.0");
        w.SetText(kLowHumidity, "25");
        w.SetChecked(kHighTemperatureSwitch, false);
        w.SetChecked(kHighDewPointSwitch, true);
        w.SetChecked(kHighGustSwitch, false);
        w.SetChecked(kHighRainRateSwitch, true);
        w.SetChecked(kLowTemperatureSwitch, false);
        w.SetChecked(kLowHumiditySwitch, true);
        w.SelectIndex(kAlarmAll, 1);
        AlarmAllChanged(w);

        w.SetText(kLoggerInterval, "10");
        w.SelectIndex(kSendCurrentIntervalUnit, 1);
        w.SetText(kSendCurrentInterval, "15");
        w.SelectIndex(kAlarmSmsIntervalUnit, 0);
        w.SetText(kAlarmSmsInterval, "45");
        w.SelectIndex(kUploadIntervalUnit, 0);
        w.SetText(kUploadInterval, "3");
        w.SelectIndex(kSmsCheckIntervalUnit, 2);
        for (int combo : {kSendCurrentIntervalUnit, kAlarmSmsIntervalUnit, kUploadIntervalUnit,
                          kSmsCheckIntervalUnit})
            IntervalUnitChanged(w, combo);
    }

    Timings savedTimings;
    StationSimulator sim{7};
    COrvaneDlg dlg{sim};
    test::BusyAwareWindow w;
    ExchangeState state;
    UnitSelection units;
    FixedClock clock{QDateTime(QDate(2024, 3, 10), QTime(9, 0)),
                     QDateTime(QDate(2024, 3, 10), QTime(8, 0, 0), Qt::UTC)};
    WriteContext context{w, dlg, state, clock, {}, {}, {}, {}};
};

TEST_F(SimulatorRoundTrip, SaveAllThenReadShowsEveryFieldAsSaved) {
    Read();
    ChangeEveryGroup();
    const Snapshot saved = Snapshot::Of(w);

    w.ClearMessages();
    sim.ClearReceivedRequests();
    const WriteResult result = SaveAll(context);
    EXPECT_EQ(w.Messages(), QStringList{"Save Success"});
    EXPECT_EQ(result.outcome, WriteOutcome::Success);
    EXPECT_EQ(sim.ReceivedRequests().size(), 27u);

    ExpectSame(saved, ReadIntoOpenedWindow());
}

TEST_F(SimulatorRoundTrip, EveryGroupSaveButtonReachesTheStation) {
    Read();
    ChangeEveryGroup();
    const Snapshot saved = Snapshot::Of(w);
    for (int button :
         {kSync, kSaveDaylight, kSaveTimeZone, kSaveCalibration, kSaveUnit, kSaveAlarm,
          kSaveTelephone, kSaveWebServer, kSaveGprs, kSaveLoggerInterval, kSaveSendCurrent}) {
        w.ClearMessages();
        RunWriteTransaction(button, context);
        EXPECT_EQ(w.Messages(), QStringList{"Save Success"}) << button;
    }
    ExpectSame(saved, ReadIntoOpenedWindow());
}

TEST_F(SimulatorRoundTrip, FactoryResetWritesClearsMaxMinAndReadsBack) {
    Read();
    ChangeEveryGroup();
    context.unitStage = [] { return QStringLiteral("EU"); };
    sim.ClearReceivedRequests();
    FactoryReset(context);
    const std::vector<QString> received = sim.ReceivedRequests();
    ASSERT_GE(received.size(), 28u);
    EXPECT_EQ(received[27], "Write&Reset<Max&Min>&http 1.0\r\n");
    EXPECT_EQ(sim.Model().MaxMinResets(), 1);
    EXPECT_EQ(w.Messages(), QStringList{"Save Success"});

    // What the read brought back is the factory configuration.
    const StationConfig c = sim.Model().Config();
    EXPECT_EQ(c.temperatureUnit, "C");
    EXPECT_EQ(c.timeZone, 0);
    EXPECT_EQ(c.highTemperature, 25.0);
    EXPECT_EQ(c.gprsApn, "UNINET");
    EXPECT_EQ(w.Text(kHighTemperature), "25.0");
    EXPECT_EQ(w.Text(kLowDewPoint), "10.0");
    EXPECT_EQ(w.ItemText(kTimeZone, w.SelectedIndex(kTimeZone)), "0");
    EXPECT_EQ(w.Text(kTelephone1), "");
    EXPECT_EQ(w.Text(kLoggerInterval), "5");
}

TEST_F(SimulatorRoundTrip, UnpluggedStationGetsNoReportAtAll) {
    sim.Unplug();
    const auto before = sim.WrittenReports().size();
    for (int button : {kSync, kSaveDaylight, kSaveTimeZone, kSaveCalibration, kSaveUnit, kSaveAlarm,
                       kSaveTelephone, kSmsTest, kSaveWebServer, kSaveGprs, kSaveLoggerInterval,
                       kSaveSendCurrent}) {
        w.ClearMessages();
        RunWriteTransaction(button, context);
        EXPECT_EQ(w.Messages(), QStringList{"UnConnected"}) << button;
    }
    w.ClearMessages();
    SaveAll(context);
    EXPECT_EQ(w.Messages(), QStringList{"UnConnected"});
    int reads = 0;
    context.readSettings = [&] { ++reads; };
    w.ClearMessages();
    FactoryReset(context);
    EXPECT_EQ(w.Messages(), QStringList{"UnConnected"});
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(sim.WrittenReports().size(), before);
    EXPECT_EQ(sim.Model().MaxMinResets(), 0);
}

TEST_F(SimulatorRoundTrip, RejectedWriteIsASaveFail) {
    StationFaults faults;
    faults.rejectWrites = true;
    sim.SetFaults(faults);
    RunWriteTransaction(kSaveUnit, context);
    EXPECT_EQ(w.Messages(), QStringList{"Save Fail"});
}

TEST_F(SimulatorRoundTrip, ValueThatWouldChangeTheRequestNeverReachesTheStation) {
    Read();
    const StationConfig before = sim.Model().Config();
    w.SetText(kGprsPassword, "pw&User=evil");
    w.ClearMessages();
    sim.ClearReceivedRequests();
    RunWriteTransaction(kSaveGprs, context);
    EXPECT_TRUE(sim.ReceivedRequests().empty());
    ASSERT_EQ(w.Messages().size(), 1);
    EXPECT_TRUE(w.Messages().first().startsWith("GPRS password may not contain"));
    EXPECT_EQ(sim.Model().Config().gprsUser, before.gprsUser);
}

}  // namespace
}  // namespace orvane
