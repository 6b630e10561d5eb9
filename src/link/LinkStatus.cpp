#include "LinkStatus.h"

#include "StringTable.h"

namespace orvane {

void ShowLinkStatus(ControlWindow& settingsWindow, bool stationAttached) {
    settingsWindow.SetTitle(QString::fromLatin1(kSettingsWindowTitle));
    settingsWindow.SetStatusText(
        kStatusPartConnection, LoadString(stationAttached ? kStringConnected : kStringUnconnected));
}

void ShowClockTick(ControlWindow& settingsWindow, const Clock& clock) {
    const QDateTime now = clock.LocalNow();
    settingsWindow.SetDateTime(kTimePickerDate, now);
    settingsWindow.SetDateTime(kTimePickerTime, now);
}

}  // namespace orvane
