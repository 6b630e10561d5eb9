#pragma once

#include <memory>

#include "AutoReadThread.h"
#include "COrvaneDlg.h"
#include "ClockThread.h"
#include "DeviceChangeHandler.h"
#include "LinkEvents.h"
#include "LinkThread.h"

namespace orvane {

// What the settings window brings to the link at its initialisation.
// Everything referenced must outlive the LinkSession.
struct LinkSessionParts {
    HidBackend& backend;
    COrvaneDlg& mainDialog;
    ExchangeState& state;
    LinkEvents& events;  // the connection, the clock, buttons back
    const Clock& clock;
    SettingsReader* settingsReader = nullptr;
    ReplyConsumers consumers;
    DeviceChangeSource* deviceChanges = nullptr;  // null: no hot-plug
    // The time the poll's period passes in; null: the steady clock.
    const MonotonicClock* pollTime = nullptr;
};

// The settings window's connection machinery in one object: the start
// sequence of its initialisation and the orderly stop at its close.
class LinkSession {
public:
    explicit LinkSession(const LinkSessionParts& parts);
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;
    ~LinkSession();

    // GUI thread, at the end of the window's initialisation: probe the
    // station (StationAttached), set ReopenNeeded, start the clock, link and
    // auto-read threads in that order, and listen for device changes.
    void Start();
    // Stops listening and stops and joins every thread (auto-read, link with
    // the receive thread and watchdogs, clock). From the GUI thread call it
    // only after QtControlWindow::Shutdown of every window the consumers
    // use, so no worker is left waiting for the GUI thread.
    void Stop();

    LinkThread& Link() { return m_linkThread; }
    DeviceChangeHandler& DeviceChanges() { return m_changes; }

private:
    LinkSessionParts m_parts;
    DeviceChangeHandler m_changes;
    ClockThread m_clockThread;
    LinkThread m_linkThread;
    AutoReadThread m_autoReadThread;
    bool m_started = false;
};

}  // namespace orvane
