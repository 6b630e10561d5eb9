#pragma once

#include <QString>
#include <QStringList>

#include "WriteContext.h"

namespace orvane {

enum class WriteOutcome { Success, Unconnected, Fail };

// The outcome of a combined reply: success when it holds "Write success"
// anywhere, else unconnected when it holds "Unconnected", else fail. The
// second form looks for "Unconnected" only in `unconnectedScope` (the Alarm
// Save looks at the reply of its last request). Case-sensitive.
WriteOutcome ClassifyWriteReply(const QString& combinedReply);
WriteOutcome ClassifyWriteReply(const QString& combinedReply, const QString& unconnectedScope);

// The text shown for an outcome in the current user-interface language:
// "Save Success"/"UnConnected"/"Save Fail", or for the SMS test
// "Send Success"/"UnConnected"/"Send Fail".
QString OutcomeText(WriteOutcome outcome, bool smsTest = false);

struct WriteResult {
    bool abandoned = true;  // nothing was sent
    WriteOutcome outcome = WriteOutcome::Fail;
    QStringList requests;       // the texts handed to Transact, in order
    QStringList refusedGroups;  // full writes: groups whose builder refused
};

// Whether `buttonId` is one of the settings window's group Save buttons
// (Sync and the SMS Test included).
bool IsSaveButton(int buttonId);

// The request texts of one Save button, every builder run in order (a
// refusing builder shows why and leaves its entry empty); nothing is sent.
// Empty for a button that is not a Save button. Any thread.
QStringList BuildGroupRequests(int buttonId, ControlWindow& window, const Clock& clock);
// Whether the button's emptiness rule lets `texts` go out.
bool GroupWouldSend(int buttonId, const QStringList& texts);

// The write of one Save button: builds the group's requests (every builder
// runs and shows its own refusal), abandons the write when the button's
// emptiness rule says so, otherwise sends each text with Transact, shows
// the outcome in a message box and returns when it is closed. RequestBusy
// and PendingRequest 7 are held meanwhile. A button that is not a Save
// button does nothing. User-interface thread.
WriteResult RunWriteTransaction(int buttonId, WriteContext& context);

// Sends `requests` in order with Transact and returns the replies, one per
// request; `pause` follows each request. The caller holds the window busy.
QStringList SendRequests(WriteContext& context, const QStringList& requests,
                         std::chrono::milliseconds pause);

}  // namespace orvane
