#pragma once

#include <QString>
#include <functional>

#include "ExchangeState.h"

namespace orvane {

// Sends one tagged request (CUSBDrive::SendText); true when it went out.
using RequestSender = std::function<bool(const QString& request)>;

// The settings window's SDCard File button (SettingsId::kSdCardFile) after its station probe:
// asks for the card's file list. Does nothing and returns false while the
// SD-card window is open. When the request cannot be sent the flags are
// cleared again, since no reply will. Any thread but the receive thread.
bool SendSdCardListRequest(ExchangeState& state, const RequestSender& sendText);

}  // namespace orvane
