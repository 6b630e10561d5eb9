#pragma once

#include <QString>

#include "ControlWindow.h"

namespace orvane {

// Requests of the Alarm group. Thresholds go to the station in °C, m/s and
// mm whatever units the window shows. A refusal shows its message, moves
// the focus to the refused field and returns the empty text; the switch
// builders never refuse. The Alarm All selection rule is AlarmAllChanged of
// SelectionRules.h. Any thread.

QString BuildHighTempAlarmRequest(ControlWindow& window);
QString BuildHighWindAlarmRequest(ControlWindow& window);
QString BuildHighRainAlarmRequest(ControlWindow& window);
QString BuildLowTempAlarmRequest(ControlWindow& window);
QString BuildHighSwitchTempRequest(ControlWindow& window);
QString BuildHighSwitchWindRequest(ControlWindow& window);
QString BuildLowSwitchRequest(ControlWindow& window);
QString BuildAlarmSwitchRequest(ControlWindow& window);

}  // namespace orvane
