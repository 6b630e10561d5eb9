#pragma once

#include <memory>
#include <thread>

#include "ControlWindow.h"
#include "DeviceLink.h"
#include "ExchangeState.h"
#include "HidBackend.h"
#include "ReplyHandlers.h"
#include "StopSignal.h"

namespace orvane {

// Keeps the receive connection in step with StationAttached: every link pass
// (Timings::linkPass) it opens the DeviceLink and runs the settings read
// when the station is attached and ReopenNeeded is set (after a settling
// pause of two passes), closes it when the station is gone, and shows the
// link status in the settings window.
class LinkThread {
public:
    // `reader` may be null (no settings read after an opening). Every
    // reference must outlive this object.
    LinkThread(HidBackend& backend, ExchangeState& state, ControlWindow& settingsWindow,
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
    void Run();

    ExchangeState& m_state;
    ControlWindow& m_window;
    SettingsReader* m_reader;
    std::unique_ptr<DeviceLink> m_link;
    StopSignal m_stop;
    std::thread m_thread;
};

}  // namespace orvane
