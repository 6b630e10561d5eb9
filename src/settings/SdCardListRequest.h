#pragma once

#include <QString>

#include "ControlWindow.h"
#include "ExchangeState.h"
#include "StringTable.h"
#include "Transactor.h"

namespace orvane {

class CUSBDrive;

// The bare list request of the settings window's SDCard File button:
// asks for the card's file list. Does nothing and returns false while the
// SD-card window is open. When the request cannot be sent the flags are
// cleared again, since no reply will. Any thread but the receive thread.
bool SendSdCardListRequest(ExchangeState& state, const RequestSender& sendText);

// The SDCard File button's procedure over the settings window. Nothing
// while the SD-card window is open. Without a station "UnConnected" (in
// `language`) is shown and Read and Save All are enabled again. Otherwise
// the list request goes out and SDCard File is disabled: the caller brings
// it back after sdCardButtonReturn, so that a list that never comes can be
// asked for again. Returns whether the button was disabled. Any thread but
// the receive thread.
bool RequestSdCardList(ControlWindow& window, CUSBDrive& drive, ExchangeState& state,
                       UiLanguage language);

}  // namespace orvane
