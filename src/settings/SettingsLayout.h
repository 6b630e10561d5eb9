#pragma once

#include "ControlLayout.h"

namespace orvane {

// Every control of the settings window with its kind. The real window
// checks its widgets against this table as it lays them out; tests build
// their in-memory settings window from it.
ControlLayout SettingsControlLayout();

}  // namespace orvane
