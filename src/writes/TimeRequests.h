#pragma once

#include <QDate>
#include <QString>

#include "Clock.h"
#include "ControlWindow.h"

namespace orvane {

// Requests of the Time, Daylight and Time zone groups. None of them ever
// refuses. Each builder reads the controls and returns the request text;
// they send nothing. Any thread (controls are reached through the window).

// The station's clock: weekday and Sunday count of the local date shown in
// the date picker, date and time from the PC clock in UTC. When the picker
// holds no date yet, the local date of `clock` stands in for it.
QString BuildTimeRequest(ControlWindow& window, const Clock& clock);

// Number of Sundays of the month of `date` from day 1 up to and including
// that day.
int SundayCount(const QDate& date);

QString BuildTimeZoneRequest(ControlWindow& window);
QString BuildDaylightRequest(ControlWindow& window);

}  // namespace orvane
