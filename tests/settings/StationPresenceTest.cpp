// The settings window's marks for an absent station, on an in-memory window.
#include <gtest/gtest.h>

#include "MemoryControlWindow.h"
#include "SettingsControls.h"
#include "SettingsLayout.h"
#include "StationPresence.h"

using namespace orvane;
using namespace orvane::SettingsId;

namespace {

// A clock the test moves on.
class StepClock : public Clock {
public:
    QDateTime LocalNow() const override { return now; }
    QDateTime UtcNow() const override { return now.toUTC(); }
    QDateTime now{QDate(2026, 3, 4), QTime(5, 6, 7)};
};

enum class Role { Command, Reading, Other };
struct ControlCase {
    int id;
    const char* name;
    Role role;
};

// Every station command and reading, and a few controls that must stay
// usable without a station (editing settings, leaving, the clock's labels).
constexpr ControlCase kControls[] = {
    {kRead, "Read", Role::Command},
    {kSaveAll, "Save All", Role::Command},
    {kReset, "Reset", Role::Command},
    {kMaxMin, "Max/Min", Role::Command},
    {kSdCardFile, "SDCard File", Role::Command},
    {kSync, "Sync", Role::Command},
    {kSaveDaylight, "Save daylight", Role::Command},
    {kSaveTimeZone, "Save time zone", Role::Command},
    {kSaveCalibration, "Save calibration", Role::Command},
    {kSaveUnit, "Save unit", Role::Command},
    {kSaveTelephone, "Save telephone", Role::Command},
    {kSmsTest, "SMS test", Role::Command},
    {kSaveWebServer, "Save web server", Role::Command},
    {kSaveGprs, "Save GPRS", Role::Command},
    {kSaveAlarm, "Save alarm", Role::Command},
    {kSaveLoggerInterval, "Save logger interval", Role::Command},
    {kSaveSendCurrent, "Save send current", Role::Command},
    {kNowTemperature, "temperature", Role::Reading},
    {kNowHumidity, "humidity", Role::Reading},
    {kNowAbsPressure, "abs pressure", Role::Reading},
    {kNowRelPressure, "rel pressure", Role::Reading},
    {kNowWind, "wind", Role::Reading},
    {kNowGust, "gust", Role::Reading},
    {kNowDewPoint, "dew point", Role::Reading},
    {kNowWindDirection, "wind direction", Role::Reading},
    {kNowRainRate, "rain rate", Role::Reading},
    {kNowRainDay, "rain day", Role::Reading},
    {kNowRainWeek, "rain week", Role::Reading},
    {kNowRainMonth, "rain month", Role::Reading},
    {kNowRainYear, "rain year", Role::Reading},
    {kNowLight, "light", Role::Reading},
    {kNowUv, "UV", Role::Reading},
    {kNowUvIndex, "UV index", Role::Reading},
    {kNowBattery, "battery", Role::Reading},
    {kNowTime, "reading time", Role::Reading},
    {kExit, "Exit", Role::Other},
    {kTimeZone, "time zone", Role::Other},
    {kTemperatureUnit, "temperature unit", Role::Other},
    {kWebId, "web ID", Role::Other},
    {kHighTemperature, "high temperature", Role::Other},
    {kNowTemperatureLabel, "temperature caption", Role::Other},
};

// Checks every control of the table: commands enabled as `commands`,
// readings as `readings`, the rest always enabled.
void ExpectControls(const MemoryControlWindow& w, bool commands, bool readings, const char* step) {
    for (const ControlCase& c : kControls) {
        const bool expected = c.role == Role::Command   ? commands
                              : c.role == Role::Reading ? readings
                                                        : true;
        EXPECT_EQ(w.IsEnabled(c.id), expected) << step << ": " << c.name;
    }
}

struct PresenceTest : ::testing::Test {
    MemorySettingsWindow w;
    StepClock clock;
    StationPresence presence{w, clock, UiLanguage::English};
    QString Caption() const { return w.Text(kCurrentWeatherGroup); }
};

}  // namespace

