#include <gtest/gtest.h>

#include "SettingsLayout.h"
#include "RangeHints.h"
#include "SettingsTestSupport.h"
#include "UnitConversion.h"
#include "UnitSelection.h"

using namespace orvane;
using namespace orvane::SettingsId;

// ---- Conversions ---------------------------------------------------------

TEST(UnitConversion, TemperatureValuesAndOffsets) {
    EXPECT_EQ(ConvertTemperature("25.0", 0, 1), "77.0");
    EXPECT_EQ(ConvertTemperature("77.0", 1, 0), "25.0");
    EXPECT_EQ(ConvertTemperature("-40", 1, 0), "-40.0");
    EXPECT_EQ(ConvertTemperature("25.0", 0, 0), "25.0");
    EXPECT_EQ(ConvertTemperatureOffset("1.0", 0, 1), "1.8");
    EXPECT_EQ(ConvertTemperatureOffset("1.8", 1, 0), "1.0");
    EXPECT_EQ(ConvertTemperatureOffset("-6.0", 0, 1), "-10.8");
    // Rounded at the base: 50.0 °F is 10.0 °C, which is 50.0 °F again.
    EXPECT_EQ(TemperatureToBase("50.0", 1), "10.0");
    EXPECT_EQ(TemperatureToBase("abc", 1), "-17.8");  // no number reads 0
}

TEST(UnitConversion, WindGoesThroughTheRoundedBase) {
    EXPECT_EQ(ConvertWind("10.0", 0, 3), "2.8");
    EXPECT_EQ(ConvertWind("10.0", 0, 1), "6.3");  // 6.2 without the rounded 2.8
    EXPECT_EQ(ConvertWind("10.0", 0, 2), "5.4");
    EXPECT_EQ(ConvertWind("2.8", 3, 0), "10.1");
    EXPECT_EQ(ConvertWind("27.0", 2, 0), "50.0");
    EXPECT_EQ(ConvertWind("", 0, 3), "0.0");
    EXPECT_EQ(WindFromBase("2.8", 7), "2.8");  // no such unit: unchanged
}

TEST(UnitConversion, BeaufortBothWays) {
    EXPECT_EQ(SpeedToBeaufort(0.29), "0");
    EXPECT_EQ(SpeedToBeaufort(0.3), "1");
    EXPECT_EQ(SpeedToBeaufort(7.9), "5");
    EXPECT_EQ(SpeedToBeaufort(7.89), "4");
    EXPECT_EQ(SpeedToBeaufort(32.6), "12");
    EXPECT_EQ(SpeedToBeaufort(40.0), "12");
    EXPECT_EQ(SpeedToBeaufort(-1.0), "0");
    EXPECT_EQ(BeaufortToSpeed("12"), "32.6");
    EXPECT_EQ(BeaufortToSpeed("13"), "32.6");
    EXPECT_EQ(BeaufortToSpeed("-1"), "32.6");
    EXPECT_EQ(BeaufortToSpeed("x"), "0");
    EXPECT_EQ(BeaufortToSpeed("5.9"), "7.9");
    for (int force = 0; force <= 12; ++force)
        EXPECT_EQ(ConvertWind(QString::number(force), 4, 4), QString::number(force)) << force;
    EXPECT_EQ(ConvertWind("10.0", 0, 4), "2");  // 2.8 m/s
    EXPECT_EQ(ConvertWind("5", 4, 0), "28.4");  // 7.9 m/s
}

TEST(UnitConversion, RainAndPressure) {
    EXPECT_EQ(ConvertRain("10.0", 0, 1), "0.39");
    EXPECT_EQ(ConvertRain("0.39", 1, 0), "9.9");
    EXPECT_EQ(ConvertRain("39.33", 1, 0), "999.0");
    EXPECT_EQ(ConvertPressure("800", 0, 1), "600.02");
    EXPECT_EQ(ConvertPressure("800", 0, 2), "23.62");
    EXPECT_EQ(ConvertPressure("600", 1, 0), "800.0");
    EXPECT_EQ(ConvertPressure("1", 2, 0), "33.9");
    EXPECT_EQ(ConvertPressure("23.62", 2, 1), "599.94");
}

TEST(UnitConversion, SurvivesHostileNumbers) {
    // A huge value keeps every one of its 301 digits through the base unit.
    const QString mmHg = ConvertPressure("1e300", 0, 1);
    EXPECT_EQ(mmHg.size(), 303);
    EXPECT_TRUE(mmHg.startsWith("75001875046876176457")) << mmHg.left(30).toStdString();
    EXPECT_TRUE(mmHg.endsWith(".00"));
    EXPECT_EQ(ConvertRain("-0.00001", 1, 0), "-0.0");
}

// ---- Unit selection --------------------------------------------------------

