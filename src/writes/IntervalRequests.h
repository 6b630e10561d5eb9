#pragma once

#include <QString>

#include "ControlWindow.h"

namespace orvane {

// Requests of the five intervals. A value goes out as the field's text as
// entered followed by "h" or "m", or as "0m" / "on" for the special
// choices of the unit combo. A refusal shows its message, moves the focus
// to the number field and returns the empty text. The unit combos'
// selection rule is IntervalUnitChanged of SelectionRules.h. Any thread.

QString BuildLoggerIntervalRequest(ControlWindow& window);
QString BuildSendCurrentRequest(ControlWindow& window);
QString BuildAlarmIntervalRequest(ControlWindow& window);
QString BuildUploadIntervalRequest(ControlWindow& window);
QString BuildSmsCheckRequest(ControlWindow& window);

}  // namespace orvane
