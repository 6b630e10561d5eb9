#pragma once

#include "AlarmRequests.h"
#include "CalibrationRequests.h"
#include "Clock.h"
#include "CommunicationRequests.h"
#include "IntervalRequests.h"
#include "TimeRequests.h"
#include "UnitRequest.h"

namespace orvane {

// One shape for every builder so that the write tables can list them; only
// the time request looks at the clock.
using RequestBuilder = QString (*)(ControlWindow& window, const Clock& clock);

template <QString (*Build)(ControlWindow&)>
QString WithoutClock(ControlWindow& window, const Clock&) {
    return Build(window);
}

}  // namespace orvane
