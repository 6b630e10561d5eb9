#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "AppIni.h"
#include "DataFolder.h"
#include "LanguageChoice.h"
#include "SingleInstance.h"

using namespace orvane;

namespace {

void Spill(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QByteArray Slurp(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

}  // namespace

TEST(LanguageChoice, FirstStartWritesEnglishBeforeTheDialogAndKeepsTheChoice) {
    QTemporaryDir dir;
    AppIni ini(dir.path() + "/Main.ini");
    Spill(ini.Path(), "[Language]\nLanguage=\n");
    QString seenByDialog;
    UiLanguage chosen = ChooseLanguage(ini, [&] {
        seenByDialog = ini.Read("Language", "Language");
        ini.Write("Language", "Language", "Chinese");
    });
    EXPECT_EQ(seenByDialog, "English");
    EXPECT_EQ(chosen, UiLanguage::Chinese);
    EXPECT_EQ(ini.Read("Language", "Language"), "Chinese");
}

TEST(LanguageChoice, CancelledDialogLeavesEnglishAndAStoredChoiceAsksNothing) {
    QTemporaryDir dir;
    AppIni ini(dir.path() + "/Main.ini");
    EXPECT_EQ(ChooseLanguage(ini, [] {}), UiLanguage::English);
    bool asked = false;
    EXPECT_EQ(ChooseLanguage(ini, [&] { asked = true; }), UiLanguage::English);
    EXPECT_FALSE(asked);
}

TEST(LanguageChoice, KeyIsComparedExactly) {
    EXPECT_EQ(LanguageFromKey("English"), UiLanguage::English);
    EXPECT_EQ(LanguageFromKey("Chinese"), UiLanguage::Chinese);
    EXPECT_EQ(LanguageFromKey("english"), UiLanguage::SystemDefault);
    EXPECT_EQ(LanguageFromKey("French"), UiLanguage::SystemDefault);
}

TEST(DataFolder, FollowsXdgDataHome) {
    qputenv("XDG_DATA_HOME", "/tmp/xdg-test-home");
    EXPECT_EQ(DefaultDataFolder(), "/tmp/xdg-test-home/Orvane");
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DefaultDataFolder(), QDir::homePath() + "/.local/share/Orvane");
}

TEST(DataFolder, CopiesOnceAndNeverOverwrites) {
    QTemporaryDir program, home;
    Spill(program.path() + "/Main.ini", "[Language]\nLanguage=\n");
    Spill(program.path() + "/Orvane.mdb", "template");
    const QString data = home.path() + "/share/Orvane";

    DataFolderResult first = ProvideDataFolder(program.path(), data);
    EXPECT_TRUE(first.folderReady);
    EXPECT_TRUE(first.problem.isEmpty());
    EXPECT_EQ(first.copied.size(), 2);
    EXPECT_EQ(Slurp(data + "/Orvane.mdb"), "template");

    Spill(data + "/Main.ini", "[Language]\nLanguage=Chinese\n");
    Spill(program.path() + "/Main.ini", "newer");
    Spill(program.path() + "/Orvane.mdb", "newer");
    DataFolderResult second = ProvideDataFolder(program.path(), data);
    EXPECT_TRUE(second.copied.isEmpty());
    EXPECT_EQ(Slurp(data + "/Main.ini"), "[Language]\nLanguage=Chinese\n");
    EXPECT_EQ(Slurp(data + "/Orvane.mdb"), "template");
}

TEST(DataFolder, MakesMainIniWritable) {
    QTemporaryDir program, home;
    Spill(program.path() + "/Main.ini", "x");
    Spill(program.path() + "/Orvane.mdb", "y");
    const QString data = home.path() + "/Orvane";
    QDir().mkpath(data);
    Spill(data + "/Main.ini", "[Language]\nLanguage=English\n");
    QFile::setPermissions(data + "/Main.ini", QFile::ReadOwner);
    ProvideDataFolder(program.path(), data);
    EXPECT_TRUE(QFile::permissions(data + "/Main.ini") & QFile::WriteOwner);
}

TEST(DataFolder, ReportsWhatCouldNotBeDone) {
    QTemporaryDir home;
    Spill(home.path() + "/file", "not a folder");
    DataFolderResult blocked = ProvideDataFolder("", home.path() + "/file/Orvane");
    EXPECT_FALSE(blocked.folderReady);
    EXPECT_FALSE(blocked.problem.isEmpty());

    DataFolderResult noProgramFiles = ProvideDataFolder(home.path() + "/none", home.path() + "/D");
    EXPECT_TRUE(noProgramFiles.folderReady);
    EXPECT_TRUE(noProgramFiles.problem.contains("Orvane.mdb"));
}

TEST(DataFolder, ProgramDataDirIsTheFirstCandidateWithMainIni) {
    QTemporaryDir a, b;
    Spill(b.path() + "/Main.ini", "");
    EXPECT_EQ(FindProgramDataDir({a.path(), b.path()}), QDir::cleanPath(b.path()));
    EXPECT_EQ(FindProgramDataDir({a.path()}), "");
}

TEST(SingleInstance, SecondHolderIsRefusedWhileTheFirstRuns) {
    QTemporaryDir run;
    SingleInstance first(run.path());
    ASSERT_TRUE(first.Acquire());
    SingleInstance second(run.path());
    EXPECT_FALSE(second.Acquire());
    first.Release();
    EXPECT_TRUE(second.Acquire());
}

TEST(SingleInstance, StaleLockOfADeadProcessDoesNotBlock) {
    QTemporaryDir run;
    // A lock as a crashed instance leaves it: the owner's pid no longer runs.
    QProcess gone;
    gone.start("/bin/sleep", {"30"});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    gone.kill();
    ASSERT_TRUE(gone.waitForFinished());
    QLockFile probe(run.path() + "/probe.lock");
    ASSERT_TRUE(probe.tryLock(0));
    QByteArray content = Slurp(run.path() + "/probe.lock");
    probe.unlock();
    content.replace(0, content.indexOf('\n'), QByteArray::number(deadPid));
    Spill(run.path() + "/orvane.lock", content);

    SingleInstance next(run.path());
    EXPECT_TRUE(next.Acquire());
}
