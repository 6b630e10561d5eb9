#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <atomic>

namespace orvane {

class ControlWindow;

enum class Quantity { Temperature, Light, Wind, Rain, Pressure };

// "No unit": a combo without selection, or a received token that matched
// no item.
inline constexpr int kNoUnit = -1;

// The five display units: their combo, item lists and protocol tokens, and
// for temperature, wind, rain and pressure the remembered previous
// selection, from which the next unit change converts the shown values.
//
// The remembered indices are atomics: the settings reply sets them on the
// receive thread, the unit-change procedures on the GUI thread.
class UnitSelection {
public:
    UnitSelection();

    // The static members are pure; any thread.
    static int ComboId(Quantity quantity);
    // Items in index order: "°C"/"°F", "fc"/"lux"/"w/m2",
    // "km/h"/"mph"/"knots"/"m/s"/"bft", "mm"/"inch", "hpa"/"mmHg"/"inHg".
    static const QStringList& Items(Quantity quantity);
    // The word of requests and replies: the item text, without "°" for
    // temperature. Empty for an index outside the list.
    static QString Token(Quantity quantity, int index);
    // The item text a received token selects ("°" + token for temperature).
    static QString ItemTextForToken(Quantity quantity, const QString& token);

    // Fills the five unit combos and selects their first items. Any thread.
    static void FillCombos(ControlWindow& window);

    // Remembered previous index; light has none (always kNoUnit, and
    // Remember ignores it).
    int Previous(Quantity quantity) const;
    void Remember(Quantity quantity, int index);
    // As when the window opens: every remembered index 0.
    void Reset();

private:
    static int Slot(Quantity quantity);
    std::array<std::atomic<int>, 4> m_previous;
};

// The unit-change procedures, run when a unit combo's selection changes (by
// the user, or after a settings reply): unit captions, range tooltips, and
// when the new selection differs from the remembered one, conversion of the
// governed edits and remembering the new selection. From a remembered
// "none" nothing is converted; the new selection is only remembered.
// Light has no procedure. Any thread (window calls are synchronous).
void TemperatureUnitChanged(ControlWindow& window, UnitSelection& units);
void WindUnitChanged(ControlWindow& window, UnitSelection& units);
void RainUnitChanged(ControlWindow& window, UnitSelection& units);
void PressureUnitChanged(ControlWindow& window, UnitSelection& units);
// Dispatch by quantity; does nothing for light.
void UnitChanged(Quantity quantity, ControlWindow& window, UnitSelection& units);

}  // namespace orvane
