#include "UnitRequest.h"

#include "ControlText.h"
#include "Requests.h"
#include "SettingsControls.h"

namespace orvane {

QString BuildUnitRequest(ControlWindow& window) {
    QString temperature = SelectedItemText(window, SettingsId::kTemperatureUnit);
    temperature.remove(QChar(0x00B0));
    return FormatRequest(Request::kWriteUnit,
                         {temperature, SelectedItemText(window, SettingsId::kLightUnit),
                          SelectedItemText(window, SettingsId::kWindUnit),
                          SelectedItemText(window, SettingsId::kRainUnit),
                          SelectedItemText(window, SettingsId::kPressureUnit)});
}

}  // namespace orvane
