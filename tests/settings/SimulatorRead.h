#pragma once

// The settings Read procedure against the station simulator, for the
// round-trip tests of the settings and writes folders.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <functional>

#include "CUSBDrive.h"
#include "ControlWindow.h"
#include "DeviceLink.h"
#include "ExchangeState.h"
#include "ReplyHandlers.h"
#include "SettingsReplyApplier.h"
#include "SettingsRequests.h"
#include "StationSimulator.h"
#include "UnitSelection.h"

namespace orvane::test {

// Counts the settings replies handed over, so a test knows when the
// receive thread is done with one.
class CountingHandler : public SettingsReplyHandler {
public:
    explicit CountingHandler(SettingsReplyHandler& inner) : m_inner(inner) {}
    void HandleSettingReply(const QString& replyText) override {
        m_inner.HandleSettingReply(replyText);
        ++calls;
    }
    std::atomic<int> calls{0};

private:
    SettingsReplyHandler& m_inner;
};

// Polls `done` for up to ten seconds.
inline bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 10000) return false;
        QThread::msleep(2);
    }
    return true;
}

// Runs the Read procedure over a fresh receive connection; succeeds once
// the reply has been applied to `window` and the receive thread has cleared PendingRequest.
inline ::testing::AssertionResult ReadSettingsFromSimulator(StationSimulator& sim,
                                                            ControlWindow& window,
                                                            ExchangeState& state,
                                                            UnitSelection& units) {
    SettingsReplyApplier applier(window, state, units);
    CountingHandler counting(applier);
    ReplyConsumers consumers;
    consumers.settings = &counting;
    DeviceLink link(sim, state, consumers);
    link.Open();
    CUSBDrive drive(sim);
    // The Read button's own procedure, on the given window.
    if (ReadSettings(window, drive, state) != SettingsReadStart::Sent)
        return ::testing::AssertionFailure() << "the request did not go out";
    const bool applied = WaitFor([&] { return counting.calls == 1 && state.pendingRequest == 0; });
    link.Shutdown();
    if (!applied)
        return ::testing::AssertionFailure()
               << "no reply applied; received: " << state.settingReplyText.Text().toStdString();
    return ::testing::AssertionSuccess();
}

}  // namespace orvane::test
