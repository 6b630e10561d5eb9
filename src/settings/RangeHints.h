#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "StringTable.h"

namespace orvane {

// Selected indices of the four unit combos that the range texts follow
// (temperature, wind, rain, pressure); -1 for none.
struct HintUnits {
    int temperature = 0;
    int wind = 0;
    int rain = 0;
    int pressure = 0;
};

// The texts that tell the user the valid range of each numeric setting:
// tooltips on the edits and the focus hint of status-bar part 0. Pure
// functions of the control id, the selected units and the UI language; any
// thread. The window builds its hint edits on top of these; the unit-change
// and interval-combo rules replace tooltips with the same texts.

// The 29 edits that show a focus hint in the status bar.
const QList<int>& FocusHintEditIds();

// Status-bar hint when edit `id` takes the focus: nullopt for an edit that
// does not show hints (the previous hint stays), the empty text for a hint
// edit without a range (kAlarmSmsInterval, kUploadInterval,
// kSendCurrentInterval), otherwise group, field and range.
std::optional<QString> FocusHint(int id, const HintUnits& units, UiLanguage language);

// The edits that carry a range tooltip, in the order they are attached when
// the window opens.
const QList<int>& RangeToolTipIds();

// Tooltip of edit `id` under the given units: the unit-dependent texts for
// the offset and alarm edits, the opening texts for the rest (interval
// edits get their opening unit: minutes for kAlarmSmsInterval and
// kUploadInterval, hours for kSendCurrentInterval and kSmsCheckInterval). Empty when the id has no
// tooltip or, for the wind edits, when the wind index is none of the five units (the tooltip is
// then left as is).
QString RangeToolTip(int id, const HintUnits& units, UiLanguage language);

// Tooltip of an interval edit after its unit combo (the four
// interval unit combos of IntervalUnitChanged)
// selected `index`: nullopt when that selection leaves the tooltip alone.
std::optional<QString> IntervalToolTip(int comboId, int index, UiLanguage language);

}  // namespace orvane
