#pragma once

#include <QStringList>
#include <algorithm>
#include <deque>
#include <functional>

#include "ExchangeState.h"
#include "MemoryControlWindow.h"
#include "SelectionRules.h"
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
            QString reply = script.front();
            script.pop_front();
            return reply;
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
class BusyAwareWindow : public MemoryControlWindow {
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

// The settings window's controls as it opens, in memory: combos filled and
// selected, defaults in the edits.
inline void FillLikeOpenedWindow(MemoryControlWindow& w) {
    auto fill = [&w](int id, const QStringList& items, int selected) {
        w.SetItems(id, items);
        w.SelectIndex(id, selected);
    };
    auto numbers = [](int from, int to) {
        QStringList items;
        for (int i = from; i <= to; ++i) items << QString::number(i);
        return items;
    };
    fill(1009, {QStringLiteral("°C"), QStringLiteral("°F")}, 0);
    fill(1010, {"fc", "lux", "w/m2"}, 0);
    fill(1011, {"km/h", "mph", "knots", "m/s", "bft"}, 0);
    fill(1012, {"mm", "inch"}, 0);
    fill(1079, {"hpa", "mmHg", "inHg"}, 0);
    fill(1014, numbers(-12, 12), 12);
    for (int id : {1135, 1138}) fill(id, numbers(1, 12), 0);
    for (int id : {1136, 1139}) fill(id, numbers(1, 5), 0);
    for (int id : {1137, 1140}) fill(id, numbers(0, 23), 0);
    fill(1183, {LoadString(162), LoadString(163), LoadString(179)}, 0);
    fill(1188, {LoadString(162), LoadString(163), LoadString(176), LoadString(177)}, 0);
    fill(1189, {LoadString(163), LoadString(178)}, 0);
    fill(1190, {LoadString(162), LoadString(163), LoadString(173)}, 1);
    fill(1211, {LoadString(174), LoadString(175)}, 0);
    fill(1045, {"jsp", "asp", "php"}, 2);
    fill(1046, {"Default", "Customize"}, 1);
    w.SetEditableCombo(1077, true);
    fill(1077, {kDefaultUploadHost, "New web"}, 0);

    w.SetText(1000, "0");
    w.SetText(1001, "0.0");
    w.SetText(1002, "0");
    for (int id : {1003, 1004, 1006, 1008}) w.SetText(id, "1.00");
    w.SetText(1126, "0.0");
    w.SetText(1127, "0.0");
    w.SetText(1191, "2");
    w.SetText(1018, "30");
    w.SetText(1019, "30");
    w.SetText(1192, "2");
    w.SetText(1023, "5");
    w.SetText(1044, "80");
    w.SetText(1052, "25.0");
    w.SetText(1053, "25.0");
    w.SetText(1054, "65");
    for (int id : {1055, 1056, 1057, 1058}) w.SetText(id, "0.0");
    w.SetText(1086, "10.0");
    w.SetText(1087, "10.0");
    w.SetText(1088, "35");
    w.SetText(1048, "UNINET");
}

}  // namespace orvane::test
