#pragma once

#include <QString>
#include <chrono>
#include <stdexcept>

namespace orvane::ctl {

// The exit status of each kind of failure, so scripts can tell them apart.
enum class ExitCode : int {
    Ok = 0,
    Failure = 1,        // anything not listed below
    Usage = 2,          // the command line is wrong
    StationAbsent = 3,  // no station on the bus
    StationSilent = 4,  // the station did not answer, or went away mid-command
    Refused = 5,        // a value or a request was refused, nothing sent
    FileError = 6,      // a local file could not be read or written
    Busy = 7,           // another sync or the window holds the station
    Declined = 8,       // the user did not confirm
    Stopped = 9,        // SIGTERM or SIGINT: stopped between two whole steps
};

// Set by the SIGTERM/SIGINT handler (InstallStopHandlers); the waits and the
// sync's steps look at it, so a stopped tool still leaves only whole files.
void InstallStopHandlers();
bool StopRequested();
// Sleeps for `duration`, ending at once when a stop is asked for (before or
// during the sleep); false on a stop.
bool SleepUnlessStopped(std::chrono::milliseconds duration);
// Throws CtlError(Stopped) once a stop was asked for.
void ThrowIfStopped();

// One failure: the single message the tool prints and its exit status.
class CtlError : public std::runtime_error {
public:
    CtlError(ExitCode code, const QString& message)
        : std::runtime_error(message.toStdString()), m_code(code), m_message(message) {}
    ExitCode Code() const { return m_code; }
    const QString& Message() const { return m_message; }

private:
    ExitCode m_code;
    QString m_message;
};

}  // namespace orvane::ctl
