#include "SdCardListRequest.h"

#include <thread>

#include "Requests.h"
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

}  // namespace orvane
