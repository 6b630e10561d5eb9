// The settings window running its real connection threads against the
// station simulator, on shortened timings.
#include <gtest/gtest.h>

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <algorithm>

#include "CReadSDcardWindow.h"
#include "Cmax.h"
#include "LinkSession.h"
#include "MaxMinControls.h"
#include "ProcessThreads.h"
#include "SettingsControls.h"
#include "SettingsWindowHarness.h"

using namespace orvane;
using namespace orvane::test;
using namespace orvane::SettingsId;

namespace {
const QString kReadSettings = QStringLiteral("Read&Time&http 1.0\r\n");
const QString kReadNowData = QStringLiteral("Read&Now Data&http 1.0");
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
}  // namespace

TEST(SettingsWindowStation, OpeningReadsTheSettingsAndFillsTheControls) {
    SettingsWindowHarness h;
    StationConfig config = h.sim.Model().Config();
    config.timeZone = -5;
    config.windUnit = "mph";
    config.telephone3 = "0300999";
    config.webId = "TESTID42";
    config.webPassword = "pa55";
    config.gprsApn = "apn.example";
    config.smsTestId = "SMSID9";
    config.highHumidity = 77;
    config.dstStartMonth = 4;
    config.sendCurrentInterval = "15m";
    config.alarmAll = 1;
    h.sim.Model().SetConfig(config);

    ASSERT_TRUE(h.ShowAndWaitForSettings());
    QtControlWindow& w = h.Controls();
    EXPECT_EQ(w.Text(kTimeZone), "-5");
    EXPECT_EQ(w.Text(kWindUnit), "mph");
    EXPECT_EQ(w.Text(kTelephone3), "0300999");
    EXPECT_EQ(w.Text(kWebId), "TESTID42");
    EXPECT_EQ(w.Text(kWebPassword), "pa55");
    EXPECT_EQ(w.Text(kGprsApn), "apn.example");
    EXPECT_EQ(w.Text(kSmsTestId), "SMSID9");
    EXPECT_EQ(w.Text(kHighHumidity), "77");
    EXPECT_EQ(w.Text(kDstStartMonth), "4");
    EXPECT_EQ(w.Text(kSendCurrentInterval), "15");
    EXPECT_EQ(w.Text(kSendCurrentIntervalUnit), "Minute");
    EXPECT_EQ(w.SelectedIndex(kAlarmAll), 1);
    EXPECT_FALSE(w.IsEnabled(kHighTemperatureSwitch));  // alarms disabled: switches greyed
    EXPECT_EQ(w.Text(kWebHost), config.webHost);
    // Every positional field of the reply as the window shows it.
    EXPECT_EQ(w.Text(kWindDirectionOffset), h.sim.Model().SettingField(6));
    EXPECT_EQ(w.Text(kHumidityOffset), h.sim.Model().SettingField(8));
    EXPECT_EQ(w.Text(kWindFactor), h.sim.Model().SettingField(9));
    EXPECT_EQ(w.ToolTip(kHighWind), "0.0 - 111.8mph");
    EXPECT_EQ(w.Text(kHighWindCaption), "mph");
    // Link status and the clock.
    EXPECT_TRUE(WaitFor([&] { return w.StatusText(kConnectionStatusPart) == "Connected"; }));
    EXPECT_EQ(w.Title(), "Orvane   Ver1.6");
    EXPECT_TRUE(WaitFor([&] {
        return w.DateTime(kTimePicker).isValid() && w.DateTime(kTimePicker).date().year() > 2000;
    }));
    EXPECT_TRUE(w.IsEnabled(kRead));
    EXPECT_EQ(h.RequestCount(kReadSettings), 1);
}

TEST(SettingsWindowStation, ReadingsAppearAfterThePoll) {
    SettingsWindowHarness h;
    ASSERT_TRUE(h.ShowAndWaitForSettings());
    QtControlWindow& w = h.Controls();
    EXPECT_EQ(w.Text(kNowTemperature), "");
    ASSERT_TRUE(WaitFor([&] { return !w.Text(kNowTime).isEmpty(); }, 5000));
    EXPECT_GE(h.RequestCount(kReadNowData), 1);
    EXPECT_TRUE(w.Text(kNowTemperature).endsWith(U(" °C")))
        << w.Text(kNowTemperature).toStdString();
    EXPECT_TRUE(w.Text(kNowWind).endsWith(" km/h")) << w.Text(kNowWind).toStdString();
    EXPECT_TRUE(w.Text(kNowWindDirection).endsWith(U("°")))
        << w.Text(kNowWindDirection).toStdString();
    EXPECT_TRUE(w.Text(kNowBattery) == "4.0 v" || w.Text(kNowBattery) == "3.5v" ||
                w.Text(kNowBattery) == "3.3v");
}

