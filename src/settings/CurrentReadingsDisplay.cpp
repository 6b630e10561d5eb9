#include "CurrentReadingsDisplay.h"

#include "CurrentReadings.h"

namespace orvane {

CurrentReadingsDisplay::CurrentReadingsDisplay(ControlWindow& window) : m_window(window) {}

void CurrentReadingsDisplay::HandleNowDataReply(const QString& replyText) {
    if (const auto readings = ParseNowDataReply(replyText))
        ShowCurrentReadings(*readings, m_window);
}

}  // namespace orvane
