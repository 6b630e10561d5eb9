#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>

#include "Archive.h"
#include "CtlRun.h"
#include "LogImport.h"
#include "PostgresServer.h"
#include "StationModel.h"

namespace orvane::test {
namespace {

StationModel& Station() {
    static StationModel model(1);
    return model;
}

QString WriteCardFile(const CtlRunner& ctl, const QString& name) {
    const QString path = ctl.Scratch() + u'/' + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(*Station().FileBytes(name));
    return path;
}

int RecordLines(const QString& name) {
    return int(Station().FileBytes(name)->count('\n')) - 1;  // the title line
}

// Records and imports of an archive, read directly; -1 when it cannot be opened.
std::pair<qint64, qint64> ArchiveCounts(const QString& location) {
    QString error;
    const auto archive = Archive::Open(location, error);
    ArchiveInfo info;
    if (!archive || !archive->Info(info)) return {-1, -1};
    return {info.records, qint64(info.imports.size())};
}

PostgresServer& Server() {
    static PostgresServer server;  // one per test program, stopped at exit
    return server;
}

// Each step runs `import` on the same data folder; the archive must end
// holding every record once, whatever was refused on the way.
TEST(CtlImport, FeedsTheArchiveOnceAndRefusesWhatIsNoLog) {
    CtlRunner ctl;
    const QStringList names = Station().FileNames();
    const QString first = WriteCardFile(ctl, names[0]);
    const QString second = WriteCardFile(ctl, names[1]);
    const QString garbage = ctl.Scratch() + QStringLiteral("/notes.csv");
    {
        QFile file(garbage);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("shopping list\r\nmilk,eggs\r\n");
    }
    const QString archive = ctl.DataFolder() + QStringLiteral("/Archive.sqlite");
    const qint64 a = RecordLines(names[0]), b = RecordLines(names[1]);
    struct Step {
        const char* what;
        QStringList args;
        int exit;
        qint64 added;  // -1: no archive part in the result
        qint64 duplicates;
        qint64 archiveRecords;
        qint64 history;
    };
    const Step steps[] = {
        {"first file", {"import", first}, 0, a, 0, a, a},
        {"same again", {"import", first}, 0, 0, a, a, a},
        {"second file", {"import", second}, 0, b, 0, a + b, b},
        {"no log", {"import", garbage}, 6, -1, 0, a + b, b},
        {"missing", {"import", ctl.Scratch() + QStringLiteral("/missing.csv")}, 6, -1, 0, a + b, b},
        {"archive off", {"import", first, "--archive", "off"}, 0, -1, 0, a + b, a},
        {"archive unwritable",
         {"import", first, "--archive", ctl.Scratch() + QStringLiteral("/none/of/this")},
         1,
         -1,
         0,
         a + b,
         a},
    };
    for (const Step& step : steps) {
        const CtlResult r = ctl.Run(QStringList{"--simulate", "--json"} + step.args);
        EXPECT_EQ(r.exitCode, step.exit) << step.what << ": " << r.err.toStdString();
        if (step.exit != 0) {
            EXPECT_EQ(r.ErrLines().size(), 1) << step.what << r.err.toStdString();
        }
        const QJsonObject part = r.Json()["archive"].toObject();
        EXPECT_EQ(part.isEmpty(), step.added < 0) << step.what;
        if (step.added >= 0) {
            EXPECT_EQ(part["added"].toInteger(), step.added) << step.what;
            EXPECT_EQ(part["duplicates"].toInteger(), step.duplicates) << step.what;
        }
        EXPECT_EQ(ArchiveCounts(archive).first, step.archiveRecords) << step.what;
        // The history is the last file read; refused files leave it alone.
        EXPECT_EQ(HistoryRows(ctl), step.history) << step.what;
    }
}

TEST(CtlArchive, InfoShowsWhereEveryRecordCameFrom) {
    CtlRunner ctl;
    const QStringList names = Station().FileNames();
    for (const QString& name : names.mid(0, 2))
        ASSERT_EQ(ctl.Run({"--simulate", "import", WriteCardFile(ctl, name)}).exitCode, 0);

    const CtlResult r = ctl.Run({"--simulate", "--json", "archive", "info"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.Json()["backend"].toString(), QStringLiteral("sqlite"));
    EXPECT_EQ(r.Json()["records"].toInteger(), RecordLines(names[0]) + RecordLines(names[1]));
    const QJsonArray imports = r.Json()["imports"].toArray();
    ASSERT_EQ(imports.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QByteArray bytes = *Station().FileBytes(names[i]);
        EXPECT_EQ(imports[i]["file"].toString(), names[i]);
        EXPECT_EQ(imports[i]["size"].toInteger(), bytes.size());
        EXPECT_EQ(imports[i]["sha256"].toString(),
                  QString::fromLatin1(
                      QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
        EXPECT_EQ(imports[i]["added"].toInteger(), RecordLines(names[i]));
        EXPECT_LT(imports[i]["first"].toString(), imports[i]["last"].toString());
    }
    const CtlResult text = ctl.Run({"--simulate", "archive", "info"});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains(names[0]) && text.out.contains(names[1]))
        << text.out.toStdString();

    // No archive file is created by looking for one.
    const QString missing = ctl.Scratch() + QStringLiteral("/typo.sqlite");
    const CtlResult none = ctl.Run({"--simulate", "archive", "info", "--archive", missing});
    EXPECT_EQ(none.exitCode, 6);
    EXPECT_EQ(none.ErrLines().size(), 1);
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(CtlArchive, CopyToPostgresAndBackKeepsEveryRecordOnce) {
    ASSERT_TRUE(Server().Running()) << Server().Error().toStdString();
    CtlRunner ctl;
    const QStringList names = Station().FileNames();
    for (const QString& name : names)
        ASSERT_EQ(ctl.Run({"--simulate", "import", WriteCardFile(ctl, name)}).exitCode, 0);
    const QString local = ctl.DataFolder() + QStringLiteral("/Archive.sqlite");
    const auto [records, imports] = ArchiveCounts(local);
    ASSERT_GT(records, 0);
    const QString pg = Server().Url();
    const QString back = ctl.Scratch() + QStringLiteral("/back.sqlite");

    struct Copy {
        QStringList args;
        qint64 added;
    };
    const Copy copies[] = {
        {{"--to", pg}, records},
        {{"--to", pg}, 0},  // again: nothing twice
        {{"--from", pg, "--to", back}, records},
    };
    for (const Copy& copy : copies) {
        const CtlResult r =
            ctl.Run(QStringList{"--simulate", "--json", "archive", "copy"} + copy.args);
        ASSERT_EQ(r.exitCode, 0) << copy.args.join(u' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(r.Json()["records"].toInteger(), records);
        EXPECT_EQ(r.Json()["added"].toInteger(), copy.added) << copy.args.join(u' ').toStdString();
    }
    EXPECT_EQ(ArchiveCounts(pg), std::make_pair(records, imports));
    EXPECT_EQ(ArchiveCounts(back), std::make_pair(records, imports));

    // The export reads either backend alike: the same readings in the CSV,
    // the same chart, drawn from the summaries the copy kept.
    const QString csv = ctl.Scratch() + QStringLiteral("/out.csv");
    const QString png = ctl.Scratch() + QStringLiteral("/out.png");
    std::vector<std::pair<QByteArray, QImage>> exports;
    for (const QString& archive : {local, pg}) {
        const QStringList span{"--simulate", "--json",     "export",    "--from", "2000-01-01",
                               "--to",       "2100-01-01", "--archive", archive};
        const CtlResult both = ctl.Run(span + QStringList{"--csv", csv, "--png", png});
        ASSERT_EQ(both.exitCode, 0) << both.err.toStdString();
        EXPECT_GT(both.Json()["series"].toArray().at(0)["count"].toInt(), 0);
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        exports.emplace_back(file.readAll(), QImage(png));
        const CtlResult chart = ctl.Run(span + QStringList{"--png", png});
        ASSERT_EQ(chart.exitCode, 0) << chart.err.toStdString();
        EXPECT_EQ(chart.Json()["records"].toInteger(), records);
        EXPECT_EQ(QImage(png), exports.back().second);
    }
    EXPECT_EQ(exports[0].first, exports[1].first);
    EXPECT_FALSE(exports[0].second.isNull());
    EXPECT_EQ(exports[0].second, exports[1].second);
    const CtlResult info = ctl.Run({"--simulate", "--json", "archive", "info", "--archive", pg});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    EXPECT_EQ(info.Json()["backend"].toString(), QStringLiteral("postgresql"));
    EXPECT_EQ(info.Json()["records"].toInteger(), records);
}

TEST(CtlArchive, CopyRefusalsSayWhyInOneLine) {
    CtlRunner ctl;
    const QString name = Station().FileNames().first();
    ASSERT_EQ(ctl.Run({"--simulate", "import", WriteCardFile(ctl, name)}).exitCode, 0);
    const QString local = ctl.DataFolder() + QStringLiteral("/Archive.sqlite");
    struct Case {
        const char* what;
        QStringList args;
        int exit;
    };
    const Case cases[] = {
        {"no target", {}, 2},
        {"same archive", {"--to", local, "--from", local}, 2},
        {"no source",
         {"--from", ctl.Scratch() + "/none.sqlite", "--to", ctl.Scratch() + "/x.sqlite"},
         6},
        {"server absent", {"--to", "postgresql://archive@127.0.0.1:1/none"}, 1},
    };
    for (const Case& c : cases) {
        const CtlResult r = ctl.Run(QStringList{"--simulate", "archive", "copy"} + c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.what << ": " << r.err.toStdString();
        EXPECT_EQ(r.ErrLines().size(), 1) << c.what << ": " << r.err.toStdString();
    }
    EXPECT_EQ(ArchiveCounts(local).first, RecordLines(name));
}

}  // namespace
}  // namespace orvane::test
