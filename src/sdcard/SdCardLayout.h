#pragma once

#include "ControlLayout.h"
#include "MemoryControlWindow.h"

namespace orvane {

// Every control of the SD-card window with its kind. The real window checks
// its widgets against this table; the headless tool and the tests build
// their in-memory SD-card window from it.
ControlLayout SdCardControlLayout();

// The SD-card window in memory, with exactly the real window's controls.
class MemorySdCardWindow : public MemoryControlWindow {
public:
    MemorySdCardWindow() : MemoryControlWindow(SdCardControlLayout()) {}
};

}  // namespace orvane
