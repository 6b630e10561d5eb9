#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>
#include <csignal>

#include "CtlRun.h"
#include "CurrentReadings.h"
#include "MaxMinBlocks.h"
#include "SettingNames.h"
#include "SettingsControls.h"
#include "SettingsLayout.h"
#include "StationModel.h"
#include "TimeRequests.h"

namespace orvane::test {
namespace {

// The station the tool simulates: seed 1, its clock standing still.
StationModel& Station() {
    static StationModel model(1);
    return model;
}

TEST(CtlStation, SettingsJsonHoldsEveryFieldTheStationSent) {
    CtlRunner ctl;
    const CtlResult r = ctl.Run({"--simulate", "--json", "settings", "get"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject json = r.Json();
    EXPECT_EQ(json.size(), 57);
    for (int n = 1; n <= 57; ++n)
        EXPECT_EQ(json.value(QLatin1String(ctl::SettingNameOf(n).name)).toString(),
                  Station().SettingField(n))
            << "setting " << n;
    // The names say what they hold.
    const StationConfig config = Station().Config();
    EXPECT_EQ(json["web-password"].toString(), config.webPassword);
    EXPECT_EQ(json["gprs-apn"].toString(), config.gprsApn);
    EXPECT_EQ(json["sms-test-id"].toString(), config.smsTestId);
    EXPECT_EQ(json["telephone-2"].toString(), config.telephone2);
    EXPECT_EQ(json["logger-interval"].toString(), config.loggerInterval);
}

TEST(CtlStation, ReadingsJsonIsWhatTheWindowShows) {
    MemorySettingsWindow window;
    const auto readings = ParseNowDataReply(QString::fromLatin1(Station().NowDataReply()));
    ASSERT_TRUE(readings);
    ShowCurrentReadings(*readings, window);
    const std::pair<const char*, int> shown[] = {
        {"temperature", SettingsId::kNowTemperature},
        {"humidity", SettingsId::kNowHumidity},
        {"abs-pressure", SettingsId::kNowAbsPressure},
        {"rel-pressure", SettingsId::kNowRelPressure},
        {"wind", SettingsId::kNowWind},
        {"gust", SettingsId::kNowGust},
        {"dew-point", SettingsId::kNowDewPoint},
        {"wind-direction", SettingsId::kNowWindDirection},
        {"rain-rate", SettingsId::kNowRainRate},
        {"rain-day", SettingsId::kNowRainDay},
        {"rain-week", SettingsId::kNowRainWeek},
        {"rain-month", SettingsId::kNowRainMonth},
        {"rain-year", SettingsId::kNowRainYear},
        {"light", SettingsId::kNowLight},
        {"uv", SettingsId::kNowUv},
        {"uv-index", SettingsId::kNowUvIndex},
        {"battery", SettingsId::kNowBattery},
        {"station-time", SettingsId::kNowTime},
    };
    CtlRunner ctl;
    for (const QStringList& args : {QStringList{"--simulate", "--json", "readings"},
                                    QStringList{"--simulate", "--json", "status"}}) {
        const CtlResult r = ctl.Run(args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        QJsonObject json = r.Json();
        if (args.last() == QLatin1String("status")) {
            EXPECT_TRUE(json["attached"].toBool());
            EXPECT_EQ(json["stationTime"].toString(), window.Text(SettingsId::kNowTime));
            json = json["readings"].toObject();
        }
        EXPECT_EQ(json.size(), 18);
        for (const auto& [name, id] : shown)
            EXPECT_EQ(json[QLatin1String(name)].toString(), window.Text(id)) << name;
    }
}

TEST(CtlStation, MaxMinJsonCarriesEveryRecordOfEachBlock) {
    CtlRunner ctl;
    const CtlResult r = ctl.Run({"--simulate", "--json", "maxmin"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject json = r.Json();
    const auto blocks = SplitMaxMinBlocks(QString::fromLatin1(Station().MaxMinReply()));
    const char* names[4] = {"history-max", "history-min", "today-max", "today-min"};
    for (int i = 0; i < 4; ++i) {
        const QJsonObject block = json[QLatin1String(names[i])].toObject();
        EXPECT_EQ(block.size(), 11) << names[i];
        for (auto it = block.begin(); it != block.end(); ++it) {
            const QJsonObject record = it.value().toObject();
            const QString line = it.key() + u':' + record["value"].toString() + u' ' +
                                 record["time"].toString() + QStringLiteral("\r\n");
            EXPECT_TRUE(blocks[static_cast<std::size_t>(i)].contains(line)) << line.toStdString();
        }
    }
}

TEST(CtlStation, SettingsIniReadsBackAsTheSameValues) {
    CtlRunner ctl;
    const QString path = ctl.Scratch() + QStringLiteral("/station.ini");
    ASSERT_EQ(ctl.Run({"--simulate", "settings", "get", "--ini", path}).exitCode, 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString error;
    const auto lines = ctl::ParseSettingsFile(QString::fromUtf8(file.readAll()), error);
    ASSERT_TRUE(lines) << error.toStdString();
    ASSERT_EQ(lines->size(), 57);
    for (const ctl::SettingsFileLine& line : *lines)
        EXPECT_EQ(line.value, Station().SettingField(line.number)) << line.number;
}

// The time request carries the PC's UTC time of the sync and the weekday
// and Sunday count of its local date: checked against the PC clock around
// the run, so a run across midnight (UTC or local) passes as well.
TEST(CtlStation, ClockSyncSendsThePcTimeAndReportsSuccess) {
    CtlRunner ctl;
    const QDateTime before = QDateTime::currentDateTime();
    const CtlResult r = ctl.Run({"--simulate", "--json", "clock", "sync"});
    const QDateTime after = QDateTime::currentDateTime();
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.Json()["outcome"].toString(), QStringLiteral("success"));
    // Write&Time=WEEKDAY&YYYY-MM-DD&HH:MM:SS&SUNDAYS&http 1.0
    const QString request = r.Json()["request"].toString();
    const QStringList fields = request.split(u'&');
    ASSERT_EQ(fields.size(), 6) << request.toStdString();
    ASSERT_TRUE(fields[1].startsWith(QStringLiteral("Time="))) << request.toStdString();
    QDateTime sent =
        QDateTime::fromString(fields[2] + u' ' + fields[3], QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    sent.setTimeZone(QTimeZone::utc());
    ASSERT_TRUE(sent.isValid()) << request.toStdString();
    EXPECT_GE(sent, before.addSecs(-1)) << request.toStdString();
    EXPECT_LE(sent, after.addSecs(1)) << request.toStdString();
    const QString localDay = fields[1].mid(5) + u'&' + fields[4];
    QStringList localDays;
    for (const QDate& day : {before.date(), after.date()})
        localDays << QStringLiteral("%1&%2").arg(day.dayOfWeek() % 7).arg(SundayCount(day));
    EXPECT_TRUE(localDays.contains(localDay)) << request.toStdString();
}

// --watch reads again every poll period until told to stop: each of
// SIGTERM and SIGINT ends it at once with exit 9, between two readings.
TEST(CtlStation, ReadingsWatchRepeatsUntilStopped) {
    CtlRunner ctl;
    for (const int signal : {SIGTERM, SIGINT}) {
        QProcess process;
        ctl.Prepare(process);
        process.start(QStringLiteral(ORVANECTL_PATH),
                      {"--simulate", "--json", "readings", "--watch"});
        ASSERT_TRUE(process.waitForStarted());
        QByteArray out;
        const auto readings = [&] { return out.count("\"station-time\""); };
        QElapsedTimer waited;
        waited.start();
        while (readings() < 2 && waited.elapsed() < 10000 && process.waitForReadyRead(10000))
            out += process.readAllStandardOutput();
        ASSERT_GE(readings(), 2) << signal << process.readAllStandardError().toStdString();
        // Right after a reading, when the tool has just begun to wait out
        // the poll period (300 ms on the test timings).
        QElapsedTimer stopping;
        stopping.start();
        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(5000)) << signal;
        EXPECT_LT(stopping.elapsed(), 200) << signal;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(process.exitCode(), 9) << signal;
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(QStringLiteral("Stopped"))) << err.toStdString();
        // Every reading printed is whole.
        out += process.readAllStandardOutput();
        for (const QByteArray& one : out.split('}'))
            if (one.contains("station-time")) {
                EXPECT_TRUE(QJsonDocument::fromJson(one + '}').isObject()) << one.toStdString();
            }
    }
}

// Every failure: its own exit status, one line on stderr, nothing on
// stdout (but status's answer, and what a refused change got to), and an
// end within seconds.
TEST(CtlStation, FailuresGiveOneMessageAndTheirExitStatus) {
    struct Case {
        QStringList args;
        const char* fault;
        int exitCode;
        const char* message;
        const char* out = "";  // held by stdout; null: anything
    };
    const Case cases[] = {
        {{"--simulate", "readings"}, "unplugged", 3, "No station found"},
        {{"--simulate", "status"}, "unplugged", 3, "No station found", "Station: not attached"},
        {{"--simulate", "--json", "status"},
         "unplugged",
         3,
         "No station found",
         "\"attached\": false"},
        {{"--simulate", "readings"}, "silent", 4, "did not answer"},
        {{"--simulate", "maxmin"}, "silent", 4, "did not answer"},
        {{"--simulate", "settings", "get"}, "unplug-during:settings", 4, "went away"},
        {{"--simulate", "readings"}, "unplug-during:nowdata", 4, "went away"},
        {{"--simulate", "clock", "sync"}, "reject-writes", 5, "refused", nullptr},
        // Unplugged between the requests of a change or a reset: the next
        // request finds no station.
        {{"--simulate", "--json", "--yes", "settings", "set", "time-zone=4", "high-humidity=80",
          "web-id=X"},
         "unplug-during:write",
         4,
         "went away"},
        {{"--simulate", "--json", "--yes", "--no-backup", "factory-reset"},
         "unplug-during:write",
         4,
         "went away"},
        {{"--simulate", "--yes", "settings", "set", "time-zone=4"}, "unplugged", 3, "No station"},
        {{"--simulate", "--yes", "backup", "/tmp/never-written.ini"},
         "silent",
         4,
         "did not answer"},
        {{"--simulate", "--yes", "settings", "set", "time-zone=4"},
         "reject-writes",
         5,
         "did not take every change",
         nullptr},
        {{"--simulate", "settings", "get", "--ini", "/nonexistent/dir/x.ini"},
         "",
         6,
         "Cannot write"},
        {{"--simulate", "readings", "--bogus"}, "", 2, "unknown option --bogus"},
        {{"--simulate", "frobnicate"}, "", 2, "unknown command"},
        {{"--simulate", "settings", "get", "--ini"}, "", 2, "--ini needs a value"},
        {{"--simulate", "maxmin", "extra"}, "", 2, "wrong number of operands"},
    };
    CtlRunner ctl;
    for (const Case& c : cases) {
        const CtlResult r = ctl.Run(c.args, QString::fromLatin1(c.fault));
        const std::string what = c.args.join(u' ').toStdString() + " / " + c.fault;
        EXPECT_EQ(r.exitCode, c.exitCode) << what << ": " << r.err.toStdString();
        ASSERT_EQ(r.ErrLines().size(), 1) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message)))
            << what << ": " << r.err.toStdString();
        EXPECT_LT(r.elapsedMs, 5000) << what;
        if (c.out) {
            EXPECT_TRUE(*c.out ? r.out.contains(QLatin1String(c.out)) : r.out.isEmpty())
                << what << ": " << r.out.toStdString();
        }
    }
}

}  // namespace
}  // namespace orvane::test
