// The settings window as it opens, before any station talks to it: the
// captions, defaults, tooltips, range hints and its own controls.
#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <functional>

#include "CAboutDlg.h"
#include "CReadSDcardWindow.h"
#include "Cmax.h"
#include "DZedit.h"
#include "Grapsh.h"
#include "SettingsWindowHarness.h"
#include "ShowLog.h"

using namespace orvane;
using namespace orvane::SettingsId;
using namespace orvane::test;

namespace {

void Focus(QWidget* edit) {
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &in);
}

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Layout texts that no string replaces, in either language.
void ExpectCaptionsThatStayEnglish(const QtControlWindow& w) {
    const std::pair<int, const char*> stay[] = {{kWebIdLabel, "ID:"},
                                                {kWebPasswordLabel, "Password:"},
                                                {kUvFactorLabel, "UV:"},
                                                {kNowUvLabel, "UV:"},
                                                {kNowUvIndexLabel, "UVI:"},
                                                {kSmsCheckIntervalLabel, "SMS check:"},
                                                {kDst, "DST"}};
    for (const auto& [id, text] : stay) EXPECT_EQ(w.Text(id), text) << id;
}

}  // namespace

TEST(SettingsWindowCaptions, EnglishCaptionsTakeTheStringTableWithAndWithoutColon) {
    SettingsWindowHarness h;
    QtControlWindow& w = h.Controls();
    EXPECT_EQ(w.Text(kTimeZoneLabel), "Time zone:");
    EXPECT_EQ(w.Text(kTimeZoneGroup), "Time zone");
    EXPECT_EQ(w.Text(kNowRelPressureLabel), "Relative Pressure:");
    EXPECT_EQ(w.Text(kNowAbsPressureLabel), "Absolute Pressure:");
    EXPECT_EQ(w.Text(kNowBatteryLabel), "Battery:");
    EXPECT_EQ(w.Text(kAlarmSmsIntervalLabel), "Next Alarm SMS Interval:");
    EXPECT_EQ(w.Text(kLoggerIntervalLabel), "Data Logger:");
    EXPECT_EQ(w.Text(kUploadIntervalLabel), "Web server updated interval:");
    EXPECT_EQ(w.Text(kSaveAll), "Save All");
    EXPECT_EQ(w.Text(kExit), "Exit");
    EXPECT_EQ(w.Text(kMaxMin), "Max/Min Record");
    EXPECT_EQ(w.Text(kLoggerIntervalGroup), "Data Logger Interval");
    EXPECT_EQ(w.Text(kAlarmAllLabel), "Alarm All");
    EXPECT_EQ(w.Text(kAlarmSmsIntervalNote),
              "If alarm still validate after this time period, then send message again.");
    for (int save :
         {kSaveDaylight, kSaveTimeZone, kSaveCalibration, kSaveUnit, kSaveGprs, kSaveTelephone,
          kSaveWebServer, kSaveAlarm, kSaveLoggerInterval, kSaveSendCurrent})
        EXPECT_EQ(w.Text(save), "Save") << save;
    ExpectCaptionsThatStayEnglish(w);
    EXPECT_EQ(w.Text(kTemperatureOffsetCaption), U("°C"));
    EXPECT_EQ(w.Text(kAbsPressureCaption), "hpa");
}

TEST(SettingsWindowCaptions, ChineseCaptionsAndTheEnglishOnesThatStay) {
    SettingsWindowHarness h(UiLanguage::Chinese);
    QtControlWindow& w = h.Controls();
    EXPECT_EQ(w.Text(kTimeZoneLabel), U("时区:"));
    EXPECT_EQ(w.Text(kTimeZoneGroup), U("时区"));
    EXPECT_EQ(w.Text(kNowTemperatureLabel), U("温度:"));
    EXPECT_EQ(w.Text(kLoggerIntervalLabel), U("保存:"));  // "Data Logger" is "保存" in Chinese
    EXPECT_EQ(w.Text(kMaxMin), U(" 最大最小值"));
    EXPECT_EQ(w.Text(kSdCardFile), U("SD卡文件"));
    EXPECT_EQ(w.Text(kRead), U("读取"));
    EXPECT_EQ(w.Text(kShowPassword), U("显示密码"));
    EXPECT_EQ(w.Text(kSmsTest), U("测试"));
    EXPECT_EQ(w.Text(kLoggerIntervalCaption), U("分钟"));
    EXPECT_EQ(w.ItemText(kSendCurrentIntervalUnit, 2), U("不发送"));
    EXPECT_EQ(w.ItemText(kAlarmAll, 1), U("关"));
    // These stay in English whatever the language.
    ExpectCaptionsThatStayEnglish(w);
    // The language command's menu follows the language too.
    ASSERT_FALSE(h.window->menuBar()->actions().isEmpty());
    EXPECT_EQ(h.window->menuBar()->actions().first()->text(), U("语言"));

    // The standard buttons of a confirmation speak Chinese too, and English
    // again after a change back.
    ASSERT_TRUE(InstallQtTranslation(UiLanguage::Chinese));
    QMessageBox box(QMessageBox::Warning, "Orvane", "?", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), U("确定"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), U("取消"));
    EXPECT_FALSE(InstallQtTranslation(UiLanguage::English));
    QMessageBox english(QMessageBox::Warning, "Orvane", "?", QMessageBox::Ok);
    EXPECT_EQ(english.button(QMessageBox::Ok)->text().remove('&'), "OK");
}

