#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <memory>

#include "AppIni.h"
#include "COrvaneDlg.h"
#include "CWriteSetting.h"
#include "ExchangeState.h"
#include "QtControlWindow.h"
#include "SettingsControls.h"
#include "StationSimulator.h"
#include "StringTable.h"
#include "Timing.h"

namespace orvane::test {

// Runs the event loop until `done` holds or `timeoutMs` passes.
template <class Predicate>
bool WaitFor(Predicate done, int timeoutMs = 4000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

// Answers every message box that opens (modal loops included) and keeps
// its text.
class MessageBoxCatcher {
public:
    MessageBoxCatcher() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (box && box->isVisible() && !m_seen.contains(box)) {
                    m_seen << box;
                    texts << box->text();
                    box->done(QMessageBox::Ok);
                }
            }
        });
        m_timer.start();
    }
    QStringList texts;

private:
    QTimer m_timer;
    QList<QWidget*> m_seen;
};

// Timings short enough for tests: a 16-beat poll of 0.8 s, link passes of
// 20 ms, the Read button back after 0.3 s.
inline Timings ShortTimings() {
    Timings t;
    t.reportPause = Millis(1);
    t.autoReadPeriod = Millis(800);
    t.linkPass = Millis(20);
    t.clockTick = Millis(100);
    t.readButtonReturn = Millis(300);
    t.sdCardButtonReturn = Millis(300);
    t.nowDataWaitBeforeRead = Millis(20);
    t.settingsBusyWait = Millis(20);
    t.nowDataWaitBeforeWrite = Millis(20);
    t.writePause = Millis(5);
    t.nowDataWaitBeforeSaveAll = Millis(20);
    return t;
}

// A settings window on the station simulator, with its own data folder.
struct SettingsWindowHarness {
    explicit SettingsWindowHarness(UiLanguage language = UiLanguage::English, bool plugged = true) {
        SetTimings(ShortTimings());
        SetCurrentLanguage(language);
        AppIni ini(dir.path() + "/Main.ini");
        ini.Write("Language", "Language", language == UiLanguage::Chinese ? "Chinese" : "English");
        ini.Write("About", "Web", "https://orvane.example/");
        ini.Write("Copyright", "Copyright", "Copyright (C) 2026 Orvane");
        if (!plugged) sim.Unplug();
        window = std::make_unique<CWriteSetting>(
            SettingsWindowServices{state, dialog, sim, &sim, dir.path()}, language);
    }
    ~SettingsWindowHarness() {
        window.reset();
        SetTimings(Timings());
        SetCurrentLanguage(UiLanguage::English);
    }

    QtControlWindow& Controls() { return window->Controls(); }
    QWidget* Control(int id) { return window->Controls().Control(id); }
    QAbstractButton* Button(int id) { return qobject_cast<QAbstractButton*>(Control(id)); }
    QComboBox* Combo(int id) { return qobject_cast<QComboBox*>(Control(id)); }
    // A choice made by the user (not by the program).
    void Choose(int comboId, int index) {
        Combo(comboId)->setCurrentIndex(index);
        emit Combo(comboId)->activated(index);
    }
    int RequestCount(const QString& request) const {
        int n = 0;
        for (const QString& r : sim.ReceivedRequests()) n += r == request;
        return n;
    }
    // Shows the window (which starts it) and waits for the first settings
    // read to be applied.
    bool ShowAndWaitForSettings() {
        window->show();
        const bool applied = WaitFor([&] {
            return RequestCount("Read&Time&http 1.0\r\n") >= 1 &&
                   state.pendingRequest == kPendingNone && !state.requestBusy &&
                   Controls().Text(SettingsId::kWebId) == sim.Model().Config().webId;
        });
        // The receive thread posted all of the reply's window calls before
        // it cleared the flags; the rest of them may still be queued.
        QCoreApplication::sendPostedEvents();
        return applied;
    }

    QTemporaryDir dir;
    StationSimulator sim;
    COrvaneDlg dialog{sim};
    ExchangeState state;
    std::unique_ptr<CWriteSetting> window;
};

}  // namespace orvane::test
