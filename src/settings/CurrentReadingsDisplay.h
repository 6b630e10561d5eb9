#pragma once

#include <QString>

#include "ReplyHandlers.h"

namespace orvane {

class ControlWindow;

// The current-readings handler the receive thread calls when a "Now Data:"
// reply is complete: parse the copy and show it in the Current Weather
// group. A bad reply is dropped silently; the previous readings stay.
// Receive thread (or any worker).
class CurrentReadingsDisplay : public CurrentReadingsHandler {
public:
    explicit CurrentReadingsDisplay(ControlWindow& window);

    void HandleNowDataReply(const QString& replyText) override;

private:
    ControlWindow& m_window;
};

}  // namespace orvane
