#include "CurrentReadingsDisplay.h"

#include "CurrentReadings.h"

namespace orvane {

CurrentReadingsDisplay::CurrentReadingsDisplay(ControlWindow& window, std::function<void()> shown)
    : m_window(window), m_shown(std::move(shown)) {}

void CurrentReadingsDisplay::HandleNowDataReply(const QString& replyText) {
    const auto readings = ParseNowDataReply(replyText);
    if (!readings) return;
    ShowCurrentReadings(*readings, m_window);
    if (m_shown) m_shown();
}

}  // namespace orvane
