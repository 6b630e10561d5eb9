#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "CLanguage.h"
#include "StringTable.h"

using namespace orvane;

TEST(CLanguage, ShowsTheStoredChoiceAndStoresTheNewOneOnOk) {
    QTemporaryDir dir;
    AppIni ini(dir.path() + "/Main.ini");
    ini.Write("Language", "Language", "English");
    SetCurrentLanguage(UiLanguage::English);
    CLanguage dialog(ini);
    EXPECT_EQ(dialog.windowTitle(), "Language");
    EXPECT_EQ(dialog.Controls().Text(CLanguage::kLabel), "Language:");
    EXPECT_EQ(dialog.Controls().Text(CLanguage::kOk), "Save");
    EXPECT_EQ(dialog.Controls().SelectedIndex(CLanguage::kList), 0);
    dialog.Controls().SelectIndex(CLanguage::kList, 1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ini.Read("Language", "Language"), "Chinese");
}

TEST(CLanguage, CancelStoresNothingAndChineseTextsFollowTheLanguage) {
    QTemporaryDir dir;
    AppIni ini(dir.path() + "/Main.ini");
    ini.Write("Language", "Language", "English");
    SetCurrentLanguage(UiLanguage::Chinese);
    CLanguage dialog(ini);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("语言"));
    EXPECT_EQ(dialog.Controls().Text(CLanguage::kOk), QString::fromUtf8("保存"));
    dialog.Controls().SelectIndex(CLanguage::kList, 1);
    dialog.reject();
    EXPECT_EQ(ini.Read("Language", "Language"), "English");
    SetCurrentLanguage(UiLanguage::English);
}

TEST(CLanguage, AnythingButEnglishPreselectsChinese) {
    QTemporaryDir dir;
    AppIni ini(dir.path() + "/Main.ini");
    ini.Write("Language", "Language", "english");
    CLanguage dialog(ini);
    EXPECT_EQ(dialog.Controls().SelectedIndex(CLanguage::kList), 1);
}
