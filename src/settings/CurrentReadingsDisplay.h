#pragma once

#include <QString>
#include <functional>

#include "ReplyHandlers.h"

namespace orvane {

class ControlWindow;

// The current-readings handler the receive thread calls when a "Now Data:"
// reply is complete: parse the copy and show it in the Current Weather
// group. A bad reply is dropped silently; the previous readings stay.
// Receive thread (or any worker).
class CurrentReadingsDisplay : public CurrentReadingsHandler {
public:
    // `shown` runs after each reply that was shown (may be empty).
    explicit CurrentReadingsDisplay(ControlWindow& window, std::function<void()> shown = {});

    void HandleNowDataReply(const QString& replyText) override;

private:
    ControlWindow& m_window;
    std::function<void()> m_shown;
};

}  // namespace orvane
