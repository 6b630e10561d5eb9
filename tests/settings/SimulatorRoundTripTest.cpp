#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <functional>

#include "SettingsLayout.h"
#include "CUSBDrive.h"
#include "DeviceLink.h"
#include "ExchangeState.h"
#include "Readings.h"
#include "SettingsReplyApplier.h"
#include "SettingsTestSupport.h"
#include "SimulatorRead.h"
#include "StationSettings.h"
#include "StationSimulator.h"
#include "Timing.h"

using namespace orvane;
using namespace orvane::SettingsId;

namespace {

struct RoundTrip : ::testing::Test {
    void SetUp() override {
        saved = GetTimings();
        Timings t = saved;
        t.reportWait = std::chrono::milliseconds(20);
        t.reportPause = std::chrono::milliseconds(1);
        t.settingsBusyWait = std::chrono::milliseconds(5);
        SetTimings(t);
        test::PrepareSettingsWindow(window);
    }
    void TearDown() override { SetTimings(saved); }

    // The Read procedure: flags, empty buffer, request; then wait until the
    // receive thread has handed the reply over and cleared the flags.
    void ReadSettings(StationSimulator& sim) {
        ASSERT_TRUE(test::ReadSettingsFromSimulator(sim, window, state, units));
        EXPECT_FALSE(state.awaitingSetting);
        EXPECT_FALSE(state.requestBusy);
    }

    void ExpectEveryFieldShown(const StationModel& model) {
        for (int n = 1; n <= StationSettings::kFieldCount; ++n)
            test::ExpectFieldShown(window, n, model.SettingField(n));
        EXPECT_TRUE(window.Messages().isEmpty()) << window.Messages().join("|").toStdString();
    }

    Timings saved;
    MemorySettingsWindow window;
    ExchangeState state;
    UnitSelection units;
};

}  // namespace

TEST_F(RoundTrip, SimulatorDefaultConfiguration_ShowsAllFiftySevenFields) {
    StationSimulator sim(3);
    ReadSettings(sim);
    ExpectEveryFieldShown(sim.Model());
    // A few against the stored configuration itself.
    const StationConfig c = sim.Model().Config();
    EXPECT_EQ(window.Text(kWebId), c.webId);
    EXPECT_EQ(window.Text(kWebPassword), c.webPassword);
    EXPECT_EQ(window.Text(kHighTemperature), "30.0");
}

TEST_F(RoundTrip, OtherUnitsAndIntervals_SplitAtOddBytes) {
    StationSimulator sim(5);
    StationConfig c = sim.Model().Config();
    c.temperatureUnit = "F";
    c.lightUnit = "w/m2";
    c.windUnit = "knots";
    c.rainUnit = "inch";
    c.pressureUnit = "inHg";
    c.alarmSmsInterval = "0m";
    c.sendCurrentInterval = "15m";
    c.loggerInterval = "10m";
    c.uploadInterval = "0m";
    c.smsCheckInterval = "on";
    c.telephone3 = "";
    c.dstEnabled = false;
    c.dstStartMonth = 4, c.dstStartWeek = 1, c.dstStartHour = 0;
    c.dstEndMonth = 11, c.dstEndWeek = 2, c.dstEndHour = 23;
    c.webHost = "upload.example.net";
    c.serverType = "asp";
    c.uploadType = 0;
    c.serverPort = "8080";
    c.highRainRate = 12.0;
    c.highDailyRain = 40.0;
    c.lowHumiditySwitch = true;
    c.highWindSwitch = false;
    c.alarmAll = 1;
    sim.Model().SetConfig(c);
    StationFaults faults;
    faults.chunkSizes = {13, 7, 1, 61};  // the tag stays whole in the first report
    sim.SetFaults(faults);

    ReadSettings(sim);
    ExpectEveryFieldShown(sim.Model());
    EXPECT_EQ(units.Previous(Quantity::Wind), 2);
    EXPECT_EQ(window.Text(kHighWindCaption), "knots");
    EXPECT_EQ(window.Text(kHighTemperatureCaption), "°F");
    EXPECT_TRUE(window.IsEnabled(kServerPort));
    EXPECT_FALSE(window.IsEnabled(kHighTemperatureSwitch));
}
