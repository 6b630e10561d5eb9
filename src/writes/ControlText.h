#pragma once

#include <QString>

#include "ControlWindow.h"

namespace orvane {

// Text of the selected item of a combo box; empty when none is selected.
inline QString SelectedItemText(const ControlWindow& window, int id) {
    return window.ItemText(id, window.SelectedIndex(id));
}

}  // namespace orvane
