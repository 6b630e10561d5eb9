#pragma once

#include <QDateTime>
#include <QString>
#include <mutex>
#include <optional>

#include "Clock.h"
#include "ControlWindow.h"
#include "StringTable.h"

namespace orvane {

// What the settings window shows about the station's presence. While no
// station is attached the current readings stay on screen, greyed, under a
// caption that says so and gives the time the last of them arrived, and
// every command that talks to the station is disabled. When the station
// comes back the commands return at once; the readings stay greyed (the
// caption still giving their time) until a fresh reading arrives, so that
// nothing on screen passes for live data.
class StationPresence {
public:
    StationPresence(ControlWindow& window, const Clock& clock, UiLanguage language);

    // A current-readings reply has just been shown. Any thread; it only
    // notes the time, the next Update() shows it.
    void ReadingsShown();

    // Brings the window in line with the station's presence; run on every
    // link status refresh, always from the same thread. While the station
    // is absent the commands are disabled again on each call, as the
    // window's timers bring Read and Save All back on their own.
    void Update(bool attached);

    // The caption of the current-readings group for the state told; the
    // plain caption when `stale` is false.
    QString Caption(bool attached, bool stale, const QDateTime& lastReading) const;

private:
    ControlWindow& m_window;
    const Clock& m_clock;
    UiLanguage m_language;

    std::mutex m_mutex;  // guards the two below (ReadingsShown's thread)
    QDateTime m_lastReading;
    unsigned m_readings = 0;

    std::optional<bool> m_attached;
    bool m_stale = false;
    unsigned m_readingsWhenAbsent = 0;  // readings counted up to the last absent call
    std::optional<bool> m_readingsEnabled;
    std::optional<QString> m_caption;
};

}  // namespace orvane
