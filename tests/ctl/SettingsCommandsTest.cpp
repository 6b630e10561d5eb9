#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <functional>

#include "Clock.h"
#include "CtlRun.h"
#include "MemoryControlWindow.h"
#include "SettingNames.h"
#include "SettingsChange.h"
#include "SettingsControls.h"
#include "SettingsLayout.h"
#include "SettingsWindowSetup.h"
#include "StationModel.h"
#include "StationSettings.h"
#include "UnitSelection.h"
#include "WriteTransaction.h"

namespace orvane::test {
namespace {

namespace S = SettingsId;

// The settings window after the Read button against the tool's station.
struct ReadWindow {
    MemorySettingsWindow window;
    UnitSelection units;
    ReadWindow() {
        ApplyOpeningState(window, UiLanguage::English, units);
        const SettingsParseResult parsed =
            ParseSettingsReply(QString::fromLatin1(StationModel(1).SettingReply()));
        ApplyStationSettings(parsed.settings, window, units);
        ApplySearchedValues(parsed.settings, window);
    }
};

QStringList Strings(const QJsonValue& value) {
    QStringList list;
    for (const QJsonValue& v : value.toArray()) list << v.toString();
    return list;
}

QString WriteFile(const CtlRunner& ctl, const QString& name, const QString& text) {
    const QString path = ctl.Scratch() + u'/' + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text.toUtf8());
    return path;
}

// settings set sends each changed group with exactly the requests the window
// builds after the same edit, and the station then holds the new values.
TEST(CtlSettings, SetSendsTheWindowsRequestsForChangedGroupsOnly) {
    struct Case {
        QStringList assignments;
        QList<int> groups;
        std::function<void(ControlWindow&)> edit;
    };
    const Case cases[] = {
        {{"time-zone=3"},
         {S::kSaveTimeZone},
         [](ControlWindow& w) { w.SelectText(S::kTimeZone, QStringLiteral("3")); }},
        {{"high-humidity=85", "low-dew-point-switch=On"},
         {S::kSaveAlarm},
         [](ControlWindow& w) {
             w.SetText(S::kHighHumidity, QStringLiteral("85"));
             w.SetChecked(S::kLowDewPointSwitch, true);
         }},
        // Two groups, in setting order whatever the order given.
        {{"gprs-password=n3w", "telephone-3=0301234"},
         {S::kSaveTelephone, S::kSaveGprs},
         [](ControlWindow& w) {
             w.SetText(S::kGprsPassword, QStringLiteral("n3w"));
             w.SetText(S::kTelephone3, QStringLiteral("0301234"));
         }},
        {{"wind-factor=1.20"},
         {S::kSaveCalibration},
         [](ControlWindow& w) { w.SetText(S::kWindFactor, QStringLiteral("1.20")); }},
        // A value the station holds already sends nothing.
        {{"time-zone=1", "sms-test-id=ORVANE01"}, {}, [](ControlWindow&) {}},
    };
    CtlRunner ctl;
    const QDateTime noon(QDate(2026, 1, 1), QTime(12, 0));
    const FixedClock clock(noon, noon);
    for (const Case& c : cases) {
        const std::string what = c.assignments.join(u' ').toStdString();
        const CtlResult r = ctl.Run(
            QStringList{"--simulate", "--json", "--yes", "settings", "set"} + c.assignments);
        ASSERT_EQ(r.exitCode, 0) << what << ": " << r.err.toStdString();
        const QJsonObject json = r.Json();
        EXPECT_EQ(json["changes"].toArray().size(), c.groups.isEmpty() ? 0 : c.assignments.size())
            << what;
        EXPECT_TRUE(json["notTaken"].toArray().isEmpty()) << what;
        const QJsonArray groups = json["groups"].toArray();
        ASSERT_EQ(groups.size(), c.groups.size()) << what;
        ReadWindow expected;
        c.edit(expected.window);
        for (qsizetype i = 0; i < groups.size(); ++i) {
            const QJsonObject group = groups[i].toObject();
            EXPECT_EQ(group["group"].toString(), ctl::GroupName(c.groups[i])) << what;
            EXPECT_TRUE(group["saved"].toBool()) << what;
            EXPECT_EQ(Strings(group["requests"]),
                      BuildGroupRequests(c.groups[i], expected.window, clock))
                << what;
        }
    }
}

// Bad input: one message, its exit status, and no request (nothing on stdout
// in JSON mode, where the outcome would be printed).
TEST(CtlSettings, BadInputIsRefusedBeforeAnythingIsSent) {
    CtlRunner ctl;
    const QString garbage =
        WriteFile(ctl, "garbage.ini", QStringLiteral("# mine\ntime-zone=2\nthis is no setting\n"));
    const QString unknown = WriteFile(ctl, "unknown.ini", QStringLiteral("colour=blue\n"));
    const QString partial = WriteFile(ctl, "partial.ini", QStringLiteral("time-zone=2\n"));
    struct Case {
        QStringList args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"settings", "set", "bogus=1"}, 5, "\"bogus\""},
        {{"settings", "set", "high-humidity=120"}, 5, "1 to 99"},
        {{"settings", "set", "web-id=a&b"}, 5, "\"&\""},
        {{"settings", "set", "gprs-apn=x<y"}, 5, "\"<\""},
        {{"settings", "set", "temperature-unit=K"}, 5, "temperature-unit: \"K\""},
        {{"settings", "set", "high-wind-switch=on"}, 5, "high-wind-switch"},
        {{"settings", "set", "logger-interval=often"}, 5, "logger-interval"},
        {{"settings", "set", "dst-start=13:1:02"}, 5, "dst-start"},
        {{"settings", "set", garbage}, 5, "line 3 is not name=value"},
        {{"settings", "set", unknown}, 5, "unknown setting \"colour\""},
        {{"settings", "set"}, 2, "needs FILE or NAME=VALUE"},
        {{"restore", partial}, 5, "not a whole backup"},
        {{"restore", ctl.Scratch() + "/missing.ini"}, 6, "Cannot read"},
    };
    for (const Case& c : cases) {
        const std::string what = c.args.join(u' ').toStdString();
        const CtlResult r = ctl.Run(QStringList{"--simulate", "--json", "--yes"} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << what << ": " << r.err.toStdString();
        ASSERT_EQ(r.ErrLines().size(), 1) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message)))
            << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << what << ": " << r.out.toStdString();
    }
}

