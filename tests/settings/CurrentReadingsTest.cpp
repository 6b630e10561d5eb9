#include <gtest/gtest.h>

#include "SettingsLayout.h"
#include "CurrentReadings.h"
#include "CurrentReadingsDisplay.h"
#include "SettingsTestSupport.h"

using namespace orvane;
using namespace orvane::SettingsId;
using orvane::test::ReadTestData;

namespace {

QString Golden() {
    return ReadTestData("now_data_reply.txt");
}

// The golden reply with one line's value replaced.
QString WithValue(const QString& name, const QString& value) {
    QString text = Golden();
    const qsizetype at = text.indexOf("\r\n" + name + ":") + 2 + name.size() + 1;
    const qsizetype end = text.indexOf("\r\n", at);
    return text.replace(at, end - at, value);
}

}  // namespace

TEST(NowDataParse, GoldenReply_GivesTheEighteenFieldsInOrder) {
    const auto r = ParseNowDataReply(Golden());
    ASSERT_TRUE(r);
    const QStringList expected = {
        "23.4C",   "45%",       "1013.2hpa", "1015.0hpa", "10.8km/h", "14.4km/h",
        "11.2C",   "270deg",    "0.0mm",     "1.2mm",     "5.0mm",    "20.4mm",
        "300.8mm", "1200.5lux", "3",         "2",         "3.45v",    "2013-05-06&12:30:15"};
    for (int k = 0; k < CurrentReadings::kFieldCount; ++k)
        EXPECT_EQ(r->Field(k), expected[k]) << "field " << k;
}

TEST(NowDataParse, Rejections) {
    EXPECT_FALSE(ParseNowDataReply(WithValue("Humidity", "45%x")));
    EXPECT_FALSE(ParseNowDataReply(WithValue("UV", "3.5")));
    EXPECT_TRUE(ParseNowDataReply(WithValue("UVI", "-")).has_value());  // "-" is in the class
    EXPECT_FALSE(ParseNowDataReply(WithValue("Wind Direction", "270.5deg")));
    EXPECT_FALSE(ParseNowDataReply(WithValue("Battery", "3.4V")));
    EXPECT_FALSE(ParseNowDataReply(QString(Golden()).replace("Temperature", "Temp")));
    EXPECT_FALSE(ParseNowDataReply(""));
    // Fewer than 18 lines after "Temperature".
    QString shortReply = Golden();
    shortReply.truncate(shortReply.indexOf("Time:"));
    EXPECT_FALSE(ParseNowDataReply(shortReply + "@"));
    // A line without its colon would pair values with the wrong lines.
    EXPECT_FALSE(ParseNowDataReply(QString(Golden()).replace("Light:", "Light ")));
}

TEST(NowDataParse, LengthLimitIsFourHundredFifty) {
    const QString golden = Golden();
    const QString padded449 = QString(449 - golden.size(), u'x') + golden;
    ASSERT_EQ(padded449.size(), 449);
    EXPECT_TRUE(ParseNowDataReply(padded449));
    EXPECT_FALSE(ParseNowDataReply(u'x' + padded449));  // well formed, 450 long
}

TEST(NowDataParse, TimeLineMayHoldFurtherColons) {
    const auto r = ParseNowDataReply(WithValue("Time", "2013-05-06&12:30:15:99"));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->stationTime, "2013-05-06&12:30:15:99");
}

TEST(BatteryLevel, Thresholds) {
    EXPECT_EQ(BatteryLevelText("3.6v"), "4.0 v");
    EXPECT_EQ(BatteryLevelText("4.2v"), "4.0 v");
    EXPECT_EQ(BatteryLevelText("3.59v"), "3.5v");
    EXPECT_EQ(BatteryLevelText("3.45v"), "3.5v");
    EXPECT_EQ(BatteryLevelText("3.31v"), "3.5v");
    EXPECT_EQ(BatteryLevelText("3.3v"), "3.3v");
    EXPECT_EQ(BatteryLevelText("2.9v"), "3.3v");
}

