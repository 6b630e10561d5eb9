#pragma once

#include <QString>
#include <functional>
#include <stop_token>

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
    // The unit-change procedure of a unit combo (temperature, wind, rain or pressure):
    // relabels, sets the tooltips and converts the shown values.
    std::function<void(int unitCombo)> unitChanged;
    // The settings read of the Read button.
    std::function<void()> readSettings;

    // Full writes: told after each request how many went out of how many
    // (27 for Save All, 28 for the reset), on the thread that sends.
    std::function<void(int sent, int total)> progress = {};
    // A full write sends nothing more once a stop is requested (the window
    // closes) and then shows no outcome.
    std::stop_token stop = {};
};

}  // namespace orvane
