#pragma once

#include "ControlLayout.h"
#include "MemoryControlWindow.h"

namespace orvane {

// Every control of the settings window with its kind. The real window
// checks its widgets against this table as it lays them out; tests build
// their in-memory settings window from it.
ControlLayout SettingsControlLayout();

// The settings window in memory, with exactly the real window's controls.
class MemorySettingsWindow : public MemoryControlWindow {
public:
    MemorySettingsWindow() : MemoryControlWindow(SettingsControlLayout()) {}
};

}  // namespace orvane