TEST(SettingsWindowStartup, IntervalCombosDefaultsAndHiddenControls) {
    SettingsWindowHarness h;
    QtControlWindow& w = h.Controls();
    EXPECT_EQ(w.ItemCount(kSendCurrentIntervalUnit), 3);
    EXPECT_EQ(w.SelectedIndex(kSendCurrentIntervalUnit), 0);
    EXPECT_EQ(w.ItemText(kSmsCheckIntervalUnit, 3), "Always off");
    EXPECT_EQ(w.SelectedIndex(kSmsCheckIntervalUnit), 0);
    EXPECT_EQ(w.ItemText(kAlarmSmsIntervalUnit, 1), "Never");
    EXPECT_EQ(w.SelectedIndex(kUploadIntervalUnit), 1);
    EXPECT_EQ(w.Text(kUploadIntervalUnit), "Minute");
    EXPECT_EQ(w.SelectedIndex(kAlarmAll), 0);
    EXPECT_EQ(w.Text(kLoggerIntervalCaption), "Minute");

    EXPECT_EQ(w.Text(kTemperatureOffset), "0.0");
    EXPECT_EQ(w.Text(kUvFactor), "1.00");
    EXPECT_EQ(w.Text(kTimeZone), "0");
    EXPECT_EQ(w.ItemCount(kTimeZone), 25);
    EXPECT_EQ(w.ItemText(kTimeZone, 0), "-12");
    EXPECT_EQ(w.ItemCount(kDstStartWeek), 5);
    EXPECT_EQ(w.ItemText(kDstStartHour, 23), "23");
    EXPECT_EQ(w.Text(kTemperatureUnit), U("°C"));
    EXPECT_EQ(w.Text(kPressureUnit), "hpa");
    EXPECT_EQ(w.Text(kHighTemperature), "25.0");
    EXPECT_EQ(w.Text(kLowHumidity), "35");
    EXPECT_EQ(w.Text(kGprsApn), "UNINET");
    EXPECT_EQ(w.Text(kSendCurrentInterval), "2");
    EXPECT_EQ(w.Text(kServerPort), "80");
    EXPECT_EQ(w.Text(kServerType), "php");
    EXPECT_EQ(w.Text(kUploadType), "Customize");
    EXPECT_EQ(w.ItemText(kWebHost, 1), "New web");
    EXPECT_EQ(w.SelectedIndex(kWebHost), 0);
    EXPECT_FALSE(w.IsEnabled(kServerType));
    EXPECT_FALSE(w.IsEnabled(kUploadType));
    EXPECT_FALSE(w.IsEnabled(kServerPort));
    EXPECT_FALSE(w.IsEnabled(kTimePicker));
    EXPECT_FALSE(w.IsEnabled(kDatePicker));

    // Hidden controls that other parts read exist, hold their defaults and
    // stay hidden.
    for (int id :
         {kHiddenIntervalSteps, kHiddenIntervalUnit, kDstStartMonthHint, kDstStartWeekHint,
          kDstStartHourHint, kDstEndMonthHint, kDstEndWeekHint, kDstEndHourHint, kCelsiusRadio}) {
        ASSERT_NE(h.Control(id), nullptr) << id;
        EXPECT_FALSE(w.IsVisible(id)) << id;
    }
    EXPECT_EQ(w.Text(kHiddenIntervalSteps), "16");
    EXPECT_EQ(w.Text(kHiddenIntervalUnit), "Second");
    EXPECT_EQ(w.Text(kDstStartHourHint), "01");
    EXPECT_TRUE(w.IsChecked(kCelsiusRadio));
    EXPECT_TRUE(w.IsChecked(kHiddenSecondRadio));  // a radio of the other pair stays checked

    // Range tooltips of the opening units.
    EXPECT_EQ(w.ToolTip(kTemperatureOffset), U("-6.0°C - 6.0°C"));
    EXPECT_EQ(w.ToolTip(kHighTemperature), U("-40.0°C - 60.0°C "));
    EXPECT_EQ(w.ToolTip(kAbsPressureOffset), "-800hpa - 800hpa");
    EXPECT_EQ(w.ToolTip(kSendCurrentInterval), "1 - 24 (Hour)");
    EXPECT_EQ(w.ToolTip(kAlarmSmsInterval), "10 - 120 (Minute)");
    EXPECT_EQ(w.ToolTip(kWindDirectionOffset), U("±180"));
}

