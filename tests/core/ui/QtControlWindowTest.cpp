#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <thread>

#include "QtControlWindow.h"

using namespace orvane;

namespace {
// The ids of the bare windows below, which have no layout table.
constexpr int kEdit = 1001;
constexpr int kCombo = 1009;
constexpr int kEditableCombo = 1077;

void SpinUntil(const std::atomic<bool>& flag) {
    for (int i = 0; i < 5000 && !flag; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
}
}  // namespace

TEST(QtControlWindow, WorkerCallsRunOnTheGuiThreadAndReturnValues) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* combo = new QComboBox(&window);
    QtControlWindow w(&window);
    w.Register(kEdit, edit);
    w.Register(kCombo, combo);
    std::atomic<bool> done{false};
    QString seen;
    int selected = -2;
    std::thread worker([&] {
        w.SetText(kEdit, "23.4");
        w.SetItems(kCombo, {"a", "B"});
        w.SelectText(kCombo, "b");
        seen = w.Text(kEdit);
        selected = w.SelectedIndex(kCombo);
        done = true;
    });
    SpinUntil(done);
    worker.join();
    EXPECT_EQ(seen, "23.4");
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(edit->text(), "23.4");
}

TEST(QtControlWindow, ShutdownReleasesAWorkerBlockedOnTheGuiThread) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    QtControlWindow w(&window);
    w.Register(kEdit, edit);
    // An answered call gives its answer.
    std::optional<QString> answered;
    std::atomic<bool> returned{false};
    std::thread first([&] {
        answered = w.Gui().TryCall([&] { return edit->placeholderText() + "a"; });
        returned = true;
    });
    while (!returned) QCoreApplication::processEvents();
    first.join();
    EXPECT_EQ(answered, std::optional<QString>("a"));

    std::atomic<bool> done{false};
    std::atomic<int> confirmed{-1};
    std::optional<int> cancelled = 7;
    std::thread worker([&] {
        // The GUI thread never processes events here: without a shutdown
        // these calls would wait for ever.
        w.SetText(kEdit, "x");
        confirmed = w.Confirm("Send?") ? 1 : 0;
        cancelled = w.Gui().TryCall([] { return 1; });
        done = true;
    });
    QThread::msleep(20);
    w.Shutdown();
    worker.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(edit->text(), "");
    // A question nobody answered is no "OK"; a cancelled call has no answer.
    EXPECT_EQ(confirmed, 0);
    EXPECT_EQ(cancelled, std::nullopt);
    // After the shutdown workers return at once.
    std::thread late([&] {
        EXPECT_EQ(w.Text(kEdit), QString());
        EXPECT_EQ(w.Gui().TryCall([] { return 2; }), std::nullopt);
    });
    late.join();
}

TEST(QtControlWindow, EditableComboTypedTextIsNoSelection) {
    QWidget window;
    auto* combo = new QComboBox(&window);
    combo->setEditable(true);
    QtControlWindow w(&window);
    w.Register(kEditableCombo, combo);
    w.SetItems(kEditableCombo, {"host.example", "New web"});
    w.SelectIndex(kEditableCombo, 0);
    EXPECT_EQ(w.SelectedIndex(kEditableCombo), 0);
    w.SetText(kEditableCombo, "typed.example");
    EXPECT_EQ(w.Text(kEditableCombo), "typed.example");
    EXPECT_EQ(w.SelectedIndex(kEditableCombo), -1);
}
