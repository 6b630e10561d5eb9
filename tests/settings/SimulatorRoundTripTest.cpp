#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <functional>

#include "CUSBDrive.h"
#include "DeviceLink.h"
#include "ExchangeState.h"
#include "Readings.h"
#include "SettingsReplyApplier.h"
#include "SettingsTestSupport.h"
#include "StationSettings.h"
#include "StationSimulator.h"
#include "Timing.h"

using namespace orvane;
using namespace orvane::SettingsId;

namespace {

// Counts the replies handed over, so the test knows when the receive
// thread is done with one.
class CountingHandler : public SettingsReplyHandler {
public:
    explicit CountingHandler(SettingsReplyHandler& inner) : m_inner(inner) {}
    void HandleSettingReply(const QString& replyText) override {
        m_inner.HandleSettingReply(replyText);
        ++calls;
    }
    std::atomic<int> calls{0};

private:
    SettingsReplyHandler& m_inner;
};

bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 10000) return false;
        QThread::msleep(2);
    }
    return true;
}

// How the window must show field `n` of the simulator's reply; the
// simulator formats its stored configuration into those fields.
void ExpectFieldShown(const MemoryControlWindow& w, int n, const QString& f) {
    auto text = [&](int id) { return w.Text(id); };
    auto number = [&] { return f.left(f.size() - 1); };
    auto on = [&](char letter) { return f.endsWith(QChar(letter)) && number() != "0"; };
    const QStringList clock = f.split(':');
    SCOPED_TRACE(QString("field %1 = \"%2\"").arg(n).arg(f).toStdString());
    switch (n) {
        case 1:
            EXPECT_EQ(text(kTemperatureUnit), "°" + f);
            break;
        case 2:
            EXPECT_EQ(text(kLightUnit), f);
            break;
        case 3:
            EXPECT_EQ(text(kWindUnit), f);
            break;
        case 4:
            EXPECT_EQ(text(kRainUnit), f);
            break;
        case 5:
            EXPECT_EQ(text(kPressureUnit), f);
            break;
        case 6:
            EXPECT_EQ(text(kWindDirectionOffset), f);
            break;
        case 7:
            EXPECT_EQ(text(kTemperatureOffset), StripTrailing(f, "CF"));
            break;
        case 8:
            EXPECT_EQ(text(kHumidityOffset), f);
            break;
        case 9:
            EXPECT_EQ(text(kWindFactor), f);
            break;
        case 10:
            EXPECT_EQ(text(kRainFactor), f);
            break;
        case 11:
            EXPECT_EQ(text(kLightFactor), f);
            break;
        case 12:
            EXPECT_EQ(text(kUvFactor), f);
            break;
        case 13:
            EXPECT_EQ(text(kAbsPressureOffset), StripTrailing(f, Suffix::kPressure));
            break;
        case 14:
            EXPECT_EQ(text(kRelPressureOffset), StripTrailing(f, Suffix::kPressure));
            break;
        case 15:
            EXPECT_EQ(text(kTimeZone), f);
            break;
        case 16:
            EXPECT_EQ(text(kAlarmSmsInterval), on('m') ? number() : "");
            EXPECT_EQ(text(kAlarmSmsIntervalUnit), on('m') ? "Minute" : "Never");
            break;
        case 17:
        case 19: {
            const int edit = n == 17 ? kSendCurrentInterval : kUploadInterval;
            const int combo = n == 17 ? kSendCurrentIntervalUnit : kUploadIntervalUnit;
            EXPECT_EQ(text(edit), on('h') || on('m') ? number() : "");
            EXPECT_EQ(w.SelectedIndex(combo), on('h') ? 0 : on('m') ? 1 : 2);
            break;
        }
        case 18:
            EXPECT_EQ(text(kLoggerInterval), number());
            break;
        case 20:
            EXPECT_EQ(text(kSmsCheckInterval), on('h') || on('m') ? number() : "");
            EXPECT_EQ(w.SelectedIndex(kSmsCheckIntervalUnit), on('h')     ? 0
                                                              : on('m')   ? 1
                                                              : f == "on" ? 2
                                                                          : 3);
            break;
        case 21:
            EXPECT_EQ(text(kTelephone1), f);
            break;
        case 22:
            EXPECT_EQ(text(kTelephone2), f);
            break;
        case 23:
            EXPECT_EQ(text(kTelephone3), f);
            break;
        case 24:
            EXPECT_EQ(w.IsChecked(kDst), f != "0");
            break;
        case 25:
        case 26:
            ASSERT_EQ(clock.size(), 3);
            EXPECT_EQ(text(n == 25 ? kDstStartMonth : kDstEndMonth),
                      QString::number(clock[0].toInt()));
            EXPECT_EQ(text(n == 25 ? kDstStartWeek : kDstEndWeek),
                      QString::number(clock[1].toInt()));
            EXPECT_EQ(text(n == 25 ? kDstStartHour : kDstEndHour),
                      QString::number(clock[2].toInt()));
            break;
        case 27:
            EXPECT_EQ(text(kWebHost), f);
            break;
        case 28:
            EXPECT_EQ(text(kWebId), f);
            break;
        case 29:
            EXPECT_EQ(text(kWebPassword), f);
            break;
        case 30:
            EXPECT_EQ(text(kServerType), f);
            break;
        case 31:
            EXPECT_EQ(w.SelectedIndex(kUploadType), f.toInt());
            break;
        case 32:
            EXPECT_EQ(text(kServerPort), f);
            break;
        case 33:
            EXPECT_EQ(text(kGprsApn), f);
            break;
        case 34:
            EXPECT_EQ(text(kGprsUser), f);
            break;
        case 35:
            EXPECT_EQ(text(kGprsPassword), f);
            break;
        case 36:
            EXPECT_EQ(text(kHighTemperature), StripTrailing(f, "CF"));
            break;
        case 37:
            EXPECT_EQ(text(kHighDewPoint), StripTrailing(f, "CF"));
            break;
        case 38:
            EXPECT_EQ(text(kHighHumidity), f);
            break;
        case 39:
            EXPECT_EQ(text(kHighWind), StripTrailing(f, Suffix::kWind));
            break;
        case 40:
            EXPECT_EQ(text(kHighGust), StripTrailing(f, Suffix::kWind));
            break;
        case 41:
            EXPECT_EQ(text(kHighRainRate), StripTrailing(f, Suffix::kRain));
            break;
        case 42:
            EXPECT_EQ(text(kHighDailyRain), StripTrailing(f, Suffix::kRain));
            break;
        case 43:
            EXPECT_EQ(text(kLowTemperature), StripTrailing(f, "CF"));
            break;
        case 44:
            EXPECT_EQ(text(kLowDewPoint), StripTrailing(f, "CF"));
            break;
        case 45:
            EXPECT_EQ(text(kLowHumidity), f);
            break;
        case 46:
            EXPECT_EQ(w.IsChecked(kLowTemperatureSwitch), f == "On");
            break;
        case 47:
            EXPECT_EQ(w.IsChecked(kLowDewPointSwitch), f == "On");
            break;
        case 48:
            EXPECT_EQ(w.IsChecked(kLowHumiditySwitch), f == "On");
            break;
        case 49:
            EXPECT_EQ(w.IsChecked(kHighTemperatureSwitch), f == "On");
            break;
        case 50:
            EXPECT_EQ(w.IsChecked(kHighDewPointSwitch), f == "On");
            break;
        case 51:
            EXPECT_EQ(w.IsChecked(kHighHumiditySwitch), f == "On");
            break;
        case 52:
            EXPECT_EQ(w.IsChecked(kHighWindSwitch), f == "On");
            break;
        case 53:
            EXPECT_EQ(w.IsChecked(kHighGustSwitch), f == "On");
            break;
        case 54:
            EXPECT_EQ(w.IsChecked(kHighRainRateSwitch), f == "On");
            break;
        case 55:
            EXPECT_EQ(w.IsChecked(kHighDailyRainSwitch), f == "On");
            break;
        case 56:
            EXPECT_EQ(w.SelectedIndex(kAlarmAll), f.toInt());
            break;
        case 57:
            EXPECT_EQ(text(kSmsTestId), f);
            break;
        default:
            FAIL();
    }
}

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
        SettingsReplyApplier applier(window, state, units);
        CountingHandler counting(applier);
        ReplyConsumers consumers;
        consumers.settings = &counting;
        DeviceLink link(sim, state, consumers);
        link.Open();
        CUSBDrive drive(sim);
        ASSERT_TRUE(drive.ProbeStation());
        state.requestBusy = true;
        state.settingReplyText.Clear();
        state.awaitingSetting = true;
        state.pendingRequest = kPendingSettings;
        ASSERT_TRUE(drive.SendText("Read&Time&http 1.0\r\n"));
        ASSERT_TRUE(WaitFor([&] { return counting.calls == 1 && state.pendingRequest == 0; }))
            << state.settingReplyText.Text().toStdString();
        EXPECT_FALSE(state.awaitingSetting);
        EXPECT_FALSE(state.requestBusy);
        link.Shutdown();
    }

    void ExpectEveryFieldShown(const StationModel& model) {
        for (int n = 1; n <= StationSettings::kFieldCount; ++n)
            ExpectFieldShown(window, n, model.SettingField(n));
        EXPECT_TRUE(window.Messages().isEmpty()) << window.Messages().join("|").toStdString();
    }

    Timings saved;
    MemoryControlWindow window;
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
