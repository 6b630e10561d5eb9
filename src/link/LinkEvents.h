#pragma once

#include <QDateTime>

namespace orvane {

// What the link tells the window that shows it, in the link's own terms; the
// window decides how to show each. Calls come on the link's threads and must
// return at once: post the change to the window's thread, never wait for it.
class LinkEvents {
public:
    virtual ~LinkEvents() = default;
    // The station became attached or went away; also once when the link
    // thread starts, so the window shows the state it starts in.
    virtual void ConnectionChanged(bool attached) = 0;
    // Once every Timings::clockTick: the computer's local date and time.
    virtual void ClockTick(const QDateTime& now) = 0;
    // A current-readings reply was handed over: the requests held back
    // while it was awaited (Read, Save All) may go again.
    virtual void CurrentReadingsDone() = 0;
};

}  // namespace orvane
