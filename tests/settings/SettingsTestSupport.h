#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QStringList>

#include "MemoryControlWindow.h"
#include "Readings.h"
#include "SelectionRules.h"
#include "SettingsControls.h"
#include "SettingsWindowSetup.h"
#include "UnitSelection.h"

namespace orvane::test {

// The combos and defaults the settings window has once it is open, on an
// in-memory window, by the procedures the real window runs.
inline void PrepareSettingsWindow(MemoryControlWindow& w) {
    FillIntervalCombos(w, UiLanguage::English);
    ApplyOpeningDefaults(w);
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
