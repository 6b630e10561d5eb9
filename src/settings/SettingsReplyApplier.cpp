#include "SettingsReplyApplier.h"

#include <thread>

#include "ControlWindow.h"
#include "ExchangeState.h"
#include "SettingsControls.h"
#include "StationSettings.h"
#include "Timing.h"
#include "UnitSelection.h"

namespace orvane {

SettingsReplyApplier::SettingsReplyApplier(ControlWindow& window, ExchangeState& state,
                                           UnitSelection& units, MessageSink showMessage)
    : m_window(window), m_state(state), m_units(units), m_showMessage(std::move(showMessage)) {
    if (!m_showMessage) m_showMessage = [this](const QString& text) { m_window.MessageBox(text); };
}

void SettingsReplyApplier::HandleSettingReply(const QString& replyText) {
    // RequestBusy is advisory: one short wait lets a concurrent request
    // settle, then the reply is applied whatever happened.
    if (m_state.requestBusy) std::this_thread::sleep_for(GetTimings().settingsBusyWait);
    m_state.requestBusy = true;

    const SettingsParseResult result = ParseSettingsReply(replyText);
    // The searched values are shown even when a positional field is bad.
    ApplySearchedValues(result.settings, m_window);
    if (result.error != SettingsReplyError::None) {
        m_showMessage(SettingsReplyErrorText(result.error));
        m_window.SetEnabled(SettingsId::kRead, true);
        m_window.SetEnabled(SettingsId::kSaveAll, true);
    } else {
        ApplyStationSettings(result.settings, m_window, m_units);
    }
    m_state.requestBusy = false;
}

}  // namespace orvane
