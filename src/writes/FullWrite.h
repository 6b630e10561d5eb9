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

// Save All (kSaveAll): asks for confirmation, then sends every group's
// request, empty ones included, and shows one outcome, naming the groups a
// builder refused. PendingRequest is 7 meanwhile. Re-enables Read and Save
// All. The two steps, for a window that sends off its GUI thread:
// ConfirmSaveAll (user-interface thread) waits once for an outstanding
// current-readings reply and asks; SendSaveAll does the rest (any thread;
// progress and stop through the context). SaveAll runs both.
bool ConfirmSaveAll(WriteContext& context);
WriteResult SendSaveAll(WriteContext& context);
WriteResult SaveAll(WriteContext& context);

// Puts the factory configuration into the controls, in the units that
// `stage` ("EU" or anything else) chooses, and runs the unit, interval unit
// and Alarm All handlers. Any thread.
void ApplyFactoryConfiguration(WriteContext& context, const QString& stage);

// Reset (kReset): asks for confirmation, applies the factory
// configuration with the [Unit] Stage of Main.ini, sends it; when the
// station confirms, clears its max/min records and reads the settings back.
// In two steps like Save All: PrepareFactoryReset (user-interface thread)
// asks and fills the controls, SendFactoryReset (any thread) sends, shows
// the outcome and reads back. FactoryReset runs both.
bool PrepareFactoryReset(WriteContext& context);
WriteResult SendFactoryReset(WriteContext& context);
WriteResult FactoryReset(WriteContext& context);

}  // namespace orvane
