#pragma once

#include <QString>
#include <functional>

#include "BusyScope.h"
#include "Clock.h"
#include "ControlWindow.h"
#include "ExchangeState.h"
#include "Transactor.h"

namespace orvane {

// What the settings window lends the writes: its controls, the request
// connection, the shared request marks, the clock, and the few procedures
// of the window that a factory reset runs.
struct WriteContext {
    ControlWindow& window;
    Transactor& transactor;
    ExchangeState& state;
    const Clock& clock;

    // Busy cursor and no other input while requests are exchanged.
    BusyHooks busy;

    // The [Unit] Stage value of Main.ini in the data folder, read anew each
    // time (empty when missing).
    std::function<QString()> unitStage;
    // The unit-change procedure of a unit combo (1009, 1011, 1012 or 1079):
    // relabels, sets the tooltips and converts the shown values.
    std::function<void(int unitCombo)> unitChanged;
    // The settings read of the Read button.
    std::function<void()> readSettings;
};

}  // namespace orvane
