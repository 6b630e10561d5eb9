#pragma once

// Control ids of the settings window (dialog 145), one name per id. The
// window registers its widgets under these numbers; the settings and write
// logic and the tests address controls only through these names.
namespace orvane::SettingsId {

// Static texts that no logic addresses carry no id.
inline constexpr int kNoId = 0;

// Window-wide buttons.
inline constexpr int kSaveAll = 1;
inline constexpr int kExit = 2;
inline constexpr int kRead = 1073;
inline constexpr int kReset = 1016;
inline constexpr int kMaxMin = 1195;
inline constexpr int kSdCardFile = 1199;

// The status-bar parts: the focused edit's range hint, the connection.
inline constexpr int kHintStatusPart = 0;
inline constexpr int kConnectionStatusPart = 1;

// Time.
inline constexpr int kTimeGroup = 1215;
inline constexpr int kTimeLabel = 1216;
inline constexpr int kDatePicker = 1021;
inline constexpr int kTimePicker = 1020;
inline constexpr int kSync = 1005;

// Daylight saving.
inline constexpr int kDaylightGroup = 1217;
inline constexpr int kDst = 1034;
inline constexpr int kDstStartGroup = 1218;
inline constexpr int kDstEndGroup = 1219;
inline constexpr int kDstStartMonthLabel = 1160;
inline constexpr int kDstStartWeekLabel = 1161;
inline constexpr int kDstStartHourLabel = 1162;
inline constexpr int kDstEndMonthLabel = 1163;
inline constexpr int kDstEndWeekLabel = 1164;
inline constexpr int kDstEndHourLabel = 1165;
// Month, week and hour follow each other, so base + 0..2 walks a start or
// an end.
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
inline constexpr int kSaveDaylight = 1028;

// Time zone.
inline constexpr int kTimeZoneGroup = 1228;
inline constexpr int kTimeZoneLabel = 1141;
inline constexpr int kTimeZone = 1014;
inline constexpr int kSaveTimeZone = 1015;

// Calibration: offsets with their unit captions, then factors.
inline constexpr int kCalibrationGroup = 1220;
inline constexpr int kOffsetGroup = 1221;
inline constexpr int kFactorGroup = 1222;
inline constexpr int kRelPressureOffsetLabel = 1142;
inline constexpr int kAbsPressureOffsetLabel = 1145;
inline constexpr int kTemperatureOffsetLabel = 1143;
inline constexpr int kHumidityOffsetLabel = 1146;
inline constexpr int kWindDirectionOffsetLabel = 1148;
inline constexpr int kRelPressureOffset = 1127;
inline constexpr int kAbsPressureOffset = 1126;
inline constexpr int kTemperatureOffset = 1001;
inline constexpr int kHumidityOffset = 1002;
inline constexpr int kWindDirectionOffset = 1000;
inline constexpr int kRelPressureCaption = 1130;
inline constexpr int kAbsPressureCaption = 1129;
inline constexpr int kTemperatureOffsetCaption = 1128;
inline constexpr int kHumidityOffsetCaption = 1131;
inline constexpr int kWindDirectionOffsetCaption = 1134;
inline constexpr int kWindFactorLabel = 1144;
inline constexpr int kRainFactorLabel = 1149;
inline constexpr int kLightFactorLabel = 1150;
inline constexpr int kUvFactorLabel = 1147;
inline constexpr int kWindFactor = 1003;
inline constexpr int kRainFactor = 1004;
inline constexpr int kLightFactor = 1006;
inline constexpr int kUvFactor = 1008;
inline constexpr int kSaveCalibration = 1007;

// Units.
inline constexpr int kUnitGroup = 1223;
inline constexpr int kTemperatureUnitLabel = 1151;
inline constexpr int kLightUnitLabel = 1152;
inline constexpr int kWindUnitLabel = 1153;
inline constexpr int kPressureUnitLabel = 1154;
inline constexpr int kRainUnitLabel = 1155;
inline constexpr int kTemperatureUnit = 1009;
inline constexpr int kLightUnit = 1010;
inline constexpr int kWindUnit = 1011;
inline constexpr int kRainUnit = 1012;
inline constexpr int kPressureUnit = 1079;
inline constexpr int kSaveUnit = 1013;

// Telephone.
inline constexpr int kTelephoneGroup = 1229;
inline constexpr int kTelephone1 = 1031;
inline constexpr int kTelephone2 = 1032;
inline constexpr int kTelephone3 = 1033;
inline constexpr int kSmsTestId = 1185;
inline constexpr int kSmsTest = 1186;
inline constexpr int kSaveTelephone = 1027;

// GPRS.
inline constexpr int kGprsApn = 1048;
inline constexpr int kGprsUser = 1049;
inline constexpr int kGprsPassword = 1050;
inline constexpr int kSmsCheckIntervalLabel = 1187;
inline constexpr int kSmsCheckInterval = 1192;
inline constexpr int kSmsCheckIntervalUnit = 1188;
inline constexpr int kSaveGprs = 1051;

// Web server.
inline constexpr int kWebServerGroup = 1224;
inline constexpr int kWebHostLabel = 1166;
inline constexpr int kWebIdLabel = 1167;
inline constexpr int kWebPasswordLabel = 1168;
inline constexpr int kServerTypeLabel = 1169;
inline constexpr int kUploadTypeLabel = 1170;
inline constexpr int kServerPortLabel = 1171;
inline constexpr int kUploadIntervalLabel = 1159;
inline constexpr int kWebHost = 1077;  // editable combo
inline constexpr int kWebId = 1042;
inline constexpr int kWebPassword = 1043;
inline constexpr int kShowPassword = 1214;
inline constexpr int kServerType = 1045;
inline constexpr int kUploadType = 1046;
inline constexpr int kServerPort = 1044;
inline constexpr int kUploadInterval = 1019;
inline constexpr int kUploadIntervalUnit = 1190;
inline constexpr int kSaveWebServer = 1047;
inline constexpr int kHiddenServerType = 1182;

// Alarms: thresholds, their labels and unit captions, switches.
inline constexpr int kAlarmGroup = 1231;
inline constexpr int kHighAlarmGroup = 1225;
inline constexpr int kLowAlarmGroup = 1226;
inline constexpr int kHighTemperatureLabel = 1172;
inline constexpr int kHighDewPointLabel = 1173;
inline constexpr int kHighHumidityLabel = 1174;
inline constexpr int kHighWindLabel = 1175;
inline constexpr int kHighGustLabel = 1176;
inline constexpr int kHighRainRateLabel = 1177;
inline constexpr int kHighDailyRainLabel = 1178;
inline constexpr int kLowTemperatureLabel = 1179;
inline constexpr int kLowDewPointLabel = 1180;
inline constexpr int kLowHumidityLabel = 1181;
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
inline constexpr int kHighTemperatureCaption = 1059;
inline constexpr int kHighDewPointCaption = 1060;
inline constexpr int kHighWindCaption = 1118;
inline constexpr int kHighGustCaption = 1119;
inline constexpr int kDailyRainCaption = 1120;
inline constexpr int kRainRateCaption = 1121;
inline constexpr int kLowTemperatureCaption = 1093;
inline constexpr int kLowDewPointCaption = 1094;
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
inline constexpr int kCelsiusRadio = 1061;  // hidden
inline constexpr int kFahrenheitRadio = 1062;
inline constexpr int kAlarmAllLabel = 1227;
inline constexpr int kAlarmAll = 1211;
inline constexpr int kAlarmSmsIntervalLabel = 1156;
inline constexpr int kAlarmSmsInterval = 1018;
inline constexpr int kAlarmSmsIntervalUnit = 1189;
inline constexpr int kAlarmSmsIntervalNote = 1235;
inline constexpr int kSaveAlarm = 1070;

// Data logger interval, and the hidden interval controls beside it.
inline constexpr int kLoggerIntervalGroup = 1232;
inline constexpr int kLoggerIntervalLabel = 1158;
inline constexpr int kLoggerInterval = 1023;
inline constexpr int kLoggerIntervalCaption = 1193;
inline constexpr int kSaveLoggerInterval = 1026;
inline constexpr int kHiddenIntervalSteps = 1022;  // "16", "32", "48"
inline constexpr int kHiddenSecondRadio = 1024;
inline constexpr int kHiddenMinuteRadio = 1025;
inline constexpr int kHiddenIntervalUnit = 1184;  // "Second", "Minute"

// Current Weather: value texts and their labels.
inline constexpr int kCurrentWeatherGroup = 1230;
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
inline constexpr int kNowTemperatureLabel = 1101;
inline constexpr int kNowHumidityLabel = 1102;
inline constexpr int kNowAbsPressureLabel = 1124;
inline constexpr int kNowRelPressureLabel = 1125;
inline constexpr int kNowWindLabel = 1103;
inline constexpr int kNowGustLabel = 1104;
inline constexpr int kNowDewPointLabel = 1105;
inline constexpr int kNowWindDirectionLabel = 1106;
inline constexpr int kNowRainRateLabel = 1107;
inline constexpr int kNowRainDayLabel = 1108;
inline constexpr int kNowRainWeekLabel = 1109;
inline constexpr int kNowRainMonthLabel = 1110;
inline constexpr int kNowRainYearLabel = 1111;
inline constexpr int kNowLightLabel = 1112;
inline constexpr int kNowUvLabel = 1113;
inline constexpr int kNowUvIndexLabel = 1115;
inline constexpr int kNowBatteryLabel = 1133;
inline constexpr int kNowTimeLabel = 1117;
inline constexpr int kSendCurrentIntervalLabel = 1157;
inline constexpr int kSendCurrentInterval = 1191;
inline constexpr int kSendCurrentIntervalUnit = 1183;
inline constexpr int kSaveSendCurrent = 1078;

}  // namespace orvane::SettingsId
