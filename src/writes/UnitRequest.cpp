#include "UnitRequest.h"

#include "ControlText.h"
#include "Requests.h"
#include "WriteControlIds.h"

namespace orvane {

QString BuildUnitRequest(ControlWindow& window) {
    QString temperature = SelectedItemText(window, WriteId::kTemperatureUnit);
    temperature.remove(QChar(0x00B0));
    return FormatRequest(
        Request::kWriteUnit,
        {temperature, SelectedItemText(window, WriteId::kLightUnit),
         SelectedItemText(window, WriteId::kWindUnit), SelectedItemText(window, WriteId::kRainUnit),
         SelectedItemText(window, WriteId::kPressureUnit)});
}

}  // namespace orvane
