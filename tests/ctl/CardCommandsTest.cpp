#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>

#include "CtlRun.h"
#include "HistoryDatabase.h"
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

// Rows of the history the tool's imports built.
int HistoryRows(const CtlRunner& ctl) {
    HistoryDatabase db;
    if (db.Open(ctl.DataFolder() + QStringLiteral("/Orvane.mdb")) < 0) return -1;
    int count = -1;
    db.CountRowsInRange(QStringLiteral("1900-01-01 0:00:00"), QStringLiteral("2100-01-01 0:00:00"),
                        count);
    return count;
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

TEST(CtlCard, ImportFillsTheHistoryOrRefusesWithOneMessage) {
    const QString name = Station().FileNames().first();
    const QByteArray bytes = *Station().FileBytes(name);
    CtlRunner ctl;
    const QString log = ctl.Scratch() + u'/' + name;
    WriteAll(log, bytes);
    const QString garbage = ctl.Scratch() + QStringLiteral("/notes.txt");
    WriteAll(garbage, "shopping list\r\nmilk,eggs\r\n");

    const CtlResult ok = ctl.Run({"--simulate", "--json", "import", log});
    ASSERT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.Json()["records"].toInteger(), RecordLines(bytes));
    EXPECT_EQ(HistoryRows(ctl), RecordLines(bytes));

    for (const QString& bad : {garbage, ctl.Scratch() + QStringLiteral("/missing.csv")}) {
        const CtlResult r = ctl.Run({"--simulate", "import", bad});
        EXPECT_EQ(r.exitCode, 6) << r.err.toStdString();
        EXPECT_EQ(r.ErrLines().size(), 1) << r.err.toStdString();
        EXPECT_EQ(HistoryRows(ctl), RecordLines(bytes)) << "a refused import kept the history";
    }
}

TEST(CtlSync, SecondSyncFetchesNothingAndImportsNothing) {
    CtlRunner ctl;
    const CtlResult first = ctl.Run({"--simulate", "--json", "sync"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QStringList names = Station().FileNames();
    EXPECT_EQ(first.Json()["imported"].toString(), names.last());
    for (const QString& name : names)
        EXPECT_TRUE(ReadAll(ctl.DataFolder() + u'/' + name) == *Station().FileBytes(name)) << name.toStdString();
    const int rows = RecordLines(*Station().FileBytes(names.last()));
    EXPECT_EQ(HistoryRows(ctl), rows);

    const CtlResult second = ctl.Run({"--simulate", "--json", "sync"});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.Json()["imported"].isNull());
    for (const QJsonValue file : second.Json()["files"].toArray())
        EXPECT_EQ(file["received"].toInteger(), 0) << file["name"].toString().toStdString();
    EXPECT_EQ(HistoryRows(ctl), rows);
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
    }
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
