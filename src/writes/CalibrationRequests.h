#pragma once

#include <QString>

#include "ControlWindow.h"

namespace orvane {

// Requests of the Calibration group. Temperature offsets go to the station
// in °C and pressure offsets in hPa, whatever units the window shows. A
// refusal shows its message, moves the focus to the refused field and
// returns the empty text. Any thread.

QString BuildOffsetRequest(ControlWindow& window);  // wind dir, temperature, humidity
QString BuildWindRainFactorRequest(ControlWindow& window);
QString BuildPressureOffsetRequest(ControlWindow& window);
QString BuildLightUvFactorRequest(ControlWindow& window);

}  // namespace orvane