TEST(ShowCurrentReadings, WritesTheUnitTexts) {
    MemorySettingsWindow w;
    ShowCurrentReadings(*ParseNowDataReply(Golden()), w);
    EXPECT_EQ(w.Text(kNowBattery), "3.5v");
    EXPECT_EQ(w.Text(kNowTemperature), "23.4 °C");
    EXPECT_EQ(w.Text(kNowHumidity), "45 %");
    EXPECT_EQ(w.Text(kNowAbsPressure), "1013.2 hpa");
    EXPECT_EQ(w.Text(kNowRelPressure), "1015.0 hpa");
    EXPECT_EQ(w.Text(kNowWind), "10.8 km/h");
    EXPECT_EQ(w.Text(kNowGust), "14.4 km/h");
    EXPECT_EQ(w.Text(kNowDewPoint), "11.2 °C");
    EXPECT_EQ(w.Text(kNowWindDirection), "270°");
    EXPECT_EQ(w.Text(kNowRainRate), "0.0 mm");
    EXPECT_EQ(w.Text(kNowRainDay), "1.2 mm");
    EXPECT_EQ(w.Text(kNowRainWeek), "5.0 mm");
    EXPECT_EQ(w.Text(kNowRainMonth), "20.4 mm");
    EXPECT_EQ(w.Text(kNowRainYear), "300.8 mm");
    EXPECT_EQ(w.Text(kNowLight), "1200.5 lux");
    EXPECT_EQ(w.Text(kNowUv), "3");
    EXPECT_EQ(w.Text(kNowUvIndex), "2");
    EXPECT_EQ(w.Text(kNowTime), "2013-05-06 12:30:15");
}

TEST(ShowCurrentReadings, OtherUnits) {
    CurrentReadings r = *ParseNowDataReply(Golden());
    r.temperature = "74.1F";
    r.windSpeed = "5.0m/s";
    r.gustSpeed = "3.0knots";
    r.relativePressure = "29.92inHg";
    r.absolutePressure = "760.0mmHg";
    r.rainDay = "0.05inch";
    r.light = "12.0w/m2";
    r.windDirection = "0deg";
    MemorySettingsWindow w;
    ShowCurrentReadings(r, w);
    EXPECT_EQ(w.Text(kNowTemperature), "74.1 °F");
    EXPECT_EQ(w.Text(kNowWind), "5.0 m/s");
    EXPECT_EQ(w.Text(kNowGust), "3.0 knots");
    EXPECT_EQ(w.Text(kNowRelPressure), "29.92 inHg");
    EXPECT_EQ(w.Text(kNowAbsPressure), "760.0 mmHg");
    EXPECT_EQ(w.Text(kNowRainDay), "0.05 inch");
    EXPECT_EQ(w.Text(kNowLight), "12.0 w/m2");
    EXPECT_EQ(w.Text(kNowWindDirection), "0°");
}

TEST(ShowCurrentReadings, BatteryWithoutNumber_SuppressesTheWholeUpdate) {
    for (const char* battery : {"v", "", "vv"}) {
        MemorySettingsWindow w;
        w.SetText(kNowTemperature, "previous");
        CurrentReadings r = *ParseNowDataReply(Golden());
        r.battery = battery;
        ShowCurrentReadings(r, w);
        EXPECT_EQ(w.Text(kNowTemperature), "previous") << battery;
        EXPECT_EQ(w.Text(kNowBattery), "") << battery;
    }
}

TEST(NowDataHandler, BadReplyKeepsThePreviousReadings) {
    MemorySettingsWindow w;
    CurrentReadingsDisplay handler(w);
    handler.HandleNowDataReply(Golden());
    EXPECT_EQ(w.Text(kNowTemperature), "23.4 °C");
    handler.HandleNowDataReply(WithValue("Temperature", "99.9X"));
    handler.HandleNowDataReply(WithValue("Battery", "v"));
    EXPECT_EQ(w.Text(kNowTemperature), "23.4 °C");
    EXPECT_TRUE(w.Messages().isEmpty());
}
