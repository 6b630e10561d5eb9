#include "FullWrite.h"

#include <iterator>
#include <thread>

#include "RequestBuilders.h"
#include "Requests.h"
#include "SelectionRules.h"
#include "SettingsControls.h"
#include "StringTable.h"
#include "Timing.h"

namespace orvane {

namespace {

constexpr int kConfirmResetString = 184;
constexpr int kConfirmSaveAllString = 185;

// Each request of a full write with the window group it saves (string id
// of the group's caption), so that a refused entry can be named.
struct FullWriteEntry {
    RequestBuilder build;
    int group;
};

constexpr int kGroupTime = 131, kGroupCalibration = 157, kGroupUnit = 160, kGroupLogger = 181,
              kGroupTelephone = 171, kGroupDaylight = 154, kGroupWebServer = 161, kGroupGprs = 400,
              kGroupAlarm = 112, kGroupTimeZone = 102, kGroupSendCurrent = 113;
constexpr int kNotSavedString = 401;

constexpr FullWriteEntry kFullWriteEntries[] = {
    {BuildTimeRequest, kGroupTime},
    {WithoutClock<BuildOffsetRequest>, kGroupCalibration},
    {WithoutClock<BuildWindRainFactorRequest>, kGroupCalibration},
    {WithoutClock<BuildPressureOffsetRequest>, kGroupCalibration},
    {WithoutClock<BuildLightUvFactorRequest>, kGroupCalibration},
    {WithoutClock<BuildUnitRequest>, kGroupUnit},
    {WithoutClock<BuildLoggerIntervalRequest>, kGroupLogger},
    {WithoutClock<BuildTelephoneRequest>, kGroupTelephone},
    {WithoutClock<BuildDaylightRequest>, kGroupDaylight},
    {WithoutClock<BuildWebRequest>, kGroupWebServer},
    {WithoutClock<BuildWebLoginRequest>, kGroupWebServer},
    {WithoutClock<BuildServerTypeRequest>, kGroupWebServer},
    {WithoutClock<BuildGprsRequest>, kGroupGprs},
    {WithoutClock<BuildHighTempAlarmRequest>, kGroupAlarm},
    {WithoutClock<BuildHighWindAlarmRequest>, kGroupAlarm},
    {WithoutClock<BuildHighRainAlarmRequest>, kGroupAlarm},
    {WithoutClock<BuildLowTempAlarmRequest>, kGroupAlarm},
    {WithoutClock<BuildHighSwitchTempRequest>, kGroupAlarm},
    {WithoutClock<BuildHighSwitchWindRequest>, kGroupAlarm},
    {WithoutClock<BuildLowSwitchRequest>, kGroupAlarm},
    {WithoutClock<BuildTimeZoneRequest>, kGroupTimeZone},
    {WithoutClock<BuildSmsCheckRequest>, kGroupGprs},
    {WithoutClock<BuildAlarmIntervalRequest>, kGroupAlarm},
    {WithoutClock<BuildUploadIntervalRequest>, kGroupWebServer},
    {WithoutClock<BuildSendCurrentRequest>, kGroupSendCurrent},
    {WithoutClock<BuildSmsIdRequest>, kGroupTelephone},
    {WithoutClock<BuildAlarmSwitchRequest>, kGroupAlarm},
};

// Where entry `i` of the request list comes from in the table above.
int EntryIndex(int i, FullWriteOrder order) {
    if (order == FullWriteOrder::FactoryReset && (i == 25 || i == 26)) return 51 - i;
    return i;
}

void Pause(std::chrono::milliseconds duration) {
    if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

// Holds PendingRequest at 7 and puts back what was there before.
class PendingWrite {
public:
    explicit PendingWrite(ExchangeState& state)
        : m_state(state), m_previous(state.pendingRequest.exchange(kPendingWrite)) {}
    ~PendingWrite() { Release(); }
    void Release() {
        if (m_held) m_state.pendingRequest = m_previous;
        m_held = false;
    }
    PendingWrite(const PendingWrite&) = delete;
    PendingWrite& operator=(const PendingWrite&) = delete;

private:
    ExchangeState& m_state;
    int m_previous;
    bool m_held = true;
};

// Units and time zone of the reset, by Stage.
struct UnitRow {
    int temperature, light, wind, rain, pressure;
    const char* timeZone;
    const char* highTemperature;
    const char* lowTemperature;
};
constexpr UnitRow kMetricRow{0, 2, 0, 0, 0, "0", "25.0", "10.0"};
constexpr UnitRow kImperialRow{1, 2, 1, 1, 2, "-5", "77.0", "50.0"};

void SetTexts(ControlWindow& window, std::initializer_list<int> ids, const QString& text) {
    for (int id : ids) window.SetText(id, text);
}

constexpr int kFullWriteSize = int(std::size(kFullWriteEntries));

// Sends a full write's requests in order and reports each one sent out of
// `total`; stops before the next request once the window asks it to.
QStringList SendFullWrite(WriteContext& context, const QStringList& requests, int total) {
    QStringList replies;
    for (const QString& request : requests) {
        if (context.stop.stop_requested()) break;
        replies << context.transactor.Transact(request);
        if (context.progress) context.progress(int(replies.size()), total);
        Pause(GetTimings().fullWritePause);
    }
    return replies;
}

void RunUnitChange(WriteContext& context, int combo) {
    if (context.unitChanged) context.unitChanged(combo);
}

}  // namespace

QStringList FullRequestList(ControlWindow& window, const Clock& clock, FullWriteOrder order) {
    QStringList texts;
    for (int i = 0; i < kFullWriteSize; ++i)
        texts << kFullWriteEntries[EntryIndex(i, order)].build(window, clock);
    return texts;
}

QStringList RefusedGroups(const QStringList& requests, FullWriteOrder order) {
    QStringList groups;
    for (int i = 0; i < requests.size() && i < kFullWriteSize; ++i) {
        if (!requests[i].isEmpty()) continue;
        const QString name = LoadString(kFullWriteEntries[EntryIndex(i, order)].group);
        if (!groups.contains(name)) groups << name;
    }
    return groups;
}

QString FullWriteOutcomeText(WriteOutcome outcome, const QStringList& refusedGroups) {
    // "Save Success" only when every group went out; a station that
    // confirmed the rest must not hide what the builders refused.
    if (outcome != WriteOutcome::Success || refusedGroups.isEmpty()) return OutcomeText(outcome);
    const bool chinese = EffectiveLanguage(CurrentLanguage()) == UiLanguage::Chinese;
    return LoadString(kNotSavedString)
        .arg(refusedGroups.join(chinese ? QStringLiteral("、") : QStringLiteral(", ")));
}

bool ConfirmSaveAll(WriteContext& context) {
    if (context.state.awaitingNowData) {
        BusyScope busy(context.busy);
        Pause(GetTimings().nowDataWaitBeforeSaveAll);
    }
    return context.window.Confirm(LoadString(kConfirmSaveAllString));
}

WriteResult SendSaveAll(WriteContext& context) {
    WriteResult result;
    context.state.pendingRequest = kPendingWrite;
    result.requests = FullRequestList(context.window, context.clock);
    result.abandoned = false;
    QStringList replies;
    {
        BusyScope busy(context.busy);
        replies = SendFullWrite(context, result.requests, kFullWriteSize);
    }
    result.outcome = ClassifyWriteReply(replies.join(QString()));
    result.refusedGroups = RefusedGroups(result.requests, FullWriteOrder::SaveAll);
    if (!context.stop.stop_requested())
        context.window.MessageBox(FullWriteOutcomeText(result.outcome, result.refusedGroups));
    context.window.SetEnabled(SettingsId::kRead, true);
    context.window.SetEnabled(SettingsId::kSaveAll, true);
    context.state.pendingRequest = kPendingNone;
    return result;
}

WriteResult SaveAll(WriteContext& context) {
    if (!ConfirmSaveAll(context)) return WriteResult();
    return SendSaveAll(context);
}

void ApplyFactoryConfiguration(WriteContext& context, const QString& stage) {
    using namespace SettingsId;
    ControlWindow& w = context.window;

    SetTexts(w, {kWindDirectionOffset, kHumidityOffset}, QStringLiteral("0"));
    SetTexts(w, {kTemperatureOffset, kAbsPressureOffset, kRelPressureOffset},
             QStringLiteral("0.0"));
    SetTexts(w, {kWindFactor, kRainFactor, kLightFactor, kUvFactor}, QStringLiteral("1.00"));
    w.SetText(kSmsTestId, QString());
    w.SetChecked(kDst, true);
    for (int id : {kHighTemperatureSwitch, kHighDewPointSwitch, kHighHumiditySwitch,
                   kHighWindSwitch, kHighGustSwitch, kHighRainRateSwitch, kHighDailyRainSwitch,
                   kLowTemperatureSwitch, kLowDewPointSwitch, kLowHumiditySwitch})
        w.SetChecked(id, false);
    w.SetText(kLoggerInterval, QStringLiteral("5"));
    SetTexts(w, {kAlarmSmsInterval, kUploadInterval}, QStringLiteral("30"));
    w.SelectIndex(kSendCurrentIntervalUnit, 0);
    w.SetText(kSendCurrentInterval, QStringLiteral("2"));
    w.SelectIndex(kSmsCheckIntervalUnit, 0);
    w.SetText(kSmsCheckInterval, QStringLiteral("2"));
    w.SelectIndex(kAlarmSmsIntervalUnit, 0);
    w.SelectIndex(kUploadIntervalUnit, 1);
    SetTexts(w, {kTelephone1, kTelephone2, kTelephone3}, QString());
    w.SelectIndex(kDstStartMonth, 2);
    w.SelectIndex(kDstStartWeek, 1);
    w.SelectIndex(kDstStartHour, 2);
    w.SelectIndex(kDstEndMonth, 10);
    w.SelectIndex(kDstEndWeek, 0);
    w.SelectIndex(kDstEndHour, 2);
    w.SetText(kServerPort, QStringLiteral("80"));
    w.SelectIndex(kServerType, 2);
    w.SelectIndex(kUploadType, 1);
    w.SelectIndex(kWebHost, 0);
    for (int id : {kServerType, kUploadType, kServerPort}) w.SetEnabled(id, false);
    w.SelectIndex(kAlarmAll, 0);
    SetTexts(w, {kHighTemperature, kHighDewPoint}, QStringLiteral("25.0"));
    SetTexts(w, {kLowTemperature, kLowDewPoint}, QStringLiteral("10.0"));
    w.SetText(kHighHumidity, QStringLiteral("65"));
    w.SetText(kLowHumidity, QStringLiteral("35"));
    SetTexts(w, {kHighWind, kHighGust, kHighDailyRain, kHighRainRate}, QStringLiteral("0.0"));
    SetTexts(w, {kWebId, kWebPassword, kGprsUser, kGprsPassword}, QString());
    w.SetText(kGprsApn, QStringLiteral("UNINET"));

    const UnitRow& row = stage == QLatin1String("EU") ? kMetricRow : kImperialRow;
    w.SelectIndex(kTemperatureUnit, row.temperature);
    w.SelectIndex(kLightUnit, row.light);
    w.SelectIndex(kWindUnit, row.wind);
    w.SelectIndex(kRainUnit, row.rain);
    w.SelectIndex(kPressureUnit, row.pressure);
    w.SelectText(kTimeZone, QLatin1String(row.timeZone));
    RunUnitChange(context, kTemperatureUnit);

    // The factory thresholds in the unit just chosen, whatever the window
    // showed before.
    SetTexts(w, {kHighTemperature, kHighDewPoint}, QLatin1String(row.highTemperature));
    SetTexts(w, {kLowTemperature, kLowDewPoint}, QLatin1String(row.lowTemperature));

    RunUnitChange(context, kWindUnit);
    RunUnitChange(context, kRainUnit);
    RunUnitChange(context, kPressureUnit);
    IntervalUnitChanged(w, kSmsCheckIntervalUnit);
    IntervalUnitChanged(w, kAlarmSmsIntervalUnit);
    IntervalUnitChanged(w, kUploadIntervalUnit);
    AlarmAllChanged(w);
}

bool PrepareFactoryReset(WriteContext& context) {
    if (!context.window.Confirm(LoadString(kConfirmResetString))) return false;
    ApplyFactoryConfiguration(context, context.unitStage ? context.unitStage() : QString());
    return true;
}

WriteResult SendFactoryReset(WriteContext& context) {
    WriteResult result;
    result.requests = FullRequestList(context.window, context.clock, FullWriteOrder::FactoryReset);
    result.abandoned = false;
    context.window.SetEnabled(SettingsId::kReset, false);

    // The periodic current-readings request stays quiet while the reset
    // talks to the station, so that its reply cannot crowd out a
    // confirmation.
    PendingWrite pending(context.state);
    QString combined;
    {
        BusyScope busy(context.busy);
        combined = SendFullWrite(context, result.requests, kFullWriteSize + 1).join(QString());
        if (combined.contains(QLatin1String(Reply::kWriteSuccess)) &&
            !context.stop.stop_requested()) {
            result.requests << QString::fromLatin1(Request::kWriteResetMaxMin);
            context.transactor.Transact(result.requests.last());
            if (context.progress) context.progress(kFullWriteSize + 1, kFullWriteSize + 1);
        }
    }
    pending.Release();
    result.outcome = ClassifyWriteReply(combined);
    result.refusedGroups =
        RefusedGroups(result.requests.mid(0, kFullWriteSize), FullWriteOrder::FactoryReset);
    if (!context.stop.stop_requested()) {
        context.window.MessageBox(FullWriteOutcomeText(result.outcome, result.refusedGroups));
        if (result.outcome == WriteOutcome::Success && context.readSettings) context.readSettings();
    }
    context.window.SetEnabled(SettingsId::kReset, true);
    return result;
}

WriteResult FactoryReset(WriteContext& context) {
    if (!PrepareFactoryReset(context)) return WriteResult();
    return SendFactoryReset(context);
}

}  // namespace orvane
