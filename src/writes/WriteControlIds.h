#pragma once

namespace orvane::WriteId {

// Controls of the settings window that the writes read or set, by the
// numbers of its layout.

// Buttons.
inline constexpr int kSaveAll = 1;
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
inline constexpr int kRead = 1073;
inline constexpr int kReset = 1016;

// Time, daylight saving, time zone.
inline constexpr int kDatePicker = 1021;
inline constexpr int kDst = 1034;
inline constexpr int kDstStartMonth = 1135;
inline constexpr int kDstStartWeek = 1136;
inline constexpr int kDstStartHour = 1137;
inline constexpr int kDstEndMonth = 1138;
inline constexpr int kDstEndWeek = 1139;
inline constexpr int kDstEndHour = 1140;
inline constexpr int kTimeZone = 1014;

// Calibration.
inline constexpr int kWindDirOffset = 1000;
inline constexpr int kTemperatureOffset = 1001;
inline constexpr int kHumidityOffset = 1002;
inline constexpr int kAbsPressureOffset = 1126;
inline constexpr int kRelPressureOffset = 1127;
inline constexpr int kWindFactor = 1003;
inline constexpr int kRainFactor = 1004;
inline constexpr int kLightFactor = 1006;
inline constexpr int kUvFactor = 1008;

// Units.
inline constexpr int kTemperatureUnit = 1009;
inline constexpr int kLightUnit = 1010;
inline constexpr int kWindUnit = 1011;
inline constexpr int kRainUnit = 1012;
inline constexpr int kPressureUnit = 1079;

// Alarms: thresholds, their switches, Alarm All.
inline constexpr int kHighTemperature = 1052;
inline constexpr int kHighDewPoint = 1053;
inline constexpr int kHighHumidity = 1054;
inline constexpr int kHighWind = 1055;
inline constexpr int kHighGust = 1056;
inline constexpr int kHighDailyRain = 1057;
inline constexpr int kHighRainRate = 1058;
inline constexpr int kLowTemperature = 1086;
inline constexpr int kLowDewPoint = 1087;
inline constexpr int kLowHumidity = 1088;
inline constexpr int kHighTemperatureSwitch = 1063;
inline constexpr int kHighDewPointSwitch = 1064;
inline constexpr int kHighHumiditySwitch = 1065;
inline constexpr int kHighWindSwitch = 1066;
inline constexpr int kHighGustSwitch = 1067;
inline constexpr int kHighRainRateSwitch = 1068;
inline constexpr int kHighDailyRainSwitch = 1069;
inline constexpr int kLowTemperatureSwitch = 1095;
inline constexpr int kLowDewPointSwitch = 1096;
inline constexpr int kLowHumiditySwitch = 1097;
inline constexpr int kAlarmAll = 1211;

// Telephone, GPRS, web server.
inline constexpr int kTelephone1 = 1031;
inline constexpr int kTelephone2 = 1032;
inline constexpr int kTelephone3 = 1033;
inline constexpr int kSmsId = 1185;
inline constexpr int kApn = 1048;
inline constexpr int kGprsUser = 1049;
inline constexpr int kGprsPassword = 1050;
inline constexpr int kWeb = 1077;
inline constexpr int kWebId = 1042;
inline constexpr int kWebPassword = 1043;
inline constexpr int kPort = 1044;
inline constexpr int kServerType = 1045;
inline constexpr int kUploadType = 1046;

// Intervals: number fields and their unit combos.
inline constexpr int kLoggerInterval = 1023;
inline constexpr int kSendCurrentInterval = 1191;
inline constexpr int kSendCurrentUnit = 1183;
inline constexpr int kAlarmInterval = 1018;
inline constexpr int kAlarmIntervalUnit = 1189;
inline constexpr int kUploadInterval = 1019;
inline constexpr int kUploadUnit = 1190;
inline constexpr int kSmsCheckInterval = 1192;
inline constexpr int kSmsCheckUnit = 1188;

}  // namespace orvane::WriteId
