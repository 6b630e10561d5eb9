#include <gtest/gtest.h>

#include "MemoryControlWindow.h"

using namespace orvane;

// The operations both windows share are covered by the window contract
// (tests/core/contract); these are the test side of the in-memory window.

TEST(MemoryControlWindow, RecordsMessagesAndAnswersConfirmationsInOrder) {
    MemoryControlWindow w;
    w.MessageBox("one");
    w.AnswerNextConfirm(false);
    EXPECT_FALSE(w.Confirm("sure?"));
    EXPECT_TRUE(w.Confirm("again?"));
    EXPECT_EQ(w.Messages(), QStringList{"one"});
    EXPECT_EQ(w.Confirmations(), (QStringList{"sure?", "again?"}));
}

TEST(MemoryControlWindow, WithoutLayoutHasNoControls) {
    MemoryControlWindow w;
    constexpr int kAnyId = 1;
    EXPECT_THROW(w.SetText(kAnyId, "x"), UnknownControl);
    EXPECT_THROW(w.Get(kAnyId), UnknownControl);
    w.SetStatusText(1, "Connected");
    EXPECT_EQ(w.StatusText(1), "Connected");
}
