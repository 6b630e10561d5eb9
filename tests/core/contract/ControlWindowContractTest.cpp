// Every ControlWindow operation, run on both implementations: the
// in-memory window the logic tests use and the real settings window. A
// behaviour one of them changes alone fails here.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "COrvaneDlg.h"
#include "CWriteSetting.h"
#include "ExchangeState.h"
#include "MemoryControlWindow.h"
#include "QtControlWindow.h"
#include "SettingsControls.h"
#include "SettingsLayout.h"
#include "SettingsWindowSetup.h"
#include "StationSimulator.h"
#include "UnitSelection.h"

using namespace orvane;
using namespace orvane::SettingsId;

namespace {

// The in-memory settings window as the real one opens.
class MemoryWindow {
public:
    MemoryWindow() : m_window(SettingsControlLayout()) {
        ApplyOpeningState(m_window, UiLanguage::English, m_units);
    }
    ControlWindow& Window() { return m_window; }
    void Type(int id, const QString& text) { m_window.SetText(id, text); }
    void AnswerNext(bool ok) { m_window.AnswerNextConfirm(ok); }
    QStringList Prompts() const { return m_window.Messages() + m_window.Confirmations(); }
    int Focused() const { return m_window.FocusedControl(); }

private:
    UnitSelection m_units;
    MemoryControlWindow m_window;
};

// The real settings window on an unplugged simulator, never shown, so no
// worker thread runs; message boxes are answered as they open.
class QtWindow {
public:
    QtWindow() {
        m_sim.Unplug();
        m_window = std::make_unique<CWriteSetting>(
            SettingsWindowServices{m_state, m_dialog, m_sim, &m_sim, m_dir.path()},
            UiLanguage::English);
        m_catcher.setInterval(1);
        QObject::connect(&m_catcher, &QTimer::timeout, [this] { AnswerOpenBox(); });
        m_catcher.start();
    }
    ControlWindow& Window() { return m_window->Controls(); }
    // Keys into the edit part, as a user types.
    void Type(int id, const QString& text) {
        auto* combo = qobject_cast<QComboBox*>(m_window->Controls().Control(id));
        ASSERT_TRUE(combo && combo->lineEdit());
        combo->lineEdit()->selectAll();
        combo->lineEdit()->insert(text);
    }
    void AnswerNext(bool ok) { m_answers << ok; }
    QStringList Prompts() const { return m_prompts; }
    int Focused() const {
        QWidget* focus = m_window->focusWidget();
        for (const ControlSpec& spec : SettingsControlLayout())
            if (m_window->Controls().Control(spec.id) == focus) return spec.id;
        return 0;
    }

private:
    void AnswerOpenBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        m_prompts << box->text();
        // The box must be the one the contract describes before we answer.
        const bool isConfirm = box->button(QMessageBox::Cancel) != nullptr;
        if (isConfirm) {
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Cancel));
        }
        EXPECT_EQ(box->windowTitle(), "Orvane");
        const bool ok = m_answers.isEmpty() ? true : m_answers.takeFirst();
        box->done(ok || !isConfirm ? QMessageBox::Ok : QMessageBox::Cancel);
    }

    QTemporaryDir m_dir;
    StationSimulator m_sim;
    COrvaneDlg m_dialog{m_sim};
    ExchangeState m_state;
    std::unique_ptr<CWriteSetting> m_window;
    QTimer m_catcher;
    QList<bool> m_answers;
    QStringList m_prompts;
};

template <class Impl>
class ControlWindowContract : public ::testing::Test {
protected:
    Impl impl;
    ControlWindow& window = impl.Window();
};

using Implementations = ::testing::Types<MemoryWindow, QtWindow>;
TYPED_TEST_SUITE(ControlWindowContract, Implementations);

