#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

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

TEST(CtlCard, InterruptedDownloadKeepsWhatArrivedAndTheNextRunCompletes) {
    const QString name = Station().FileNames().last();
    const QByteArray bytes = *Station().FileBytes(name);
    CtlRunner ctl;
    const QString path = ctl.Scratch() + u'/' + name;
    const QStringList args = {"--simulate", "sd", "download", name, "--to", ctl.Scratch()};
    const CtlResult cut = ctl.Run(args, QStringLiteral("unplug-during:file:40"));
    EXPECT_EQ(cut.exitCode, 4) << cut.err.toStdString();
    EXPECT_EQ(cut.ErrLines().size(), 1) << cut.err.toStdString();
    EXPECT_TRUE(cut.err.contains(QStringLiteral("resume")));
    EXPECT_LT(cut.elapsedMs, 5000);
    const QByteArray partial = ReadAll(path);
    EXPECT_GT(partial.size(), 0);
    EXPECT_LT(partial.size(), bytes.size());
    EXPECT_TRUE(bytes.startsWith(partial));

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

// Every record of every card file once: what adding each file to an empty
// archive gives.
qint64 CardRecords() {
    static const qint64 records = [] {
        QTemporaryDir dir;
        const QString location = dir.filePath(QStringLiteral("reference.sqlite"));
        for (const QString& name : Station().FileNames()) {
            const QString path = dir.filePath(name);
            WriteAll(path, *Station().FileBytes(name));
            ArchiveImportInfo info;
            QString error;
            if (!ArchiveLogFile(path, location, QString(), info, error)) return qint64(-1);
        }
        return ArchiveRecords(location).first;
    }();
    return records;
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

TEST(CtlSync, UnplugAtAnyStageThenTheNextSyncCompletes) {
    const QStringList names = Station().FileNames();
    const int rows = RecordLines(*Station().FileBytes(names.last()));
    for (const char* fault : {"unplug-during:list", "unplug-during:size", "unplug-during:file:3",
                              "unplug-during:file:200"}) {
        CtlRunner ctl;
        const CtlResult cut = ctl.Run({"--simulate", "sync"}, QString::fromLatin1(fault));
        EXPECT_NE(cut.exitCode, 0) << fault;
        EXPECT_EQ(cut.ErrLines().size(), 1) << fault << cut.err.toStdString();
        EXPECT_LT(cut.elapsedMs, 5000) << fault;
        const CtlResult next = ctl.Run({"--simulate", "sync"});
        ASSERT_EQ(next.exitCode, 0) << fault << next.err.toStdString();
        for (const QString& name : names)
            EXPECT_TRUE(ReadAll(ctl.DataFolder() + u'/' + name) == *Station().FileBytes(name))
                << fault << " " << name.toStdString();
        EXPECT_EQ(HistoryRows(ctl), rows) << fault;
        EXPECT_EQ(ArchiveRecords(ArchiveOf(ctl)).first, CardRecords()) << fault;
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
