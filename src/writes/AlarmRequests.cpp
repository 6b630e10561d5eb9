#include "AlarmRequests.h"

#include "Readings.h"
#include "Requests.h"
#include "SettingsControls.h"
#include "UnitConversion.h"

namespace orvane {

namespace {

constexpr int kFahrenheit = 1;
constexpr int kInch = 1;

QString Refuse(ControlWindow& window, int field, const char* message) {
    window.MessageBox(QString::fromUtf8(message));
    window.SetFocus(field);
    return QString();
}

// One group of temperature, dew point and humidity thresholds.
struct TemperatureGroup {
    int temperature, dewPoint, humidity;
    const char* celsiusMessage;  // temperature and dew point alike
    const char* fahrenheitTemperatureMessage;
    const char* fahrenheitDewPointMessage;
    const char* humidityMessage;
    const char* request;
};

const TemperatureGroup kHigh{SettingsId::kHighTemperature,
                             SettingsId::kHighDewPoint,
                             SettingsId::kHighHumidity,
                             "Hight Alarm Temperature:-40.0°C to 60.0°C ",
                             "Hight Alarm Temperature:-40°F to 140°F",
                             "Hight Alarm Temperature:-40°F to 140°F ",
                             "Hight Alarm Humidity:1 to 99",
                             Request::kWriteAlarmHighTemperature};

const TemperatureGroup kLow{SettingsId::kLowTemperature,
                            SettingsId::kLowDewPoint,
                            SettingsId::kLowHumidity,
                            "Low Alarm Temperature:-40.0°C to 60.0°C ",
                            "Low Alarm Temperature:-40°F to 140°F",
                            "Low Alarm Temperature:-40°F to 140°F ",
                            "Low Alarm Humidity:1 to 99",
                            Request::kWriteAlarmLowTemperature};

QString BuildTemperatureGroup(ControlWindow& window, const TemperatureGroup& group) {
    const QString temperature = window.Text(group.temperature);
    const QString dewPoint = window.Text(group.dewPoint);
    const QString humidityText = window.Text(group.humidity);
    const int unit = window.SelectedIndex(SettingsId::kTemperatureUnit);
    const bool fahrenheit = unit == kFahrenheit;
    const int highest = fahrenheit ? 140 : 60;
    const auto outOfRange = [highest](const QString& text) {
        const int whole = ReadInteger(text);
        return whole < -40 || whole > highest;
    };

    if (outOfRange(temperature))
        return Refuse(window, group.temperature,
                      fahrenheit ? group.fahrenheitTemperatureMessage : group.celsiusMessage);
    if (outOfRange(dewPoint))
        return Refuse(window, group.dewPoint,
                      fahrenheit ? group.fahrenheitDewPointMessage : group.celsiusMessage);
    const int humidity = ReadInteger(humidityText);
    if (humidity < 1 || humidity > 99) return Refuse(window, group.humidity, group.humidityMessage);

    return FormatRequest(group.request, {TemperatureToBase(temperature, unit),
                                         TemperatureToBase(dewPoint, unit), humidity});
}

const char* WindMessage(bool gust, int unit) {
    switch (unit) {
        case 0:
            return gust ? "Hight Alarm Gust:0.0 to 180.0km/h" : "Hight Alarm Wind:0.0 to 180.0km/h";
        case 1:
            return gust ? "Hight Alarm Gust:0.0 to 111.8mph" : "Hight Alarm Wind:0.0 to 111.8mph";
        case 2:
            return gust ? "Hight Alarm Gust:0.0 to 97.2knot" : "Hight Alarm Wind:0.0 to 97.2knot";
        case 4:
            return gust ? "Hight Alarm Gust:0 to 12bft" : "Hight Alarm Wind:0 to 12bft";
        default:  // m/s, and the texts of a combo without selection read as m/s
            return gust ? "Hight Alarm Gust:0.0 to 50.0m/s" : "Hight Alarm Wind:0.0 to 50.0m/s";
    }
}

QString SwitchState(ControlWindow& window, int id) {
    return window.IsChecked(id) ? QStringLiteral("On") : QStringLiteral("Off");
}

}  // namespace

QString BuildHighTempAlarmRequest(ControlWindow& window) {
    return BuildTemperatureGroup(window, kHigh);
}

QString BuildLowTempAlarmRequest(ControlWindow& window) {
    return BuildTemperatureGroup(window, kLow);
}

QString BuildHighWindAlarmRequest(ControlWindow& window) {
    const int unit = window.SelectedIndex(SettingsId::kWindUnit);
    const QString wind = WindToBase(window.Text(SettingsId::kHighWind), unit);
    const QString gust = WindToBase(window.Text(SettingsId::kHighGust), unit);
    const auto outOfRange = [](const QString& metresPerSecond) {
        const int whole = ReadInteger(metresPerSecond);
        return whole < 0 || whole > 50;
    };
    if (outOfRange(wind)) return Refuse(window, SettingsId::kHighWind, WindMessage(false, unit));
    if (outOfRange(gust)) return Refuse(window, SettingsId::kHighGust, WindMessage(true, unit));
    return FormatRequest(Request::kWriteAlarmHighWind, {ReadDecimal(wind), ReadDecimal(gust)});
}

QString BuildHighRainAlarmRequest(ControlWindow& window) {
    const int unit = window.SelectedIndex(SettingsId::kRainUnit);
    const QString daily = RainToBase(window.Text(SettingsId::kHighDailyRain), unit);
    const QString rate = RainToBase(window.Text(SettingsId::kHighRainRate), unit);
    const char* message =
        unit == kInch ? "Hight Alarm Rain:0.0 to 39.33inch" : "Hight Alarm Rain:0.0 to 999.0mm";
    const auto outOfRange = [](const QString& millimetres) {
        const int whole = ReadInteger(millimetres);
        return whole < 0 || whole > 999;
    };
    if (outOfRange(daily)) return Refuse(window, SettingsId::kHighDailyRain, message);
    if (outOfRange(rate)) return Refuse(window, SettingsId::kHighRainRate, message);
    return FormatRequest(Request::kWriteAlarmHighRain, {rate, daily});
}

QString BuildHighSwitchTempRequest(ControlWindow& window) {
    return FormatRequest(Request::kWriteHighSwitchTemperature,
                         {SwitchState(window, SettingsId::kHighTemperatureSwitch),
                          SwitchState(window, SettingsId::kHighDewPointSwitch),
                          SwitchState(window, SettingsId::kHighHumiditySwitch)});
}

QString BuildHighSwitchWindRequest(ControlWindow& window) {
    return FormatRequest(Request::kWriteHighSwitchWindRain,
                         {SwitchState(window, SettingsId::kHighWindSwitch),
                          SwitchState(window, SettingsId::kHighGustSwitch),
                          SwitchState(window, SettingsId::kHighRainRateSwitch),
                          SwitchState(window, SettingsId::kHighDailyRainSwitch)});
}

QString BuildLowSwitchRequest(ControlWindow& window) {
    return FormatRequest(Request::kWriteLowSwitchTemperature,
                         {SwitchState(window, SettingsId::kLowTemperatureSwitch),
                          SwitchState(window, SettingsId::kLowDewPointSwitch),
                          SwitchState(window, SettingsId::kLowHumiditySwitch)});
}

QString BuildAlarmSwitchRequest(ControlWindow& window) {
    const QString all = window.SelectedIndex(SettingsId::kAlarmAll) == 0
                            ? QStringLiteral("Enable")
                            : QStringLiteral("Disable");
    return FormatRequest(Request::kWriteAlarmSwitch, {all});
}

}  // namespace orvane
