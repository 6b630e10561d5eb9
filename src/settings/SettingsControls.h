#pragma once

// Control ids of the settings window (dialog 145) that the settings logic
// reads or writes. The window registers its widgets under these numbers.
namespace orvane::SettingsId {

// Buttons.
inline constexpr int kSaveAll = 1;
inline constexpr int kRead = 1073;

// The Time group's pickers, which show the computer's clock.
inline constexpr int kClockDate = 1020;
inline constexpr int kClockTime = 1021;
// The status-bar part that shows the connection.
inline constexpr int kConnectionStatusPart = 1;

// Unit combos and their captions.
inline constexpr int kTemperatureUnit = 1009;
inline constexpr int kLightUnit = 1010;
inline constexpr int kWindUnit = 1011;
inline constexpr int kRainUnit = 1012;
inline constexpr int kPressureUnit = 1079;
inline constexpr int kHighTemperatureCaption = 1059;
inline constexpr int kHighDewPointCaption = 1060;
inline constexpr int kLowTemperatureCaption = 1093;
inline constexpr int kLowDewPointCaption = 1094;
inline constexpr int kTemperatureOffsetCaption = 1128;
inline constexpr int kHighWindCaption = 1118;
inline constexpr int kHighGustCaption = 1119;
inline constexpr int kDailyRainCaption = 1120;
inline constexpr int kRainRateCaption = 1121;
inline constexpr int kAbsPressureCaption = 1129;
inline constexpr int kRelPressureCaption = 1130;

// Calibration.
inline constexpr int kWindDirectionOffset = 1000;
inline constexpr int kTemperatureOffset = 1001;
inline constexpr int kHumidityOffset = 1002;
inline constexpr int kWindFactor = 1003;
inline constexpr int kRainFactor = 1004;
inline constexpr int kLightFactor = 1006;
inline constexpr int kUvFactor = 1008;
inline constexpr int kAbsPressureOffset = 1126;
inline constexpr int kRelPressureOffset = 1127;

// Time zone and daylight saving.
inline constexpr int kTimeZone = 1014;
inline constexpr int kDst = 1034;
inline constexpr int kDstStartMonth = 1135;
inline constexpr int kDstStartWeek = 1136;
inline constexpr int kDstStartHour = 1137;
inline constexpr int kDstEndMonth = 1138;
inline constexpr int kDstEndWeek = 1139;
inline constexpr int kDstEndHour = 1140;
inline constexpr int kDstStartMonthHint = 1035;  // hidden range-hint edits
inline constexpr int kDstStartWeekHint = 1036;
inline constexpr int kDstStartHourHint = 1037;
inline constexpr int kDstEndMonthHint = 1038;
inline constexpr int kDstEndWeekHint = 1039;
inline constexpr int kDstEndHourHint = 1040;

// Intervals: number edit and unit combo.
inline constexpr int kAlarmSmsInterval = 1018;
inline constexpr int kAlarmSmsIntervalUnit = 1189;
inline constexpr int kSendCurrentInterval = 1191;
inline constexpr int kSendCurrentIntervalUnit = 1183;
inline constexpr int kLoggerInterval = 1023;
inline constexpr int kUploadInterval = 1019;
inline constexpr int kUploadIntervalUnit = 1190;
inline constexpr int kSmsCheckInterval = 1192;
inline constexpr int kSmsCheckIntervalUnit = 1188;

// Telephone and GPRS.
inline constexpr int kTelephone1 = 1031;
inline constexpr int kTelephone2 = 1032;
inline constexpr int kTelephone3 = 1033;
inline constexpr int kSmsTestId = 1185;
inline constexpr int kGprsApn = 1048;
inline constexpr int kGprsUser = 1049;
inline constexpr int kGprsPassword = 1050;

// Web server.
inline constexpr int kWebHost = 1077;  // editable combo
inline constexpr int kWebId = 1042;
inline constexpr int kWebPassword = 1043;
inline constexpr int kServerPort = 1044;
inline constexpr int kServerType = 1045;
inline constexpr int kUploadType = 1046;

// Alarm thresholds and switches.
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

// Current Weather value texts.
inline constexpr int kNowTemperature = 1080;
inline constexpr int kNowHumidity = 1081;
inline constexpr int kNowAbsPressure = 1122;
inline constexpr int kNowRelPressure = 1123;
inline constexpr int kNowWind = 1082;
inline constexpr int kNowGust = 1083;
inline constexpr int kNowDewPoint = 1084;
inline constexpr int kNowWindDirection = 1085;
inline constexpr int kNowRainRate = 1089;
inline constexpr int kNowRainDay = 1090;
inline constexpr int kNowRainWeek = 1091;
inline constexpr int kNowRainMonth = 1092;
inline constexpr int kNowRainYear = 1098;
inline constexpr int kNowLight = 1099;
inline constexpr int kNowUv = 1100;
inline constexpr int kNowUvIndex = 1114;
inline constexpr int kNowBattery = 1132;
inline constexpr int kNowTime = 1116;

}  // namespace orvane::SettingsId