// A backup is the settings file of the station's 57 values; restoring an
// edited backup changes exactly the edited lines, and only after a yes.
TEST(CtlSettings, BackupRestoresTheEditedValuesAfterConfirmation) {
    CtlRunner ctl;
    const QString path = ctl.Scratch() + QStringLiteral("/backup.ini");
    ASSERT_EQ(ctl.Run({"--simulate", "backup", path}).exitCode, 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    QString error;
    const auto lines = ctl::ParseSettingsFile(text, error);
    ASSERT_TRUE(lines) << error.toStdString();
    ASSERT_EQ(lines->size(), 57);
    text.replace(QStringLiteral("\ntime-zone=1\n"), QStringLiteral("\ntime-zone=-5\n"));
    text.replace(QStringLiteral("\nweb-password=k9Lw2pQ\n"),
                 QStringLiteral("\nweb-password=s3cret\n"));
    const QString edited = WriteFile(ctl, "edited.ini", text);

    const CtlResult declined = ctl.Run({"--simulate", "restore", edited});
    EXPECT_EQ(declined.exitCode, 8) << declined.err.toStdString();
    EXPECT_FALSE(declined.out.contains(QLatin1String("Save")));
    EXPECT_TRUE(declined.out.contains(QLatin1String("time-zone")));  // the difference shown

    const CtlResult r = ctl.Run({"--simulate", "--json", "--yes", "restore", edited});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList changed;
    for (const QJsonValue& v : r.Json()["changes"].toArray())
        changed << v.toObject()["name"].toString() + u'=' + v.toObject()["wanted"].toString();
    EXPECT_EQ(changed, (QStringList{"time-zone=-5", "web-password=s3cret"}));
    EXPECT_EQ(r.Json()["groups"].toArray().size(), 2);
    EXPECT_TRUE(r.Json()["notTaken"].toArray().isEmpty());
}

TEST(CtlSettings, FactoryResetAsksBacksUpAndSendsTheFullReset) {
    CtlRunner ctl;
    const QString backup = ctl.Scratch() + QStringLiteral("/before-reset.ini");
    EXPECT_EQ(ctl.Run({"--simulate", "factory-reset"}).exitCode, 8);

    const CtlResult r =
        ctl.Run({"--simulate", "--json", "--yes", "factory-reset", "--backup", backup});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList requests = Strings(r.Json()["requests"]);
    ASSERT_EQ(requests.size(), 28);
    EXPECT_TRUE(requests.first().startsWith(QLatin1String("Write&Time=")));
    EXPECT_TRUE(requests.last().startsWith(QLatin1String("Write&Reset<Max&Min>")));
    EXPECT_TRUE(r.Json()["saved"].toBool());
    QFile file(backup);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\nweb-id=IORVANE7\n"));
}

}  // namespace
}  // namespace orvane::test
