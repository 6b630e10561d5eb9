#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <set>

#include "ExchangeState.h"
#include "SettingsLayout.h"
#include "SettingsReplyApplier.h"
#include "SettingsTestSupport.h"
#include "StationSettings.h"
#include "Timing.h"

using namespace orvane;
using namespace orvane::SettingsId;
using orvane::test::PrepareSettingsWindow;
using orvane::test::ReadTestData;

namespace {

// The configuration that tests/data/settings/setting_reply.txt carries.
StationSettings GoldenSettings() {
    StationSettings s;
    // Fields 1-5 units, 6-14 calibration, 15 zone, 16-20 intervals, 21-23
    // telephones, 24-26 daylight, 27-32 web, 33-35 GPRS, 36-45 thresholds,
    // 46-55 switches, 56 alarm all, 57 SMS-test ID.
    const QStringList values = QStringLiteral(
                                   "C|lux|km/h|mm|hpa|5|1.5C|-3|1.00|1.10|0.90|1.20|2.5hpa|-1.0hpa|"
                                   "1|30m|2h|5m|15m|on|+4912345||0123|1|3:5:02|10:5:03|"
                                   "weather.example.org|STATION1|webpass|asp|0|8080|internet|"
                                   "gprsuser|gprspass|30.0C|20.0C|90|50.0km/h|70.0km/h|10.0mm|"
                                   "50.0mm|-5.0C|-10.0C|20|On|Off|On|On|Off|On|Off|On|Off|On|1|"
                                   "SMS42")
                                   .split(u'|');
    for (int i = 0; i < values.size(); ++i) s.Field(i + 1) = values[i];
    return s;
}

// Writes a record the way the station sends it (same blocks and keys as
// the golden file).
QString BuildReply(const StationSettings& s) {
    struct Block {
        const char* name;
        QStringList keys;
    };
    const QList<Block> blocks = {
        {"Unit", {"Temperature", "Light", "Wind", "Rainfall", "Pressure"}},
        {"Offset",
         {"Wind dir", "Temperature", "Humidity", "Wind", "Rain fall", "Light", "UV", "Abs Pressure",
          "Rel Pressure"}},
        {"Time zone", {"time zone"}},
        {"Interval", {"Alarm", "Send", "Save", "Update", "Receive SMS"}},
        {"Telephone", {"Tel1", "Tel2", "Tel3"}},
        {"DST", {"DST", "Start", "End"}},
        {"Weather server", {"Web", "ID", "Password", "Server type", "Upload type", "Port"}},
        {"GPRS", {"APN", "User", "Password"}},
        {"Alarm high",
         {"Temperature", "Dew Point", "Humidity", "Wind", "Gust", "Rain Rate", "Daily Rain"}},
        {"Alarm low", {"Temperature", "Dew Point", "Humidity"}},
        {"low switch", {"Temperature", "Dew Point", "Humidity"}},
        {"high switch",
         {"Temperature", "Dew Point", "Humidity", "Wind", "Gust", "Rain Rate", "Daily Rain"}},
        {"Alarm switch", {"Alarm"}},
        {"SMS test", {"ID"}},
    };
    QString reply = "Setting:\r\n";
    int field = 1;
    for (const Block& b : blocks) {
        reply += QString::fromLatin1(b.name) + '<';
        QStringList pairs;
        for (const QString& key : b.keys) pairs << key + '=' + s.Field(field++);
        reply += pairs.join('&') + ">\r\n";
    }
    return reply + '@';
}

struct SettingsReplyFixture : ::testing::Test {
    void SetUp() override { PrepareSettingsWindow(window); }
    void Apply(const StationSettings& s) { ApplyStationSettings(s, window, units); }
    void ApplyField(int number, const QString& value) {
        StationSettings s = GoldenSettings();
        s.Field(number) = value;
        Apply(s);
    }
    MemorySettingsWindow window;
    UnitSelection units;
};

}  // namespace

// ---- Parsing -------------------------------------------------------------

