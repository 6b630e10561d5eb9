#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QThread>
#include <map>

#include "../history/HistoryTestDatabase.h"
#include "Archive.h"
#include "CtlRun.h"
#include "LogImport.h"
#include "SingleInstance.h"
#include "StationModel.h"

namespace orvane::test {
namespace {

StationModel& Station() {
    static StationModel model(1);
    return model;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Records and imports of the archive at `location`; -1 when it cannot be read.
std::pair<qint64, qint64> ArchiveRecords(const QString& location) {
    QString error;
    const auto archive = Archive::Open(location, error);
    ArchiveInfo info;
    if (!archive || !archive->Info(info)) return {-1, -1};
    return {info.records, qint64(info.imports.size())};
}

QString ArchiveOf(const CtlRunner& ctl) {
    return ctl.DataFolder() + QStringLiteral("/Archive.sqlite");
}

int RecordLines(const QByteArray& log) {
    return int(log.count('\n')) - 1;  // the title line
}

TEST(CtlCard, ListShowsEveryFileOfTheCardWithItsSize) {
    CtlRunner ctl;
    const CtlResult r = ctl.Run({"--simulate", "--json", "sd", "list"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray files = QJsonDocument::fromJson(r.out.toUtf8()).array();
    const QStringList names = Station().FileNames();
    ASSERT_EQ(files.size(), names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        EXPECT_EQ(files[i]["name"].toString(), names[i]);
        EXPECT_TRUE(files[i]["size"].toString().endsWith(QStringLiteral("KB")) ||
                    files[i]["size"].toString().endsWith(QStringLiteral("MB")));
    }
}

// A local copy of any length ends as the station's bytes, and only the
// missing part travels.
TEST(CtlCard, DownloadResumesFromTheLocalCopyByteExactly) {
    const QString name = Station().FileNames().first();
    const QByteArray bytes = *Station().FileBytes(name);
    CtlRunner ctl;
    const QString path = ctl.Scratch() + u'/' + name;
    for (const qsizetype kept : {qsizetype(0), qsizetype(1), bytes.size() / 2, bytes.size()}) {
        QFile::remove(path);
        if (kept > 0) WriteAll(path, bytes.left(kept));
        const CtlResult r =
            ctl.Run({"--simulate", "--json", "sd", "download", name, "--to", ctl.Scratch()});
        ASSERT_EQ(r.exitCode, 0) << kept << ": " << r.err.toStdString();
        EXPECT_EQ(r.Json()["resumedFrom"].toInteger(), kept);
        EXPECT_EQ(r.Json()["received"].toInteger(), bytes.size() - kept);
        EXPECT_TRUE(ReadAll(path) == bytes) << kept;
    }
}

// Cut mid-reply, then unplugged as the request goes out: each time exit 4
// with one message, the local copy exactly what arrived, and the next run
// completes it.
TEST(CtlCard, InterruptedDownloadKeepsWhatArrivedAndTheNextRunCompletes) {
    const QString name = Station().FileNames().last();
    const QByteArray bytes = *Station().FileBytes(name);
    CtlRunner ctl;
    const QString path = ctl.Scratch() + u'/' + name;
    const QStringList args = {"--simulate", "sd", "download", name, "--to", ctl.Scratch()};
    QByteArray partial;
    for (const char* fault : {"unplug-during:file:40", "unplug-before:file"}) {
        const CtlResult cut = ctl.Run(args, QString::fromLatin1(fault));
        EXPECT_EQ(cut.exitCode, 4) << fault << cut.err.toStdString();
        EXPECT_EQ(cut.ErrLines().size(), 1) << fault << cut.err.toStdString();
        EXPECT_TRUE(cut.err.contains(QStringLiteral("went away"))) << fault;
        EXPECT_TRUE(cut.err.contains(QStringLiteral("resume"))) << fault;
        EXPECT_LT(cut.elapsedMs, 5000) << fault;
        if (partial.isEmpty()) {
            partial = ReadAll(path);
            EXPECT_GT(partial.size(), 0);
            EXPECT_LT(partial.size(), bytes.size());
            EXPECT_TRUE(bytes.startsWith(partial));
        } else {
            EXPECT_TRUE(ReadAll(path) == partial) << fault;
        }
    }
    ASSERT_EQ(ctl.Run(args).exitCode, 0);
    EXPECT_TRUE(ReadAll(path) == bytes);
}

TEST(CtlCard, DeleteAsksAndOnlyYesDeletes) {
    const QString name = Station().FileNames().first();
    CtlRunner ctl;
    const CtlResult unasked = ctl.Run({"--simulate", "sd", "delete", name});
    EXPECT_EQ(unasked.exitCode, 8);
    EXPECT_EQ(unasked.ErrLines().size(), 1) << unasked.err.toStdString();

    const CtlResult done = ctl.Run({"--simulate", "--yes", "--json", "sd", "delete", name});
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(done.Json()["deleted"].toString(), name);

    const CtlResult missing = ctl.Run({"--simulate", "--yes", "sd", "delete", "NOFILE.CSV"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("no file")));
}

// The card of the simulated station, its newest log holding `newRecords`
// more records.
std::map<QString, QByteArray> Card(int newRecords = 0) {
    StationModel model(1);
    const QStringList names = model.FileNames();
    if (newRecords > 0) model.AppendRecords(names.last(), newRecords);
    std::map<QString, QByteArray> card;
    for (const QString& name : names) card[name] = *model.FileBytes(name);
    return card;
}

// Every record of every card file once: what adding each file to an empty
// archive gives.
qint64 CardRecords(int newRecords = 0) {
    static std::map<int, qint64> counts;
    if (counts.count(newRecords) != 0) return counts[newRecords];
    QTemporaryDir dir;
    const QString location = dir.filePath(QStringLiteral("reference.sqlite"));
    for (const auto& [name, bytes] : Card(newRecords)) {
        const QString path = dir.filePath(name);
        WriteAll(path, bytes);
        ArchiveImportInfo info;
        QString error;
        if (!ArchiveLogFile(path, location, QString(), info, error)) return -1;
    }
    return counts[newRecords] = ArchiveRecords(location).first;
}

TEST(CtlSync, SecondSyncFetchesNothingAndImportsNothing) {
    CtlRunner ctl;
    const CtlResult first = ctl.Run({"--simulate", "--json", "sync"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QStringList names = Station().FileNames();
    EXPECT_EQ(first.Json()["imported"].toString(), names.last());
    for (const QString& name : names)
        EXPECT_TRUE(ReadAll(ctl.DataFolder() + u'/' + name) == *Station().FileBytes(name))
            << name.toStdString();
    const int rows = RecordLines(*Station().FileBytes(names.last()));
    EXPECT_EQ(HistoryRows(ctl), rows);
    ASSERT_GT(CardRecords(), 0);
    EXPECT_EQ(first.Json()["added"].toInteger(), CardRecords());
    EXPECT_EQ(ArchiveRecords(ArchiveOf(ctl)), std::make_pair(CardRecords(), qint64(names.size())));

    const CtlResult second = ctl.Run({"--simulate", "--json", "sync"});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.Json()["imported"].isNull());
    EXPECT_EQ(second.Json()["added"].toInteger(), 0);
    for (const QJsonValue file : second.Json()["files"].toArray()) {
        EXPECT_EQ(file["received"].toInteger(), 0) << file["name"].toString().toStdString();
        EXPECT_FALSE(file.toObject().contains(QStringLiteral("archived")));
    }
    EXPECT_EQ(HistoryRows(ctl), rows);
    // No second provenance row either.
    EXPECT_EQ(ArchiveRecords(ArchiveOf(ctl)), std::make_pair(CardRecords(), qint64(names.size())));
}

// A sync cut short at every stage (unplugged, or the power lost
// mid-download or mid-import), and a card that grew since: the next sync
// resumes each local copy, fetching only the bytes it lacks, adds only the
// records the archive lacks, and leaves every file equal to the card's, the
// archive sound and every record in it once.
TEST(CtlSync, InterruptedOrGrownThenTheNextSyncCompletes) {
    struct Row {
        const char* fault;  // of the first sync; none: it completes
        int newRecords;     // logged by the station before the next sync
    };
    const Row rows[] = {
        {"", 40},
        {"unplug-during:list", 0},
        {"unplug-during:size", 0},
        {"unplug-during:file:3", 0},
        {"unplug-during:file:200", 0},
        {"unplug-during:file:40:2", 0},
        {"unplug-before:file:2", 0},
        {"unplug-during:file:3:3", 40},
        {"power-loss-during:file:40:2", 0},
        {"power-loss-during:archive:2", 0},
        {"power-loss-during:history", 0},
    };
    for (const Row& row : rows) {
        const std::string what = row.fault;
        CtlRunner ctl;
        const CtlResult first = ctl.Run({"--simulate", "sync"}, QString::fromLatin1(row.fault));
        if (*row.fault == 0) {
            ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
        } else if (QByteArray(row.fault).startsWith("power-loss")) {
            EXPECT_EQ(first.exitCode, -2) << what << first.err.toStdString();  // killed
        } else {
            EXPECT_EQ(first.exitCode, 4) << what << first.err.toStdString();
            EXPECT_EQ(first.ErrLines().size(), 1) << what << first.err.toStdString();
            EXPECT_TRUE(first.err.contains(QStringLiteral("went away"))) << what;
            EXPECT_LT(first.elapsedMs, 5000) << what;
        }
        const auto card = Card(row.newRecords);
        std::map<QString, qint64> kept;
        for (const auto& [name, bytes] : card) {
            const QByteArray local = ReadAll(ctl.DataFolder() + u'/' + name);
            EXPECT_TRUE(bytes.startsWith(local)) << what << " " << name.toStdString();
            kept[name] = local.size();
        }
        const qint64 archivedBefore = std::max<qint64>(0, ArchiveRecords(ArchiveOf(ctl)).first);

        ctl.SetEnv(QStringLiteral("ORVANECTL_SIMULATOR_NEW_RECORDS"),
                   QString::number(row.newRecords));
        const CtlResult next = ctl.Run({"--simulate", "--json", "sync"});
        ASSERT_EQ(next.exitCode, 0) << what << next.err.toStdString();
        const QJsonArray files = next.Json()["files"].toArray();
        ASSERT_EQ(files.size(), qsizetype(card.size())) << what;
        for (const QJsonValue file : files) {
            const QString name = file["name"].toString();
            EXPECT_EQ(file["received"].toInteger(), card.at(name).size() - kept[name])
                << what << " " << name.toStdString();
            EXPECT_TRUE(ReadAll(ctl.DataFolder() + u'/' + name) == card.at(name))
                << what << " " << name.toStdString();
        }
        EXPECT_EQ(next.Json()["added"].toInteger(), CardRecords(row.newRecords) - archivedBefore)
            << what;
        EXPECT_EQ(HistoryRows(ctl), RecordLines(card.rbegin()->second)) << what;
        EXPECT_EQ(ArchiveRecords(ArchiveOf(ctl)).first, CardRecords(row.newRecords)) << what;
        EXPECT_EQ(SqliteIntegrity(ArchiveOf(ctl)), QStringLiteral("ok")) << what;
        EXPECT_EQ(SqliteIntegrity(ctl.DataFolder() + QStringLiteral("/Orvane.mdb")),
                  QStringLiteral("ok"))
            << what;
    }
}

// SIGTERM at whatever moment it lands (before, during or between the
// downloads and the archive's transactions): the run stops with one message
// or finishes, and the next run completes with every record once.
TEST(CtlSync, StoppedAnywhereThenTheNextSyncCompletes) {
    const QStringList names = Station().FileNames();
    int stopped = 0;
    // The signal goes once the output holds `text` `times` times: at once, in
    // the first download, before its archive transaction, after it, in the
    // second download, in the import after the last transaction.
    const struct {
        const char* text;
        int times;
    } stages[] = {{"", 0},      {": 10%", 1},        {"new bytes", 1}, {"records added", 1},
                  {": 50%", 2}, {"records added", 3}};
    for (const auto& stage : stages) {
        const std::string where = std::string(stage.text) + " x" + std::to_string(stage.times);
        CtlRunner ctl;
        QProcess process;
        ctl.Prepare(process);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(ORVANECTL_PATH), {"--simulate", "sync"});
        ASSERT_TRUE(process.waitForStarted());
        QString seen;
        while (seen.count(QLatin1String(stage.text)) < stage.times &&
               process.waitForReadyRead(5000))
            seen += QString::fromUtf8(process.readAll());
        process.terminate();
        ASSERT_TRUE(process.waitForFinished(5000)) << where;
        const QString err = seen + QString::fromUtf8(process.readAll());
        if (process.exitStatus() == QProcess::NormalExit && process.exitCode() != 0) {
            EXPECT_EQ(process.exitCode(), 9) << where << err.toStdString();
            EXPECT_TRUE(err.contains(QStringLiteral("Stopped"))) << where << err.toStdString();
            ++stopped;
        }
        const CtlResult next = ctl.Run({"--simulate", "sync"});
        ASSERT_EQ(next.exitCode, 0) << where << next.err.toStdString();
        for (const QString& name : names)
            EXPECT_TRUE(ReadAll(ctl.DataFolder() + u'/' + name) == *Station().FileBytes(name))
                << where << " " << name.toStdString();
        EXPECT_EQ(ArchiveRecords(ArchiveOf(ctl)).first, CardRecords()) << where;
    }
    EXPECT_GT(stopped, 0) << "no signal landed while the sync was running";
}

TEST(CtlSync, RefusedWhileTheWindowHoldsTheStation) {
    CtlRunner ctl;
    SingleInstance window(ctl.RuntimeFolder());
    ASSERT_TRUE(window.Acquire());
    const CtlResult r = ctl.Run({"--simulate", "sync"});
    EXPECT_EQ(r.exitCode, 7);
    EXPECT_TRUE(r.err.contains(QStringLiteral("in use")));
}

}  // namespace
}  // namespace orvane::test
