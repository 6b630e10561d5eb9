#include <gtest/gtest.h>

#include "StringTable.h"

using namespace orvane;

TEST(StringTable, HoldsBothLanguagesExactly) {
    EXPECT_EQ(LoadString(137, UiLanguage::English), "UnConnected");
    EXPECT_EQ(LoadString(137, UiLanguage::Chinese), QString::fromUtf8("未连接"));
    // The Chinese text of 135 begins with a blank.
    EXPECT_EQ(LoadString(135, UiLanguage::Chinese), QString::fromUtf8(" 最大最小值"));
    EXPECT_EQ(LoadString(101, UiLanguage::English), "About Orvane(&A)...");
    EXPECT_EQ(LoadString(152, UiLanguage::Chinese), QString::fromUtf8("语言"));
}

TEST(StringTable, CoversEveryIdTheWindowsUse) {
    for (int id = 101; id <= 197; ++id) {
        EXPECT_FALSE(LoadString(id, UiLanguage::English).isEmpty()) << id;
        EXPECT_FALSE(LoadString(id, UiLanguage::Chinese).isEmpty()) << id;
    }
    EXPECT_TRUE(LoadString(9999, UiLanguage::English).isEmpty());
}

TEST(StringTable, CurrentLanguageSelectsTheTable) {
    SetCurrentLanguage(UiLanguage::Chinese);
    EXPECT_EQ(LoadString(114), QString::fromUtf8("保存"));
    SetCurrentLanguage(UiLanguage::English);
    EXPECT_EQ(LoadString(114), "Save");
}
