#pragma once

#include <functional>

namespace orvane {

// How a write tells the window that it is talking to the station: `begin`
// shows a busy cursor and stops other input, `end` undoes it. The window
// wires them to its override cursor and to disabling itself; either may be
// empty. Every `begin` is followed by one `end` before the next `begin`, and
// no message box is shown in between.
struct BusyHooks {
    std::function<void()> begin;
    std::function<void()> end;
};

// Holds the window busy for its lifetime. User-interface thread, like the
// writes that use it.
class BusyScope {
public:
    explicit BusyScope(const BusyHooks& hooks) : m_hooks(hooks) {
        if (m_hooks.begin) m_hooks.begin();
    }
    ~BusyScope() {
        if (m_hooks.end) m_hooks.end();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const BusyHooks& m_hooks;
};

}  // namespace orvane