TEST(SettingsReplyParse, GoldenReply_YieldsEveryFieldAndTheSearchedValues) {
    const QString text = ReadTestData("setting_reply.txt");
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(BuildReply(GoldenSettings()), text);  // the builder below writes the same format

    const SettingsParseResult r = ParseSettingsReply(text);
    ASSERT_EQ(r.error, SettingsReplyError::None);
    const StationSettings expected = GoldenSettings();
    for (int i = 1; i <= StationSettings::kFieldCount; ++i)
        EXPECT_EQ(r.settings.Field(i), expected.Field(i)) << "field " << i;
    EXPECT_TRUE(r.settings.hasSearchedValues);
    EXPECT_EQ(r.settings.searchedWebPassword, "webpass");
    EXPECT_EQ(r.settings.searchedGprsPassword, "gprspass");
    EXPECT_EQ(r.settings.searchedSmsTestId, "SMS42");
}

TEST(SettingsReplyParse, TextBeforeUnitIsIgnored_WithoutUnitTheWholeTextCounts) {
    const QString reply = BuildReply(GoldenSettings());
    EXPECT_EQ(ParseSettingsReply("Junk=zz\r\n" + reply).settings.temperatureUnit, "C");

    QString noUnit = reply;
    noUnit.replace("Unit<", "Measure<");
    const SettingsParseResult r = ParseSettingsReply("Junk=zz\r\n" + noUnit);
    EXPECT_EQ(r.settings.Field(1), "zz");
    EXPECT_EQ(r.settings.Field(2), "C");  // every field one place later
    EXPECT_EQ(ParseSettingsReply(noUnit).settings.Field(1), "C");
}

TEST(SettingsReplyParse, PasswordAfterServerOrMissing_ProducesNoSearchedValues) {
    QString reply = BuildReply(GoldenSettings());
    QString moved = reply;
    moved.replace("&Password=webpass&Server type=", "&Pass=webpass&Server type=");
    const SettingsParseResult r = ParseSettingsReply(moved);
    EXPECT_EQ(r.error, SettingsReplyError::None);
    EXPECT_FALSE(r.settings.hasSearchedValues);  // the next "Password" is GPRS's, after "&Server"
    EXPECT_EQ(r.settings.webPassword, "webpass");

    QString noServer = reply;
    noServer.replace("&Server type=", "&Kind=");
    EXPECT_FALSE(ParseSettingsReply(noServer).settings.hasSearchedValues);
}

TEST(SettingsReplyParse, SearchedValueWithoutItsEnd_IsEmptyNotTheRestOfTheReply) {
    const SettingsParseResult r = ParseSettingsReply(
        "Unit<Temperature=C>\r\nWeb<Password=w1&Server type=php>\r\nGPRS<Password=g1&ID=7");
    EXPECT_TRUE(r.settings.hasSearchedValues);
    EXPECT_EQ(r.settings.searchedWebPassword, "w1");
    EXPECT_EQ(r.settings.searchedGprsPassword, "");
    EXPECT_EQ(r.settings.searchedSmsTestId, "");
}

TEST(SettingsReplyParse, WebPasswordWithEquals_IsWholeButShiftsLaterFields) {
    StationSettings s = GoldenSettings();
    s.webPassword = "ab=cd";
    // With the golden values the shift moves a GPRS password into the high
    // temperature, which then fails its class.
    const SettingsParseResult golden = ParseSettingsReply(BuildReply(s));
    EXPECT_EQ(golden.error, SettingsReplyError::InvalidValue);
    EXPECT_EQ(golden.settings.searchedWebPassword, "ab=cd");

    // Values that still pass their classes one place later.
    s.gprsPassword = "1234";
    for (int i = 36; i <= 45; ++i) s.Field(i) = QString::number(i);
    const SettingsParseResult r = ParseSettingsReply(BuildReply(s));
    ASSERT_EQ(r.error, SettingsReplyError::None);
    EXPECT_EQ(r.settings.highTemperature, "1234");
    EXPECT_EQ(r.settings.lowHumidity, "44");
    EXPECT_EQ(r.settings.searchedWebPassword, "ab=cd");
    EXPECT_EQ(r.settings.webPassword, "ab=cd");
    EXPECT_EQ(r.settings.serverType, "cd");   // 30 takes the rest of the password line
    EXPECT_EQ(r.settings.uploadType, "asp");  // 31 takes 30's value
    EXPECT_EQ(r.settings.smsTestId, "1");     // 57 takes 56's value
    EXPECT_EQ(r.settings.searchedSmsTestId, "SMS42");
}

