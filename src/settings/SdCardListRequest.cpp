#include "SdCardListRequest.h"

#include <thread>

#include "CUSBDrive.h"
#include "Requests.h"
#include "SettingsControls.h"
#include "Timing.h"

namespace orvane {

bool SendSdCardListRequest(ExchangeState& state, const RequestSender& sendText) {
    if (state.sdWindowOpen) return false;
    if (state.awaitingNowData) std::this_thread::sleep_for(GetTimings().nowDataWaitBeforeRead);
    state.requestBusy = true;
    state.awaitingSdList = true;
    state.pendingRequest = kPendingSdList;
    state.sdListReplyText.Clear();
    if (sendText(QString::fromLatin1(Request::kReadSdCardList))) return true;
    state.awaitingSdList = false;
    state.requestBusy = false;
    int expected = kPendingSdList;
    state.pendingRequest.compare_exchange_strong(expected, kPendingNone);
    return false;
}

bool RequestSdCardList(ControlWindow& w, CUSBDrive& drive, ExchangeState& state,
                       UiLanguage language) {
    if (state.sdWindowOpen) return false;
    if (!drive.ProbeStation()) {
        w.MessageBox(LoadString(137, language));
        w.SetEnabled(SettingsId::kRead, true);
        w.SetEnabled(SettingsId::kSaveAll, true);
        return false;
    }
    SendSdCardListRequest(state,
                          [&drive](const QString& request) { return drive.SendText(request); });
    w.SetEnabled(SettingsId::kSdCardFile, false);
    return true;
}

}  // namespace orvane