TEST(UnitSelection, ItemsAndTokens) {
    EXPECT_EQ(UnitSelection::Items(Quantity::Wind),
              (QStringList{"km/h", "mph", "knots", "m/s", "bft"}));
    EXPECT_EQ(UnitSelection::Token(Quantity::Temperature, 1), "F");
    EXPECT_EQ(UnitSelection::Token(Quantity::Pressure, 2), "inHg");
    EXPECT_EQ(UnitSelection::Token(Quantity::Light, 3), "");
    EXPECT_EQ(UnitSelection::ItemTextForToken(Quantity::Temperature, "C"), "°C");
    UnitSelection units;
    EXPECT_EQ(units.Previous(Quantity::Rain), 0);
    units.Remember(Quantity::Light, 2);
    EXPECT_EQ(units.Previous(Quantity::Light), kNoUnit);
}

namespace {

struct UnitChangeFixture : ::testing::Test {
    void SetUp() override { orvane::test::PrepareSettingsWindow(window); }
    void Pick(Quantity q, int index) {
        window.SelectIndex(UnitSelection::ComboId(q), index);
        UnitChanged(q, window, units);
    }
    MemorySettingsWindow window;
    UnitSelection units;
};

}  // namespace

TEST_F(UnitChangeFixture, Temperature_ConvertsValuesAndOffsetThereAndBack) {
    window.SetText(kTemperatureOffset, "1.0");
    Pick(Quantity::Temperature, 1);
    EXPECT_EQ(window.Text(kHighTemperature), "77.0");
    EXPECT_EQ(window.Text(kHighDewPoint), "77.0");
    EXPECT_EQ(window.Text(kLowTemperature), "50.0");
    EXPECT_EQ(window.Text(kLowDewPoint), "50.0");
    EXPECT_EQ(window.Text(kTemperatureOffset), "1.8");
    for (int id : {kHighTemperatureCaption, kHighDewPointCaption, kLowTemperatureCaption,
                   kLowDewPointCaption, kTemperatureOffsetCaption})
        EXPECT_EQ(window.Text(id), "°F") << id;
    EXPECT_EQ(window.ToolTip(kHighDewPoint), "-40.0°F - 140.0°F ");
    EXPECT_EQ(window.ToolTip(kLowDewPoint), "-40.0°F - 140.0°F");
    EXPECT_EQ(window.ToolTip(kTemperatureOffset), "-10.8°F - 10.8°F");
    EXPECT_EQ(units.Previous(Quantity::Temperature), 1);

    Pick(Quantity::Temperature, 1);  // the same unit again changes nothing
    EXPECT_EQ(window.Text(kHighTemperature), "77.0");

    Pick(Quantity::Temperature, 0);
    EXPECT_EQ(window.Text(kHighTemperature), "25.0");
    EXPECT_EQ(window.Text(kTemperatureOffset), "1.0");
    EXPECT_EQ(window.Text(kHighTemperatureCaption), "°C");
    EXPECT_EQ(window.ToolTip(kHighTemperature), "-40.0°C - 60.0°C ");
}

TEST_F(UnitChangeFixture, Wind_ConvertsFromTheRememberedUnit) {
    window.SetText(kHighWind, "10.0");
    window.SetText(kHighGust, "");
    Pick(Quantity::Wind, 1);
    EXPECT_EQ(window.Text(kHighWind), "6.3");
    EXPECT_EQ(window.Text(kHighGust), "0.0");  // an empty edit reads 0
    EXPECT_EQ(window.Text(kHighWindCaption), "mph");
    EXPECT_EQ(window.Text(kHighGustCaption), "mph");
    EXPECT_EQ(window.ToolTip(kHighGust), "0.0 - 111.8mph");
    Pick(Quantity::Wind, 4);
    EXPECT_EQ(window.Text(kHighWind), "2");  // 6.3 mph = 2.8 m/s
    EXPECT_EQ(window.ToolTip(kHighWind), "0 - 12bft");
    EXPECT_EQ(window.Text(kHighWindCaption), "bft");
    Pick(Quantity::Wind, 3);
    EXPECT_EQ(window.Text(kHighWind), "1.5");

    // A wind combo without selection leaves the tooltips as they were.
    Pick(Quantity::Wind, -1);
    EXPECT_EQ(window.ToolTip(kHighWind), "0.0 - 50.0m/s");
}

TEST_F(UnitChangeFixture, RainAndPressure) {
    window.SetText(kHighDailyRain, "10.0");
    window.SetText(kHighRainRate, "0.39");
    Pick(Quantity::Rain, 1);
    EXPECT_EQ(window.Text(kHighDailyRain), "0.39");
    EXPECT_EQ(window.Text(kHighRainRate), "0.02");
    EXPECT_EQ(window.Text(kDailyRainCaption), "inch");
    EXPECT_EQ(window.Text(kRainRateCaption), "inch");
    EXPECT_EQ(window.ToolTip(kHighDailyRain), "0.0 - 39.33inch");
    Pick(Quantity::Rain, 0);
    EXPECT_EQ(window.Text(kHighDailyRain), "9.9");
    EXPECT_EQ(window.ToolTip(kHighRainRate), "0.0 - 999.0mm");

    window.SetText(kAbsPressureOffset, "800");
    window.SetText(kRelPressureOffset, "-800");
    Pick(Quantity::Pressure, 1);
    EXPECT_EQ(window.Text(kAbsPressureOffset), "600.02");
    EXPECT_EQ(window.Text(kRelPressureOffset), "-600.02");
    EXPECT_EQ(window.Text(kAbsPressureCaption), "mmHg");
    EXPECT_EQ(window.ToolTip(kRelPressureOffset), "-600 - 600mmHg");
    Pick(Quantity::Pressure, 2);
    EXPECT_EQ(window.Text(kAbsPressureOffset), "23.62");
    EXPECT_EQ(window.Text(kRelPressureCaption), "inHg");
    Pick(Quantity::Pressure, 0);
    EXPECT_EQ(window.Text(kAbsPressureOffset), "799.9");
    EXPECT_EQ(window.ToolTip(kAbsPressureOffset), "-800hpa - 800hpa");
}