TEST(SettingsReplyParse, NothingLeftAfterRewriting_IsEmptyReply) {
    EXPECT_EQ(ParseSettingsReply("").error, SettingsReplyError::EmptyReply);
    EXPECT_EQ(ParseSettingsReply(">>>").error, SettingsReplyError::EmptyReply);
    EXPECT_EQ(SettingsReplyErrorText(SettingsReplyError::EmptyReply), "Error");
    // A text with no "=" is not empty: every field is simply empty.
    const SettingsParseResult r = ParseSettingsReply("Setting:\r\n@");
    EXPECT_EQ(r.error, SettingsReplyError::None);
    EXPECT_EQ(r.settings.temperatureUnit, "");
}

TEST(SettingsReplyParse, OnlyTheTwentyOneClassedFieldsAreValidated) {
    const std::set<int> validated = {6,  7,  8,  9,  10, 11, 12, 13, 14, 25, 26,
                                     36, 37, 38, 39, 40, 41, 42, 43, 44, 45};
    for (int i = 1; i <= StationSettings::kFieldCount; ++i) {
        StationSettings s = GoldenSettings();
        s.Field(i) = "1.5X";
        const SettingsParseResult r = ParseSettingsReply(BuildReply(s));
        EXPECT_EQ(r.error,
                  validated.count(i) ? SettingsReplyError::InvalidValue : SettingsReplyError::None)
            << "field " << i;
    }
    EXPECT_EQ(SettingsReplyErrorText(SettingsReplyError::InvalidValue), "Read Error");
}

TEST(SettingsReplyParse, ClassesFollowTheQuantity) {
    struct Case {
        int field;
        const char* value;
        bool ok;
    };
    const Case cases[] = {
        {7, "1.5C", true},      {7, "-2.7F", true},   {7, "1.5c", false},    {13, "3.5hpa", true},
        {13, "0.10inHg", true}, {13, "2mmHg", true},  {13, "1.0kpa", false}, {39, "12.5km/h", true},
        {39, "3.0knots", true}, {39, "4bft", true},   {39, "5m/s", true},    {39, "1.0mps!", false},
        {41, "0.39inch", true}, {41, "10.0mm", true}, {41, "1cl", false},    {25, "3:2:02", true},
        {25, "3:2:02a", false}, {6, "", true},        {6, "1 ", false},
    };
    for (const Case& c : cases) {
        StationSettings s = GoldenSettings();
        s.Field(c.field) = c.value;
        EXPECT_EQ(ParseSettingsReply(BuildReply(s)).error == SettingsReplyError::None, c.ok)
            << "field " << c.field << " value " << c.value;
    }
}

TEST(SettingsReplyParse, ShortReply_MissingFieldsAreEmpty) {
    const SettingsParseResult r =
        ParseSettingsReply("Setting:\r\nUnit<Temperature=F&Light=fc&Wind=mph>\r\n@");
    EXPECT_EQ(r.error, SettingsReplyError::None);
    EXPECT_EQ(r.settings.temperatureUnit, "F");
    EXPECT_EQ(r.settings.windUnit, "mph");
    for (int i = 4; i <= StationSettings::kFieldCount; ++i) EXPECT_EQ(r.settings.Field(i), "");

    // The last "=" without a line break after it is an incomplete line.
    EXPECT_EQ(ParseSettingsReply("Unit<Temperature=F&Light=fc").settings.lightUnit, "");
}

TEST(SettingsReplyParse, LineBreaksBeyondTheEightiethAreNotLookedAt) {
    StationSettings s = GoldenSettings();
    s.telephone2 = QString("\r\n").repeated(20);  // pushes the later lines past 80
    const SettingsParseResult r = ParseSettingsReply(BuildReply(s));
    EXPECT_EQ(r.settings.telephone3, "0123");
    EXPECT_EQ(r.settings.alarmAll, "");
    EXPECT_EQ(r.settings.smsTestId, "");
}

// ---- Applying ------------------------------------------------------------

