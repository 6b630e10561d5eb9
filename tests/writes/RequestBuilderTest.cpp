#include <gtest/gtest.h>

#include <vector>

#include "AlarmRequests.h"
#include "CalibrationRequests.h"
#include "CommunicationRequests.h"
#include "IntervalRequests.h"
#include "SelectionRules.h"
#include "SettingsControls.h"
#include "SettingsLayout.h"
#include "TimeRequests.h"
#include "UnitRequest.h"
#include "WriteTestSupport.h"

namespace orvane {
namespace {

using namespace SettingsId;

class Builders : public ::testing::Test {
protected:
    void SetUp() override {
        SetCurrentLanguage(UiLanguage::English);
        test::FillLikeOpenedWindow(w);
    }

    // Runs a builder, expecting a refusal with `message` and the focus on
    // `focus` (0: focus not moved).
    void ExpectRefused(QString (*build)(ControlWindow&), const QString& message, int focus) {
        w.ClearMessages();
        EXPECT_EQ(build(w), QString());
        EXPECT_EQ(w.Messages(), QStringList{message});
        if (focus) {
            EXPECT_EQ(w.FocusedControl(), focus);
        }
    }
    void ExpectAccepted(QString (*build)(ControlWindow&), const QString& part) {
        w.ClearMessages();
        const QString request = build(w);
        EXPECT_TRUE(request.contains(part)) << request.toStdString();
        EXPECT_TRUE(w.Messages().isEmpty()) << w.Messages().join("|").toStdString();
    }

