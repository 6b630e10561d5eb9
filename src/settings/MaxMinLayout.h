#pragma once

#include "ControlLayout.h"
#include "MemoryControlWindow.h"

namespace orvane {

// Every control of the max/min window with its kind. The real window checks
// its widgets against this table; tests build their in-memory max/min
// window from it.
ControlLayout MaxMinControlLayout();

// The max/min window in memory, with exactly the real window's controls.
class MemoryMaxMinWindow : public MemoryControlWindow {
public:
    MemoryMaxMinWindow() : MemoryControlWindow(MaxMinControlLayout()) {}
};

}  // namespace orvane
