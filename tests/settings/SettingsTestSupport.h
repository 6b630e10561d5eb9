#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include "MemoryControlWindow.h"
#include "SelectionRules.h"
#include "SettingsControls.h"
#include "UnitSelection.h"

namespace orvane::test {

// The combos and defaults the settings window has once it is open, on an
// in-memory window, so that the logic meets the same items as in the real
// window.
inline void PrepareSettingsWindow(MemoryControlWindow& w) {
    using namespace SettingsId;
    w.SetItems(kSendCurrentIntervalUnit, {"Hour", "Minute", "Not send"});
    w.SelectIndex(kSendCurrentIntervalUnit, 0);
    w.SetItems(kSmsCheckIntervalUnit, {"Hour", "Minute", "Always on", "Always off"});
    w.SelectIndex(kSmsCheckIntervalUnit, 0);
    w.SetItems(kAlarmSmsIntervalUnit, {"Minute", "Never"});
    w.SelectIndex(kAlarmSmsIntervalUnit, 0);
    w.SetItems(kUploadIntervalUnit, {"Hour", "Minute", "Unupload"});
    w.SelectIndex(kUploadIntervalUnit, 1);
    w.SetItems(kAlarmAll, {"Enable", "Disable"});
    w.SelectIndex(kAlarmAll, 0);
    UnitSelection::FillCombos(w);
    QStringList zones;
    for (int z = -12; z <= 12; ++z) zones << QString::number(z);
    w.SetItems(kTimeZone, zones);
    w.SelectText(kTimeZone, "0");
    QStringList months, weeks, hours;
    for (int i = 1; i <= 12; ++i) months << QString::number(i);
    for (int i = 1; i <= 5; ++i) weeks << QString::number(i);
    for (int i = 0; i <= 23; ++i) hours << QString::number(i);
    for (int id : {kDstStartMonth, kDstEndMonth}) w.SetItems(id, months);
    for (int id : {kDstStartWeek, kDstEndWeek}) w.SetItems(id, weeks);
    for (int id : {kDstStartHour, kDstEndHour}) w.SetItems(id, hours);
    for (int id :
         {kDstStartMonth, kDstEndMonth, kDstStartWeek, kDstEndWeek, kDstStartHour, kDstEndHour})
        w.SelectIndex(id, 0);
    w.SetItems(kServerType, {"jsp", "asp", "php"});
    w.SelectText(kServerType, "php");
    w.SetItems(kUploadType, {"Default", "Customize"});
    w.SelectText(kUploadType, "Customize");
    w.SetEditableCombo(kWebHost, true);
    w.SetItems(kWebHost, {kDefaultUploadHost, "New web"});
    w.SelectIndex(kWebHost, 0);
    w.SetText(kServerPort, "80");
    for (int id : {kServerType, kUploadType, kServerPort}) w.SetEnabled(id, false);
    w.SetText(kHighTemperature, "25.0");
    w.SetText(kHighDewPoint, "25.0");
    w.SetText(kLowTemperature, "10.0");
    w.SetText(kLowDewPoint, "10.0");
    w.SetText(kTemperatureOffset, "0.0");
}

inline QString ReadTestData(const QString& name) {
    QFile file(QStringLiteral(ORVANE_TEST_DATA_DIR "/settings/") + name);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    // Replies map every byte to the character of the same code.
    return QString::fromLatin1(file.readAll());
}

}  // namespace orvane::test
