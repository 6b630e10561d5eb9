#include "UnitSelection.h"

#include "ControlWindow.h"
#include "RangeHints.h"
#include "SettingsControls.h"
#include "UnitConversion.h"

namespace orvane {

using namespace SettingsId;

UnitSelection::UnitSelection() {
    Reset();
}

int UnitSelection::ComboId(Quantity quantity) {
    switch (quantity) {
        case Quantity::Temperature:
            return kTemperatureUnit;
        case Quantity::Light:
            return kLightUnit;
        case Quantity::Wind:
            return kWindUnit;
        case Quantity::Rain:
            return kRainUnit;
        case Quantity::Pressure:
            return kPressureUnit;
    }
    return 0;
}

const QStringList& UnitSelection::Items(Quantity quantity) {
    static const QStringList temperature = {QStringLiteral("°C"), QStringLiteral("°F")};
    static const QStringList light = {"fc", "lux", "w/m2"};
    static const QStringList wind = {"km/h", "mph", "knots", "m/s", "bft"};
    static const QStringList rain = {"mm", "inch"};
    static const QStringList pressure = {"hpa", "mmHg", "inHg"};
    switch (quantity) {
        case Quantity::Temperature:
            return temperature;
        case Quantity::Light:
            return light;
        case Quantity::Wind:
            return wind;
        case Quantity::Rain:
            return rain;
        case Quantity::Pressure:
            return pressure;
    }
    return light;
}

QString UnitSelection::Token(Quantity quantity, int index) {
    const QStringList& items = Items(quantity);
    if (index < 0 || index >= items.size()) return QString();
    QString token = items[index];
    if (quantity == Quantity::Temperature) token.remove(QChar(0x00B0));
    return token;
}

QString UnitSelection::ItemTextForToken(Quantity quantity, const QString& token) {
    return quantity == Quantity::Temperature ? QChar(0x00B0) + token : token;
}

void UnitSelection::FillCombos(ControlWindow& window) {
    for (Quantity q : {Quantity::Temperature, Quantity::Light, Quantity::Wind, Quantity::Rain,
                       Quantity::Pressure}) {
        window.SetItems(ComboId(q), Items(q));
        window.SelectIndex(ComboId(q), 0);
    }
}

int UnitSelection::Slot(Quantity quantity) {
    switch (quantity) {
        case Quantity::Temperature:
            return 0;
        case Quantity::Wind:
            return 1;
        case Quantity::Rain:
            return 2;
        case Quantity::Pressure:
            return 3;
        case Quantity::Light:
            return -1;
    }
    return -1;
}

int UnitSelection::Previous(Quantity quantity) const {
    const int slot = Slot(quantity);
    return slot < 0 ? kNoUnit : m_previous[size_t(slot)].load();
}

void UnitSelection::Remember(Quantity quantity, int index) {
    const int slot = Slot(quantity);
    if (slot >= 0) m_previous[size_t(slot)] = index < 0 ? kNoUnit : index;
}

void UnitSelection::Reset() {
    for (auto& previous : m_previous) previous = 0;
}

namespace {

// Converts the governed edits from the remembered unit to `selected`, in
// the given order, and remembers `selected`. Nothing to convert from when
// the remembered unit is none, or when the selection did not change.
template <typename Convert>
void ConvertFields(ControlWindow& window, UnitSelection& units, Quantity quantity, int selected,
                   std::initializer_list<int> ids, Convert convert) {
    const int previous = units.Previous(quantity);
    if (selected == previous) return;
    if (previous != kNoUnit) {
        QList<QString> texts;
        for (int id : ids) texts.append(window.Text(id));
        int i = 0;
        for (int id : ids) window.SetText(id, convert(id, texts[i++], previous, selected));
    }
    units.Remember(quantity, selected);
}

void SetToolTips(ControlWindow& window, std::initializer_list<int> ids, const HintUnits& hint) {
    for (int id : ids) {
        const QString text = RangeToolTip(id, hint, CurrentLanguage());
        if (!text.isEmpty()) window.SetToolTip(id, text);
    }
}

}  // namespace

void TemperatureUnitChanged(ControlWindow& window, UnitSelection& units) {
    const int s = window.SelectedIndex(kTemperatureUnit);
    const QString caption = s == 0 ? QStringLiteral("°C") : QStringLiteral("°F");
    for (int id : {kHighTemperatureCaption, kHighDewPointCaption, kLowTemperatureCaption,
                   kLowDewPointCaption, kTemperatureOffsetCaption})
        window.SetText(id, caption);
    HintUnits hint;
    hint.temperature = s;
    SetToolTips(
        window,
        {kHighTemperature, kHighDewPoint, kLowTemperature, kLowDewPoint, kTemperatureOffset}, hint);
    ConvertFields(
        window, units, Quantity::Temperature, s,
        {kHighTemperature, kHighDewPoint, kLowTemperature, kLowDewPoint, kTemperatureOffset},
        [](int id, const QString& text, int from, int to) {
            return id == kTemperatureOffset ? ConvertTemperatureOffset(text, from, to)
                                            : ConvertTemperature(text, from, to);
        });
}

void WindUnitChanged(ControlWindow& window, UnitSelection& units) {
    const int s = window.SelectedIndex(kWindUnit);
    HintUnits hint;
    hint.wind = s;
    SetToolTips(window, {kHighWind, kHighGust}, hint);  // no text for "none": left as is
    const QString caption = window.ItemText(kWindUnit, s);
    window.SetText(kHighWindCaption, caption);
    window.SetText(kHighGustCaption, caption);
    ConvertFields(
        window, units, Quantity::Wind, s, {kHighWind, kHighGust},
        [](int, const QString& text, int from, int to) { return ConvertWind(text, from, to); });
}

void RainUnitChanged(ControlWindow& window, UnitSelection& units) {
    const int s = window.SelectedIndex(kRainUnit);
    const QString caption = s == 0 ? QStringLiteral("mm") : QStringLiteral("inch");
    window.SetText(kDailyRainCaption, caption);
    window.SetText(kRainRateCaption, caption);
    HintUnits hint;
    hint.rain = s;
    SetToolTips(window, {kHighDailyRain, kHighRainRate}, hint);
    ConvertFields(
        window, units, Quantity::Rain, s, {kHighDailyRain, kHighRainRate},
        [](int, const QString& text, int from, int to) { return ConvertRain(text, from, to); });
}

void PressureUnitChanged(ControlWindow& window, UnitSelection& units) {
    const int s = window.SelectedIndex(kPressureUnit);
    HintUnits hint;
    hint.pressure = s;
    SetToolTips(window, {kAbsPressureOffset, kRelPressureOffset}, hint);
    const QString caption = window.ItemText(kPressureUnit, s);
    window.SetText(kAbsPressureCaption, caption);
    window.SetText(kRelPressureCaption, caption);
    ConvertFields(
        window, units, Quantity::Pressure, s, {kAbsPressureOffset, kRelPressureOffset},
        [](int, const QString& text, int from, int to) { return ConvertPressure(text, from, to); });
}

void UnitChanged(Quantity quantity, ControlWindow& window, UnitSelection& units) {
    switch (quantity) {
        case Quantity::Temperature:
            TemperatureUnitChanged(window, units);
            break;
        case Quantity::Wind:
            WindUnitChanged(window, units);
            break;
        case Quantity::Rain:
            RainUnitChanged(window, units);
            break;
        case Quantity::Pressure:
            PressureUnitChanged(window, units);
            break;
        case Quantity::Light:
            break;
    }
}

}  // namespace orvane