TEST_F(PresenceTest, UnplugGreysAndDisablesReplugRestoresCommandsFreshReadingUngreys) {
    presence.Update(true);
    presence.ReadingsShown();  // 05:06:07
    presence.Update(true);
    ExpectControls(w, true, true, "attached");
    EXPECT_EQ(Caption(), "Current Weather");

    clock.now = clock.now.addSecs(90);
    presence.Update(false);
    ExpectControls(w, false, false, "unplugged");
    EXPECT_EQ(Caption(), "Current Weather - station unplugged, last reading 2026-03-04 05:06:07");

    // A window timer gives Read and Save All back meanwhile: the next
    // refresh takes them again.
    w.SetEnabled(kRead, true);
    w.SetEnabled(kSaveAll, true);
    presence.Update(false);
    ExpectControls(w, false, false, "unplugged, after the button return");

    presence.Update(true);
    ExpectControls(w, true, false, "replugged, no reading yet");
    EXPECT_EQ(Caption(), "Current Weather - last reading 2026-03-04 05:06:07");

    presence.ReadingsShown();
    ExpectControls(w, true, false, "reading noted, not yet refreshed");
    presence.Update(true);
    ExpectControls(w, true, true, "fresh reading");
    EXPECT_EQ(Caption(), "Current Weather");
}

TEST_F(PresenceTest, AttachedRefreshesLeaveTheCommandsToTheWindow) {
    // The opening read holds Read and Save All; a refresh while the station
    // stays attached must not hand them back early.
    w.SetEnabled(kRead, false);
    w.SetEnabled(kSaveAll, false);
    for (int i = 0; i < 3; ++i) presence.Update(true);
    EXPECT_FALSE(w.IsEnabled(kRead));
    EXPECT_FALSE(w.IsEnabled(kSaveAll));
    EXPECT_TRUE(w.IsEnabled(kReset));
    EXPECT_EQ(Caption(), "Current Weather");
}

TEST_F(PresenceTest, ReadingArrivingWhileAbsentStaysStaleButGivesItsTime) {
    presence.Update(false);
    EXPECT_EQ(Caption(), "Current Weather - station unplugged, no reading yet");
    ExpectControls(w, false, false, "opened unplugged");

    clock.now = QDateTime(QDate(2026, 3, 4), QTime(6, 0, 0));
    presence.ReadingsShown();  // a reply still in flight when it went
    presence.Update(false);
    EXPECT_EQ(Caption(), "Current Weather - station unplugged, last reading 2026-03-04 06:00:00");
    presence.Update(true);
    ExpectControls(w, true, false, "replugged");
    EXPECT_EQ(Caption(), "Current Weather - last reading 2026-03-04 06:00:00");
}

TEST_F(PresenceTest, OpenedUnpluggedThenPluggedWaitsForTheFirstReading) {
    presence.Update(false);
    presence.Update(true);
    // Nothing has been shown, so there is nothing to mark.
    EXPECT_EQ(Caption(), "Current Weather");
    EXPECT_FALSE(w.IsEnabled(kNowTemperature));
    presence.ReadingsShown();
    presence.Update(true);
    ExpectControls(w, true, true, "first reading");
}

TEST(StationPresenceCaption, Chinese) {
    MemorySettingsWindow w;
    StepClock clock;
    StationPresence presence(w, clock, UiLanguage::Chinese);
    presence.ReadingsShown();
    presence.Update(false);
    EXPECT_EQ(w.Text(kCurrentWeatherGroup),
              QString::fromUtf8("当前数据 - 设备未连接，最后读数 2026-03-04 05:06:07"));
    presence.Update(true);
    EXPECT_EQ(w.Text(kCurrentWeatherGroup),
              QString::fromUtf8("当前数据 - 最后读数 2026-03-04 05:06:07"));
}
