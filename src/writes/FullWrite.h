#pragma once

#include <QString>
#include <QStringList>

#include "WriteContext.h"
#include "WriteTransaction.h"

namespace orvane {

// Which order a full write sends its requests in: the factory reset sends
// the alarm switch before the SMS ID, Save All after it.
enum class FullWriteOrder { SaveAll, FactoryReset };

// The 27 request texts of a full write, every builder run in order; a
// refused entry stays empty (its builder has shown why). Any thread.
QStringList FullRequestList(ControlWindow& window, const Clock& clock,
                            FullWriteOrder order = FullWriteOrder::SaveAll);

// The captions of the window groups whose entries in a full write's request
// list are empty (refused by their builder), each once, in list order, in
// the current user-interface language. Any thread.
QStringList RefusedGroups(const QStringList& requests,
                          FullWriteOrder order = FullWriteOrder::SaveAll);

// The one outcome text of a full write: the plain outcome, except that a
// success with refused groups says which groups were not saved.
QString FullWriteOutcomeText(WriteOutcome outcome, const QStringList& refusedGroups);

// Save All (control 1): asks for confirmation, then sends every group's
// request, empty ones included, and shows one outcome, naming the groups a
// builder refused. PendingRequest is 7
// meanwhile. Re-enables Read and Save All. User-interface thread.
WriteResult SaveAll(WriteContext& context);

// Puts the factory configuration into the controls, in the units that
// `stage` ("EU" or anything else) chooses, and runs the unit, interval unit
// and Alarm All handlers. Any thread.
void ApplyFactoryConfiguration(WriteContext& context, const QString& stage);

// Reset (control 1016): asks for confirmation, applies the factory
// configuration with the [Unit] Stage of Main.ini, sends it; when the
// station confirms, clears its max/min records and reads the settings back.
// User-interface thread.
WriteResult FactoryReset(WriteContext& context);

}  // namespace orvane
