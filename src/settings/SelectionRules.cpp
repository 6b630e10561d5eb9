#include "SelectionRules.h"

#include "ControlWindow.h"
#include "RangeHints.h"
#include "SettingsControls.h"

namespace orvane {

using namespace SettingsId;

namespace {

int IntervalEditOf(int comboId) {
    switch (comboId) {
        case kSendCurrentIntervalUnit:
            return kSendCurrentInterval;
        case kSmsCheckIntervalUnit:
            return kSmsCheckInterval;
        case kUploadIntervalUnit:
            return kUploadInterval;
        case kAlarmSmsIntervalUnit:
            return kAlarmSmsInterval;
        default:
            return 0;
    }
}

}  // namespace

void IntervalUnitChanged(ControlWindow& window, int comboId) {
    const int edit = IntervalEditOf(comboId);
    if (edit == 0) return;
    const int index = window.SelectedIndex(comboId);
    const std::optional<QString> tip = IntervalToolTip(comboId, index, CurrentLanguage());
    if (tip) {
        window.SetEnabled(edit, true);
        window.SetToolTip(edit, *tip);
    } else {
        window.SetText(edit, QString());
        window.SetEnabled(edit, false);
    }
}

void AlarmAllChanged(ControlWindow& window) {
    const bool enable = window.SelectedIndex(kAlarmAll) == 0;
    for (int id : {kHighTemperatureSwitch, kHighDewPointSwitch, kHighHumiditySwitch,
                   kHighWindSwitch, kHighGustSwitch, kHighRainRateSwitch, kHighDailyRainSwitch,
                   kLowTemperatureSwitch, kLowDewPointSwitch, kLowHumiditySwitch})
        window.SetEnabled(id, enable);
}

void WebHostChanged(ControlWindow& window) {
    const bool defaultHost = window.SelectedIndex(kWebHost) == 0;
    if (defaultHost) {
        window.SelectIndex(kServerType, 2);
        window.SelectIndex(kUploadType, 1);
        window.SetText(kServerPort, QStringLiteral("80"));
    }
    for (int id : {kServerType, kUploadType, kServerPort}) window.SetEnabled(id, !defaultHost);
}

}  // namespace orvane
