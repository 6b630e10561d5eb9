#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include "StationSession.h"

namespace orvane::ctl {

class Console;

// The command line after parsing: the command words with their operands,
// the options that take a value, and the flags.
struct Invocation {
    QStringList words;
    QMap<QString, QString> values;
    QSet<QString> flags;
    bool Flag(const char* name) const { return flags.contains(QLatin1String(name)); }
    QString Value(const char* name) const { return values.value(QLatin1String(name)); }
};

// Throws CtlError(Usage) for an unknown option or one without its value.
Invocation ParseArguments(const QStringList& arguments);

QString UsageText();

// Runs one command against the station the session describes; returns the
// exit status or throws CtlError with the one message to print.
int RunCommand(const Invocation& invocation, const SessionOptions& options, Console& console);

}  // namespace orvane::ctl
