#pragma once

#include <QString>
#include <functional>

#include "ReplyHandlers.h"

namespace orvane {

class ControlWindow;
class UnitSelection;
struct ExchangeState;

// Shows a message box text. The receive thread goes on reading only once
// the handler returns, so the application passes a sink that posts the box
// to the GUI thread and returns at once; by default the window's own
// (waiting) MessageBox is used, which suits tests.
using MessageSink = std::function<void(const QString&)>;

// The settings reply handler the receive thread calls when a "Setting:"
// reply is complete: parse, show the searched passwords and ID, apply the
// record, or report "Error" / "Read Error" and give Read and Save All back.
// Holds RequestBusy meanwhile: when another request holds it, waits once
// (GetTimings().settingsBusyWait) and goes on regardless; clears it on every
// exit. AwaitingSetting and PendingRequest are the receive thread's.
//
// Receive thread (or any worker); never the GUI thread, since it may wait.
class SettingsReplyApplier : public SettingsReplyHandler {
public:
    SettingsReplyApplier(ControlWindow& window, ExchangeState& state, UnitSelection& units,
                         MessageSink showMessage = {});

    void HandleSettingReply(const QString& replyText) override;

private:
    ControlWindow& m_window;
    ExchangeState& m_state;
    UnitSelection& m_units;
    MessageSink m_showMessage;
};

}  // namespace orvane
