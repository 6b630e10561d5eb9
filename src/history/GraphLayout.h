#pragma once

#include "ControlLayout.h"
#include "MemoryControlWindow.h"

namespace orvane {

// Every control of the graph window with its kind. The real window checks
// its widgets against this table; tests build their in-memory graph window
// from it.
ControlLayout GraphControlLayout();

// The graph window in memory, with exactly the real window's controls.
class MemoryGraphWindow : public MemoryControlWindow {
public:
    MemoryGraphWindow() : MemoryControlWindow(GraphControlLayout()) {}
};

}  // namespace orvane
