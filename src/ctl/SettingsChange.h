#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "Clock.h"
#include "SettingNames.h"
#include "StationSettings.h"

namespace orvane {
class MemoryControlWindow;
class UnitSelection;
}  // namespace orvane

namespace orvane::ctl {

// The Save button (group) whose requests carry setting `number` (1..57).
int GroupOf(int number);
// A short English name of a group's Save button, for messages and JSON.
QString GroupName(int saveButton);

struct SettingDifference {
    int number = 0;
    QString held;    // what the station holds
    QString wanted;  // what the file or command line asks for
};

// A change of the station's settings: the whole wanted record, what differs
// from the held one, and the groups to send, in the window's Save order.
struct SettingsChange {
    StationSettings wanted;
    QList<SettingDifference> differences;
    QList<int> groups;
};

// Merges `lines` over what the station holds. A value equal to the held one
// is no difference. The three searched values always go through the
// searched edits, so a password holding "=" cannot shift later fields.
SettingsChange PlanChange(const StationSettings& held, const QList<SettingsFileLine>& lines);

// Puts the wanted record into the settings window as a settings reply would
// and runs each changed group's builders without sending: the window's own
// refusals, plus values the window cannot show (an unknown unit, a switch
// that is neither On nor Off). Returns one message per refusal, empty when
// every group would go out. Any thread.
QStringList CheckChange(const SettingsChange& change, MemoryControlWindow& window,
                        UnitSelection& units, const Clock& clock);

}  // namespace orvane::ctl
