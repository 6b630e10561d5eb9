// Any text and any unit indices through the conversions and the unit-change
// procedures: never a crash, an out-of-bounds read or an empty result, and
// the Beaufort tables stay each other's inverse.
#include <cstddef>
#include <cstdint>

#include "SettingsLayout.h"
#include "FuzzCheck.h"
#include "Readings.h"
#include "SettingsTestSupport.h"
#include "UnitConversion.h"
#include "UnitSelection.h"

using namespace orvane;
using namespace orvane::SettingsId;

using orvane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // Indices -1 (no selection) to 5 (beyond every list).
    const int from = int(data[0] % 7) - 1;
    const int to = int(data[1] % 7) - 1;
    const Quantity quantity = Quantity(data[2] % 5);
    const QString text =
        QString::fromLatin1(reinterpret_cast<const char*>(data + 3), qsizetype(size - 3));

    for (const QString& out :
         {ConvertTemperature(text, from, to), ConvertTemperatureOffset(text, from, to),
          ConvertWind(text, from, to), ConvertRain(text, from, to),
          ConvertPressure(text, from, to)})
        Require(!out.isEmpty());

    const int force = ReadInteger(text);
    const QString expected =
        force >= 0 && force <= 11 ? QString::number(force) : QStringLiteral("12");
    Require(SpeedToBeaufort(ReadDecimal(BeaufortToSpeed(text))) == expected);
    const QString beaufort = SpeedToBeaufort(ReadDecimal(text));
    Require(ReadInteger(beaufort) >= 0 && ReadInteger(beaufort) <= 12);

    MemorySettingsWindow window;
    test::PrepareSettingsWindow(window);
    UnitSelection units;
    units.Remember(quantity, from);
    for (int id : {kHighTemperature, kHighDewPoint, kLowTemperature, kLowDewPoint,
                   kTemperatureOffset, kHighWind, kHighGust, kHighDailyRain, kHighRainRate,
                   kAbsPressureOffset, kRelPressureOffset})
        window.SetText(id, text);
    window.SelectIndex(UnitSelection::ComboId(quantity), to);
    UnitChanged(quantity, window, units);
    if (quantity != Quantity::Light)
        Require(units.Previous(quantity) == window.SelectedIndex(UnitSelection::ComboId(quantity)));
    return 0;
}
