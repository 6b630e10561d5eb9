#pragma once

#include <QString>
#include <array>

#include "StringTable.h"

namespace orvane {

class ControlWindow;

// The four record blocks of a "MAX MIN:" reply (history max, history min,
// today max, today min), cut from the reply with every "@" removed. Each runs
// from its keyword to the nearest later keyword found, or to the end; a
// block whose keyword is missing is empty.
// Pure; any thread.
std::array<QString, 4> SplitMaxMinBlocks(const QString& replyText);

// The station keywords of one block replaced by the language's texts, every
// occurrence, in the fixed table order. Pure; any thread.
QString LocaliseMaxMinBlock(const QString& block, UiLanguage language);

// Fills the max/min window (MaxMinControls.h) for a complete reply: title,
// Exit, and the four blocks localised, one line a text line. Any thread
// (window calls are synchronous).
void ShowMaxMinRecords(ControlWindow& window, const QString& replyText, UiLanguage language);

}  // namespace orvane
