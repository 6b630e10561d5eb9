#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <optional>

#include "StationSettings.h"

namespace orvane::ctl {

// The readable name and caption of each of the 57 settings, in reply order
// (number 1 is index 0). Names are what the command line and the settings
// files use.
struct SettingName {
    const char* name;
    const char* caption;
};
const SettingName& SettingNameOf(int number);
// The number (1..57) of a name, ignoring case; nothing for an unknown name.
std::optional<int> SettingNumber(const QString& name);

// One "name=value" per line in reply order, the value as the station sent
// it (units included), after a comment line. Searched passwords and the SMS
// ID win over the positional ones, as in the window.
QString SettingsFileText(const StationSettings& settings);
// The value shown for field `number`: the searched one where the reply had it.
QString ShownValue(const StationSettings& settings, int number);

struct SettingsFileLine {
    int number = 0;
    QString value;
};
// Reads "name=value" lines; blank lines and lines starting with "#" or ";"
// are skipped, a "[...]" section line too. On the first line that is not
// such a pair or names no setting, returns nothing and sets `error` to one
// message naming the line.
std::optional<QList<SettingsFileLine>> ParseSettingsFile(const QString& text, QString& error);

}  // namespace orvane::ctl
