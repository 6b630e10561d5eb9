#include <gtest/gtest.h>

#include "MemoryControlWindow.h"

using namespace orvane;

TEST(MemoryControlWindow, SelectTextIgnoresCaseAndClearsWhenNothingMatches) {
    MemoryControlWindow w;
    w.SetItems(1009, {QString::fromUtf16(u"\u00b0C"), QString::fromUtf16(u"\u00b0F")});
    EXPECT_TRUE(w.SelectText(1009, QString::fromUtf16(u"\u00b0f")));
    EXPECT_EQ(w.SelectedIndex(1009), 1);
    EXPECT_EQ(w.Text(1009), QString::fromUtf16(u"\u00b0F"));
    EXPECT_FALSE(w.SelectText(1009, "K"));
    EXPECT_EQ(w.SelectedIndex(1009), -1);
    EXPECT_EQ(w.Text(1009), "");
}

TEST(MemoryControlWindow, EditableComboKeepsTypedTextAndFollowsSelection) {
    MemoryControlWindow w;
    w.SetEditableCombo(1077, true);
    w.SetItems(1077, {"host.example", "New web"});
    w.SelectIndex(1077, 0);
    EXPECT_EQ(w.Text(1077), "host.example");
    w.SetText(1077, "typed.example");
    EXPECT_EQ(w.Text(1077), "typed.example");
}

TEST(MemoryControlWindow, RecordsMessagesAndAnswersConfirmationsInOrder) {
    MemoryControlWindow w;
    w.MessageBox("one");
    w.AnswerNextConfirm(false);
    EXPECT_FALSE(w.Confirm("sure?"));
    EXPECT_TRUE(w.Confirm("again?"));
    EXPECT_EQ(w.Messages(), QStringList{"one"});
    EXPECT_EQ(w.Confirmations(), (QStringList{"sure?", "again?"}));
}
