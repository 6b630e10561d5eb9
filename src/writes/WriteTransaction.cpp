#include "WriteTransaction.h"

#include <thread>
#include <vector>

#include "RequestBuilders.h"
#include "Requests.h"
#include "SettingsControls.h"
#include "StringTable.h"
#include "Timing.h"

namespace orvane {

namespace {

// Which empty texts abandon a write.
enum class EmptinessRule {
    None,       // the builders never refuse
    Any,        // any empty text
    FirstOnly,  // only the first; later empty texts are sent as they are
};

struct SaveButtonPlan {
    int button;
    std::vector<RequestBuilder> builders;
    EmptinessRule rule;
    bool singleRequest;  // pauses after the exchange
    bool smsTest;        // "Send ..." outcome texts
    bool unconnectedFromLastReply;
};

const std::vector<SaveButtonPlan>& Plans() {
    static const std::vector<SaveButtonPlan> plans = {
        {SettingsId::kSync, {BuildTimeRequest}, EmptinessRule::None, true, false, false},
        {SettingsId::kSaveDaylight,
         {WithoutClock<BuildDaylightRequest>},
         EmptinessRule::None,
         true,
         false,
         false},
        {SettingsId::kSaveTimeZone,
         {WithoutClock<BuildTimeZoneRequest>},
         EmptinessRule::None,
         true,
         false,
         false},
        {SettingsId::kSaveCalibration,
         {WithoutClock<BuildOffsetRequest>, WithoutClock<BuildWindRainFactorRequest>,
          WithoutClock<BuildPressureOffsetRequest>, WithoutClock<BuildLightUvFactorRequest>},
         EmptinessRule::Any,
         false,
         false,
         false},
        {SettingsId::kSaveUnit,
         {WithoutClock<BuildUnitRequest>},
         EmptinessRule::None,
         true,
         false,
         false},
        {SettingsId::kSaveAlarm,
         {WithoutClock<BuildHighTempAlarmRequest>, WithoutClock<BuildHighWindAlarmRequest>,
          WithoutClock<BuildHighRainAlarmRequest>, WithoutClock<BuildLowTempAlarmRequest>,
          WithoutClock<BuildHighSwitchTempRequest>, WithoutClock<BuildHighSwitchWindRequest>,
          WithoutClock<BuildLowSwitchRequest>, WithoutClock<BuildAlarmIntervalRequest>,
          WithoutClock<BuildAlarmSwitchRequest>},
         EmptinessRule::Any,
         false,
         false,
         true},
        {SettingsId::kSaveTelephone,
         {WithoutClock<BuildTelephoneRequest>, WithoutClock<BuildSmsIdRequest>},
         EmptinessRule::FirstOnly,
         false,
         false,
         false},
        {SettingsId::kSmsTest,
         {WithoutClock<BuildSmsTestRequest>},
         EmptinessRule::Any,
         false,
         true,
         false},
        {SettingsId::kSaveWebServer,
         {WithoutClock<BuildWebRequest>, WithoutClock<BuildWebLoginRequest>,
          WithoutClock<BuildServerTypeRequest>, WithoutClock<BuildUploadIntervalRequest>},
         EmptinessRule::FirstOnly,
         false,
         false,
         false},
        {SettingsId::kSaveGprs,
         {WithoutClock<BuildGprsRequest>, WithoutClock<BuildSmsCheckRequest>},
         EmptinessRule::FirstOnly,
         false,
         false,
         false},
        {SettingsId::kSaveLoggerInterval,
         {WithoutClock<BuildLoggerIntervalRequest>},
         EmptinessRule::Any,
         true,
         false,
         false},
        {SettingsId::kSaveSendCurrent,
         {WithoutClock<BuildSendCurrentRequest>},
         EmptinessRule::Any,
         true,
         false,
         false},
    };
    return plans;
}

const SaveButtonPlan* FindPlan(int buttonId) {
    for (const SaveButtonPlan& plan : Plans())
        if (plan.button == buttonId) return &plan;
    return nullptr;
}

bool Abandoned(const QStringList& texts, EmptinessRule rule) {
    switch (rule) {
        case EmptinessRule::None:
            return false;
        case EmptinessRule::Any:
            for (const QString& text : texts)
                if (text.isEmpty()) return true;
            return false;
        case EmptinessRule::FirstOnly:
            return texts.isEmpty() || texts.first().isEmpty();
    }
    return false;
}

void Pause(std::chrono::milliseconds duration) {
    if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

// Clears the marks of a Save button's write however it ends.
class WriteMarks {
public:
    explicit WriteMarks(ExchangeState& state) : m_state(state) {
        m_state.requestBusy = true;
        m_state.pendingRequest = kPendingWrite;
    }
    ~WriteMarks() {
        m_state.requestBusy = false;
        m_state.pendingRequest = kPendingNone;
    }
    WriteMarks(const WriteMarks&) = delete;
    WriteMarks& operator=(const WriteMarks&) = delete;

private:
    ExchangeState& m_state;
};

}  // namespace

WriteOutcome ClassifyWriteReply(const QString& combinedReply) {
    return ClassifyWriteReply(combinedReply, combinedReply);
}

WriteOutcome ClassifyWriteReply(const QString& combinedReply, const QString& unconnectedScope) {
    if (combinedReply.contains(QLatin1String(Reply::kWriteSuccess))) return WriteOutcome::Success;
    if (unconnectedScope.contains(QLatin1String(Reply::kUnconnected)))
        return WriteOutcome::Unconnected;
    return WriteOutcome::Fail;
}

QString OutcomeText(WriteOutcome outcome, bool smsTest) {
    switch (outcome) {
        case WriteOutcome::Success:
            return LoadString(smsTest ? 196 : 153);
        case WriteOutcome::Unconnected:
            return LoadString(137);
        case WriteOutcome::Fail:
            return LoadString(smsTest ? 197 : 183);
    }
    return QString();
}

bool IsSaveButton(int buttonId) {
    return FindPlan(buttonId) != nullptr;
}

QStringList BuildGroupRequests(int buttonId, ControlWindow& window, const Clock& clock) {
    QStringList texts;
    if (const SaveButtonPlan* plan = FindPlan(buttonId))
        for (RequestBuilder build : plan->builders) texts << build(window, clock);
    return texts;
}

bool GroupWouldSend(int buttonId, const QStringList& texts) {
    const SaveButtonPlan* plan = FindPlan(buttonId);
    return plan && !Abandoned(texts, plan->rule);
}

QStringList SendRequests(WriteContext& context, const QStringList& requests,
                         std::chrono::milliseconds pause) {
    QStringList replies;
    for (const QString& request : requests) {
        replies << context.transactor.Transact(request);
        Pause(pause);
    }
    return replies;
}

WriteResult RunWriteTransaction(int buttonId, WriteContext& context) {
    WriteResult result;
    const SaveButtonPlan* plan = FindPlan(buttonId);
    if (!plan) return result;

    if (context.state.awaitingNowData) {
        BusyScope busy(context.busy);
        Pause(GetTimings().nowDataWaitBeforeWrite);
    }
    WriteMarks marks(context.state);

    const QStringList texts = BuildGroupRequests(buttonId, context.window, context.clock);
    if (Abandoned(texts, plan->rule)) return result;

    result.abandoned = false;
    result.requests = texts;
    QStringList replies;
    {
        BusyScope busy(context.busy);
        replies = SendRequests(context, texts, std::chrono::milliseconds(0));
        if (plan->singleRequest) Pause(GetTimings().writePause);
    }
    const QString combined = replies.join(QString());
    result.outcome =
        plan->unconnectedFromLastReply
            ? ClassifyWriteReply(combined, replies.isEmpty() ? QString() : replies.last())
            : ClassifyWriteReply(combined);
    context.window.MessageBox(OutcomeText(result.outcome, plan->smsTest));
    return result;
}

}  // namespace orvane