TEST_F(SettingsReplyFixture, GoldenReply_ShowsEveryFieldWhereItBelongs) {
    const StationSettings golden = GoldenSettings();
    window.SetEnabled(kRead, false);
    Apply(golden);
    window.SetText(kWebPassword, golden.webPassword);  // the handler's part
    window.SetText(kGprsPassword, golden.gprsPassword);
    window.SetText(kSmsTestId, golden.smsTestId);
    for (int n = 1; n <= StationSettings::kFieldCount; ++n)
        test::ExpectFieldShown(window, n, golden.Field(n));
    // The same, spelled out where a rule shapes the text.
    EXPECT_EQ(window.Text(kTemperatureOffset), "1.5");
    EXPECT_EQ(window.Text(kRelPressureOffset), "-1.0");
    EXPECT_EQ(window.Text(kHighRainRate), "10.0");   // field 41
    EXPECT_EQ(window.Text(kHighDailyRain), "50.0");  // field 42
    EXPECT_EQ(window.Text(kSmsCheckIntervalUnit), "Always on");
    EXPECT_FALSE(window.IsEnabled(kSmsCheckInterval));
    EXPECT_EQ(window.Text(kDstStartHour), "2");
    EXPECT_EQ(window.Text(kUploadType), "Default");
    EXPECT_TRUE(window.IsEnabled(kServerPort));
    EXPECT_FALSE(window.IsEnabled(kHighWindSwitch));  // Alarm All "Disable"
    EXPECT_TRUE(window.IsEnabled(kRead));
    EXPECT_TRUE(window.IsEnabled(kSaveAll));
}

TEST_F(SettingsReplyFixture, IntervalRules) {
    ApplyField(16, "0m");
    EXPECT_EQ(window.Text(kAlarmSmsInterval), "");
    EXPECT_EQ(window.Text(kAlarmSmsIntervalUnit), "Never");
    EXPECT_FALSE(window.IsEnabled(kAlarmSmsInterval));
    ApplyField(16, "2h");  // the alarm interval knows only minutes
    EXPECT_EQ(window.Text(kAlarmSmsIntervalUnit), "Never");
    ApplyField(16, "45m");
    EXPECT_EQ(window.Text(kAlarmSmsInterval), "45");
    EXPECT_TRUE(window.IsEnabled(kAlarmSmsInterval));
    EXPECT_EQ(window.ToolTip(kAlarmSmsInterval), "10 - 120 (Minute)");

    ApplyField(17, "0h");
    EXPECT_EQ(window.Text(kSendCurrentInterval), "");
    EXPECT_EQ(window.Text(kSendCurrentIntervalUnit), "Not send");
    ApplyField(19, "");
    EXPECT_EQ(window.Text(kUploadIntervalUnit), "Unupload");
    EXPECT_FALSE(window.IsEnabled(kUploadInterval));
    ApplyField(19, "3h");
    EXPECT_EQ(window.Text(kUploadInterval), "3");
    EXPECT_EQ(window.Text(kUploadIntervalUnit), "Hour");
    EXPECT_TRUE(window.IsEnabled(kUploadInterval));
    EXPECT_EQ(window.ToolTip(kUploadInterval), "1 - 24 (Hour)");

    ApplyField(18, "");
    EXPECT_EQ(window.Text(kLoggerInterval), "");
    ApplyField(18, "10m");
    EXPECT_EQ(window.Text(kLoggerInterval), "10");

    for (const char* other : {"off", "", "On", "0h", "5x"}) {
        window.SetText(kSmsCheckInterval, "9");
        ApplyField(20, other);
        EXPECT_EQ(window.Text(kSmsCheckIntervalUnit), "Always off") << other;
        EXPECT_EQ(window.Text(kSmsCheckInterval), "") << other;
        EXPECT_FALSE(window.IsEnabled(kSmsCheckInterval)) << other;
    }
    ApplyField(20, "20m");
    EXPECT_EQ(window.Text(kSmsCheckIntervalUnit), "Minute");
    EXPECT_EQ(window.Text(kSmsCheckInterval), "20");
    EXPECT_TRUE(window.IsEnabled(kSmsCheckInterval));
}