TEST(SettingsWindowRules, NewWebEnablesTheServerControlsAndTheDefaultHostForcesThem) {
    SettingsWindowHarness h;
    QtControlWindow& w = h.Controls();
    h.Choose(kWebHost, 1);  // "New web"
    EXPECT_TRUE(w.IsEnabled(kServerType));
    EXPECT_TRUE(w.IsEnabled(kUploadType));
    EXPECT_TRUE(w.IsEnabled(kServerPort));
    w.SelectIndex(kServerType, 0);
    w.SelectIndex(kUploadType, 0);
    w.SetText(kServerPort, "8080");

    h.Choose(kWebHost, 0);  // back to the default upload host
    EXPECT_EQ(w.Text(kServerType), "php");
    EXPECT_EQ(w.Text(kUploadType), "Customize");
    EXPECT_EQ(w.Text(kServerPort), "80");
    EXPECT_FALSE(w.IsEnabled(kServerType));
    EXPECT_FALSE(w.IsEnabled(kUploadType));
    EXPECT_FALSE(w.IsEnabled(kServerPort));

    // A host typed by the user counts as another choice.
    auto* edit = h.Combo(kWebHost)->lineEdit();
    edit->setText("my.host.example");
    emit edit->textEdited("my.host.example");
    EXPECT_TRUE(w.IsEnabled(kServerType));
}

TEST(SettingsWindowRules, ShowPasswordUnmasksOnlyTheWebPassword) {
    SettingsWindowHarness h;
    auto* web = qobject_cast<QLineEdit*>(h.Control(kWebPassword));
    auto* gprs = qobject_cast<QLineEdit*>(h.Control(kGprsPassword));
    EXPECT_EQ(web->echoMode(), QLineEdit::Password);
    h.Button(kShowPassword)->click();
    EXPECT_EQ(web->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(gprs->echoMode(), QLineEdit::Password);
    h.Button(kShowPassword)->click();
    EXPECT_EQ(web->echoMode(), QLineEdit::Password);
}

TEST(SettingsWindowRules, UserUnitChangeConvertsAndRelabels) {
    SettingsWindowHarness h;
    QtControlWindow& w = h.Controls();
    h.Choose(kTemperatureUnit, 1);  // °F
    EXPECT_EQ(w.Text(kHighTemperature), "77.0");
    EXPECT_EQ(w.Text(kHighTemperatureCaption), U("°F"));
    EXPECT_EQ(w.ToolTip(kTemperatureOffset), U("-10.8°F - 10.8°F"));
    h.Choose(kUploadIntervalUnit, 2);  // "Unupload"
    EXPECT_FALSE(w.IsEnabled(kUploadInterval));
    EXPECT_EQ(w.Text(kUploadInterval), "");
    h.Choose(kAlarmAll, 1);  // alarms disabled
    EXPECT_FALSE(w.IsEnabled(kHighTemperatureSwitch));
}

TEST(SettingsWindowHints, FocusHintsFollowUnitsAndLanguage) {
    SettingsWindowHarness h;
    QtControlWindow& w = h.Controls();
    w.SelectIndex(kTemperatureUnit, 1);
    Focus(h.Control(kTemperatureOffset));
    EXPECT_EQ(w.StatusText(kHintStatusPart), U("Offset Temperature:-10.8°F - 10.8°F"));
    w.SelectIndex(kPressureUnit, 2);
    Focus(h.Control(kAbsPressureOffset));
    EXPECT_EQ(w.StatusText(kHintStatusPart), "Offset Absolute Pressure:-23.6 - 23.6inHg");
    Focus(h.Control(kUvFactor));
    EXPECT_EQ(w.StatusText(kHintStatusPart), "Factor UV: 0.05 - 10.00");
    Focus(h.Control(kLoggerInterval));
    EXPECT_EQ(w.StatusText(kHintStatusPart), "Data Logger:1 - 240 (Minute)");
    // A plain edit leaves the hint; a hint edit without a range clears it.
    Focus(h.Control(kWebId));
    EXPECT_EQ(w.StatusText(kHintStatusPart), "Data Logger:1 - 240 (Minute)");
    Focus(h.Control(kAlarmSmsInterval));
    EXPECT_EQ(w.StatusText(kHintStatusPart), "");

    // The 29 range edits are hint edits.
    int hintEdits = 0;
    for (DZedit* e : h.window->findChildren<DZedit*>()) {
        ++hintEdits;
        EXPECT_EQ(h.Control(e->Id()), e);
    }
    EXPECT_EQ(hintEdits, 29);
}

TEST(SettingsWindowHints, ChineseHintsAndABackgroundClickClearsTheHintButNotTheTooltip) {
    SettingsWindowHarness h(UiLanguage::Chinese);
    QtControlWindow& w = h.Controls();
    Focus(h.Control(kHighHumidity));
    EXPECT_EQ(w.StatusText(kHintStatusPart), U("高报警 湿度:1 - 99"));
    Focus(h.Control(kDstStartHourHint));
    EXPECT_EQ(w.StatusText(kHintStatusPart), "Daylight hour:00 - 23");

    h.window->show();
    QWidget* label = h.Control(kNowTemperatureLabel);
    const QPoint at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), label->mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(label, &press);
    EXPECT_EQ(w.StatusText(kHintStatusPart), "");
    EXPECT_EQ(w.ToolTip(kDstStartHourHint), "00 - 23");
    h.window->close();
}