TEST(SettingsWindowStation, ReadTwiceQuicklyFindsReadDisabledUntilItReturns) {
    SettingsWindowHarness h;
    // No current-readings reply (which also gives Read back) may interfere.
    Timings quiet = GetTimings();
    quiet.autoReadPeriod = Millis(600000);
    SetTimings(quiet);
    ASSERT_TRUE(h.ShowAndWaitForSettings());
    // Let the timed return of the opening read pass first.
    WaitFor([] { return false; }, 400);
    QtControlWindow& w = h.Controls();
    // The station stays silent: only the timed return brings Read back.
    StationFaults silent;
    silent.silent = true;
    h.sim.SetFaults(silent);
    QElapsedTimer timer;
    timer.start();
    h.Button(kRead)->click();
    EXPECT_FALSE(w.IsEnabled(kRead));
    EXPECT_FALSE(w.IsEnabled(kSaveAll));
    h.Button(kRead)->click();  // a disabled button takes no click
    ASSERT_TRUE(WaitFor([&] { return h.RequestCount(kReadSettings) >= 2; }));
    ASSERT_TRUE(WaitFor([&] { return w.IsEnabled(kRead); }));
    EXPECT_GE(timer.elapsed(), 250);  // the 0.3 s return, not at once
    EXPECT_TRUE(w.IsEnabled(kSaveAll));
    EXPECT_EQ(h.RequestCount(kReadSettings), 2);

    // With an answering station the buttons come back with the reply, long
    // before a (now long) timed return.
    h.sim.ClearFaults();
    Timings t = GetTimings();
    t.readButtonReturn = Millis(60000);
    SetTimings(t);
    h.state.pendingRequest = kPendingNone;  // the silent read never completed
    h.Button(kRead)->click();
    EXPECT_FALSE(w.IsEnabled(kRead));
    EXPECT_TRUE(WaitFor([&] { return w.IsEnabled(kRead); }, 3000));
}

TEST(SettingsWindowStation, OpenedWithoutTheStationOffersNoStationCommand) {
    SettingsWindowHarness h(UiLanguage::English, /*plugged=*/false);
    h.window->show();
    QtControlWindow& w = h.Controls();
    ASSERT_TRUE(WaitFor([&] { return w.StatusText(kConnectionStatusPart) == "UnConnected"; }));
    EXPECT_EQ(w.Text(kCurrentWeatherGroup), "Current Weather - station unplugged, no reading yet");
    for (int id : {kRead, kSaveAll, kReset, kMaxMin, kSdCardFile, kSaveTimeZone})
        EXPECT_FALSE(w.IsEnabled(id)) << id;
    EXPECT_TRUE(w.IsEnabled(kExit));
    EXPECT_TRUE(w.IsEnabled(kTimeZone));
    const QString before = w.Text(kWebId) + w.Text(kTimeZone) + w.Text(kHighTemperature);
    MessageBoxCatcher boxes;
    h.Button(kRead)->click();  // disabled: nothing happens
    // The link's own read after a re-open still finds no station and says so.
    h.window->ReadSettings();
    ASSERT_TRUE(WaitFor([&] { return !boxes.texts.isEmpty(); }));
    EXPECT_EQ(boxes.texts, QStringList{"Unconnected"});
    EXPECT_EQ(w.Text(kWebId) + w.Text(kTimeZone) + w.Text(kHighTemperature), before);
    EXPECT_TRUE(h.sim.ReceivedRequests().empty());
    EXPECT_EQ(h.state.pendingRequest, kPendingNone);
    // The next status refresh takes back the Read that the failed read returned.
    EXPECT_TRUE(WaitFor([&] { return !w.IsEnabled(kRead); }));

    // Plugging the station in brings one settings read and the commands.
    h.sim.Plug();
    ASSERT_TRUE(WaitFor([&] { return w.Text(kWebId) == h.sim.Model().Config().webId; }));
    EXPECT_EQ(h.RequestCount(kReadSettings), 1);
    EXPECT_TRUE(WaitFor([&] { return w.StatusText(kConnectionStatusPart) == "Connected"; }));
    EXPECT_TRUE(WaitFor([&] { return w.IsEnabled(kMaxMin) && w.IsEnabled(kRead); }));
}

