#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QtGlobal>

namespace orvane {

// Every text the application sends to the station, byte for byte, and the
// tags of the replies. Whether a request ends with "\r\n" is part of it.
// The write templates use printf placeholders (%s text, %d integer, %02d two
// digits, %0.1f/%0.2f fixed point); the writers fill them.
namespace Request {

// Tagged reads, sent with SendText (PendingRequest code in the comment).
inline constexpr const char* kReadSettings = "Read&Time&http 1.0\r\n";       // 1
inline constexpr const char* kReadNowData = "Read&Now Data&http 1.0";        // 2
inline constexpr const char* kReadFile = "read&File=%s&Start=%d&http 1.0";   // 3
inline constexpr const char* kReadFileSize = "Read&File Size=%s&http 1.0";   // 4
inline constexpr const char* kReadSdCardList = "read&SDCard file&http 1.0";  // 5
inline constexpr const char* kReadMaxMin = "Read&Max&Min&http 1.0";          // 6

// Writes, sent with Transact.
inline constexpr const char* kWriteTime = "Write&Time=%d&%d-%02d-%02d&%02d:%02d:%02d&%d&http 1.0";
inline constexpr const char* kWriteTimeZone = "Write&time zone=%s&http 1.0";
inline constexpr const char* kWriteDaylight =
    "Write&Daylight<DST=%s&start time=%02d:%d:%02d&end time=%02d:%d:%02d>&http 1.0";
inline constexpr const char* kWriteOffsetWindDirTemperatureHumidity =
    "Write&Offset<Wind dir=%d&Temperature=%s&Humidity=%d>&http 1.0";
inline constexpr const char* kWriteOffsetPressure =
    "Write&Offset<Abs Pressure=%s&Rel Pressure=%s>&http 1.0";
inline constexpr const char* kWriteOffsetWindRain =
    "Write&Offset<Wind=%0.2f&Rain fall=%0.2f>&http 1.0";
inline constexpr const char* kWriteOffsetLightUv = "Write&Offset<Light=%0.2f&UV=%0.2f>&http 1.0";
inline constexpr const char* kWriteUnit =
    "Write&Unit<Temperature=%s&Light=%s&Wind=%s&Rainfall=%s&Pressure=%s>&http 1.0";
inline constexpr const char* kWriteAlarmHighTemperature =
    "Write&Alarm high<Temperature=%s&Dew Point=%s&Humidity=%d>&http 1.0\r\n";
inline constexpr const char* kWriteAlarmHighWind =
    "Write&Alarm high<Wind=%0.1f&Gust=%0.1f>&http 1.0\r\n";
inline constexpr const char* kWriteAlarmHighRain =
    "Write&Alarm high<Rain Rate=%s&Daily Rain=%s>&http 1.0\r\n";
inline constexpr const char* kWriteAlarmLowTemperature =
    "Write&Alarm low<Temperature=%s&Dew Point=%s&Humidity=%d>&http 1.0\r\n";
inline constexpr const char* kWriteAlarmSwitch = "Write&Alarm switch<%s>&http 1.0";
inline constexpr const char* kWriteHighSwitchTemperature =
    "Write&high switch<Temperature=%s&Dew Point=%s&Humidity=%s>&http 1.0\r\n";
inline constexpr const char* kWriteHighSwitchWindRain =
    "Write&high switch<Wind=%s&Gust=%s&Rain Rate=%s&Daily Rain=%s>&http 1.0\r\n";
inline constexpr const char* kWriteLowSwitchTemperature =
    "Write&low switch<Temperature=%s&Dew Point=%s&Humidity=%s>&http 1.0\r\n";
inline constexpr const char* kWriteTelephone = "Write&Telephone<1=%s&2=%s&3=%s>&http 1.0";
inline constexpr const char* kWriteSmsTestSend = "Write&SMS TEST<Send=%s>&http 1.0\r\n";
inline constexpr const char* kWriteSmsTestId = "Write&SMS TEST<ID=%s>&http 1.0\r\n";
inline constexpr const char* kWriteWeatherServerWeb = "Write&Weather server<Web=%s>&http 1.0";
inline constexpr const char* kWriteWeatherServerId =
    "Write&Weather server<ID=%s&Password=%s>&http 1.0";
inline constexpr const char* kWriteWeatherServerType =
    "Write&Weather server<Server type=%s&Upload type=%s&Port=%s>&http 1.0";
inline constexpr const char* kWriteGprs = "Write&GPRS<APN=%s&User=%s&Password=%s>&http 1.0";
inline constexpr const char* kWriteIntervalSave = "Write&Interval<Save=%s>&http 1.0";
inline constexpr const char* kWriteIntervalUpdate = "Write&Interval<Update=%s>&http 1.0";
inline constexpr const char* kWriteIntervalReceiveSms = "Write&Interval<Receive SMS=%s>&http 1.0";
inline constexpr const char* kWriteIntervalAlarm = "Write&Interval<Alarm=%s>&http 1.0";
inline constexpr const char* kWriteIntervalSend = "Write&Interval<Send=%s>&http 1.0";
inline constexpr const char* kWriteResetMaxMin = "Write&Reset<Max&Min>&http 1.0\r\n";
inline constexpr const char* kWriteDeleteFile = "Write&Delet file=%s&http 1.0";

}  // namespace Request

// Reply tags and markers.
namespace Reply {
inline constexpr const char* kSettingTag = "Setting:";
inline constexpr const char* kNowDataTag = "Now Data:";
inline constexpr const char* kReadFileTag = "Read File:";
inline constexpr const char* kFileSizeTag = "File Size:";
inline constexpr const char* kSdCardFileTag = "SDcard file:";
inline constexpr const char* kMaxMinTag = "MAX MIN:";
inline constexpr const char* kSettingEnd = "\r\n@";
inline constexpr const char* kEnd = "@";
inline constexpr const char* kFileSizeMarker = "File<size=";
inline constexpr const char* kWriteSuccess = "Write success";
inline constexpr const char* kDeleteSuccess = "success";
inline constexpr const char* kUnconnected = "Unconnected";  // Transact without a station
}  // namespace Reply

// Builders of the requests that carry values from the link's consumers.
// Pure functions; any thread.
QString BuildFileSizeRequest(const QString& fileName);
QString BuildFileReadRequest(const QString& fileName, qint64 startOffset);
QString BuildDeleteFileRequest(const QString& fileName);

// Fills a template's %s, %d, %02d, %0.1f and %0.2f placeholders from `args`
// in order (QString for %s, integers for %d/%02d, doubles for the fixed
// formats; "%%" is a percent sign). The numbers are written in the C locale.
QString FormatRequest(const char* templ, const QList<QVariant>& args);

}  // namespace orvane
