#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "AppIni.h"

using namespace orvane;

namespace {

QByteArray Slurp(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void Spill(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

class AppIniTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.path() + "/Main.ini";
};

}  // namespace

TEST_F(AppIniTest, ReadsKeysOfTheirOwnSectionIgnoringCaseAndBlanks) {
    Spill(
        path,
        "; comment\r\n[Language]\r\nLanguage = Chinese \r\n[About]\r\nweb=\"http://x.example\"\r\n"
        "[Unit]\r\nStage=EU\r\n");
    AppIni ini(path);
    EXPECT_EQ(ini.Read("Language", "Language"), "Chinese");
    EXPECT_EQ(ini.Read("about", "WEB"), "http://x.example");
    EXPECT_EQ(ini.Read("Unit", "Stage"), "EU");
    EXPECT_EQ(ini.Read("Unit", "Language"), "");
    EXPECT_EQ(ini.Read("Missing", "Key"), "");
}

TEST_F(AppIniTest, MissingFileAndGarbageLinesReadAsEmpty) {
    AppIni ini(path);
    EXPECT_EQ(ini.Read("Language", "Language"), "");
    Spill(path, QByteArray("\x00\xff garbage\n[[[\n=value\n[Language\nLanguage\n", 38));
    EXPECT_EQ(ini.Read("Language", "Language"), "");
}

TEST_F(AppIniTest, LongValuesAreCutAt259Characters) {
    Spill(path, "[About]\nWeb=" + QByteArray(400, 'a') + "\n");
    EXPECT_EQ(AppIni(path).Read("About", "Web").size(), 259);
}

TEST_F(AppIniTest, WriteChangesOnlyItsOwnLine) {
    const QByteArray before =
        "; Orvane settings\r\n[Language]\r\nLanguage=\r\n\r\n[About]\r\n; the link\r\n"
        "Web=https://example.org/\r\n[Copyright]\r\nCopyright=(C) "
        "someone\r\n[Unit]\r\nStage=EU\r\n";
    Spill(path, before);
    AppIni ini(path);
    ASSERT_TRUE(ini.Write("Language", "Language", "English"));
    QByteArray expected = before;
    expected.replace("Language=\r\n", "Language=English\r\n");
    EXPECT_EQ(Slurp(path), expected);
    EXPECT_EQ(ini.Read("Language", "Language"), "English");
}

TEST_F(AppIniTest, WriteAddsMissingKeysAndSectionsWithoutDisturbingOthers) {
    Spill(path, "[About]\nWeb=w\n\n[Unit]\nStage=EU");
    AppIni ini(path);
    ASSERT_TRUE(ini.Write("About", "Extra", "1"));
    ASSERT_TRUE(ini.Write("Language", "Language", "Chinese"));
    EXPECT_EQ(Slurp(path),
              "[About]\nWeb=w\nExtra=1\n\n[Unit]\nStage=EU\n[Language]\nLanguage=Chinese\n");
}

TEST_F(AppIniTest, WriteCreatesAMissingFileButNotInAMissingFolder) {
    AppIni ini(path);
    ASSERT_TRUE(ini.Write("Language", "Language", "English"));
    EXPECT_EQ(ini.Read("Language", "Language"), "English");
    EXPECT_FALSE(AppIni(dir.path() + "/no/such/Main.ini").Write("A", "b", "c"));
}

TEST_F(AppIniTest, ReadOnlyFileIsNotChanged) {
    Spill(path, "[Language]\nLanguage=\n");
    QFile::setPermissions(path, QFile::ReadOwner);
    AppIni ini(path);
    EXPECT_FALSE(ini.Write("Language", "Language", "English"));
    EXPECT_EQ(Slurp(path), "[Language]\nLanguage=\n");
}
