#pragma once

#include <QDateTime>
#include <mutex>
#include <optional>

#include "Clock.h"
#include "ControlWindow.h"
#include "StringTable.h"

namespace orvane {

// What the settings window shows while no station is attached: the current
// readings stay, greyed, under a caption with the time the last of them
// arrived, and every command that talks to the station is disabled, so that
// nothing on screen passes for live data or a possible action.
class StationPresence {
public:
    StationPresence(ControlWindow& window, const Clock& clock, UiLanguage language);

    // A current-readings reply has just been shown. Any thread.
    void ReadingsShown();

    // The station's presence, told on every link status refresh. While it
    // is absent the marks are put on again each time (the window's own
    // timers bring Read and Save All back); the change to present lifts
    // them. One thread at a time (the window's status refresh).
    void Update(bool attached);

private:
    void MarkAbsent();
    void MarkPresent();

    ControlWindow& m_window;
    const Clock& m_clock;
    UiLanguage m_language;
    std::mutex m_mutex;
    QDateTime m_lastReading;
    std::optional<bool> m_attached;
};

}  // namespace orvane
