#pragma once

#include <QString>

#include "ControlWindow.h"

namespace orvane {

// Requests of the five intervals. A value goes out as the field's text as
// entered followed by "h" or "m", or as "0m" / "on" for the special
// choices of the unit combo. A refusal shows its message, moves the focus
// to the number field and returns the empty text. Any thread.

QString BuildLoggerIntervalRequest(ControlWindow& window);
QString BuildSendCurrentRequest(ControlWindow& window);
QString BuildAlarmIntervalRequest(ControlWindow& window);
QString BuildUploadIntervalRequest(ControlWindow& window);
QString BuildSmsCheckRequest(ControlWindow& window);

// Selection handlers of the interval unit combos: enable or empty and
// disable the number field and set its range tooltip, worded in the
// current user-interface language.
void SendCurrentUnitChanged(ControlWindow& window);    // 1183
void SmsCheckUnitChanged(ControlWindow& window);       // 1188
void AlarmIntervalUnitChanged(ControlWindow& window);  // 1189
void UploadUnitChanged(ControlWindow& window);         // 1190

}  // namespace orvane
