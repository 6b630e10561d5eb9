#include <gtest/gtest.h>

#include "StationTestSupport.h"

namespace orvane {
namespace {

using namespace orvane::test;

struct WriteCase {
    const char* request;
    std::vector<std::pair<int, QString>> fields;  // positional fields of the next settings reply
};

StationSettings ReadSettings(StationSimulator& sim) {
    return ParsedSettings(Exchange(sim, "Read&Time&http 1.0\r\n"));
}

// Each write of the catalogue is confirmed and shows in the next settings read.
TEST(StationWrites, EveryWriteChangesTheNextSettingReply) {
    const std::vector<WriteCase> cases = {
        {"Write&time zone=-5&http 1.0", {{15, "-5"}}},
        {"Write&Daylight<DST=Off&start time=12:5:23&end time=11:1:02>&http 1.0",
         {{24, "0"}, {25, "12:5:23"}, {26, "11:1:02"}}},
        {"Write&Offset<Wind dir=-180&Temperature=-6.0&Humidity=20>&http 1.0",
         {{6, "-180"}, {7, "-6.0C"}, {8, "20"}}},
        {"Write&Offset<Abs Pressure=33.9&Rel Pressure=800.9>&http 1.0",
         {{13, "33.9hpa"}, {14, "800.9hpa"}}},
        {"Write&Offset<Wind=1.23&Rain fall=5.00>&http 1.0", {{9, "1.23"}, {10, "5.00"}}},
        {"Write&Offset<Light=0.10&UV=0.05>&http 1.0", {{11, "0.10"}, {12, "0.05"}}},
        {"Write&Alarm high<Temperature=60.5&Dew Point=-40.0&Humidity=99>&http 1.0\r\n",
         {{36, "60.5C"}, {37, "-40.0C"}, {38, "99"}}},
        {"Write&Alarm high<Wind=50.8&Gust=32.6>&http 1.0\r\n",
         {{39, "182.9km/h"}, {40, "117.4km/h"}}},
        {"Write&Alarm high<Rain Rate=999.0&Daily Rain=0.0>&http 1.0\r\n",
         {{41, "999.0mm"}, {42, "0.0mm"}}},
        {"Write&Alarm low<Temperature=-17.8&Dew Point=10.0&Humidity=1>&http 1.0\r\n",
         {{43, "-17.8C"}, {44, "10.0C"}, {45, "1"}}},
        {"Write&Alarm switch<Disable>&http 1.0", {{56, "1"}}},
        {"Write&high switch<Temperature=Off&Dew Point=On&Humidity=On>&http 1.0\r\n",
         {{49, "Off"}, {50, "On"}, {51, "On"}}},
        {"Write&high switch<Wind=Off&Gust=Off&Rain Rate=On&Daily Rain=Off>&http 1.0\r\n",
         {{52, "Off"}, {53, "Off"}, {54, "On"}, {55, "Off"}}},
        {"Write&low switch<Temperature=Off&Dew Point=On&Humidity=On>&http 1.0\r\n",
         {{46, "Off"}, {47, "On"}, {48, "On"}}},
        {"Write&Telephone<1=123456789012345&2=&3=555>&http 1.0",
         {{21, "123456789012345"}, {22, ""}, {23, "555"}}},
        {"Write&SMS TEST<Send=ABCDEFGHIJKLMN>&http 1.0\r\n", {{57, "ABCDEFGHIJKLMN"}}},
        {"Write&Weather server<Web=www.example.org>&http 1.0", {{27, "www.example.org"}}},
        {"Write&Weather server<ID=station9&Password=secret>&http 1.0",
         {{28, "station9"}, {29, "secret"}}},
        {"Write&Weather server<Server type=asp&Upload type=Default&Port=8080>&http 1.0",
         {{30, "asp"}, {31, "0"}, {32, "8080"}}},
        {"Write&GPRS<APN=UNINET&User=&Password=>&http 1.0", {{33, "UNINET"}, {34, ""}, {35, ""}}},
        {"Write&Interval<Save=240m>&http 1.0", {{18, "240m"}}},
        {"Write&Interval<Update=3.5h>&http 1.0", {{19, "3.5h"}}},
        {"Write&Interval<Receive SMS=on>&http 1.0", {{20, "on"}}},
        {"Write&Interval<Alarm=0m>&http 1.0", {{16, "0m"}}},
        {"Write&Interval<Send=59m>&http 1.0", {{17, "59m"}}},
        // Units last: the stored thresholds and offsets are shown converted.
        {"Write&Unit<Temperature=F&Light=w/m2&Wind=mph&Rainfall=inch&Pressure=inHg>&http 1.0",
         {{1, "F"},
          {2, "w/m2"},
          {3, "mph"},
          {4, "inch"},
          {5, "inHg"},
          {7, "-10.8F"},
          {13, "1.00inHg"},
          {36, "140.9F"},
          {43, "0.0F"},
          {39, "113.6mph"},
          {41, "39.33inch"}}},
        {"Write&Unit<Temperature=C&Light=fc&Wind=bft&Rainfall=mm&Pressure=mmHg>&http 1.0",
         {{39, "12bft"}, {40, "12bft"}, {14, "600.69mmHg"}, {2, "fc"}}},
    };
    StationSimulator sim(21);
    for (const WriteCase& c : cases) {
        EXPECT_EQ(Exchange(sim, c.request), "Write success\r\n") << c.request;
        const StationSettings settings = ReadSettings(sim);
        for (const auto& [n, value] : c.fields)
            EXPECT_EQ(settings.Field(n), value) << c.request << " field " << n;
    }
}

TEST(StationWrites, SmsTestAndTimeAreConfirmedWithoutTouchingTheSettings) {
    StationSimulator sim(21);
    const QByteArray before = sim.Model().SettingReply();
    EXPECT_EQ(Exchange(sim, "Write&SMS TEST<ID=ORVANE01>&http 1.0\r\n"), "Write success\r\n");
    EXPECT_EQ(sim.Model().SmsTestsSent(), 1);
    EXPECT_EQ(Exchange(sim, "Write&Time=0&2024-03-10&07:05:09&2&http 1.0"), "Write success\r\n");
    EXPECT_EQ(sim.Model().SettingReply(), before);
    // The clock is set in UTC; the station shows it in its time zone (+1).
    EXPECT_EQ(sim.Model().StationTime(), QDateTime(QDate(2024, 3, 10), QTime(8, 5, 9), Qt::UTC));
    EXPECT_TRUE(Exchange(sim, "Read&Now Data&http 1.0").contains("Time:2024-03-10&08:05:09\r\n@"));
    EXPECT_EQ(Exchange(sim, "Write&time zone=-5&http 1.0"), "Write success\r\n");
    EXPECT_EQ(sim.Model().StationTime(), QDateTime(QDate(2024, 3, 10), QTime(2, 5, 9), Qt::UTC));
}

TEST(StationWrites, AMalformedOrOutOfRangeWriteIsRefusedAndChangesNothing) {
    const char* requests[] = {
        "Write&time zone=13&http 1.0",
        "Write&time zone=abc&http 1.0",
        "Write&Unit<Temperature=K&Light=lux&Wind=km/h&Rainfall=mm&Pressure=hpa>&http 1.0",
        "Write&Unit<Temperature=C&Light=lux>&http 1.0",
        "Write&Offset<Wind dir=181&Temperature=0.0&Humidity=0>&http 1.0",
        "Write&Offset<Wind dir=0&Temperature=6.1&Humidity=0>&http 1.0",
        "Write&Offset<Wind=0.09&Rain fall=1.00>&http 1.0",
        "Write&Offset<Light=1.00&UV=10.01>&http 1.0",
        "Write&Offset<Abs Pressure=801.0&Rel Pressure=0.0>&http 1.0",
        "Write&Offset<Wind=1.5x&Rain fall=1.00>&http 1.0",
        "Write&Alarm high<Temperature=61&Dew Point=0&Humidity=50>&http 1.0\r\n",
        "Write&Alarm high<Temperature=20&Dew Point=0&Humidity=100>&http 1.0\r\n",
        "Write&Alarm high<Wind=51.1&Gust=0.0>&http 1.0\r\n",
        "Write&Alarm high<Rain Rate=-1.0&Daily Rain=0.0>&http 1.0\r\n",
        "Write&Alarm low<Temperature=-41.0&Dew Point=0.0&Humidity=50>&http 1.0\r\n",
        "Write&high switch<Temperature=on&Dew Point=Off&Humidity=Off>&http 1.0\r\n",
        "Write&Alarm switch<Maybe>&http 1.0",
        "Write&Telephone<1=1234567890123456&2=&3=>&http 1.0",
        "Write&GPRS<APN=a&User=b&Password=c&d>&http 1.0",
        "Write&SMS TEST<Send=ABCDEFGHIJKLMNO>&http 1.0\r\n",
        "Write&SMS TEST<ID=>&http 1.0\r\n",
        "Write&Interval<Save=241m>&http 1.0",
        "Write&Interval<Save=5>&http 1.0",
        "Write&Interval<Alarm=9m>&http 1.0",
        "Write&Interval<Send=on>&http 1.0",
        "Write&Interval<Update=25h>&http 1.0",
        "Write&Daylight<DST=On&start time=13:2:02&end time=11:1:02>&http 1.0",
        "Write&Daylight<DST=Yes&start time=3:2:02&end time=11:1:02>&http 1.0",
        "Write&Time=7&2024-03-10&07:05:09&2&http 1.0",
        "Write&Time=0&2024-02-30&07:05:09&2&http 1.0",
        "Write&Offset<Wind dir=0&Temperature=0.0&Humidity=0>",
        "Write&Weather server<Web=abcdefghijabcdefghijabcdefghijabcdefghijk>&http 1.0",
        "Write&Weather server<Server type=cgi&Upload type=Default&Port=80>&http 1.0",
        "Write&Weather server<Server type=php&Upload type=Custom&Port=80>&http 1.0",
        "Write&Reset<Max>&http 1.0",
        "Write&Nonsense<A=1>&http 1.0",
        "Write&&http 1.0",
    };
    StationSimulator sim(21);
    const StationConfig before = sim.Model().Config();
    const QDateTime clock = sim.Model().StationTime();
    for (const char* request : requests) {
        const QByteArray reply = Exchange(sim, request);
        EXPECT_FALSE(reply.contains("Write success")) << request;
        EXPECT_FALSE(reply.isEmpty()) << request;  // refused, not ignored
    }
    EXPECT_TRUE(sim.Model().Config() == before);
    EXPECT_EQ(sim.Model().StationTime(), clock);
    EXPECT_EQ(sim.Model().MaxMinResets(), 0);
}

TEST(StationWrites, AFullWriteInFiveWindUnitsRoundTrips) {
    // Thresholds are stored in m/s and shown in the display unit; writing the
    // shown value back (converted as the window converts) keeps it.
    StationSimulator sim(2);
    const struct {
        const char* unit;
        double factor;
    } units[] = {{"km/h", 3.6}, {"mph", 2.236936}, {"knots", 1.943844}, {"m/s", 1.0}};
    for (const auto& u : units) {
        StationConfig config = sim.Model().Config();
        config.windUnit = u.unit;
        sim.Model().SetConfig(config);
        const QString shown = ReadSettings(sim).highWind;
        const double back = QString(shown).remove(u.unit).toDouble() / u.factor;
        const QByteArray request = "Write&Alarm high<Wind=" + QByteArray::number(back, 'f', 1) +
                                   "&Gust=20.0>&http 1.0\r\n";
        EXPECT_EQ(Exchange(sim, request), "Write success\r\n");
        EXPECT_NEAR(sim.Model().Config().highWind, 15.0, 0.051) << u.unit;
    }
}

}  // namespace
}  // namespace orvane