TYPED_TEST(ControlWindowContract, ComboSelectionByTextAndIndex) {
    ControlWindow& w = this->window;
    struct Case {
        int combo;
        const char* what;
        std::function<void()> act;
        int selected;
        QString text;
    };
    const QStringList items{"Hour", "Minute", "Not send"};
    const Case cases[] = {
        {kSendCurrentIntervalUnit, "text ignoring case",
         [&] { w.SelectText(kSendCurrentIntervalUnit, "mINUTE"); }, 1, "Minute"},
        {kSendCurrentIntervalUnit, "text that no item has",
         [&] { w.SelectText(kSendCurrentIntervalUnit, "Second"); }, -1, ""},
        {kSendCurrentIntervalUnit, "index", [&] { w.SelectIndex(kSendCurrentIntervalUnit, 2); }, 2,
         "Not send"},
        {kSendCurrentIntervalUnit, "index past the end",
         [&] { w.SelectIndex(kSendCurrentIntervalUnit, 3); }, -1, ""},
        {kSendCurrentIntervalUnit, "negative index",
         [&] { w.SelectIndex(kSendCurrentIntervalUnit, -2); }, -1, ""},
        {kSendCurrentIntervalUnit, "new items",
         [&] { w.SetItems(kSendCurrentIntervalUnit, items); }, -1, ""},
        {kWebHost, "editable: text ignoring case", [&] { w.SelectText(kWebHost, "NEW WEB"); }, 1,
         "New web"},
        {kWebHost, "editable: text that no item has", [&] { w.SelectText(kWebHost, "other"); }, -1,
         ""},
        {kWebHost, "editable: index past the end", [&] { w.SelectIndex(kWebHost, 7); }, -1, ""},
        {kWebHost, "editable: new items", [&] { w.SetItems(kWebHost, items); }, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w.SetItems(c.combo, {"x"});  // a selection to lose
        w.SetItems(c.combo, c.combo == kWebHost ? QStringList{"host.example", "New web"} : items);
        w.SelectIndex(c.combo, 0);
        c.act();
        EXPECT_EQ(w.SelectedIndex(c.combo), c.selected);
        EXPECT_EQ(w.Text(c.combo), c.text);
    }
    EXPECT_EQ(w.ItemCount(kSendCurrentIntervalUnit), 3);
    EXPECT_EQ(w.ItemText(kSendCurrentIntervalUnit, 1), "Minute");
    EXPECT_EQ(w.ItemText(kSendCurrentIntervalUnit, 3), "");
    EXPECT_EQ(w.ItemText(kSendCurrentIntervalUnit, -1), "");
}

TYPED_TEST(ControlWindowContract, EditTextOfAnEditableComboIsNoSelection) {
    ControlWindow& w = this->window;
    w.SetItems(kWebHost, {"host.example", "New web"});
    w.SelectIndex(kWebHost, 1);
    w.SetText(kWebHost, "typed.example");
    EXPECT_EQ(w.Text(kWebHost), "typed.example");
    EXPECT_EQ(w.SelectedIndex(kWebHost), -1);
    // Text equal to the selected item keeps the selection.
    w.SelectIndex(kWebHost, 0);
    w.SetText(kWebHost, "host.example");
    EXPECT_EQ(w.SelectedIndex(kWebHost), 0);
    this->impl.Type(kWebHost, "typed.example");
    EXPECT_EQ(w.Text(kWebHost), "typed.example");
    EXPECT_EQ(w.SelectedIndex(kWebHost), -1);
    // A plain combo has no edit part: setting its text changes nothing.
    w.SelectIndex(kServerType, 1);
    w.SetText(kServerType, "php");
    EXPECT_EQ(w.SelectedIndex(kServerType), 1);
    EXPECT_EQ(w.Text(kServerType), "asp");
}

TYPED_TEST(ControlWindowContract, ChecksRadiosEnableShowAndToolTips) {
    ControlWindow& w = this->window;
    w.SetChecked(kDst, true);
    EXPECT_TRUE(w.IsChecked(kDst));
    w.SetChecked(kDst, false);
    EXPECT_FALSE(w.IsChecked(kDst));
    // Radios of one group exclude each other; another group is untouched.
    EXPECT_TRUE(w.IsChecked(kCelsiusRadio));
    w.SetChecked(kHiddenMinuteRadio, true);
    EXPECT_TRUE(w.IsChecked(kHiddenMinuteRadio));
    EXPECT_FALSE(w.IsChecked(kHiddenSecondRadio));
    EXPECT_TRUE(w.IsChecked(kCelsiusRadio));
    w.SetChecked(kHiddenMinuteRadio, false);
    EXPECT_FALSE(w.IsChecked(kHiddenMinuteRadio));

    for (int id : {kServerPort, kRead, kWebHost, kHighWindSwitch}) {
        SCOPED_TRACE(id);
        w.SetEnabled(id, false);
        EXPECT_FALSE(w.IsEnabled(id));
        w.SetEnabled(id, true);
        EXPECT_TRUE(w.IsEnabled(id));
        w.SetVisible(id, false);
        EXPECT_FALSE(w.IsVisible(id));
        w.SetVisible(id, true);
        EXPECT_TRUE(w.IsVisible(id));
        w.SetToolTip(id, "first");
        w.SetToolTip(id, "second");
        EXPECT_EQ(w.ToolTip(id), "second");
    }
    EXPECT_FALSE(w.IsVisible(kHiddenIntervalSteps));

    for (int id : {kWebId, kTimeLabel, kTimeGroup, kRead, kDst}) {
        w.SetText(id, QString::fromUtf8("Wert °C"));
        EXPECT_EQ(w.Text(id), QString::fromUtf8("Wert °C")) << id;
    }
}

TYPED_TEST(ControlWindowContract, PickersStatusPartsTitleAndFocus) {
    ControlWindow& w = this->window;
    const QDateTime at(QDate(2024, 3, 10), QTime(7, 5, 9));
    w.SetDateTime(kDatePicker, at);
    w.SetDateTime(kTimePicker, at);
    EXPECT_EQ(w.DateTime(kDatePicker).date(), at.date());
    EXPECT_EQ(w.DateTime(kTimePicker).time(), at.time());

    w.SetStatusText(kHintStatusPart, "hint");
    w.SetStatusText(kConnectionStatusPart, "Connected");
    EXPECT_EQ(w.StatusText(kHintStatusPart), "hint");
    EXPECT_EQ(w.StatusText(kConnectionStatusPart), "Connected");

    w.SetTitle("Orvane   Ver1.6");
    EXPECT_EQ(w.Title(), "Orvane   Ver1.6");

    w.SetFocus(kHighTemperature);
    EXPECT_EQ(this->impl.Focused(), kHighTemperature);
}

TYPED_TEST(ControlWindowContract, MessageAndConfirmationBoxes) {
    ControlWindow& w = this->window;
    w.MessageBox("Save Success");
    this->impl.AnswerNext(false);
    EXPECT_FALSE(w.Confirm("Are you want to save all settings?"));
    this->impl.AnswerNext(true);
    EXPECT_TRUE(w.Confirm("Are you want to reset to factory?"));
    EXPECT_EQ(this->impl.Prompts(),
              (QStringList{"Save Success", "Are you want to save all settings?",
                           "Are you want to reset to factory?"}));
}

// A worker's calls that answer nothing return without waiting for the
// window's thread; its later questions see all of them, in the order made.
TYPED_TEST(ControlWindowContract, AWorkersCallsTakeEffectInTheOrderMade) {
    ControlWindow& w = this->window;
    const QDateTime at(QDate(2024, 3, 10), QTime(7, 5, 9));
    std::atomic<bool> posted{false};
    std::atomic<bool> done{false};
    bool threw = false;
    QStringList seen;
    std::thread worker([&] {
        w.SetItems(kSendCurrentIntervalUnit, {"Hour", "Minute"});
        w.SelectIndex(kSendCurrentIntervalUnit, 1);
        w.SetText(kWebId, "first");
        w.SetText(kWebId, "second");
        w.SetChecked(kDst, true);
        w.SetEnabled(kRead, false);
        w.SetVisible(kServerPort, false);
        w.SetToolTip(kServerPort, "tip");
        w.SetDateTime(kTimePicker, at);
        w.SetStatusText(1, "Connected");
        w.SetTitle("Orvane   Ver1.6");
        w.SetFocus(kHighTemperature);
        w.MessageBox("From a worker");
        try {
            w.SetText(4242, "x");
        } catch (const UnknownControl&) {
            threw = true;
        }
        posted = true;
        seen << QString::number(w.SelectedIndex(kSendCurrentIntervalUnit)) << w.Text(kWebId)
             << QString::number(w.IsChecked(kDst)) << QString::number(w.IsEnabled(kRead))
             << QString::number(w.IsVisible(kServerPort)) << w.ToolTip(kServerPort)
             << w.DateTime(kTimePicker).time().toString() << w.StatusText(1) << w.Title();
        done = true;
    });
    // This thread runs no event until the worker is through its calls.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!posted && std::chrono::steady_clock::now() < until) std::this_thread::yield();
    EXPECT_TRUE(posted) << "a call that answers nothing waited for the window";
    while (!done) QCoreApplication::processEvents();
    worker.join();
    EXPECT_TRUE(threw);
    EXPECT_EQ(seen, (QStringList{"1", "second", "1", "0", "0", "tip", "07:05:09", "Connected",
                                 "Orvane   Ver1.6"}));
    EXPECT_EQ(this->impl.Focused(), kHighTemperature);
    EXPECT_EQ(this->impl.Prompts(), QStringList{"From a worker"});
}

TYPED_TEST(ControlWindowContract, UnknownIdsAndStatusPartsThrow) {
    ControlWindow& w = this->window;
    constexpr int kNone = 4242;
    const std::function<void()> operations[] = {
        [&] { w.SetText(kNone, "x"); },      [&] { w.Text(kNone); },
        [&] { w.SetItems(kNone, {"a"}); },   [&] { w.ItemCount(kNone); },
        [&] { w.ItemText(kNone, 0); },       [&] { w.SelectText(kNone, "a"); },
        [&] { w.SelectIndex(kNone, 0); },    [&] { w.SelectedIndex(kNone); },
        [&] { w.SetChecked(kNone, true); },  [&] { w.IsChecked(kNone); },
        [&] { w.SetEnabled(kNone, false); }, [&] { w.IsEnabled(kNone); },
        [&] { w.SetVisible(kNone, false); }, [&] { w.IsVisible(kNone); },
        [&] { w.SetToolTip(kNone, "t"); },   [&] { w.ToolTip(kNone); },
        [&] { w.SetDateTime(kNone, {}); },   [&] { w.DateTime(kNone); },
        [&] { w.SetFocus(kNone); },          [&] { w.SetStatusText(2, "x"); },
        [&] { w.StatusText(-1); },           [&] { w.SetText(kNoId, "x"); },
    };
    int n = 0;
    for (const auto& operation : operations) EXPECT_THROW(operation(), UnknownControl) << n++;
}

// Both windows open with the same state in every control.
TEST(ControlWindowContract, BothWindowsOpenAlike) {
    MemoryWindow memory;
    QtWindow real;
    ControlWindow& m = memory.Window();
    ControlWindow& q = real.Window();
    for (const ControlSpec& spec : SettingsControlLayout()) {
        SCOPED_TRACE(spec.id);
        const int id = spec.id;
        if (spec.kind == ControlKind::DatePicker || spec.kind == ControlKind::TimePicker) {
            EXPECT_EQ(m.IsEnabled(id), q.IsEnabled(id));
            continue;
        }
        // Layout captions stay in the real window only; they are no state.
        if (spec.kind != ControlKind::Label && spec.kind != ControlKind::Group &&
            spec.kind != ControlKind::Button && spec.kind != ControlKind::CheckBox &&
            spec.kind != ControlKind::Radio) {
            EXPECT_EQ(m.Text(id), q.Text(id));
        }
        EXPECT_EQ(m.ItemCount(id), q.ItemCount(id));
        EXPECT_EQ(m.SelectedIndex(id), q.SelectedIndex(id));
        EXPECT_EQ(m.IsChecked(id), q.IsChecked(id));
        EXPECT_EQ(m.IsEnabled(id), q.IsEnabled(id));
        EXPECT_EQ(m.IsVisible(id), q.IsVisible(id));
        EXPECT_EQ(m.ToolTip(id), q.ToolTip(id));
    }
}

}  // namespace