TEST(SettingsWindowStation, UnplugKeepsTheReadingsGreyedAndTheCommandsOff) {
    SettingsWindowHarness h;
    ASSERT_TRUE(h.ShowAndWaitForSettings());
    QtControlWindow& w = h.Controls();
    ASSERT_TRUE(WaitFor([&] { return !w.Text(kNowTime).isEmpty(); }, 5000));
    const QString temperature = w.Text(kNowTemperature);
    const int commands[] = {kRead,       kSaveAll, kReset,        kMaxMin,
                            kSdCardFile, kSync,    kSaveTimeZone, kSaveAlarm};
    const int readings[] = {kNowTemperature, kNowHumidity, kNowWind, kNowRainDay, kNowTime};

    h.sim.Unplug();
    ASSERT_TRUE(WaitFor([&] { return w.StatusText(kConnectionStatusPart) == "UnConnected"; }));
    ASSERT_TRUE(WaitFor([&] { return w.Text(kCurrentWeatherGroup).contains("unplugged"); }));
    EXPECT_TRUE(w.Text(kCurrentWeatherGroup)
                    .startsWith("Current Weather - station unplugged, last reading 20"))
        << w.Text(kCurrentWeatherGroup).toStdString();
    for (int id : commands) EXPECT_FALSE(w.IsEnabled(id)) << id;
    for (int id : readings) EXPECT_FALSE(w.IsEnabled(id)) << id;
    EXPECT_EQ(w.Text(kNowTemperature), temperature);  // still on screen
    EXPECT_TRUE(w.IsEnabled(kExit));
    // Past the timed return of Read and Save All they stay off.
    WaitFor([] { return false; }, 2 * int(GetTimings().readButtonReturn.count()));
    EXPECT_FALSE(w.IsEnabled(kRead));
    EXPECT_FALSE(w.IsEnabled(kSaveAll));

    h.sim.Plug();
    ASSERT_TRUE(WaitFor(
        [&] { return w.IsEnabled(kMaxMin) && w.IsEnabled(kSdCardFile) && w.IsEnabled(kRead); }));
    // A fresh reading takes the mark off.
    ASSERT_TRUE(WaitFor([&] { return w.IsEnabled(kNowTemperature); }, 5000));
    EXPECT_EQ(w.Text(kCurrentWeatherGroup), "Current Weather");
    for (int id : readings) EXPECT_TRUE(w.IsEnabled(id)) << id;
    for (int id : commands) EXPECT_TRUE(WaitFor([&] { return w.IsEnabled(id); })) << id;
}

TEST(SettingsWindowStation, MaxMinRecordOpensTheWindowInChinese) {
    SettingsWindowHarness h(UiLanguage::Chinese);
    ASSERT_TRUE(h.ShowAndWaitForSettings());
    h.Button(kMaxMin)->click();
    ASSERT_TRUE(WaitFor([&] { return h.window->MaxMinWindow().isVisible(); }));
    Cmax& cmax = h.window->MaxMinWindow();
    EXPECT_TRUE(cmax.ReplyText().startsWith("MAX MIN:"));
    EXPECT_TRUE(cmax.Controls().Text(MaxMinId::kHistoryMax).startsWith(U("最大值")))
        << cmax.Controls().Text(MaxMinId::kHistoryMax).toStdString();
    EXPECT_TRUE(cmax.Controls().Text(MaxMinId::kHistoryMax).contains(U("温度")));
    EXPECT_FALSE(cmax.Controls().Text(MaxMinId::kHistoryMax).contains("Temp"));
    EXPECT_TRUE(cmax.Controls().Text(MaxMinId::kTodayMin).startsWith(U("今天最小值")));
    EXPECT_EQ(h.state.pendingRequest, kPendingNone);
    cmax.close();
}

TEST(SettingsWindowStation, MaxMinWithoutTheStationSaysUnConnected) {
    SettingsWindowHarness h(UiLanguage::Chinese, /*plugged=*/false);
    MessageBoxCatcher boxes;
    h.Button(kMaxMin)->click();
    ASSERT_TRUE(WaitFor([&] { return !boxes.texts.isEmpty(); }));
    EXPECT_EQ(boxes.texts, QStringList{U("未连接")});
    EXPECT_FALSE(h.window->MaxMinWindow().isVisible());
}

