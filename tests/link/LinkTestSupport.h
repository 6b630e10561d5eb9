#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <thread>

#include "Timing.h"

namespace orvane::test {

// Protocol durations cut down so that every link test runs in milliseconds.
inline Timings ShortTimings() {
    Timings t;
    t.reportWait = Millis(20);
    t.reportPause = Millis(0);
    t.autoReadPeriod = Millis(160);
    t.linkPass = Millis(10);
    t.clockTick = Millis(10);
    t.downloadSilence = Millis(150);
    t.fileSizeSilence = Millis(100);
    t.watchdogPoll = Millis(1);
    return t;
}

// Polls `condition` until it holds or `timeout` passes.
inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return condition();
}

inline QByteArray Latin1(const char* text) {
    return QByteArray(text);
}

}  // namespace orvane::test
