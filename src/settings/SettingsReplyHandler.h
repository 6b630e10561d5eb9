#pragma once

#include <QString>
#include <functional>

namespace orvane {

class ControlWindow;
class UnitSelection;
struct ExchangeState;

// Shows a message box text. The receive thread must go on reading while a
// box is open, so the application passes a sink that posts the box to the
// GUI thread and returns; by default the window's own MessageBox is used.
using MessageSink = std::function<void(const QString&)>;

// What the receive thread runs when a "Setting:" reply is complete: parse,
// show the searched passwords and ID, apply the record, or report "Error" /
// "Read Error". Takes RequestBusy for the duration: when another request
// holds it, waits once (GetTimings().settingsBusyWait) and goes on
// regardless; clears it on every exit. The receive thread clears
// AwaitingSetting before and PendingRequest after.
//
// Call from the receive thread (or any worker); never from the GUI thread
// while the window is the Qt one, since it may wait.
class SettingsReplyHandler {
public:
    SettingsReplyHandler(ControlWindow& window, ExchangeState& state, UnitSelection& units,
                         MessageSink showMessage = {});

    void HandleSettingReply(const QString& replyText);

private:
    ControlWindow& m_window;
    ExchangeState& m_state;
    UnitSelection& m_units;
    MessageSink m_showMessage;
};

// What the receive thread runs when a "Now Data:" reply is complete: parse
// the copy and show it; a bad reply is dropped silently, leaving the
// previous readings on screen. Any worker thread.
class NowDataReplyHandler {
public:
    explicit NowDataReplyHandler(ControlWindow& window);

    void HandleNowDataReply(const QString& replyCopy);

private:
    ControlWindow& m_window;
};

}  // namespace orvane