// The stored history is reachable without a station: one graph window,
// modeless, on the last import.
TEST(SettingsWindowMenus, GraphCommandOpensTheHistoryWithoutAStation) {
    SettingsWindowHarness h(UiLanguage::English, false);
    QAction* graph = h.window->menuBar()->actions().value(2);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->text(), "Graph");
    graph->trigger();
    const auto windows = h.window->findChildren<Grapsh*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows[0]->isVisible());
    EXPECT_FALSE(windows[0]->isModal());
    EXPECT_EQ(windows[0]->CurrentSource(), Grapsh::kLastImport);
    graph->trigger();
    EXPECT_EQ(h.window->findChildren<Grapsh*>().size(), 1);
    EXPECT_TRUE(h.window->isEnabled());
    windows[0]->reject();
}

TEST(SettingsWindowMenus, LanguageCommandAboutBoxAndLogShortcut) {
    SettingsWindowHarness h;
    int languageRequests = 0;
    QObject::connect(h.window.get(), &CWriteSetting::LanguageRequested,
                     [&] { ++languageRequests; });
    const auto actions = h.window->menuBar()->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), "Language");
    actions[0]->trigger();
    EXPECT_EQ(languageRequests, 1);

    EXPECT_EQ(actions[1]->text(), "About Orvane(&A)...");
    actions[1]->trigger();
    auto boxes = h.window->findChildren<CAboutDlg*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->isVisible());
    EXPECT_EQ(boxes[0]->LinkLabel()->text(), "https://orvane.example/");
    EXPECT_EQ(boxes[0]->CopyrightLabel()->text(), "Copyright (C) 2026 Orvane");
    boxes[0]->accept();

    QShortcut* logKey = nullptr;
    for (QShortcut* s : h.window->findChildren<QShortcut*>())
        if (s->key() == QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Q)) logKey = s;
    ASSERT_NE(logKey, nullptr);
    emit logKey->activated();
    EXPECT_TRUE(h.window->LogWindow().isVisible());
    h.window->LogWindow().close();
}

// No child window blocks the settings window (its menus, and the simulator's
// plug during a download), and opening one again brings up the same window.
TEST(SettingsWindowMenus, ChildWindowsLeaveTheSettingsWindowUsableAndOpenOnce) {
    SettingsWindowHarness h;
    CWriteSetting& w = *h.window;
    const struct {
        const char* name;
        std::function<QWidget*()> open;
    } children[] = {
        {"about", [&]() -> QWidget* { return w.ShowAbout(); }},
        {"log",
         [&]() -> QWidget* {
             w.ShowLogWindow();
             return &w.LogWindow();
         }},
        {"max/min",
         [&]() -> QWidget* {
             w.MaxMinWindow().Open(QStringLiteral("@MAX@"));
             return &w.MaxMinWindow();
         }},
        {"sd card",
         [&]() -> QWidget* {
             w.SdCardWindow().show();
             return &w.SdCardWindow();
         }},
    };
    w.show();
    for (const auto& child : children) {
        QWidget* first = child.open();
        QApplication::processEvents();
        ASSERT_TRUE(first->isVisible()) << child.name;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << child.name;
        EXPECT_EQ(first->windowModality(), Qt::NonModal) << child.name;
        EXPECT_EQ(child.open(), first) << child.name;
        first->close();
    }
    int visibleAbout = 0;
    for (CAboutDlg* box : w.findChildren<CAboutDlg*>()) visibleAbout += box->isVisible();
    EXPECT_EQ(visibleAbout, 0);
}

