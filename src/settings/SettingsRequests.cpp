#include "SettingsRequests.h"

#include <thread>

#include "CUSBDrive.h"
#include "ExchangeState.h"
#include "Requests.h"
#include "SettingsControls.h"
#include "Timing.h"

namespace orvane {

namespace {

// A current-readings reply still on its way would be mixed into ours.
void LetCurrentReadingsFinish(const ExchangeState& state) {
    if (state.awaitingNowData) std::this_thread::sleep_for(GetTimings().nowDataWaitBeforeRead);
}

void EnableReadButtons(ControlWindow& w) {
    w.SetEnabled(SettingsId::kRead, true);
    w.SetEnabled(SettingsId::kSaveAll, true);
}

}  // namespace

bool SendSettingsRequest(CUSBDrive& drive, ExchangeState& state) {
    LetCurrentReadingsFinish(state);
    state.requestBusy = true;
    state.settingReplyText.Clear();
    state.awaitingSetting = true;
    state.pendingRequest = kPendingSettings;
    return drive.SendText(QString::fromLatin1(Request::kReadSettings));
}

bool SendMaxMinRequest(CUSBDrive& drive, ExchangeState& state) {
    LetCurrentReadingsFinish(state);
    state.requestBusy = true;
    state.maxMinReplyText.Clear();
    state.awaitingMaxMin = true;
    state.pendingRequest = kPendingMaxMin;
    return drive.SendText(QString::fromLatin1(Request::kReadMaxMin));
}

SettingsReadStart ReadSettings(ControlWindow& w, CUSBDrive& drive, ExchangeState& state,
                               const RequestMessage& message) {
    w.SetEnabled(SettingsId::kRead, false);
    w.SetEnabled(SettingsId::kSaveAll, false);
    if (!drive.ProbeStation()) {
        state.requestBusy = false;
        const QString text = QStringLiteral("Unconnected");
        if (message)
            message(text);
        else
            w.MessageBox(text);
        EnableReadButtons(w);
        return SettingsReadStart::Unconnected;
    }
    return SendSettingsRequest(drive, state) ? SettingsReadStart::Sent
                                             : SettingsReadStart::SendFailed;
}

bool RequestMaxMin(ControlWindow& w, CUSBDrive& drive, ExchangeState& state, UiLanguage language) {
    if (!drive.ProbeStation()) {
        w.MessageBox(LoadString(137, language));
        EnableReadButtons(w);
        return false;
    }
    return SendMaxMinRequest(drive, state);
}

}  // namespace orvane