TEST_F(SettingsReplyFixture, DaylightClockRule) {
    StationSettings s = GoldenSettings();
    s.dstEnabled = "0";
    s.dstStart = "3:2:02";
    s.dstEnd = "12:1:23";
    Apply(s);
    EXPECT_FALSE(window.IsChecked(kDst));
    EXPECT_EQ(window.Text(kDstStartMonth), "3");
    EXPECT_EQ(window.Text(kDstStartWeek), "2");
    EXPECT_EQ(window.Text(kDstStartHour), "2");
    EXPECT_EQ(window.Text(kDstEndMonth), "12");
    EXPECT_EQ(window.Text(kDstEndWeek), "1");
    EXPECT_EQ(window.Text(kDstEndHour), "23");

    // Out-of-range parts clear the combo instead of selecting a stray item.
    s.dstStart = "13:0:99";
    s.dstEnd = "";
    Apply(s);
    EXPECT_EQ(window.SelectedIndex(kDstStartMonth), -1);
    EXPECT_EQ(window.SelectedIndex(kDstStartWeek), -1);
    EXPECT_EQ(window.SelectedIndex(kDstStartHour), -1);
    EXPECT_EQ(window.SelectedIndex(kDstEndMonth), -1);

    // The smallest numbers clear too, without overflow on the way (UBSan).
    s.dstStart = "-99999999999:-2147483648:-2147483648";
    Apply(s);
    EXPECT_EQ(window.SelectedIndex(kDstStartMonth), -1);
    EXPECT_EQ(window.SelectedIndex(kDstStartWeek), -1);
    EXPECT_EQ(window.SelectedIndex(kDstStartHour), -1);
}

TEST_F(SettingsReplyFixture, SwitchesNeedExactlyOn) {
    StationSettings s = GoldenSettings();
    s.highTemperatureSwitch = "on";
    s.lowTemperatureSwitch = "ON";
    s.highDewPointSwitch = "On";
    Apply(s);
    EXPECT_FALSE(window.IsChecked(kHighTemperatureSwitch));
    EXPECT_FALSE(window.IsChecked(kLowTemperatureSwitch));
    EXPECT_TRUE(window.IsChecked(kHighDewPointSwitch));
}

TEST_F(SettingsReplyFixture, CombosMatchIgnoringCase_UnknownTokenClearsAndForgets) {
    StationSettings s = GoldenSettings();
    s.temperatureUnit = "c";
    s.windUnit = "KNOTS";
    s.pressureUnit = "kpa";
    Apply(s);
    EXPECT_EQ(window.Text(kTemperatureUnit), "°C");
    EXPECT_EQ(window.Text(kWindUnit), "knots");
    EXPECT_EQ(window.SelectedIndex(kPressureUnit), -1);
    EXPECT_EQ(units.Previous(Quantity::Wind), 2);
    EXPECT_EQ(units.Previous(Quantity::Pressure), kNoUnit);

    // From an unknown unit nothing is converted; the choice is remembered.
    window.SetText(kAbsPressureOffset, "12.0");
    window.SelectIndex(kPressureUnit, 1);
    PressureUnitChanged(window, units);
    EXPECT_EQ(window.Text(kAbsPressureOffset), "12.0");
    EXPECT_EQ(units.Previous(Quantity::Pressure), 1);
}

TEST_F(SettingsReplyFixture, ReplyInOtherUnits_RelabelsWithoutConverting) {
    StationSettings s = GoldenSettings();
    s.temperatureUnit = "F";
    s.windUnit = "knots";
    s.rainUnit = "inch";
    s.pressureUnit = "inHg";
    s.highTemperature = "86.0F";
    s.highWind = "27.0knots";
    s.highDailyRain = "1.97inch";
    s.absPressureOffset = "0.07inHg";
    Apply(s);
    EXPECT_EQ(window.Text(kHighTemperature), "86.0");
    EXPECT_EQ(window.Text(kHighWind), "27.0");
    EXPECT_EQ(window.Text(kHighDailyRain), "1.97");
    EXPECT_EQ(window.Text(kAbsPressureOffset), "0.07");
    EXPECT_EQ(window.Text(kHighTemperatureCaption), "°F");
    EXPECT_EQ(window.Text(kHighWindCaption), "knots");
    EXPECT_EQ(window.Text(kDailyRainCaption), "inch");
    EXPECT_EQ(window.Text(kAbsPressureCaption), "inHg");
    EXPECT_EQ(window.ToolTip(kHighTemperature), "-40.0°F - 140.0°F ");
    EXPECT_EQ(window.ToolTip(kHighWind), "0.0 - 97.2knot");
    EXPECT_EQ(window.ToolTip(kHighRainRate), "0.0 - 39.33inch");
    EXPECT_EQ(window.ToolTip(kRelPressureOffset), "-23.6 - 23.6inHg");

    // The user then picks km/h: the conversion starts from knots.
    window.SelectIndex(kWindUnit, 0);
    WindUnitChanged(window, units);
    EXPECT_EQ(window.Text(kHighWind), "50.0");  // 27 knots = 13.9 m/s = 50.0 km/h
}

