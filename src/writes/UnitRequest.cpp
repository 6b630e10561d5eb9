#include "UnitRequest.h"

#include "ControlText.h"
#include "WriteControlIds.h"

namespace orvane {

QString BuildUnitRequest(ControlWindow& window) {
    QString temperature = SelectedItemText(window, WriteId::kTemperatureUnit);
    temperature.remove(QChar(0x00B0));
    return QStringLiteral(
               "Write&Unit<Temperature=%1&Light=%2&Wind=%3&Rainfall=%4&Pressure=%5>&http 1.0")
        .arg(temperature, SelectedItemText(window, WriteId::kLightUnit),
             SelectedItemText(window, WriteId::kWindUnit),
             SelectedItemText(window, WriteId::kRainUnit),
             SelectedItemText(window, WriteId::kPressureUnit));
}

}  // namespace orvane
