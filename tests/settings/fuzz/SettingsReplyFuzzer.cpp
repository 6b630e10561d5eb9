// Any bytes as a settings reply: parsing, and applying what parses, must
// never crash, hang or read out of bounds, and must leave the window and the
// remembered units consistent.
#include <cstddef>
#include <cstdint>

#include "SettingsLayout.h"
#include "ExchangeState.h"
#include "FuzzCheck.h"
#include "SettingsReplyApplier.h"
#include "SettingsTestSupport.h"
#include "StationSettings.h"

using namespace orvane;
using namespace orvane::SettingsId;

using orvane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Replies map each byte to the character of the same code.
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));

    const SettingsParseResult parsed = ParseSettingsReply(text);
    // Rewriting deletes only ">": nothing else can leave an empty text.
    Require((parsed.error == SettingsReplyError::EmptyReply) ==
            QString(text).remove(u'>').isEmpty());

    MemorySettingsWindow window;
    test::PrepareSettingsWindow(window);
    UnitSelection units;
    ExchangeState state;
    SettingsReplyApplier(window, state, units).HandleSettingReply(text);

    Require(!state.requestBusy);
    Require(window.Messages().size() == (parsed.error == SettingsReplyError::None ? 0 : 1));
    if (parsed.error == SettingsReplyError::None) {
        // What the reply selected is what the next unit change converts from.
        for (Quantity q :
             {Quantity::Temperature, Quantity::Wind, Quantity::Rain, Quantity::Pressure})
            Require(units.Previous(q) == window.SelectedIndex(UnitSelection::ComboId(q)));
        // An interval edit is usable exactly when its unit is hours or minutes.
        Require(window.IsEnabled(kSendCurrentInterval) ==
                (window.SelectedIndex(kSendCurrentIntervalUnit) == 0 ||
                 window.SelectedIndex(kSendCurrentIntervalUnit) == 1));
        Require(window.IsEnabled(kSmsCheckInterval) ==
                (window.SelectedIndex(kSmsCheckIntervalUnit) == 0 ||
                 window.SelectedIndex(kSmsCheckIntervalUnit) == 1));
        Require(window.IsEnabled(kAlarmSmsInterval) ==
                (window.SelectedIndex(kAlarmSmsIntervalUnit) == 0));
    }
    return 0;
}
