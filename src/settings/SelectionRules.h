#pragma once

#include <QString>

namespace orvane {

class ControlWindow;

// Host names of the weather upload service. The default upload host heads
// the Web combo (kWebHost); a settings reply naming the service's web host
// takes the server type, upload type and port from the combo's rule.
inline constexpr const char* kDefaultUploadHost = "rtupdate.wunderground.com";
inline constexpr const char* kServiceWebHost = "weatherstation.wunderground.com";

// Selection rules of the settings window's combos that both the window (on
// the user's change) and the settings reply (after applying a record) run.
// Any thread (window calls are synchronous).

// Interval unit combos (kSendCurrentIntervalUnit, kSmsCheckIntervalUnit,
// kAlarmSmsIntervalUnit, kUploadIntervalUnit): an "Hour" or "Minute"
// choice enables the number edit and sets its range tooltip; any other
// choice empties and disables the edit. Does nothing for another id.
void IntervalUnitChanged(ControlWindow& window, int comboId);

// Alarm All (kAlarmAll): the ten alarm switches are enabled only while
// "Enable" (index 0) is selected; their check marks stay as they are.
void AlarmAllChanged(ControlWindow& window);

// Web combo (kWebHost): with the default upload host (item 0) selected, server
// type "php", upload type "Customize" and port "80" are forced and the
// three controls disabled; any other selection enables them.
void WebHostChanged(ControlWindow& window);

}  // namespace orvane
