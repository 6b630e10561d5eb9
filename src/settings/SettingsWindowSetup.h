#pragma once

#include "ControlWindow.h"
#include "StringTable.h"

namespace orvane {

class UnitSelection;

// The settings window as it opens, before any station is asked: what the
// real window runs on its widgets and what tests and the command-line tool
// run on an in-memory window, so all of them start from the same controls.
// Any thread (every step is a window operation).

// Captions of the labels, groups and buttons from the string table.
void ApplyCaptions(ControlWindow& window, UiLanguage language);
// The interval unit combos, Alarm All and the hidden interval unit, with
// their opening selections; the logger caption "Minute".
void FillIntervalCombos(ControlWindow& window, UiLanguage language);
// Range tooltips of the hint edits for the opening units.
void AttachOpeningToolTips(ControlWindow& window, UiLanguage language);
// Default texts, combo items and selections of every setting, and the
// controls that start disabled (server type, upload type, port).
void ApplyOpeningDefaults(ControlWindow& window);

// All of the above in the window's start-up order, with the remembered
// units reset and the clock pickers disabled.
void ApplyOpeningState(ControlWindow& window, UiLanguage language, UnitSelection& units);

}  // namespace orvane