TEST_F(SettingsReplyFixture, HostRule) {
    StationSettings s = GoldenSettings();
    s.webHost = kServiceWebHost;
    // The received host in the edit part is no list item, so the combo
    // reports no selection (as the real one does) and the received values stay.
    Apply(s);
    EXPECT_EQ(window.Text(kWebHost), kServiceWebHost);
    EXPECT_EQ(window.SelectedIndex(kWebHost), -1);
    EXPECT_EQ(window.Text(kServerPort), "8080");
    for (int id : {kServerType, kUploadType, kServerPort}) EXPECT_TRUE(window.IsEnabled(id));

    window.SelectIndex(kWebHost, 1);  // "New web"
    Apply(s);
    EXPECT_EQ(window.Text(kServerPort), "8080");
    EXPECT_EQ(window.Text(kServerType), "asp");
    EXPECT_EQ(window.Text(kUploadType), "Default");
    for (int id : {kServerType, kUploadType, kServerPort}) EXPECT_TRUE(window.IsEnabled(id));

    // Another host keeps the received values even with item 0 selected.
    window.SelectIndex(kWebHost, 0);
    s.webHost = kDefaultUploadHost;
    Apply(s);
    EXPECT_EQ(window.Text(kServerPort), "8080");
    EXPECT_TRUE(window.IsEnabled(kServerPort));
}

TEST_F(SettingsReplyFixture, AlarmAllEnablesTheTenSwitches) {
    ApplyField(56, "1");
    const int ids[] = {kHighTemperatureSwitch, kHighDewPointSwitch,   kHighHumiditySwitch,
                       kHighWindSwitch,        kHighGustSwitch,       kHighRainRateSwitch,
                       kHighDailyRainSwitch,   kLowTemperatureSwitch, kLowDewPointSwitch,
                       kLowHumiditySwitch};
    for (int id : ids) EXPECT_FALSE(window.IsEnabled(id)) << id;
    ApplyField(56, "0");
    for (int id : ids) EXPECT_TRUE(window.IsEnabled(id)) << id;
}

// ---- The handler ---------------------------------------------------------

namespace {

struct HandlerFixture : SettingsReplyFixture {
    void SetUp() override {
        SettingsReplyFixture::SetUp();
        saved = GetTimings();
    }
    void TearDown() override { SetTimings(saved); }
    Timings saved;
    ExchangeState state;
};

}  // namespace

TEST_F(HandlerFixture, GoodReply_AppliesSearchedValuesAndClearsBusy) {
    SettingsReplyApplier handler(window, state, units);
    window.SetEnabled(kRead, false);
    handler.HandleSettingReply(ReadTestData("setting_reply.txt"));
    EXPECT_EQ(window.Text(kWebPassword), "webpass");
    EXPECT_EQ(window.Text(kGprsPassword), "gprspass");
    EXPECT_EQ(window.Text(kSmsTestId), "SMS42");
    EXPECT_EQ(window.Text(kWebId), "STATION1");
    EXPECT_TRUE(window.IsEnabled(kRead));
    EXPECT_FALSE(state.requestBusy);
    EXPECT_TRUE(window.Messages().isEmpty());
}

TEST_F(HandlerFixture, InvalidValue_ShowsReadErrorButKeepsTheSearchedValues) {
    StationSettings s = GoldenSettings();
    s.temperatureOffset = "1.5X";
    window.SetEnabled(kRead, false);
    window.SetEnabled(kSaveAll, false);
    SettingsReplyApplier(window, state, units).HandleSettingReply(BuildReply(s));
    EXPECT_EQ(window.Messages(), QStringList{"Read Error"});
    EXPECT_EQ(window.Text(kWebPassword), "webpass");
    EXPECT_EQ(window.Text(kSmsTestId), "SMS42");
    EXPECT_EQ(window.Text(kTemperatureOffset), "0.0");  // untouched
    EXPECT_EQ(window.Text(kWebId), "");
    EXPECT_TRUE(window.IsEnabled(kRead));
    EXPECT_TRUE(window.IsEnabled(kSaveAll));
    EXPECT_FALSE(state.requestBusy);
}