TEST(SettingsWindowStation, ClosingStopsEveryThreadPromptly) {
    SettingsWindowHarness h;
    ASSERT_TRUE(h.ShowAndWaitForSettings());
    // Keep the workers busy calling into the window while it closes.
    h.Button(kRead)->click();
    QElapsedTimer timer;
    timer.start();
    h.window->close();
    EXPECT_LT(timer.elapsed(), 2000);
    // Nothing is left to poll: every worker of the window has been joined.
    const QStringList threads = ThreadNames();
    EXPECT_FALSE(std::any_of(threads.begin(), threads.end(), [](const QString& t) {
        return t.startsWith("orv-");
    })) << threads.join(' ').toStdString();
}

TEST(SettingsWindowStation, SaveButtonsWriteThroughTheWriteTransaction) {
    SettingsWindowHarness h;
    ASSERT_TRUE(h.ShowAndWaitForSettings());
    h.Controls().SelectText(kTimeZone, "-5");
    MessageBoxCatcher boxes;
    h.Button(kSaveTimeZone)->click();
    ASSERT_TRUE(WaitFor([&] { return !boxes.texts.isEmpty(); }));
    EXPECT_EQ(boxes.texts, QStringList{"Save Success"});
    EXPECT_EQ(h.sim.Model().Config().timeZone, -5);
    EXPECT_EQ(h.state.pendingRequest, kPendingNone);
    EXPECT_TRUE(h.window->centralWidget()->isEnabled());  // no longer busy
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(SettingsWindowStation, SdCardFileOpensTheListOfTheCard) {
    SettingsWindowHarness h;
    ASSERT_TRUE(h.ShowAndWaitForSettings());
    h.Button(kSdCardFile)->click();
    EXPECT_FALSE(h.Controls().IsEnabled(kSdCardFile));
    ASSERT_TRUE(WaitFor([&] { return h.window->SdCardWindow().isVisible(); }));
    EXPECT_EQ(h.window->SdCardWindow().Logic().FileNames(), h.sim.Model().FileNames());
    EXPECT_TRUE(h.state.sdWindowOpen);
    // A second press while the window is open sends nothing.
    h.window->RequestSdCardList();
    EXPECT_EQ(h.RequestCount("read&SDCard file&http 1.0"), 1);
    // Wait for the size listing to end before the window goes.
    WaitFor([&] { return !h.window->SdCardWindow().Logic().IsListingSizes(); });
    h.window->SdCardWindow().close();
}

// A list or max/min request the station never answers opens no window and
// leaves the button usable: pressed again once the station answers, it asks
// anew and the window opens. SDCard File is off meanwhile and comes back by
// itself.
TEST(SettingsWindowStation, SdCardFileAndMaxMinWithoutAnAnswerCanAskAgain) {
    struct Case {
        const char* name;
        int button;
        StationRequestKind kind;
        QString request;
    };
    for (const Case& c :
         {Case{"SDCard File", kSdCardFile, StationRequestKind::ReadSdList,
               "read&SDCard file&http 1.0"},
          Case{"Max/Min", kMaxMin, StationRequestKind::ReadMaxMin, "Read&Max&Min&http 1.0"}}) {
        SCOPED_TRACE(c.name);
        SettingsWindowHarness h;
        ASSERT_TRUE(h.ShowAndWaitForSettings());
        ASSERT_TRUE(WaitFor([&] { return h.Controls().IsEnabled(c.button); }));
        StationFaults silent;
        silent.onlyFor = c.kind;
        silent.silent = true;
        h.sim.SetFaults(silent);
        MessageBoxCatcher boxes;
        h.Button(c.button)->click();
        ASSERT_TRUE(WaitFor([&] { return h.RequestCount(c.request) == 1; }));
        if (c.button == kSdCardFile) {
            EXPECT_FALSE(h.Controls().IsEnabled(kSdCardFile));
        }
        ASSERT_TRUE(WaitFor([&] { return h.Controls().IsEnabled(c.button); }));
        EXPECT_FALSE(h.window->SdCardWindow().isVisible());
        EXPECT_FALSE(h.window->MaxMinWindow().isVisible());
        EXPECT_TRUE(boxes.texts.isEmpty());

        h.sim.ClearFaults();
        h.Button(c.button)->click();
        EXPECT_TRUE(WaitFor([&] { return h.RequestCount(c.request) == 2; }));
        if (c.button == kSdCardFile) {
            ASSERT_TRUE(WaitFor([&] { return h.window->SdCardWindow().isVisible(); }));
            WaitFor([&] { return !h.window->SdCardWindow().Logic().IsListingSizes(); });
            h.window->SdCardWindow().close();
        } else {
            ASSERT_TRUE(WaitFor([&] { return h.window->MaxMinWindow().isVisible(); }));
            h.window->MaxMinWindow().close();
        }
    }
}

// SDCard File without the station says so, sends nothing, and gives Read
// and Save All back.
TEST(SettingsWindowStation, SdCardFileWithoutTheStationSaysUnConnected) {
    SettingsWindowHarness h(UiLanguage::English, /*plugged=*/false);
    MessageBoxCatcher boxes;
    h.window->RequestSdCardList();
    ASSERT_TRUE(WaitFor([&] { return !boxes.texts.isEmpty(); }));
    EXPECT_EQ(boxes.texts, QStringList{"UnConnected"});
    EXPECT_TRUE(h.sim.ReceivedRequests().empty());
    EXPECT_FALSE(h.window->SdCardWindow().isVisible());
    EXPECT_FALSE(h.state.sdWindowOpen);
    EXPECT_EQ(h.state.pendingRequest, kPendingNone);
}

// Save All and the factory reset send 27 or 28 requests off the GUI thread:
// the window repaints and its timers fire meanwhile, the progress shows in
// the status bar, input is blocked, and everything comes back at the end.
TEST(SettingsWindowStation, FullWritesKeepTheWindowRunning) {
    struct Case {
        const char* name;
        int button;
        int total;
    };
    for (const Case& c : {Case{"Save All", kSaveAll, 27}, Case{"Reset", kReset, 28}}) {
        SCOPED_TRACE(c.name);
        SettingsWindowHarness h;
        Timings quiet = GetTimings();
        quiet.autoReadPeriod = Millis(600000);
        SetTimings(quiet);
        ASSERT_TRUE(h.ShowAndWaitForSettings());
        ASSERT_TRUE(h.Controls().SelectText(kTimeZone, "3"));
        StationFaults slow;
        slow.confirmationDelay = Millis(15);
        h.sim.SetFaults(slow);

        QProgressBar* bar = nullptr;
        for (QProgressBar* b : h.window->findChildren<QProgressBar*>())
            if (b->format().contains("%m")) bar = b;
        ASSERT_NE(bar, nullptr);
        // What a timer on the GUI thread sees while the write runs.
        int ticksMidWrite = 0;
        bool blockedMidWrite = true;
        bool busyCursorSeen = false;
        QString textMidWrite;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (!bar->isVisible() || bar->value() <= 0 || bar->value() >= bar->maximum()) return;
            ++ticksMidWrite;
            blockedMidWrite = blockedMidWrite && !h.window->centralWidget()->isEnabled() &&
                              !h.window->menuBar()->isEnabled();
            busyCursorSeen =
                busyCursorSeen || (QApplication::overrideCursor() &&
                                   QApplication::overrideCursor()->shape() == Qt::WaitCursor);
            textMidWrite = bar->text();
        });
        ticker.start();

        MessageBoxCatcher boxes;  // confirms, then takes the outcome
        h.Button(c.button)->click();
        ASSERT_TRUE(WaitFor([&] { return boxes.texts.size() >= 2; }, 8000)) << boxes.texts.size();
        EXPECT_EQ(boxes.texts[1], "Save Success");
        EXPECT_GE(ticksMidWrite, 5);
        EXPECT_TRUE(blockedMidWrite);
        EXPECT_TRUE(busyCursorSeen);
        EXPECT_EQ(bar->maximum(), c.total);
        EXPECT_TRUE(textMidWrite.startsWith("Request ") &&
                    textMidWrite.endsWith(QString(" of %1 sent").arg(c.total)))
            << textMidWrite.toStdString();

        ASSERT_TRUE(WaitFor([&] {
            return !bar->isVisible() && h.window->centralWidget()->isEnabled() &&
                   h.window->menuBar()->isEnabled() && h.Controls().IsEnabled(c.button) &&
                   QApplication::overrideCursor() == nullptr;
        }));
        // Save All writes the time zone chosen; the reset the factory one of
        // a data folder without a [Unit] Stage.
        EXPECT_EQ(h.sim.Model().Config().timeZone, c.button == kSaveAll ? 3 : -5);
        h.window->close();
    }
}