// ---- Range hints ---------------------------------------------------------

TEST(RangeHints, FocusHintsFollowUnitsAndLanguage) {
    const auto en = UiLanguage::English;
    HintUnits units;
    EXPECT_EQ(FocusHint(kUvFactor, units, en), "Factor UV: 0.05 - 10.00");
    EXPECT_EQ(FocusHint(kLoggerInterval, units, en), "Data Logger:1 - 240 (Minute)");
    EXPECT_EQ(FocusHint(kTemperatureOffset, units, en), "Offset Temperature:-6.0°C - 6.0°C");
    EXPECT_EQ(FocusHint(kHighDewPoint, units, en), "High Alarm Temperature:-40.0°C - 60.0°C ");
    EXPECT_EQ(FocusHint(kHighRainRate, units, en), "High Alarm Rain fall:0.0 - 999.0mm");
    EXPECT_EQ(FocusHint(kDstEndWeekHint, units, en), "Daylight week:1 - 6");
    EXPECT_EQ(FocusHint(kAlarmSmsInterval, units, en), "");
    EXPECT_EQ(FocusHint(kSendCurrentInterval, units, en), "");
    EXPECT_EQ(FocusHint(kWebId, units, en), std::nullopt);  // not a hint edit

    units.temperature = 1;
    units.wind = 1;
    units.pressure = 2;
    units.rain = 1;
    EXPECT_EQ(FocusHint(kTemperatureOffset, units, en), "Offset Temperature:-10.8°F - 10.8°F");
    EXPECT_EQ(FocusHint(kHighDewPoint, units, en), "High Alarm Temperature:-40.0°F - 140°F");
    EXPECT_EQ(FocusHint(kHighWind, units, en), "High Alarm Wind:0.0 - 111.8mph");
    EXPECT_EQ(FocusHint(kHighGust, units, en), "High Alarm Gust:0.0 - 111.8mph");
    EXPECT_EQ(FocusHint(kAbsPressureOffset, units, en),
              "Offset Absolute Pressure:-23.6 - 23.6inHg");
    EXPECT_EQ(FocusHint(kHighDailyRain, units, en), "High Alarm Rain fall:0.0 - 39.33inch");
    units.wind = kNoUnit;  // no wind row applies: the first one stays
    EXPECT_EQ(FocusHint(kHighWind, units, en), "High Alarm Wind:0.0 - 180.0km/h");

    const auto zh = UiLanguage::Chinese;
    EXPECT_EQ(FocusHint(kHighHumidity, HintUnits{}, zh), "高报警 湿度:1 - 99");
    EXPECT_EQ(FocusHint(kDstStartHourHint, HintUnits{}, zh), "Daylight hour:00 - 23");

    EXPECT_EQ(FocusHintEditIds().size(), 29);
    for (int id : FocusHintEditIds()) EXPECT_TRUE(FocusHint(id, HintUnits{}, en).has_value()) << id;
}

TEST(RangeHints, ToolTipsAtOpeningAndForIntervals) {
    const auto en = UiLanguage::English;
    EXPECT_EQ(RangeToolTip(kWindFactor, HintUnits{}, en), " 0.10 - 5.00");
    EXPECT_EQ(RangeToolTip(kAlarmSmsInterval, HintUnits{}, en), "10 - 120 (Minute)");
    EXPECT_EQ(RangeToolTip(kSmsCheckInterval, HintUnits{}, en), "1 - 24 (Hour)");
    EXPECT_EQ(RangeToolTip(kWindDirectionOffset, HintUnits{}, en), "±180");
    EXPECT_EQ(RangeToolTip(kWebId, HintUnits{}, en), "");
    for (int id : RangeToolTipIds())
        EXPECT_FALSE(RangeToolTip(id, HintUnits{}, en).isEmpty()) << id;

    EXPECT_EQ(IntervalToolTip(kUploadIntervalUnit, 0, en), "1 - 24 (Hour)");
    EXPECT_EQ(IntervalToolTip(kUploadIntervalUnit, 1, en), "1 - 59 (Minute)");
    EXPECT_EQ(IntervalToolTip(kUploadIntervalUnit, 2, en), std::nullopt);
    EXPECT_EQ(IntervalToolTip(kAlarmSmsIntervalUnit, 0, UiLanguage::Chinese), "10 - 120 (分钟)");
    EXPECT_EQ(IntervalToolTip(kAlarmSmsIntervalUnit, 1, en), std::nullopt);
}