TEST_F(HandlerFixture, EmptyReply_ShowsErrorThroughTheGivenSink) {
    QStringList shown;
    SettingsReplyApplier handler(window, state, units, [&](const QString& text) { shown << text; });
    handler.HandleSettingReply(">");
    EXPECT_EQ(shown, QStringList{"Error"});
    EXPECT_TRUE(window.Messages().isEmpty());
    EXPECT_FALSE(state.requestBusy);
}

TEST_F(HandlerFixture, PasswordAfterServer_LeavesTheSearchedEditsAlone) {
    window.SetText(kWebPassword, "kept");
    QString reply = BuildReply(GoldenSettings());
    reply.replace("&Password=webpass&Server type=", "&Pass=webpass&Server type=");
    SettingsReplyApplier(window, state, units).HandleSettingReply(reply);
    EXPECT_EQ(window.Text(kWebPassword), "kept");
    EXPECT_EQ(window.Text(kGprsPassword), "");
    EXPECT_EQ(window.Text(kWebId), "STATION1");  // the positional fields still apply
}

TEST_F(HandlerFixture, BusyFlag_WaitsOnceThenGoesOn) {
    Timings t = saved;
    t.settingsBusyWait = std::chrono::milliseconds(40);
    SetTimings(t);
    state.requestBusy = true;
    QElapsedTimer timer;
    timer.start();
    SettingsReplyApplier(window, state, units)
        .HandleSettingReply(ReadTestData("setting_reply.txt"));
    EXPECT_GE(timer.elapsed(), 40);
    EXPECT_FALSE(state.requestBusy);
    EXPECT_EQ(window.Text(kWebId), "STATION1");

    // Not busy: no wait at all (a long wait would show here).
    t.settingsBusyWait = std::chrono::milliseconds(3000);
    SetTimings(t);
    timer.restart();
    SettingsReplyApplier(window, state, units)
        .HandleSettingReply(ReadTestData("setting_reply.txt"));
    EXPECT_LT(timer.elapsed(), 1500);
}

TEST_F(SettingsReplyFixture, UserSelectionRules) {
    // Web combo: "New web" frees the three controls, the default host forces them.
    window.SelectIndex(kWebHost, 1);
    WebHostChanged(window);
    for (int id : {kServerType, kUploadType, kServerPort}) EXPECT_TRUE(window.IsEnabled(id));
    window.SetText(kServerPort, "8080");
    window.SelectIndex(kServerType, 0);
    window.SelectIndex(kWebHost, 0);
    WebHostChanged(window);
    EXPECT_EQ(window.Text(kServerPort), "80");
    EXPECT_EQ(window.Text(kServerType), "php");
    EXPECT_FALSE(window.IsEnabled(kServerType));

    // "Unupload" empties and disables; "Hour" enables again, still empty.
    window.SetText(kUploadInterval, "30");
    window.SelectIndex(kUploadIntervalUnit, 2);
    IntervalUnitChanged(window, kUploadIntervalUnit);
    EXPECT_EQ(window.Text(kUploadInterval), "");
    EXPECT_FALSE(window.IsEnabled(kUploadInterval));
    window.SelectIndex(kUploadIntervalUnit, 0);
    IntervalUnitChanged(window, kUploadIntervalUnit);
    EXPECT_TRUE(window.IsEnabled(kUploadInterval));
    EXPECT_EQ(window.Text(kUploadInterval), "");
    EXPECT_EQ(window.ToolTip(kUploadInterval), "1 - 24 (Hour)");
}

TEST_F(HandlerFixture, WebPasswordWithEquals_ShownWholeEvenWhenTheShiftFails) {
    StationSettings s = GoldenSettings();
    s.webPassword = "ab=cd";
    SettingsReplyApplier(window, state, units).HandleSettingReply(BuildReply(s));
    EXPECT_EQ(window.Text(kWebPassword), "ab=cd");
    EXPECT_EQ(window.Text(kGprsPassword), "gprspass");
    EXPECT_EQ(window.Messages(), QStringList{"Read Error"});
}
