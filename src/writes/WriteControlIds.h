#pragma once

#include "SettingsControls.h"

namespace orvane::WriteId {

// The settings window's controls by the numbers of its layout: the fields
// are the settings logic's ids, the buttons and the date picker are the
// writes' own.
using namespace SettingsId;

inline constexpr int kSync = 1005;
inline constexpr int kSaveDaylight = 1028;
inline constexpr int kSaveTimeZone = 1015;
inline constexpr int kSaveCalibration = 1007;
inline constexpr int kSaveUnit = 1013;
inline constexpr int kSaveAlarm = 1070;
inline constexpr int kSaveTelephone = 1027;
inline constexpr int kSmsTest = 1186;
inline constexpr int kSaveWebServer = 1047;
inline constexpr int kSaveGprs = 1051;
inline constexpr int kSaveLoggerInterval = 1026;
inline constexpr int kSaveSendCurrent = 1078;
inline constexpr int kReset = 1016;

inline constexpr int kDatePicker = 1021;

}  // namespace orvane::WriteId
