#include "SettingsWindowSetup.h"

#include <utility>

#include "RangeHints.h"
#include "SelectionRules.h"
#include "SettingsControls.h"
#include "UnitSelection.h"

namespace orvane {

using namespace SettingsId;

namespace {

// Captions that take a string-table text followed by ":" (control, string).
constexpr std::pair<int, int> kColonCaptions[] = {
    {kTimeZoneLabel, 102},
    {kRelPressureOffsetLabel, 103},
    {kNowRelPressureLabel, 103},
    {kAbsPressureOffsetLabel, 104},
    {kNowAbsPressureLabel, 104},
    {kTemperatureOffsetLabel, 105},
    {kTemperatureUnitLabel, 105},
    {kHighTemperatureLabel, 105},
    {kLowTemperatureLabel, 105},
    {kNowTemperatureLabel, 105},
    {kHumidityOffsetLabel, 106},
    {kHighHumidityLabel, 106},
    {kLowHumidityLabel, 106},
    {kNowHumidityLabel, 106},
    {kWindFactorLabel, 107},
    {kWindUnitLabel, 107},
    {kHighWindLabel, 107},
    {kNowWindLabel, 107},
    {kWindDirectionOffsetLabel, 108},
    {kNowWindDirectionLabel, 108},
    {kLightFactorLabel, 109},
    {kLightUnitLabel, 109},
    {kNowLightLabel, 109},
    {kRainFactorLabel, 110},
    {kRainUnitLabel, 110},
    {kPressureUnitLabel, 111},
    {kSendCurrentIntervalLabel, 113},
    {kUploadIntervalLabel, 115},
    {kDstStartMonthLabel, 116},
    {kDstEndMonthLabel, 116},
    {kDstStartWeekLabel, 117},
    {kDstEndWeekLabel, 117},
    {kDstStartHourLabel, 118},
    {kDstEndHourLabel, 118},
    {kWebHostLabel, 119},
    {kServerTypeLabel, 120},
    {kUploadTypeLabel, 121},
    {kServerPortLabel, 122},
    {kHighDewPointLabel, 123},
    {kLowDewPointLabel, 123},
    {kNowDewPointLabel, 123},
    {kHighGustLabel, 124},
    {kNowGustLabel, 124},
    {kHighRainRateLabel, 125},
    {kNowRainRateLabel, 125},
    {kHighDailyRainLabel, 126},
    {kNowRainDayLabel, 126},
    {kNowRainWeekLabel, 127},
    {kNowRainMonthLabel, 128},
    {kNowRainYearLabel, 129},
    {kNowBatteryLabel, 130},
    {kTimeLabel, 131},
    {kNowTimeLabel, 131},
    {kAlarmSmsIntervalLabel, 182},
    {kLoggerIntervalLabel, 133},
};

// Captions that take the plain string-table text.
constexpr std::pair<int, int> kPlainCaptions[] = {
    {kTimeZoneGroup, 102},
    {kAlarmGroup, 112},
    {kTimeGroup, 131},
    {kDaylightGroup, 154},
    {kDstStartGroup, 155},
    {kDstEndGroup, 156},
    {kCalibrationGroup, 157},
    {kOffsetGroup, 158},
    {kFactorGroup, 159},
    {kUnitGroup, 160},
    {kWebServerGroup, 161},
    {kHighAlarmGroup, 164},
    {kLowAlarmGroup, 165},
    {kAlarmAllLabel, 166},
    {kSync, 132},
    {kSaveDaylight, 114},
    {kSaveTimeZone, 114},
    {kSaveCalibration, 114},
    {kSaveUnit, 114},
    {kSaveGprs, 114},
    {kSaveTelephone, 114},
    {kSaveWebServer, 114},
    {kSaveAlarm, 114},
    {kSaveLoggerInterval, 114},
    {kSaveSendCurrent, 114},
    {kReset, 167},
    {kRead, 168},
    {kSaveAll, 169},
    {kExit, 170},
    {kTelephoneGroup, 171},
    {kCurrentWeatherGroup, 172},
    {kLoggerIntervalGroup, 181},
    {kSdCardFile, 134},
    {kMaxMin, 135},
    {kShowPassword, 150},
    {kAlarmSmsIntervalNote, 151},
    {kSmsTest, 190},
};

QStringList Numbers(int first, int last) {
    QStringList items;
    for (int i = first; i <= last; ++i) items << QString::number(i);
    return items;
}

}  // namespace

void ApplyCaptions(ControlWindow& w, UiLanguage language) {
    for (const auto& [id, string] : kColonCaptions)
        w.SetText(id, LoadString(string, language) + QLatin1Char(':'));
    for (const auto& [id, string] : kPlainCaptions) w.SetText(id, LoadString(string, language));
}

void FillIntervalCombos(ControlWindow& w, UiLanguage language) {
    auto text = [language](int id) { return LoadString(id, language); };
    const QString hour = text(162), minute = text(163);
    w.SetItems(kSendCurrentIntervalUnit, {hour, minute, text(179)});
    w.SelectIndex(kSendCurrentIntervalUnit, 0);
    w.SetItems(kSmsCheckIntervalUnit, {hour, minute, text(176), text(177)});
    w.SelectIndex(kSmsCheckIntervalUnit, 0);
    w.SetItems(kAlarmSmsIntervalUnit, {minute, text(178)});
    w.SelectIndex(kAlarmSmsIntervalUnit, 0);
    w.SetItems(kUploadIntervalUnit, {hour, minute, text(173)});
    w.SelectIndex(kUploadIntervalUnit, 1);
    w.SetItems(kHiddenIntervalUnit, {text(180), minute});
    w.SelectIndex(kHiddenIntervalUnit, 0);
    w.SetItems(kAlarmAll, {text(174), text(175)});
    w.SelectIndex(kAlarmAll, 0);
    w.SetText(kLoggerIntervalCaption, minute);
}

void AttachOpeningToolTips(ControlWindow& w, UiLanguage language) {
    const HintUnits opening;  // every unit at its first item
    for (int id : RangeToolTipIds()) w.SetToolTip(id, RangeToolTip(id, opening, language));
}

void ApplyOpeningDefaults(ControlWindow& w) {
    // Calibration.
    w.SetText(kWindDirectionOffset, QStringLiteral("0"));
    w.SetText(kTemperatureOffset, QStringLiteral("0.0"));
    w.SetText(kHumidityOffset, QStringLiteral("0"));
    for (int id : {kWindFactor, kRainFactor, kLightFactor, kUvFactor})
        w.SetText(id, QStringLiteral("1.00"));
    w.SetText(kAbsPressureOffset, QStringLiteral("0.0"));
    w.SetText(kRelPressureOffset, QStringLiteral("0.0"));

    UnitSelection::FillCombos(w);

    w.SetItems(kTimeZone, Numbers(-12, 12));
    w.SelectText(kTimeZone, QStringLiteral("0"));

    for (int id : {kDstStartMonth, kDstEndMonth}) w.SetItems(id, Numbers(1, 12));
    for (int id : {kDstStartWeek, kDstEndWeek}) w.SetItems(id, Numbers(1, 5));
    for (int id : {kDstStartHour, kDstEndHour}) w.SetItems(id, Numbers(0, 23));
    for (int id :
         {kDstStartMonth, kDstStartWeek, kDstStartHour, kDstEndMonth, kDstEndWeek, kDstEndHour})
        w.SelectIndex(id, 0);

    // Intervals and web server.
    w.SetChecked(kHiddenSecondRadio, true);
    w.SetText(kSendCurrentInterval, QStringLiteral("2"));
    w.SetItems(kHiddenIntervalSteps,
               {QStringLiteral("16"), QStringLiteral("32"), QStringLiteral("48")});
    w.SelectIndex(kHiddenIntervalSteps, 0);
    w.SetText(kAlarmSmsInterval, QStringLiteral("30"));
    w.SetText(kUploadInterval, QStringLiteral("30"));
    w.SetText(kSmsCheckInterval, QStringLiteral("2"));
    for (int id : {kTelephone1, kTelephone2, kTelephone3}) w.SetText(id, QString());
    w.SetText(kDstStartMonthHint, QStringLiteral("1"));
    w.SetText(kDstStartWeekHint, QStringLiteral("1"));
    w.SetText(kDstStartHourHint, QStringLiteral("01"));
    w.SetText(kDstEndMonthHint, QStringLiteral("1"));
    w.SetText(kDstEndWeekHint, QStringLiteral("1"));
    w.SetText(kDstEndHourHint, QStringLiteral("01"));
    w.SetText(kServerPort, QStringLiteral("80"));
    w.SetItems(kServerType, {QStringLiteral("jsp"), QStringLiteral("asp"), QStringLiteral("php")});
    w.SelectText(kServerType, QStringLiteral("php"));
    w.SetItems(kUploadType, {QStringLiteral("Default"), QStringLiteral("Customize")});
    w.SelectText(kUploadType, QStringLiteral("Customize"));
    w.SetItems(kWebHost, {QString::fromLatin1(kDefaultUploadHost), QStringLiteral("New web")});
    w.SelectIndex(kWebHost, 0);
    for (int id : {kServerType, kUploadType, kServerPort}) w.SetEnabled(id, false);

    w.SetChecked(kCelsiusRadio, true);

    // Alarms, web login, GPRS.
    w.SetText(kHighTemperature, QStringLiteral("25.0"));
    w.SetText(kHighDewPoint, QStringLiteral("25.0"));
    w.SetText(kHighHumidity, QStringLiteral("65"));
    for (int id : {kHighWind, kHighGust, kHighDailyRain, kHighRainRate})
        w.SetText(id, QStringLiteral("0.0"));
    w.SetText(kLowTemperature, QStringLiteral("10.0"));
    w.SetText(kLowDewPoint, QStringLiteral("10.0"));
    w.SetText(kLowHumidity, QStringLiteral("35"));
    w.SetText(kWebId, QString());
    w.SetText(kWebPassword, QString());
    w.SetText(kGprsApn, QStringLiteral("UNINET"));
}

void ApplyOpeningState(ControlWindow& w, UiLanguage language, UnitSelection& units) {
    ApplyCaptions(w, language);
    FillIntervalCombos(w, language);
    units.Reset();
    AttachOpeningToolTips(w, language);
    ApplyOpeningDefaults(w);
    // The clock thread fills the pickers; nobody edits them.
    w.SetEnabled(kTimePicker, false);
    w.SetEnabled(kDatePicker, false);
}

}  // namespace orvane
