#pragma once

#include <QString>
#include <functional>

#include "ControlWindow.h"
#include "StringTable.h"

namespace orvane {

class CUSBDrive;
struct ExchangeState;

// The requests the settings window starts itself: read the settings, read
// the max/min records. Each sets the exchange flags the receive thread
// answers to and sends the request; the reply is applied when it arrives
// (SettingsReplyApplier, the max/min consumer). Any thread but the receive
// thread, which must stay free to take the reply.

// Sets RequestBusy, empties the settings reply, sets AwaitingSetting and
// PendingRequest and sends the settings request. When a current-readings
// reply is still awaited it first waits nowDataWaitBeforeRead once.
// Returns whether the request went out.
bool SendSettingsRequest(CUSBDrive& drive, ExchangeState& state);

// The same for the max/min records.
bool SendMaxMinRequest(CUSBDrive& drive, ExchangeState& state);

// Shows a message box; the window decides whether the caller waits for it.
using RequestMessage = std::function<void(const QString&)>;

enum class SettingsReadStart { Sent, Unconnected, SendFailed };

// The Read button's procedure: Read and Save All are disabled, the station
// is probed, and the request sent. Without a station: RequestBusy cleared,
// "Unconnected" shown through `message` (the window's message box when
// null), Read and Save All enabled again. After Sent the caller brings the
// two buttons back after readButtonReturn whether or not a reply came.
SettingsReadStart ReadSettings(ControlWindow& window, CUSBDrive& drive, ExchangeState& state,
                               const RequestMessage& message = {});

// The Max/Min Record button's procedure: probe, then the request. Without a
// station the message "UnConnected" (in `language`) is shown and Read and
// Save All are enabled. Returns whether the request went out.
bool RequestMaxMin(ControlWindow& window, CUSBDrive& drive, ExchangeState& state,
                   UiLanguage language);

}  // namespace orvane
