#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <thread>

#include "Timing.h"

namespace orvane::test {

// A ThreadSanitizer build runs several times slower; silences that tests
// rely on are stretched by this much there.
#if defined(__SANITIZE_THREAD__)
inline constexpr int kSlowdown = 4;
#else
inline constexpr int kSlowdown = 1;
#endif

// Protocol durations cut down so that every link test runs in milliseconds.
inline Timings ShortTimings() {
    Timings t;
    t.reportWait = Millis(20);
    t.reportPause = Millis(0);
    t.autoReadPeriod = Millis(160);
    t.linkPass = Millis(10);
    t.clockTick = Millis(10);
    t.downloadSilence = Millis(250 * kSlowdown);
    t.fileSizeSilence = Millis(150 * kSlowdown);
    // The waits of the settings and write paths, which the e2e tests run too.
    t.nowDataWaitBeforeRead = Millis(5);
    t.settingsBusyWait = Millis(5);
    t.nowDataWaitBeforeWrite = Millis(5);
    t.writePause = Millis(1);
    t.nowDataWaitBeforeSaveAll = Millis(5);
    t.fullWritePause = Millis(1);
    return t;
}

// Polls `condition` until it holds or `timeout` passes.
inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(5000 *
                                                                                     kSlowdown)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return condition();
}

// How soon the link thread must show a change of the connection: a few
// passes, with room for a loaded machine.
inline std::chrono::milliseconds StatusDeadline() {
    return std::chrono::milliseconds(1000 * kSlowdown);
}

}  // namespace orvane::test
