#include <gtest/gtest.h>

#include "SdCardListRequest.h"

using namespace orvane;

TEST(SdCardListRequest, SetsTheFlagsSendsOnceAndNothingWhileTheWindowIsOpen) {
    ExchangeState state;
    state.sdListReplyText.Append("SDcard file:stale");
    QStringList sent;
    bool works = true;
    auto send = [&](const QString& r) {
        sent.append(r);
        return works;
    };

    EXPECT_TRUE(SendSdCardListRequest(state, send));
    EXPECT_EQ(sent, QStringList({"read&SDCard file&http 1.0"}));
    EXPECT_EQ(state.pendingRequest, kPendingSdList);
    EXPECT_TRUE(state.awaitingSdList);
    EXPECT_TRUE(state.requestBusy);
    EXPECT_EQ(state.sdListReplyText.Text(), "");

    // A second press while the window is open does nothing.
    state.sdWindowOpen = true;
    EXPECT_FALSE(SendSdCardListRequest(state, send));
    EXPECT_EQ(sent.size(), 1);

    // A request that cannot go out leaves nothing waiting for a reply.
    ExchangeState fresh;
    works = false;
    EXPECT_FALSE(SendSdCardListRequest(fresh, send));
    EXPECT_EQ(fresh.pendingRequest, kPendingNone);
    EXPECT_FALSE(fresh.awaitingSdList);
    EXPECT_FALSE(fresh.requestBusy);
}
