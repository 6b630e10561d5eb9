#include <gtest/gtest.h>

#include "CUSBDrive.h"
#include "SdCardListRequest.h"
#include "SettingsControls.h"
#include "SettingsLayout.h"
#include "StationSimulator.h"
#include "Timing.h"

using namespace orvane;
using namespace orvane::SettingsId;

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

// The SDCard File button on the settings window: with the station it asks
// and turns the button off; without it, it says so and gives Read and Save
// All back; while the SD-card window is open it does nothing at all.
TEST(SdCardListRequest, TheButtonsProcedureProbesAsksOrSaysUnConnected) {
    const struct {
        const char* name;
        bool plugged;
        bool windowOpen;
        bool disabled;
        QStringList messages;
        std::vector<QString> requests;
        bool readEnabled;
    } cases[] = {
        {"station", true, false, true, {}, {"read&SDCard file&http 1.0"}, false},
        {"no station", false, false, false, {QString::fromUtf8("未连接")}, {}, true},
        {"window open", true, true, false, {}, {}, false},
    };
    const Timings saved = GetTimings();
    Timings quick = saved;
    quick.reportPause = Millis(0);
    SetTimings(quick);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StationSimulator sim;
        if (!c.plugged) sim.Unplug();
        CUSBDrive drive(sim);
        ExchangeState state;
        state.sdWindowOpen = c.windowOpen;
        MemorySettingsWindow w;
        w.SetEnabled(kRead, false);
        w.SetEnabled(kSaveAll, false);
        EXPECT_EQ(RequestSdCardList(w, drive, state, UiLanguage::Chinese), c.disabled);
        EXPECT_EQ(w.IsEnabled(kSdCardFile), !c.disabled);
        EXPECT_EQ(w.Messages(), c.messages);
        EXPECT_EQ(sim.ReceivedRequests(), c.requests);
        EXPECT_EQ(w.IsEnabled(kRead), c.readEnabled);
        EXPECT_EQ(w.IsEnabled(kSaveAll), c.readEnabled);
    }
    SetTimings(saved);
}
