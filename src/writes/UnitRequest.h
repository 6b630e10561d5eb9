#pragma once

#include <QString>

#include "ControlWindow.h"

namespace orvane {

// The display units the station uses: the selected item texts of the five
// unit combos, the temperature without its "°". Never refuses. Any thread.
QString BuildUnitRequest(ControlWindow& window);

}  // namespace orvane
