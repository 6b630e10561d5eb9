#pragma once

#include <memory>
#include <optional>

#include "DeviceLink.h"
#include "ExchangeState.h"
#include "HidBackend.h"
#include "LinkEvents.h"
#include "OwnedThread.h"
#include "ReplyHandlers.h"

namespace orvane {

// Keeps the receive connection in step with StationAttached: it opens the
// DeviceLink and runs the settings read when the station is attached and
// ReopenNeeded is set (after a settling pause of two link passes), closes it
// when the station is gone, and reports each change of the connection. It
// sleeps until StationAttached, ReopenNeeded or PendingRequest change.
class LinkThread {
public:
    // `reader` may be null (no settings read after an opening). Every
    // reference must outlive this object.
    LinkThread(HidBackend& backend, ExchangeState& state, LinkEvents& events,
               SettingsReader* reader, const ReplyConsumers& consumers);
    LinkThread(const LinkThread&) = delete;
    LinkThread& operator=(const LinkThread&) = delete;
    ~LinkThread();

    // Not on the link thread. Stop also stops the receive thread and the
    // watchdogs: before calling it from the GUI thread, shut the control
    // windows down so no worker waits for the GUI thread.
    void Start();
    void Stop();

    // The connection the thread owns (tests look at it). Any thread.
    DeviceLink& Link() { return *m_link; }

private:
    void Run(const std::stop_token& stop);

    ExchangeState& m_state;
    LinkEvents& m_events;
    SettingsReader* m_reader;
    std::unique_ptr<DeviceLink> m_link;
    OwnedThread m_thread;
};

}  // namespace orvane