    MemorySettingsWindow w;
};

// --- time ---

QDateTime Local(int y, int m, int d) {
    return QDateTime(QDate(y, m, d), QTime(9, 0));
}

TEST_F(Builders, TimeRequest_TakesWeekdayAndSundayCountFromPickerAndTimeFromUtc) {
    FixedClock clock(Local(2024, 3, 10), QDateTime(QDate(2024, 3, 10), QTime(7, 5, 9), Qt::UTC));
    w.SetDateTime(kDatePicker, Local(2024, 3, 10));
    EXPECT_EQ(BuildTimeRequest(w, clock), "Write&Time=0&2024-03-10&07:05:09&2&http 1.0");

    w.SetDateTime(kDatePicker, Local(2024, 3, 9));
    EXPECT_TRUE(BuildTimeRequest(w, clock).startsWith("Write&Time=6&"));
    EXPECT_TRUE(BuildTimeRequest(w, clock).endsWith("&1&http 1.0"));

    w.SetDateTime(kDatePicker, Local(2024, 3, 1));
    EXPECT_EQ(BuildTimeRequest(w, clock), "Write&Time=5&2024-03-10&07:05:09&0&http 1.0");
}

TEST_F(Builders, TimeRequest_LocalDateAndUtcDateMayDifferNearMidnight) {
    FixedClock clock(Local(2024, 3, 10), QDateTime(QDate(2024, 3, 9), QTime(23, 59, 1), Qt::UTC));
    w.SetDateTime(kDatePicker, Local(2024, 3, 10));
    EXPECT_EQ(BuildTimeRequest(w, clock), "Write&Time=0&2024-03-09&23:59:01&2&http 1.0");
}

TEST_F(Builders, TimeRequest_WithoutPickerDateUsesTheClocksLocalDate) {
    FixedClock clock(Local(2024, 3, 17), QDateTime(QDate(2024, 3, 17), QTime(1, 2, 3), Qt::UTC));
    EXPECT_EQ(BuildTimeRequest(w, clock), "Write&Time=0&2024-03-17&01:02:03&3&http 1.0");
}

TEST(SundayCount, CountsSundaysUpToAndIncludingTheDay) {
    EXPECT_EQ(SundayCount(QDate(2024, 3, 2)), 0);
    EXPECT_EQ(SundayCount(QDate(2024, 3, 3)), 1);
    EXPECT_EQ(SundayCount(QDate(2024, 3, 31)), 5);
    EXPECT_EQ(SundayCount(QDate(2024, 9, 1)), 1);  // a month that starts on Sunday
}

// --- daylight, time zone, units ---

TEST_F(Builders, Daylight_FactoryRuleAndDecemberStart) {
    w.SetChecked(kDst, true);
    w.SelectIndex(kDstStartMonth, 2);
    w.SelectIndex(kDstStartWeek, 1);
    w.SelectIndex(kDstStartHour, 2);
    w.SelectIndex(kDstEndMonth, 10);
    w.SelectIndex(kDstEndWeek, 0);
    w.SelectIndex(kDstEndHour, 2);
    EXPECT_EQ(BuildDaylightRequest(w),
              "Write&Daylight<DST=On&start time=03:2:02&end time=11:1:02>&http 1.0");

    w.SetChecked(kDst, false);
    w.SelectIndex(kDstStartMonth, 11);
    w.SelectIndex(kDstStartWeek, 4);
    w.SelectIndex(kDstStartHour, 23);
    EXPECT_EQ(BuildDaylightRequest(w),
              "Write&Daylight<DST=Off&start time=12:5:23&end time=11:1:02>&http 1.0");
}

TEST_F(Builders, TimeZone_SendsTheSelectedItem) {
    EXPECT_EQ(BuildTimeZoneRequest(w), "Write&time zone=0&http 1.0");
    w.SelectText(kTimeZone, "-5");
    EXPECT_EQ(BuildTimeZoneRequest(w), "Write&time zone=-5&http 1.0");
    w.SelectText(kTimeZone, "10");
    EXPECT_EQ(BuildTimeZoneRequest(w), "Write&time zone=10&http 1.0");
}

TEST_F(Builders, Units_SendTheItemWordsWithoutDegreeSign) {
    EXPECT_EQ(BuildUnitRequest(w),
              "Write&Unit<Temperature=C&Light=fc&Wind=km/h&Rainfall=mm&Pressure=hpa>&http 1.0");
    w.SelectIndex(kTemperatureUnit, 1);
    w.SelectIndex(kLightUnit, 2);
    w.SelectIndex(kWindUnit, 4);
    w.SelectIndex(kRainUnit, 1);
    w.SelectIndex(kPressureUnit, 2);
    SetCurrentLanguage(UiLanguage::Chinese);
    EXPECT_EQ(BuildUnitRequest(w),
              "Write&Unit<Temperature=F&Light=w/m2&Wind=bft&Rainfall=inch&Pressure=inHg>&http 1.0");
}

// --- calibration ---

TEST_F(Builders, TemperatureOffset_BoundsByUnitAndSentInCelsius) {
    w.SelectIndex(kTemperatureUnit, 1);
    w.SetText(kTemperatureOffset, "10.8");
    EXPECT_EQ(BuildOffsetRequest(w),
              "Write&Offset<Wind dir=0&Temperature=6.0&Humidity=0>&http 1.0");
    w.SetText(kTemperatureOffset, "10.9");
    ExpectRefused(BuildOffsetRequest, "Offest Temperature:±10.8°F", kTemperatureOffset);

    w.SelectIndex(kTemperatureUnit, 0);
    w.SetText(kTemperatureOffset, "-6");
    ExpectAccepted(BuildOffsetRequest, "Temperature=-6.0&");
    w.SetText(kTemperatureOffset, "-6.01");
    ExpectRefused(BuildOffsetRequest, "Offest Temperature:±6.0C", kTemperatureOffset);
}

TEST_F(Builders, HumidityAndWindDirectionOffsets_ReadAsIntegers) {
    w.SetText(kHumidityOffset, "20.9");
    ExpectAccepted(BuildOffsetRequest, "&Humidity=20>");
    w.SetText(kHumidityOffset, "-21");
    ExpectRefused(BuildOffsetRequest, "Offest Humidity:±20%", kHumidityOffset);
    w.SetText(kHumidityOffset, "0");
    w.SetText(kWindDirectionOffset, "-180");
    ExpectAccepted(BuildOffsetRequest, "Wind dir=-180&");
    w.SetText(kWindDirectionOffset, "-181");
    ExpectRefused(BuildOffsetRequest, "Offest Wind dir:±180", kWindDirectionOffset);
}

TEST_F(Builders, OffsetRequest_ReportsOnlyTheFirstRefusalInItsOrder) {
    w.SetText(kWindDirectionOffset, "999");
    w.SetText(kHumidityOffset, "99");
    w.SetText(kTemperatureOffset, "7");
    ExpectRefused(BuildOffsetRequest, "Offest Temperature:±6.0C", kTemperatureOffset);
}

TEST_F(Builders, PressureOffsets_TestAndSendTheOneDecimalHpaText) {
    w.SetText(kAbsPressureOffset, "800.94");
    ExpectAccepted(BuildPressureOffsetRequest, "Abs Pressure=800.9&");
    w.SetText(kAbsPressureOffset, "800.96");
    ExpectRefused(BuildPressureOffsetRequest, "Offest absBaro:±800hpa", kAbsPressureOffset);

    w.SelectIndex(kPressureUnit, 2);
    w.SetText(kAbsPressureOffset, "1");
    w.SetText(kRelPressureOffset, "23.6");
    EXPECT_EQ(BuildPressureOffsetRequest(w),
              "Write&Offset<Abs Pressure=33.9&Rel Pressure=799.2>&http 1.0");
    w.SetText(kRelPressureOffset, "-23.7");
    ExpectRefused(BuildPressureOffsetRequest, "Offest relBaro:±23.6inHg", kRelPressureOffset);

    w.SelectIndex(kPressureUnit, 1);
    w.SetText(kAbsPressureOffset, "3");
    w.SetText(kRelPressureOffset, "600");
    EXPECT_EQ(BuildPressureOffsetRequest(w),
              "Write&Offset<Abs Pressure=4.0&Rel Pressure=800.0>&http 1.0");
    w.SetText(kAbsPressureOffset, "601");
    ExpectRefused(BuildPressureOffsetRequest, "Offest absBaro:±600mmHg", kAbsPressureOffset);
}

TEST_F(Builders, Factors_InclusiveBoundsAndTwoDecimals) {
    w.SetText(kWindFactor, "0.10");
    w.SetText(kRainFactor, "5.00");
    EXPECT_EQ(BuildWindRainFactorRequest(w), "Write&Offset<Wind=0.10&Rain fall=5.00>&http 1.0");
    w.SetText(kWindFactor, "0.09");
    ExpectRefused(BuildWindRainFactorRequest, "Offest Wind: 0.10 to 5.00", kWindFactor);
    w.SetText(kWindFactor, "1.234");
    w.SetText(kRainFactor, "5.01");
    ExpectRefused(BuildWindRainFactorRequest, "Offest Rain fall: 0.10 to 5.00", kRainFactor);
    w.SetText(kRainFactor, "1.234");
    EXPECT_EQ(BuildWindRainFactorRequest(w), "Write&Offset<Wind=1.23&Rain fall=1.23>&http 1.0");

    w.SetText(kLightFactor, "");
    ExpectRefused(BuildLightUvFactorRequest, "Offest Light: 0.10 to 5.00", kLightFactor);
    w.SetText(kLightFactor, "5");
    w.SetText(kUvFactor, "0.05");
    EXPECT_EQ(BuildLightUvFactorRequest(w), "Write&Offset<Light=5.00&UV=0.05>&http 1.0");
    w.SetText(kUvFactor, "10.00");
    ExpectAccepted(BuildLightUvFactorRequest, "UV=10.00>");
    w.SetText(kUvFactor, "10.01");
    ExpectRefused(BuildLightUvFactorRequest, "Offest UV: 0.05 to 10.00", kUvFactor);
    w.SetText(kUvFactor, "0.04");
    ExpectRefused(BuildLightUvFactorRequest, "Offest UV: 0.05 to 10.00", kUvFactor);
}

// An empty field reads 0: offsets and the wind, gust and rain thresholds go
// out as 0, a temperature threshold as 0 in the shown unit, while factors
// and humidity thresholds (whose 0 is out of range) are refused.
TEST_F(Builders, EmptyFields_ReadAsZeroAndAreJudgedAsZero) {
    const struct {
        std::vector<int> emptied;
        int temperatureUnit;
        QString (*build)(ControlWindow&);
        const char* request;  // null: refused with `message`, focus on `focus`
        const char* message;
        int focus;
    } cases[] = {
        {{kWindDirectionOffset, kTemperatureOffset, kHumidityOffset},
         0,
         BuildOffsetRequest,
         "Write&Offset<Wind dir=0&Temperature=0.0&Humidity=0>&http 1.0",
         nullptr,
         0},
        {{kTemperatureOffset},
         1,
         BuildOffsetRequest,
         "Write&Offset<Wind dir=0&Temperature=0.0&Humidity=0>&http 1.0",
         nullptr,
         0},
        {{kAbsPressureOffset, kRelPressureOffset},
         0,
         BuildPressureOffsetRequest,
         "Write&Offset<Abs Pressure=0.0&Rel Pressure=0.0>&http 1.0",
         nullptr,
         0},
        {{kWindFactor},
         0,
         BuildWindRainFactorRequest,
         nullptr,
         "Offest Wind: 0.10 to 5.00",
         kWindFactor},
        {{kUvFactor}, 0, BuildLightUvFactorRequest, nullptr, "Offest UV: 0.05 to 10.00", kUvFactor},
        {{kHighTemperature, kHighDewPoint},
         0,
         BuildHighTempAlarmRequest,
         "Write&Alarm high<Temperature=0.0&Dew Point=0.0&Humidity=65>&http 1.0\r\n",
         nullptr,
         0},
        {{kLowTemperature, kLowDewPoint},
         1,
         BuildLowTempAlarmRequest,
         "Write&Alarm low<Temperature=-17.8&Dew Point=-17.8&Humidity=35>&http 1.0\r\n",
         nullptr,
         0},
        {{kHighHumidity},
         0,
         BuildHighTempAlarmRequest,
         nullptr,
         "Hight Alarm Humidity:1 to 99",
         kHighHumidity},
        {{kLowHumidity},
         0,
         BuildLowTempAlarmRequest,
         nullptr,
         "Low Alarm Humidity:1 to 99",
         kLowHumidity},
        {{kHighWind, kHighGust},
         0,
         BuildHighWindAlarmRequest,
         "Write&Alarm high<Wind=0.0&Gust=0.0>&http 1.0\r\n",
         nullptr,
         0},
        {{kHighDailyRain, kHighRainRate},
         0,
         BuildHighRainAlarmRequest,
         "Write&Alarm high<Rain Rate=0.0&Daily Rain=0.0>&http 1.0\r\n",
         nullptr,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.emptied.front());
        test::FillLikeOpenedWindow(w);
        w.SelectIndex(kTemperatureUnit, c.temperatureUnit);
        for (int id : c.emptied) w.SetText(id, QString());
        w.ClearMessages();
        if (c.request) {
            EXPECT_EQ(c.build(w), c.request);
            EXPECT_TRUE(w.Messages().isEmpty());
        } else {
            ExpectRefused(c.build, QString::fromUtf8(c.message), c.focus);
        }
    }
}

// --- alarms ---

TEST_F(Builders, HighTemperature_IntegerReadingTestedValueSentAsEntered) {
    w.SetText(kHighTemperature, "60.5");
    ExpectAccepted(BuildHighTempAlarmRequest, "<Temperature=60.5&");
    w.SetText(kHighTemperature, "61");
    ExpectRefused(BuildHighTempAlarmRequest, "Hight Alarm Temperature:-40.0°C to 60.0°C ",
                  kHighTemperature);

    w.SelectIndex(kTemperatureUnit, 1);
    w.SetText(kHighTemperature, "140");
    w.SetText(kHighDewPoint, "-40");
    EXPECT_EQ(BuildHighTempAlarmRequest(w),
              "Write&Alarm high<Temperature=60.0&Dew Point=-40.0&Humidity=65>&http 1.0\r\n");
    w.SetText(kHighTemperature, "141");
    ExpectRefused(BuildHighTempAlarmRequest, "Hight Alarm Temperature:-40°F to 140°F",
                  kHighTemperature);
    w.SetText(kHighTemperature, "100");
    w.SetText(kHighDewPoint, "-41");
    ExpectRefused(BuildHighTempAlarmRequest, "Hight Alarm Temperature:-40°F to 140°F ",
                  kHighDewPoint);
}

TEST_F(Builders, Humidity_ZeroAndHundredRefusedOneAndNinetyNineAccepted) {
    for (const char* value : {"0", "100"}) {
        w.SetText(kHighHumidity, value);
        ExpectRefused(BuildHighTempAlarmRequest, "Hight Alarm Humidity:1 to 99", kHighHumidity);
        w.SetText(kLowHumidity, value);
        ExpectRefused(BuildLowTempAlarmRequest, "Low Alarm Humidity:1 to 99", kLowHumidity);
    }
    w.SetText(kHighHumidity, "1");
    ExpectAccepted(BuildHighTempAlarmRequest, "Humidity=1>");
    w.SetText(kLowHumidity, "99");
    ExpectAccepted(BuildLowTempAlarmRequest, "Humidity=99>");
}

TEST_F(Builders, LowTemperatures_UseTheLowMessagesAndRequest) {
    EXPECT_EQ(BuildLowTempAlarmRequest(w),
              "Write&Alarm low<Temperature=10.0&Dew Point=10.0&Humidity=35>&http 1.0\r\n");
    w.SetText(kLowDewPoint, "-41");
    ExpectRefused(BuildLowTempAlarmRequest, "Low Alarm Temperature:-40.0°C to 60.0°C ",
                  kLowDewPoint);
    w.SelectIndex(kTemperatureUnit, 1);
    w.SetText(kLowDewPoint, "50");
    w.SetText(kLowTemperature, "150");
    ExpectRefused(BuildLowTempAlarmRequest, "Low Alarm Temperature:-40°F to 140°F",
                  kLowTemperature);
}

TEST_F(Builders, HighWind_ConvertedToMetresPerSecondBeforeTheTest) {
    w.SetText(kHighWind, "180");
    ExpectAccepted(BuildHighWindAlarmRequest, "<Wind=50.0&");
    w.SetText(kHighWind, "183");
    ExpectAccepted(BuildHighWindAlarmRequest, "<Wind=50.8&");
    w.SetText(kHighWind, "184");
    ExpectRefused(BuildHighWindAlarmRequest, "Hight Alarm Wind:0.0 to 180.0km/h", kHighWind);
    w.SetText(kHighWind, "0");
    w.SelectIndex(kWindUnit, 1);
    w.SetText(kHighGust, "200");
    ExpectRefused(BuildHighWindAlarmRequest, "Hight Alarm Gust:0.0 to 111.8mph", kHighGust);
}

TEST_F(Builders, HighWind_BeaufortNeverRefused) {
    w.SelectIndex(kWindUnit, 4);
    for (const char* force : {"12", "13", "-1"}) {
        w.SetText(kHighGust, force);
        ExpectAccepted(BuildHighWindAlarmRequest, "&Gust=32.6>");
    }
    w.SetText(kHighWind, "0");
    ExpectAccepted(BuildHighWindAlarmRequest, "<Wind=0.0&");
}

TEST_F(Builders, HighRain_ConvertedToMillimetres) {
    w.SelectIndex(kRainUnit, 1);
    w.SetText(kHighDailyRain, "39.33");
    w.SetText(kHighRainRate, "1");
    EXPECT_EQ(BuildHighRainAlarmRequest(w),
              "Write&Alarm high<Rain Rate=25.4&Daily Rain=999.0>&http 1.0\r\n");
    w.SetText(kHighDailyRain, "39.4");
    ExpectRefused(BuildHighRainAlarmRequest, "Hight Alarm Rain:0.0 to 39.33inch", kHighDailyRain);
    w.SelectIndex(kRainUnit, 0);
    w.SetText(kHighDailyRain, "0");
    w.SetText(kHighRainRate, "1000");
    ExpectRefused(BuildHighRainAlarmRequest, "Hight Alarm Rain:0.0 to 999.0mm", kHighRainRate);
}

TEST_F(Builders, Switches_SendOnOffWhateverAlarmAll) {
    w.SetChecked(kHighTemperatureSwitch, true);
    w.SetChecked(kHighGustSwitch, true);
    w.SetChecked(kHighDailyRainSwitch, true);
    w.SetChecked(kLowHumiditySwitch, true);
    w.SelectIndex(kAlarmAll, 1);
    AlarmAllChanged(w);
    EXPECT_EQ(BuildHighSwitchTempRequest(w),
              "Write&high switch<Temperature=On&Dew Point=Off&Humidity=Off>&http 1.0\r\n");
    EXPECT_EQ(BuildHighSwitchWindRequest(w),
              "Write&high switch<Wind=Off&Gust=On&Rain Rate=Off&Daily Rain=On>&http 1.0\r\n");
    EXPECT_EQ(BuildLowSwitchRequest(w),
              "Write&low switch<Temperature=Off&Dew Point=Off&Humidity=On>&http 1.0\r\n");
    EXPECT_EQ(BuildAlarmSwitchRequest(w), "Write&Alarm switch<Disable>&http 1.0");

    SetCurrentLanguage(UiLanguage::Chinese);
    w.SelectIndex(kAlarmAll, 0);
    AlarmAllChanged(w);
    EXPECT_EQ(BuildAlarmSwitchRequest(w), "Write&Alarm switch<Enable>&http 1.0");
}

// --- communication ---

TEST_F(Builders, Telephones_FifteenCharactersAcceptedSixteenRefusedOnce) {
    w.SetText(kTelephone1, QString(15, '1'));
    w.SetText(kTelephone2, "");
    w.SetText(kTelephone3, "+8613800000000");
    EXPECT_EQ(BuildTelephoneRequest(w),
              "Write&Telephone<1=111111111111111&2=&3=+8613800000000>&http 1.0");
    w.SetText(kTelephone1, QString(16, '1'));
    w.SetText(kTelephone2, QString(16, '2'));
    ExpectRefused(BuildTelephoneRequest, "Telephone Length Max 15.", 0);
    EXPECT_EQ(w.FocusedControl(), 0);
}

TEST_F(Builders, SmsId_FourteenAcceptedFifteenRefusedByBothRequests) {
    w.SetText(kSmsTestId, QString(14, 'A'));
    EXPECT_EQ(BuildSmsIdRequest(w), "Write&SMS TEST<Send=AAAAAAAAAAAAAA>&http 1.0\r\n");
    EXPECT_EQ(BuildSmsTestRequest(w), "Write&SMS TEST<ID=AAAAAAAAAAAAAA>&http 1.0\r\n");
    w.SetText(kSmsTestId, QString(15, 'A'));
    ExpectRefused(BuildSmsIdRequest, "ID Length Max 14.", 0);
    ExpectRefused(BuildSmsTestRequest, "ID Length Max 14.", 0);
}

TEST_F(Builders, Gprs_OneMessageForAnyOfTheThreeLimits) {
    const QString message = "GPRS APN Length Max 30.User Length Max 25.Password Length Max 15.";
    w.SetText(kGprsApn, QString(30, 'a'));
    w.SetText(kGprsUser, QString(25, 'u'));
    w.SetText(kGprsPassword, QString(15, 'p'));
    ExpectAccepted(BuildGprsRequest, "&Password=" + QString(15, 'p') + ">&http 1.0");
    w.SetText(kGprsApn, QString(31, 'a'));
    ExpectRefused(BuildGprsRequest, message, 0);
    w.SetText(kGprsApn, "UNINET");
    w.SetText(kGprsUser, QString(26, 'u'));
    ExpectRefused(BuildGprsRequest, message, 0);
    w.SetText(kGprsUser, "");
    w.SetText(kGprsPassword, QString(16, 'p'));
    ExpectRefused(BuildGprsRequest, message, 0);
}

TEST_F(Builders, Web_AddressLoginAndServerType) {
    w.SetText(kWebHost, QString(40, 'w'));
    ExpectAccepted(BuildWebRequest, "<Web=" + QString(40, 'w') + ">");
    w.SetText(kWebHost, QString(41, 'w'));
    ExpectRefused(BuildWebRequest, "Web Length Max 40.", 0);

    w.SetText(kWebId, QString(20, 'i'));
    w.SetText(kWebPassword, QString(21, 'p'));
    ExpectRefused(BuildWebLoginRequest, "ID Length Max 20;Password Length Max 20.", 0);
    w.SetText(kWebPassword, "secret");
    EXPECT_EQ(BuildWebLoginRequest(w),
              "Write&Weather server<ID=" + QString(20, 'i') + "&Password=secret>&http 1.0");

    EXPECT_EQ(BuildServerTypeRequest(w),
              "Write&Weather server<Server type=php&Upload type=Customize&Port=80>&http 1.0");
}

// --- intervals ---

TEST_F(Builders, LoggerInterval_TextAsEnteredWithMinutes) {
    w.SetText(kLoggerInterval, "240");
    EXPECT_EQ(BuildLoggerIntervalRequest(w), "Write&Interval<Save=240m>&http 1.0");
    w.SetText(kLoggerInterval, "007");
    EXPECT_EQ(BuildLoggerIntervalRequest(w), "Write&Interval<Save=007m>&http 1.0");
    for (const char* bad : {"241", "0", ""}) {
        w.SetText(kLoggerInterval, bad);
        ExpectRefused(BuildLoggerIntervalRequest, "DataLogger:1 to 240 (minute)", kLoggerInterval);
    }
}

TEST_F(Builders, SendCurrent_ByUnit) {
    w.SetText(kSendCurrentInterval, "3.5");
    EXPECT_EQ(BuildSendCurrentRequest(w), "Write&Interval<Send=3.5h>&http 1.0");
    w.SetText(kSendCurrentInterval, "25");
    ExpectRefused(BuildSendCurrentRequest, "Send Current:1 to 24 (Hour)", kSendCurrentInterval);
    w.SelectIndex(kSendCurrentIntervalUnit, 1);
    w.SetText(kSendCurrentInterval, "59");
    EXPECT_EQ(BuildSendCurrentRequest(w), "Write&Interval<Send=59m>&http 1.0");
    w.SetText(kSendCurrentInterval, "60");
    ExpectRefused(BuildSendCurrentRequest, "Send Current:1 to 59 (minute)", kSendCurrentInterval);
    w.SelectIndex(kSendCurrentIntervalUnit, 2);
    EXPECT_EQ(BuildSendCurrentRequest(w), "Write&Interval<Send=0m>&http 1.0");
}

TEST_F(Builders, AlarmUploadAndSmsCheckIntervals_SpecialChoices) {
    w.SetText(kAlarmSmsInterval, "9");
    ExpectRefused(BuildAlarmIntervalRequest, "Alarm Interval:10 to 120 (minute)",
                  kAlarmSmsInterval);
    w.SetText(kAlarmSmsInterval, "10");
    EXPECT_EQ(BuildAlarmIntervalRequest(w), "Write&Interval<Alarm=10m>&http 1.0");
    w.SelectIndex(kAlarmSmsIntervalUnit, 1);
    w.SetText(kAlarmSmsInterval, "9");
    EXPECT_EQ(BuildAlarmIntervalRequest(w), "Write&Interval<Alarm=0m>&http 1.0");

    w.SetText(kUploadInterval, "30");
    EXPECT_EQ(BuildUploadIntervalRequest(w), "Write&Interval<Update=30m>&http 1.0");
    w.SelectIndex(kUploadIntervalUnit, 0);
    ExpectRefused(BuildUploadIntervalRequest, "Upload Interval:1 to 24 (Hour)", kUploadInterval);
    w.SelectIndex(kUploadIntervalUnit, 2);
    EXPECT_EQ(BuildUploadIntervalRequest(w), "Write&Interval<Update=0m>&http 1.0");

    EXPECT_EQ(BuildSmsCheckRequest(w), "Write&Interval<Receive SMS=2h>&http 1.0");
    w.SelectIndex(kSmsCheckIntervalUnit, 1);
    w.SetText(kSmsCheckInterval, "60");
    ExpectRefused(BuildSmsCheckRequest, "SMS check:1 to 59 (minute)", kSmsCheckInterval);
    w.SelectIndex(kSmsCheckIntervalUnit, 2);
    EXPECT_EQ(BuildSmsCheckRequest(w), "Write&Interval<Receive SMS=on>&http 1.0");
    w.SelectIndex(kSmsCheckIntervalUnit, 3);
    EXPECT_EQ(BuildSmsCheckRequest(w), "Write&Interval<Receive SMS=0m>&http 1.0");
}

TEST_F(Builders, UploadFieldEmptiedByUnuploadIsRefusedUnderHourAgain) {
    w.SelectIndex(kUploadIntervalUnit, 2);
    IntervalUnitChanged(w, kUploadIntervalUnit);
    EXPECT_EQ(BuildUploadIntervalRequest(w), "Write&Interval<Update=0m>&http 1.0");
    w.SelectIndex(kUploadIntervalUnit, 0);
    IntervalUnitChanged(w, kUploadIntervalUnit);
    EXPECT_TRUE(w.IsEnabled(kUploadInterval));
    ExpectRefused(BuildUploadIntervalRequest, "Upload Interval:1 to 24 (Hour)", kUploadInterval);
}

}  // namespace
}  // namespace orvane
