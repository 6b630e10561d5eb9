#pragma once

#include <QString>

namespace orvane {

// Conversions between the display units and the station's base units (°C,
// m/s, mm, hPa). Pure functions of text; any thread. Unit indices are those
// of the unit combos (UnitSelection). A text that does not start with a
// number reads as 0.
//
// A display-to-display conversion always goes through the base unit's
// formatted text: 10.0 km/h is 2.8 m/s, and 2.8 m/s is 6.3 mph (6.2 if the
// unrounded 2.777… were used). The Convert* functions do both steps.

// Temperature values (alarm thresholds): index 1 is °F, anything else °C.
QString TemperatureToBase(const QString& text, int from);
QString TemperatureFromBase(const QString& base, int to);
// Temperature differences (the calibration offset): no 32 added or taken.
QString TemperatureOffsetToBase(const QString& text, int from);
QString TemperatureOffsetFromBase(const QString& base, int to);
// Wind: 0 km/h, 1 mph, 2 knots, 3 m/s, 4 Beaufort. WindToBase with an
// index outside 0..4 reads the text as m/s; WindFromBase returns the base
// text unchanged.
QString WindToBase(const QString& text, int from);
QString WindFromBase(const QString& base, int to);
// Rain: 0 mm, 1 inch (two decimals in inches).
QString RainToBase(const QString& text, int from);
QString RainFromBase(const QString& base, int to);
// Pressure: 0 hPa, 1 mmHg, 2 inHg (two decimals outside hPa).
QString PressureToBase(const QString& text, int from);
QString PressureFromBase(const QString& base, int to);

// Beaufort force (leading integer of the text) to the lower bound of its
// speed band in m/s; forces outside 0..11 give the force-12 bound "32.6".
QString BeaufortToSpeed(const QString& force);
// Speed in m/s to the Beaufort force "0".."12"; a speed on a band's lower
// bound belongs to that band.
QString SpeedToBeaufort(double metresPerSecond);

QString ConvertTemperature(const QString& text, int from, int to);
QString ConvertTemperatureOffset(const QString& text, int from, int to);
QString ConvertWind(const QString& text, int from, int to);
QString ConvertRain(const QString& text, int from, int to);
QString ConvertPressure(const QString& text, int from, int to);

}  // namespace orvane
