#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QStringList>

#include "MemoryControlWindow.h"
#include "Readings.h"
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

// How the window shows positional field n (1..57) of a settings reply.
enum class Shown { Text, Temperature, Pressure, Wind, Rain, Switch, Index, Special };
struct FieldView {
    int control;
    Shown how;
};

inline FieldView ViewOfField(int n) {
    using namespace SettingsId;
    using S = Shown;
    static const FieldView views[] = {
        {0, S::Special},  // unused
        {kTemperatureUnit, S::Special},
        {kLightUnit, S::Text},
        {kWindUnit, S::Text},
        {kRainUnit, S::Text},
        {kPressureUnit, S::Text},
        {kWindDirectionOffset, S::Text},
        {kTemperatureOffset, S::Temperature},
        {kHumidityOffset, S::Text},
        {kWindFactor, S::Text},
        {kRainFactor, S::Text},
        {kLightFactor, S::Text},
        {kUvFactor, S::Text},
        {kAbsPressureOffset, S::Pressure},
        {kRelPressureOffset, S::Pressure},
        {kTimeZone, S::Text},
        {kAlarmSmsInterval, S::Special},
        {kSendCurrentInterval, S::Special},
        {kLoggerInterval, S::Special},
        {kUploadInterval, S::Special},
        {kSmsCheckInterval, S::Special},
        {kTelephone1, S::Text},
        {kTelephone2, S::Text},
        {kTelephone3, S::Text},
        {kDst, S::Special},
        {kDstStartMonth, S::Special},
        {kDstEndMonth, S::Special},
        {kWebHost, S::Text},
        {kWebId, S::Text},
        {kWebPassword, S::Text},
        {kServerType, S::Text},
        {kUploadType, S::Index},
        {kServerPort, S::Text},
        {kGprsApn, S::Text},
        {kGprsUser, S::Text},
        {kGprsPassword, S::Text},
        {kHighTemperature, S::Temperature},
        {kHighDewPoint, S::Temperature},
        {kHighHumidity, S::Text},
        {kHighWind, S::Wind},
        {kHighGust, S::Wind},
        {kHighRainRate, S::Rain},
        {kHighDailyRain, S::Rain},
        {kLowTemperature, S::Temperature},
        {kLowDewPoint, S::Temperature},
        {kLowHumidity, S::Text},
        {kLowTemperatureSwitch, S::Switch},
        {kLowDewPointSwitch, S::Switch},
        {kLowHumiditySwitch, S::Switch},
        {kHighTemperatureSwitch, S::Switch},
        {kHighDewPointSwitch, S::Switch},
        {kHighHumiditySwitch, S::Switch},
        {kHighWindSwitch, S::Switch},
        {kHighGustSwitch, S::Switch},
        {kHighRainRateSwitch, S::Switch},
        {kHighDailyRainSwitch, S::Switch},
        {kAlarmAll, S::Index},
        {kSmsTestId, S::Text},
    };
    return views[n];
}

// Expects the window to show field `n` whose received text is `f` (the
// searched values equal the positional ones for these replies).
inline void ExpectFieldShown(const MemoryControlWindow& w, int n, const QString& f) {
    using namespace SettingsId;
    SCOPED_TRACE(QString("field %1 = \"%2\"").arg(n).arg(f).toStdString());
    const FieldView view = ViewOfField(n);
    const QString number = f.left(f.size() - 1);
    auto on = [&](char letter) { return f.endsWith(QChar(letter)) && number != "0"; };
    switch (view.how) {
        case Shown::Text:
            EXPECT_EQ(w.Text(view.control), f);
            return;
        case Shown::Temperature:
            EXPECT_EQ(w.Text(view.control), StripTrailing(f, "CF"));
            return;
        case Shown::Pressure:
            EXPECT_EQ(w.Text(view.control), StripTrailing(f, Suffix::kPressure));
            return;
        case Shown::Wind:
            EXPECT_EQ(w.Text(view.control), StripTrailing(f, Suffix::kWind));
            return;
        case Shown::Rain:
            EXPECT_EQ(w.Text(view.control), StripTrailing(f, Suffix::kRain));
            return;
        case Shown::Switch:
            EXPECT_EQ(w.IsChecked(view.control), f == "On");
            return;
        case Shown::Index:
            EXPECT_EQ(w.SelectedIndex(view.control), f.toInt());
            return;
        case Shown::Special:
            break;
    }
    const QStringList clock = f.split(':');
    switch (n) {
        case 1:
            EXPECT_EQ(w.Text(kTemperatureUnit), "°" + f);
            break;
        case 16:
            EXPECT_EQ(w.Text(kAlarmSmsInterval), on('m') ? number : "");
            EXPECT_EQ(w.Text(kAlarmSmsIntervalUnit), on('m') ? "Minute" : "Never");
            break;
        case 17:
        case 19: {
            const int combo = n == 17 ? kSendCurrentIntervalUnit : kUploadIntervalUnit;
            EXPECT_EQ(w.Text(view.control), on('h') || on('m') ? number : "");
            EXPECT_EQ(w.SelectedIndex(combo), on('h') ? 0 : on('m') ? 1 : 2);
            break;
        }
        case 18:
            EXPECT_EQ(w.Text(kLoggerInterval), number);
            break;
        case 20:
            EXPECT_EQ(w.Text(kSmsCheckInterval), on('h') || on('m') ? number : "");
            EXPECT_EQ(w.SelectedIndex(kSmsCheckIntervalUnit), on('h')     ? 0
                                                              : on('m')   ? 1
                                                              : f == "on" ? 2
                                                                          : 3);
            break;
        case 24:
            EXPECT_EQ(w.IsChecked(kDst), f.toInt() != 0);
            break;
        case 25:
        case 26: {
            ASSERT_EQ(clock.size(), 3);
            const int base = n == 25 ? kDstStartMonth : kDstEndMonth;  // month, week, hour
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(w.Text(base + i), QString::number(clock[i].toInt())) << i;
            break;
        }
        default:
            ADD_FAILURE() << "no view for field " << n;
    }
}

inline QString ReadTestData(const QString& name) {
    QFile file(QStringLiteral(ORVANE_TEST_DATA_DIR "/settings/") + name);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    // Replies map every byte to the character of the same code.
    return QString::fromLatin1(file.readAll());
}

}  // namespace orvane::test
