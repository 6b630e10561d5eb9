#include <gtest/gtest.h>

#include <vector>

#include "SettingsLayout.h"
#include "AlarmRequests.h"
#include "CalibrationRequests.h"
#include "CommunicationRequests.h"
#include "IntervalRequests.h"
#include "SelectionRules.h"
#include "TimeRequests.h"
#include "UnitRequest.h"
#include "WriteTestSupport.h"

namespace orvane {
namespace {

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
    w.SetDateTime(1021, Local(2024, 3, 10));
    EXPECT_EQ(BuildTimeRequest(w, clock), "Write&Time=0&2024-03-10&07:05:09&2&http 1.0");

    w.SetDateTime(1021, Local(2024, 3, 9));
    EXPECT_TRUE(BuildTimeRequest(w, clock).startsWith("Write&Time=6&"));
    EXPECT_TRUE(BuildTimeRequest(w, clock).endsWith("&1&http 1.0"));

    w.SetDateTime(1021, Local(2024, 3, 1));
    EXPECT_EQ(BuildTimeRequest(w, clock), "Write&Time=5&2024-03-10&07:05:09&0&http 1.0");
}

TEST_F(Builders, TimeRequest_LocalDateAndUtcDateMayDifferNearMidnight) {
    FixedClock clock(Local(2024, 3, 10), QDateTime(QDate(2024, 3, 9), QTime(23, 59, 1), Qt::UTC));
    w.SetDateTime(1021, Local(2024, 3, 10));
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
    w.SetChecked(1034, true);
    w.SelectIndex(1135, 2);
    w.SelectIndex(1136, 1);
    w.SelectIndex(1137, 2);
    w.SelectIndex(1138, 10);
    w.SelectIndex(1139, 0);
    w.SelectIndex(1140, 2);
    EXPECT_EQ(BuildDaylightRequest(w),
              "Write&Daylight<DST=On&start time=03:2:02&end time=11:1:02>&http 1.0");

    w.SetChecked(1034, false);
    w.SelectIndex(1135, 11);
    w.SelectIndex(1136, 4);
    w.SelectIndex(1137, 23);
    EXPECT_EQ(BuildDaylightRequest(w),
              "Write&Daylight<DST=Off&start time=12:5:23&end time=11:1:02>&http 1.0");
}

TEST_F(Builders, TimeZone_SendsTheSelectedItem) {
    EXPECT_EQ(BuildTimeZoneRequest(w), "Write&time zone=0&http 1.0");
    w.SelectText(1014, "-5");
    EXPECT_EQ(BuildTimeZoneRequest(w), "Write&time zone=-5&http 1.0");
    w.SelectText(1014, "10");
    EXPECT_EQ(BuildTimeZoneRequest(w), "Write&time zone=10&http 1.0");
}

TEST_F(Builders, Units_SendTheItemWordsWithoutDegreeSign) {
    EXPECT_EQ(BuildUnitRequest(w),
              "Write&Unit<Temperature=C&Light=fc&Wind=km/h&Rainfall=mm&Pressure=hpa>&http 1.0");
    w.SelectIndex(1009, 1);
    w.SelectIndex(1010, 2);
    w.SelectIndex(1011, 4);
    w.SelectIndex(1012, 1);
    w.SelectIndex(1079, 2);
    SetCurrentLanguage(UiLanguage::Chinese);
    EXPECT_EQ(BuildUnitRequest(w),
              "Write&Unit<Temperature=F&Light=w/m2&Wind=bft&Rainfall=inch&Pressure=inHg>&http 1.0");
}

// --- calibration ---

TEST_F(Builders, TemperatureOffset_BoundsByUnitAndSentInCelsius) {
    w.SelectIndex(1009, 1);
    w.SetText(1001, "10.8");
    EXPECT_EQ(BuildOffsetRequest(w),
              "Write&Offset<Wind dir=0&Temperature=6.0&Humidity=0>&http 1.0");
    w.SetText(1001, "10.9");
    ExpectRefused(BuildOffsetRequest, "Offest Temperature:±10.8°F", 1001);

    w.SelectIndex(1009, 0);
    w.SetText(1001, "-6");
    ExpectAccepted(BuildOffsetRequest, "Temperature=-6.0&");
    w.SetText(1001, "-6.01");
    ExpectRefused(BuildOffsetRequest, "Offest Temperature:±6.0C", 1001);
}

TEST_F(Builders, HumidityAndWindDirectionOffsets_ReadAsIntegers) {
    w.SetText(1002, "20.9");
    ExpectAccepted(BuildOffsetRequest, "&Humidity=20>");
    w.SetText(1002, "-21");
    ExpectRefused(BuildOffsetRequest, "Offest Humidity:±20%", 1002);
    w.SetText(1002, "0");
    w.SetText(1000, "-180");
    ExpectAccepted(BuildOffsetRequest, "Wind dir=-180&");
    w.SetText(1000, "-181");
    ExpectRefused(BuildOffsetRequest, "Offest Wind dir:±180", 1000);
}

TEST_F(Builders, OffsetRequest_ReportsOnlyTheFirstRefusalInItsOrder) {
    w.SetText(1000, "999");
    w.SetText(1002, "99");
    w.SetText(1001, "7");
    ExpectRefused(BuildOffsetRequest, "Offest Temperature:±6.0C", 1001);
}

TEST_F(Builders, PressureOffsets_TestAndSendTheOneDecimalHpaText) {
    w.SetText(1126, "800.94");
    ExpectAccepted(BuildPressureOffsetRequest, "Abs Pressure=800.9&");
    w.SetText(1126, "800.96");
    ExpectRefused(BuildPressureOffsetRequest, "Offest absBaro:±800hpa", 1126);

    w.SelectIndex(1079, 2);
    w.SetText(1126, "1");
    w.SetText(1127, "23.6");
    EXPECT_EQ(BuildPressureOffsetRequest(w),
              "Write&Offset<Abs Pressure=33.9&Rel Pressure=799.2>&http 1.0");
    w.SetText(1127, "-23.7");
    ExpectRefused(BuildPressureOffsetRequest, "Offest relBaro:±23.6inHg", 1127);

    w.SelectIndex(1079, 1);
    w.SetText(1126, "3");
    w.SetText(1127, "600");
    EXPECT_EQ(BuildPressureOffsetRequest(w),
              "Write&Offset<Abs Pressure=4.0&Rel Pressure=800.0>&http 1.0");
    w.SetText(1126, "601");
    ExpectRefused(BuildPressureOffsetRequest, "Offest absBaro:±600mmHg", 1126);
}

TEST_F(Builders, Factors_InclusiveBoundsAndTwoDecimals) {
    w.SetText(1003, "0.10");
    w.SetText(1004, "5.00");
    EXPECT_EQ(BuildWindRainFactorRequest(w), "Write&Offset<Wind=0.10&Rain fall=5.00>&http 1.0");
    w.SetText(1003, "0.09");
    ExpectRefused(BuildWindRainFactorRequest, "Offest Wind: 0.10 to 5.00", 1003);
    w.SetText(1003, "1.234");
    w.SetText(1004, "5.01");
    ExpectRefused(BuildWindRainFactorRequest, "Offest Rain fall: 0.10 to 5.00", 1004);
    w.SetText(1004, "1.234");
    EXPECT_EQ(BuildWindRainFactorRequest(w), "Write&Offset<Wind=1.23&Rain fall=1.23>&http 1.0");

    w.SetText(1006, "");
    ExpectRefused(BuildLightUvFactorRequest, "Offest Light: 0.10 to 5.00", 1006);
    w.SetText(1006, "5");
    w.SetText(1008, "0.05");
    EXPECT_EQ(BuildLightUvFactorRequest(w), "Write&Offset<Light=5.00&UV=0.05>&http 1.0");
    w.SetText(1008, "10.00");
    ExpectAccepted(BuildLightUvFactorRequest, "UV=10.00>");
    w.SetText(1008, "10.01");
    ExpectRefused(BuildLightUvFactorRequest, "Offest UV: 0.05 to 10.00", 1008);
    w.SetText(1008, "0.04");
    ExpectRefused(BuildLightUvFactorRequest, "Offest UV: 0.05 to 10.00", 1008);
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
        {{1000, 1001, 1002},
         0,
         BuildOffsetRequest,
         "Write&Offset<Wind dir=0&Temperature=0.0&Humidity=0>&http 1.0",
         nullptr,
         0},
        {{1001},
         1,
         BuildOffsetRequest,
         "Write&Offset<Wind dir=0&Temperature=0.0&Humidity=0>&http 1.0",
         nullptr,
         0},
        {{1126, 1127},
         0,
         BuildPressureOffsetRequest,
         "Write&Offset<Abs Pressure=0.0&Rel Pressure=0.0>&http 1.0",
         nullptr,
         0},
        {{1003}, 0, BuildWindRainFactorRequest, nullptr, "Offest Wind: 0.10 to 5.00", 1003},
        {{1008}, 0, BuildLightUvFactorRequest, nullptr, "Offest UV: 0.05 to 10.00", 1008},
        {{1052, 1053},
         0,
         BuildHighTempAlarmRequest,
         "Write&Alarm high<Temperature=0.0&Dew Point=0.0&Humidity=65>&http 1.0\r\n",
         nullptr,
         0},
        {{1086, 1087},
         1,
         BuildLowTempAlarmRequest,
         "Write&Alarm low<Temperature=-17.8&Dew Point=-17.8&Humidity=35>&http 1.0\r\n",
         nullptr,
         0},
        {{1054}, 0, BuildHighTempAlarmRequest, nullptr, "Hight Alarm Humidity:1 to 99", 1054},
        {{1088}, 0, BuildLowTempAlarmRequest, nullptr, "Low Alarm Humidity:1 to 99", 1088},
        {{1055, 1056},
         0,
         BuildHighWindAlarmRequest,
         "Write&Alarm high<Wind=0.0&Gust=0.0>&http 1.0\r\n",
         nullptr,
         0},
        {{1057, 1058},
         0,
         BuildHighRainAlarmRequest,
         "Write&Alarm high<Rain Rate=0.0&Daily Rain=0.0>&http 1.0\r\n",
         nullptr,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.emptied.front());
        test::FillLikeOpenedWindow(w);
        w.SelectIndex(1009, c.temperatureUnit);
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
    w.SetText(1052, "60.5");
    ExpectAccepted(BuildHighTempAlarmRequest, "<Temperature=60.5&");
    w.SetText(1052, "61");
    ExpectRefused(BuildHighTempAlarmRequest, "Hight Alarm Temperature:-40.0°C to 60.0°C ", 1052);

    w.SelectIndex(1009, 1);
    w.SetText(1052, "140");
    w.SetText(1053, "-40");
    EXPECT_EQ(BuildHighTempAlarmRequest(w),
              "Write&Alarm high<Temperature=60.0&Dew Point=-40.0&Humidity=65>&http 1.0\r\n");
    w.SetText(1052, "141");
    ExpectRefused(BuildHighTempAlarmRequest, "Hight Alarm Temperature:-40°F to 140°F", 1052);
    w.SetText(1052, "100");
    w.SetText(1053, "-41");
    ExpectRefused(BuildHighTempAlarmRequest, "Hight Alarm Temperature:-40°F to 140°F ", 1053);
}

TEST_F(Builders, Humidity_ZeroAndHundredRefusedOneAndNinetyNineAccepted) {
    for (const char* value : {"0", "100"}) {
        w.SetText(1054, value);
        ExpectRefused(BuildHighTempAlarmRequest, "Hight Alarm Humidity:1 to 99", 1054);
        w.SetText(1088, value);
        ExpectRefused(BuildLowTempAlarmRequest, "Low Alarm Humidity:1 to 99", 1088);
    }
    w.SetText(1054, "1");
    ExpectAccepted(BuildHighTempAlarmRequest, "Humidity=1>");
    w.SetText(1088, "99");
    ExpectAccepted(BuildLowTempAlarmRequest, "Humidity=99>");
}

TEST_F(Builders, LowTemperatures_UseTheLowMessagesAndRequest) {
    EXPECT_EQ(BuildLowTempAlarmRequest(w),
              "Write&Alarm low<Temperature=10.0&Dew Point=10.0&Humidity=35>&http 1.0\r\n");
    w.SetText(1087, "-41");
    ExpectRefused(BuildLowTempAlarmRequest, "Low Alarm Temperature:-40.0°C to 60.0°C ", 1087);
    w.SelectIndex(1009, 1);
    w.SetText(1087, "50");
    w.SetText(1086, "150");
    ExpectRefused(BuildLowTempAlarmRequest, "Low Alarm Temperature:-40°F to 140°F", 1086);
}

TEST_F(Builders, HighWind_ConvertedToMetresPerSecondBeforeTheTest) {
    w.SetText(1055, "180");
    ExpectAccepted(BuildHighWindAlarmRequest, "<Wind=50.0&");
    w.SetText(1055, "183");
    ExpectAccepted(BuildHighWindAlarmRequest, "<Wind=50.8&");
    w.SetText(1055, "184");
    ExpectRefused(BuildHighWindAlarmRequest, "Hight Alarm Wind:0.0 to 180.0km/h", 1055);
    w.SetText(1055, "0");
    w.SelectIndex(1011, 1);
    w.SetText(1056, "200");
    ExpectRefused(BuildHighWindAlarmRequest, "Hight Alarm Gust:0.0 to 111.8mph", 1056);
}

TEST_F(Builders, HighWind_BeaufortNeverRefused) {
    w.SelectIndex(1011, 4);
    for (const char* force : {"12", "13", "-1"}) {
        w.SetText(1056, force);
        ExpectAccepted(BuildHighWindAlarmRequest, "&Gust=32.6>");
    }
    w.SetText(1055, "0");
    ExpectAccepted(BuildHighWindAlarmRequest, "<Wind=0.0&");
}

TEST_F(Builders, HighRain_ConvertedToMillimetres) {
    w.SelectIndex(1012, 1);
    w.SetText(1057, "39.33");
    w.SetText(1058, "1");
    EXPECT_EQ(BuildHighRainAlarmRequest(w),
              "Write&Alarm high<Rain Rate=25.4&Daily Rain=999.0>&http 1.0\r\n");
    w.SetText(1057, "39.4");
    ExpectRefused(BuildHighRainAlarmRequest, "Hight Alarm Rain:0.0 to 39.33inch", 1057);
    w.SelectIndex(1012, 0);
    w.SetText(1057, "0");
    w.SetText(1058, "1000");
    ExpectRefused(BuildHighRainAlarmRequest, "Hight Alarm Rain:0.0 to 999.0mm", 1058);
}

TEST_F(Builders, Switches_SendOnOffWhateverAlarmAll) {
    w.SetChecked(1063, true);
    w.SetChecked(1067, true);
    w.SetChecked(1069, true);
    w.SetChecked(1097, true);
    w.SelectIndex(1211, 1);
    AlarmAllChanged(w);
    EXPECT_EQ(BuildHighSwitchTempRequest(w),
              "Write&high switch<Temperature=On&Dew Point=Off&Humidity=Off>&http 1.0\r\n");
    EXPECT_EQ(BuildHighSwitchWindRequest(w),
              "Write&high switch<Wind=Off&Gust=On&Rain Rate=Off&Daily Rain=On>&http 1.0\r\n");
    EXPECT_EQ(BuildLowSwitchRequest(w),
              "Write&low switch<Temperature=Off&Dew Point=Off&Humidity=On>&http 1.0\r\n");
    EXPECT_EQ(BuildAlarmSwitchRequest(w), "Write&Alarm switch<Disable>&http 1.0");

    SetCurrentLanguage(UiLanguage::Chinese);
    w.SelectIndex(1211, 0);
    AlarmAllChanged(w);
    EXPECT_EQ(BuildAlarmSwitchRequest(w), "Write&Alarm switch<Enable>&http 1.0");
}

// --- communication ---

TEST_F(Builders, Telephones_FifteenCharactersAcceptedSixteenRefusedOnce) {
    w.SetText(1031, QString(15, '1'));
    w.SetText(1032, "");
    w.SetText(1033, "+8613800000000");
    EXPECT_EQ(BuildTelephoneRequest(w),
              "Write&Telephone<1=111111111111111&2=&3=+8613800000000>&http 1.0");
    w.SetText(1031, QString(16, '1'));
    w.SetText(1032, QString(16, '2'));
    ExpectRefused(BuildTelephoneRequest, "Telephone Length Max 15.", 0);
    EXPECT_EQ(w.FocusedControl(), 0);
}

TEST_F(Builders, SmsId_FourteenAcceptedFifteenRefusedByBothRequests) {
    w.SetText(1185, QString(14, 'A'));
    EXPECT_EQ(BuildSmsIdRequest(w), "Write&SMS TEST<Send=AAAAAAAAAAAAAA>&http 1.0\r\n");
    EXPECT_EQ(BuildSmsTestRequest(w), "Write&SMS TEST<ID=AAAAAAAAAAAAAA>&http 1.0\r\n");
    w.SetText(1185, QString(15, 'A'));
    ExpectRefused(BuildSmsIdRequest, "ID Length Max 14.", 0);
    ExpectRefused(BuildSmsTestRequest, "ID Length Max 14.", 0);
}

TEST_F(Builders, Gprs_OneMessageForAnyOfTheThreeLimits) {
    const QString message = "GPRS APN Length Max 30.User Length Max 25.Password Length Max 15.";
    w.SetText(1048, QString(30, 'a'));
    w.SetText(1049, QString(25, 'u'));
    w.SetText(1050, QString(15, 'p'));
    ExpectAccepted(BuildGprsRequest, "&Password=" + QString(15, 'p') + ">&http 1.0");
    w.SetText(1048, QString(31, 'a'));
    ExpectRefused(BuildGprsRequest, message, 0);
    w.SetText(1048, "UNINET");
    w.SetText(1049, QString(26, 'u'));
    ExpectRefused(BuildGprsRequest, message, 0);
    w.SetText(1049, "");
    w.SetText(1050, QString(16, 'p'));
    ExpectRefused(BuildGprsRequest, message, 0);
}

TEST_F(Builders, Web_AddressLoginAndServerType) {
    w.SetText(1077, QString(40, 'w'));
    ExpectAccepted(BuildWebRequest, "<Web=" + QString(40, 'w') + ">");
    w.SetText(1077, QString(41, 'w'));
    ExpectRefused(BuildWebRequest, "Web Length Max 40.", 0);

    w.SetText(1042, QString(20, 'i'));
    w.SetText(1043, QString(21, 'p'));
    ExpectRefused(BuildWebLoginRequest, "ID Length Max 20;Password Length Max 20.", 0);
    w.SetText(1043, "secret");
    EXPECT_EQ(BuildWebLoginRequest(w),
              "Write&Weather server<ID=" + QString(20, 'i') + "&Password=secret>&http 1.0");

    EXPECT_EQ(BuildServerTypeRequest(w),
              "Write&Weather server<Server type=php&Upload type=Customize&Port=80>&http 1.0");
}

// --- intervals ---

TEST_F(Builders, LoggerInterval_TextAsEnteredWithMinutes) {
    w.SetText(1023, "240");
    EXPECT_EQ(BuildLoggerIntervalRequest(w), "Write&Interval<Save=240m>&http 1.0");
    w.SetText(1023, "007");
    EXPECT_EQ(BuildLoggerIntervalRequest(w), "Write&Interval<Save=007m>&http 1.0");
    for (const char* bad : {"241", "0", ""}) {
        w.SetText(1023, bad);
        ExpectRefused(BuildLoggerIntervalRequest, "DataLogger:1 to 240 (minute)", 1023);
    }
}

TEST_F(Builders, SendCurrent_ByUnit) {
    w.SetText(1191, "3.5");
    EXPECT_EQ(BuildSendCurrentRequest(w), "Write&Interval<Send=3.5h>&http 1.0");
    w.SetText(1191, "25");
    ExpectRefused(BuildSendCurrentRequest, "Send Current:1 to 24 (Hour)", 1191);
    w.SelectIndex(1183, 1);
    w.SetText(1191, "59");
    EXPECT_EQ(BuildSendCurrentRequest(w), "Write&Interval<Send=59m>&http 1.0");
    w.SetText(1191, "60");
    ExpectRefused(BuildSendCurrentRequest, "Send Current:1 to 59 (minute)", 1191);
    w.SelectIndex(1183, 2);
    EXPECT_EQ(BuildSendCurrentRequest(w), "Write&Interval<Send=0m>&http 1.0");
}

TEST_F(Builders, AlarmUploadAndSmsCheckIntervals_SpecialChoices) {
    w.SetText(1018, "9");
    ExpectRefused(BuildAlarmIntervalRequest, "Alarm Interval:10 to 120 (minute)", 1018);
    w.SetText(1018, "10");
    EXPECT_EQ(BuildAlarmIntervalRequest(w), "Write&Interval<Alarm=10m>&http 1.0");
    w.SelectIndex(1189, 1);
    w.SetText(1018, "9");
    EXPECT_EQ(BuildAlarmIntervalRequest(w), "Write&Interval<Alarm=0m>&http 1.0");

    w.SetText(1019, "30");
    EXPECT_EQ(BuildUploadIntervalRequest(w), "Write&Interval<Update=30m>&http 1.0");
    w.SelectIndex(1190, 0);
    ExpectRefused(BuildUploadIntervalRequest, "Upload Interval:1 to 24 (Hour)", 1019);
    w.SelectIndex(1190, 2);
    EXPECT_EQ(BuildUploadIntervalRequest(w), "Write&Interval<Update=0m>&http 1.0");

    EXPECT_EQ(BuildSmsCheckRequest(w), "Write&Interval<Receive SMS=2h>&http 1.0");
    w.SelectIndex(1188, 1);
    w.SetText(1192, "60");
    ExpectRefused(BuildSmsCheckRequest, "SMS check:1 to 59 (minute)", 1192);
    w.SelectIndex(1188, 2);
    EXPECT_EQ(BuildSmsCheckRequest(w), "Write&Interval<Receive SMS=on>&http 1.0");
    w.SelectIndex(1188, 3);
    EXPECT_EQ(BuildSmsCheckRequest(w), "Write&Interval<Receive SMS=0m>&http 1.0");
}

TEST_F(Builders, UploadFieldEmptiedByUnuploadIsRefusedUnderHourAgain) {
    w.SelectIndex(1190, 2);
    IntervalUnitChanged(w, 1190);
    EXPECT_EQ(BuildUploadIntervalRequest(w), "Write&Interval<Update=0m>&http 1.0");
    w.SelectIndex(1190, 0);
    IntervalUnitChanged(w, 1190);
    EXPECT_TRUE(w.IsEnabled(1019));
    ExpectRefused(BuildUploadIntervalRequest, "Upload Interval:1 to 24 (Hour)", 1019);
}

}  // namespace
}  // namespace orvane
