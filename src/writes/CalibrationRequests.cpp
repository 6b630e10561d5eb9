#include "CalibrationRequests.h"

#include <optional>

#include "Readings.h"
#include "Requests.h"
#include "SettingsControls.h"
#include "UnitConversion.h"

namespace orvane {

namespace {

QString Refuse(ControlWindow& window, int field, const QString& message) {
    window.MessageBox(message);
    window.SetFocus(field);
    return QString();
}

bool Within(double value, double low, double high) {
    return value >= low && value <= high;
}

// A factor field that must lie in [low, high]; nullopt after a refusal.
std::optional<double> Factor(ControlWindow& window, int field, double low, double high,
                             const char* message) {
    const double value = ReadDecimal(window.Text(field));
    if (!Within(value, low, high)) {
        Refuse(window, field, QString::fromUtf8(message));
        return std::nullopt;
    }
    return value;
}

const char* PressureMessage(bool absolute, int unit) {
    switch (unit) {
        case 0:
            return absolute ? "Offest absBaro:±800hpa" : "Offest relBaro:±800hpa";
        case 1:
            return absolute ? "Offest absBaro:±600mmHg" : "Offest relBaro:±600mmHg";
        default:
            return absolute ? "Offest absBaro:±23.6inHg" : "Offest relBaro:±23.6inHg";
    }
}

}  // namespace

QString BuildOffsetRequest(ControlWindow& window) {
    const QString temperatureText = window.Text(SettingsId::kTemperatureOffset);
    const int unit = window.SelectedIndex(SettingsId::kTemperatureUnit);

    const double t = ReadDecimal(temperatureText);
    if (unit == 0 ? !Within(t, -6.0, 6.0) : !Within(t, -10.8, 10.8))
        return Refuse(window, SettingsId::kTemperatureOffset,
                      QString::fromUtf8(unit == 0 ? "Offest Temperature:±6.0C"
                                                  : "Offest Temperature:±10.8°F"));
    const int h = ReadInteger(window.Text(SettingsId::kHumidityOffset));
    if (h > 20 || h < -20)
        return Refuse(window, SettingsId::kHumidityOffset,
                      QString::fromUtf8("Offest Humidity:±20%"));
    const int w = ReadInteger(window.Text(SettingsId::kWindDirectionOffset));
    if (w > 180 || w < -180)
        return Refuse(window, SettingsId::kWindDirectionOffset,
                      QString::fromUtf8("Offest Wind dir:±180"));

    return FormatRequest(Request::kWriteOffsetWindDirTemperatureHumidity,
                         {w, TemperatureOffsetToBase(temperatureText, unit), h});
}

QString BuildPressureOffsetRequest(ControlWindow& window) {
    const int unit = window.SelectedIndex(SettingsId::kPressureUnit);
    // The one-decimal hPa text is both tested and sent.
    const QString absolute = PressureToBase(window.Text(SettingsId::kAbsPressureOffset), unit);
    const QString relative = PressureToBase(window.Text(SettingsId::kRelPressureOffset), unit);
    const auto outOfRange = [](const QString& hpa) {
        const int whole = ReadInteger(hpa);
        return whole > 800 || whole < -800;
    };
    if (outOfRange(absolute))
        return Refuse(window, SettingsId::kAbsPressureOffset,
                      QString::fromUtf8(PressureMessage(true, unit)));
    if (outOfRange(relative))
        return Refuse(window, SettingsId::kRelPressureOffset,
                      QString::fromUtf8(PressureMessage(false, unit)));
    return FormatRequest(Request::kWriteOffsetPressure, {absolute, relative});
}

QString BuildWindRainFactorRequest(ControlWindow& window) {
    const auto wind =
        Factor(window, SettingsId::kWindFactor, 0.1, 5.0, "Offest Wind: 0.10 to 5.00");
    if (!wind) return QString();
    const auto rain =
        Factor(window, SettingsId::kRainFactor, 0.1, 5.0, "Offest Rain fall: 0.10 to 5.00");
    if (!rain) return QString();
    return FormatRequest(Request::kWriteOffsetWindRain, {*wind, *rain});
}

QString BuildLightUvFactorRequest(ControlWindow& window) {
    const auto light =
        Factor(window, SettingsId::kLightFactor, 0.1, 5.0, "Offest Light: 0.10 to 5.00");
    if (!light) return QString();
    const auto uv = Factor(window, SettingsId::kUvFactor, 0.05, 10.0, "Offest UV: 0.05 to 10.00");
    if (!uv) return QString();
    return FormatRequest(Request::kWriteOffsetLightUv, {*light, *uv});
}

}  // namespace orvane
