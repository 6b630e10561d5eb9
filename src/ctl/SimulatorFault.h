#pragma once

#include <QString>
#include <memory>

#include "HidBackend.h"

namespace orvane {
class StationSimulator;
}  // namespace orvane

namespace orvane::ctl {

// The misbehaviour a test asks of the simulated station
// (ORVANECTL_SIMULATOR_FAULT):
//   silent                     requests are taken and never answered
//   reject-writes              every write is refused
//   unplugged                  no station on the bus from the start
//   unplug-before:KIND[:NTH]   the station goes away as the NTH request of
//                              KIND (default the first) starts to go out,
//                              so that request cannot be sent
//   unplug-during:KIND[:REPORTS[:NTH]]
//                              the station goes away once the receive
//                              connection has read REPORTS reports (default
//                              2) since the NTH request of KIND went out, or
//                              as the next request starts, whichever is first
//   power-loss-during:file[:REPORTS[:NTH]]
//                              the same moment as unplug-during, but the
//                              power fails: the tool ends as if killed
//   power-loss-during:archive[:NTH]
//   power-loss-during:history  the power fails half-way through the NTH
//                              archive transaction of a sync, or through its
//                              import into the history (PowerFailsDuring)
// KIND: settings, nowdata, maxmin, list, size, file, write, delete.
//
// The unplugs follow the traffic itself, not a clock, so a test hits the
// same moment on every run however loaded the machine is. Returns the bus to
// talk through: null for the simulator itself, else a bus in front of it.
// Throws CtlError(Usage) for a fault it does not know, so a mistyped fault
// never passes for a station that behaves. Before any handle is opened.
std::unique_ptr<HidBackend> ApplySimulatorFault(StationSimulator& simulator, const QString& fault);

// Whether `fault` cuts the power half-way through the import `step`
// ("archive", counted from 1 in a run, or "history").
bool PowerFailsDuring(const QString& fault, const QString& step, int nth = 1);
// Ends the process at once, as a power failure would.
[[noreturn]] void CutPower();

}  // namespace orvane::ctl