TEST(SettingsWindowLayout, FitsA1366By768ScreenWithoutOverlaps) {
    for (UiLanguage language : {UiLanguage::English, UiLanguage::Chinese}) {
        SettingsWindowHarness h(language);
        h.window->setWindowState(Qt::WindowNoState);  // whatever the test screen
        h.window->resize(1366, 700);
        h.window->show();
        QApplication::processEvents();
        // Everything fits without scrolling.
        auto* scroll = h.window->findChild<QScrollArea*>();
        ASSERT_NE(scroll, nullptr);
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
        // Every visible control sits inside the window and no two visible
        // leaf controls of the same group overlap.
        QList<std::pair<int, QWidget*>> leaves;
        for (int id = 0; id < 1300; ++id) {
            QWidget* c = h.Control(id);
            if (!c || !c->isVisible() || qobject_cast<QGroupBox*>(c)) continue;
            leaves << std::pair{id, c};
            const QRect r(c->mapTo(h.window.get(), QPoint(0, 0)), c->size());
            EXPECT_TRUE(h.window->rect().contains(r)) << id;
            // Captions are not cut off.
            if (auto* label = qobject_cast<QLabel*>(c); label && !label->wordWrap()) {
                EXPECT_GE(label->width(), label->sizeHint().width()) << id;
            }
            if (auto* button = qobject_cast<QAbstractButton*>(c)) {
                EXPECT_GE(button->width(), button->sizeHint().width()) << id;
            }
        }
        for (int i = 0; i < leaves.size(); ++i)
            for (int j = i + 1; j < leaves.size(); ++j) {
                QWidget* p = leaves[i].second;
                QWidget* q = leaves[j].second;
                const QRect a(p->mapTo(h.window.get(), QPoint(0, 0)), p->size());
                const QRect b(q->mapTo(h.window.get(), QPoint(0, 0)), q->size());
                EXPECT_FALSE(a.intersects(b)) << leaves[i].first << " and " << leaves[j].first;
            }
        h.window->close();
    }
}

// On a 1024x700 screen the window opens within the screen, frame included,
// with the status bar and its connection state in view; the controls scroll
// rather than squeeze. The screen size is fixed when the application starts,
// so the test runs itself again on an offscreen screen of that size.
TEST(SettingsWindowLayout, OpensWithinA1024By700Screen) {
    const char* childFlag = "ORVANE_SMALL_SCREEN_CHILD";
    if (!qEnvironmentVariableIsSet(childFlag)) {
        QTemporaryDir dir;
        QFile config(dir.filePath("screen.json"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1024,
                         "height": 700, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        config.close();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
        env.insert(childFlag, "1");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=SettingsWindowLayout.OpensWithinA1024By700Screen"});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        return;
    }
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(screen.size(), QSize(1024, 700));
    for (UiLanguage language : {UiLanguage::English, UiLanguage::Chinese}) {
        SettingsWindowHarness h(language);
        h.window->show();
        ASSERT_TRUE(
            WaitFor([&] { return !h.Controls().StatusText(kConnectionStatusPart).isEmpty(); }));
        QApplication::processEvents();
        EXPECT_TRUE(screen.contains(h.window->frameGeometry()))
            << h.window->frameGeometry().width() << "x" << h.window->frameGeometry().height();
        QStatusBar* bar = h.window->statusBar();
        ASSERT_TRUE(bar->isVisible());
        QLabel* link = nullptr;
        for (QLabel* label : bar->findChildren<QLabel*>())
            if (label->isVisible() &&
                label->text() == h.Controls().StatusText(kConnectionStatusPart))
                link = label;
        ASSERT_NE(link, nullptr);
        const QRect linkRect(link->mapTo(h.window.get(), QPoint(0, 0)), link->size());
        EXPECT_TRUE(h.window->rect().contains(linkRect));
        // The controls keep their size and scroll.
        auto* scroll = h.window->findChild<QScrollArea*>();
        ASSERT_NE(scroll, nullptr);
        const QSize content = scroll->widget()->size();
        const QSize wanted = scroll->widget()->minimumSizeHint();
        EXPECT_GE(content.width(), wanted.width());
        EXPECT_GE(content.height(), wanted.height());
        EXPECT_TRUE(scroll->horizontalScrollBar()->isVisible() ||
                    scroll->verticalScrollBar()->isVisible());
        h.window->close();
    }
}
