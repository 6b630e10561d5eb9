#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <deque>
#include <functional>

#include "../settings/SettingsTestSupport.h"
#include "ExchangeState.h"
#include "SettingsLayout.h"
#include "StringTable.h"
#include "Timing.h"
#include "Transactor.h"
#include "WriteContext.h"

namespace orvane::test {

// Records every request and answers from a script, then with a fixed reply.
class RecordingTransactor : public Transactor {
public:
    QString Transact(const QString& request) override {
        requests << request;
        if (observe) observe(request);
        if (!script.empty()) {
            QString next = script.front();
            script.pop_front();
            return next;
        }
        return reply;
    }

    QStringList requests;
    std::deque<QString> script;  // replies for the first requests
    QString reply = QStringLiteral("Write success");
    std::function<void(const QString&)> observe;
};

// No real pauses in tests.
inline void UseInstantTimings() {
    Timings t;
    t.nowDataWaitBeforeWrite = t.writePause = t.nowDataWaitBeforeSaveAll = t.fullWritePause =
        Millis(0);
    SetTimings(t);
}

// A memory window that knows whether the write holds it busy, so that tests
// can tell which message boxes appeared over a busy window.
class BusyAwareWindow : public MemorySettingsWindow {
public:
    void MessageBox(const QString& text) override {
        if (busyDepth != 0) messagesWhileBusy << text;
        MemoryControlWindow::MessageBox(text);
    }
    BusyHooks Hooks() {
        return {[this] {
                    ++busyDepth;
                    ++busyCount;
                    maxDepth = std::max(maxDepth, busyDepth);
                },
                [this] { --busyDepth; }};
    }
    int busyDepth = 0;
    int busyCount = 0;
    int maxDepth = 0;
    QStringList messagesWhileBusy;
};

// The settings window's controls as it opens, in memory.
inline void FillLikeOpenedWindow(MemoryControlWindow& w) {
    PrepareSettingsWindow(w);
    // The station's factory logger interval, as after the first settings
    // read; the opened window leaves it empty.
    w.SetText(SettingsId::kLoggerInterval, "5");
}

// A window as it opens on Sunday 10 March 2024, a recording transactor and
// instant pauses: what most write tests start from.
class WriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetCurrentLanguage(UiLanguage::English);
        UseInstantTimings();
        FillLikeOpenedWindow(w);
        w.SetDateTime(SettingsId::kDatePicker, clock.LocalNow());
        context.busy = w.Hooks();
    }

    BusyAwareWindow w;
    RecordingTransactor transactor;
    ExchangeState state;
    FixedClock clock{QDateTime(QDate(2024, 3, 10), QTime(9, 0)),
                     QDateTime(QDate(2024, 3, 10), QTime(7, 5, 9), Qt::UTC)};
    WriteContext context{w, transactor, state, clock, {}, {}, {}, {}};
};

}  // namespace orvane::test
