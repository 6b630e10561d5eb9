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
    w.Register(1001, edit);
    w.Register(1009, combo);
    std::atomic<bool> done{false};
    QString seen;
    int selected = -2;
    std::thread worker([&] {
        w.SetText(1001, "23.4");
        w.SetItems(1009, {"a", "B"});
        w.SelectText(1009, "b");
        seen = w.Text(1001);
        selected = w.SelectedIndex(1009);
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
    w.Register(1001, edit);
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
        w.SetText(1001, "x");
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
        EXPECT_EQ(w.Text(1001), QString());
        EXPECT_EQ(w.Gui().TryCall([] { return 2; }), std::nullopt);
    });
    late.join();
}

TEST(QtControlWindow, EditableComboTypedTextIsNoSelection) {
    QWidget window;
    auto* combo = new QComboBox(&window);
    combo->setEditable(true);
    QtControlWindow w(&window);
    w.Register(1077, combo);
    w.SetItems(1077, {"host.example", "New web"});
    w.SelectIndex(1077, 0);
    EXPECT_EQ(w.SelectedIndex(1077), 0);
    w.SetText(1077, "typed.example");
    EXPECT_EQ(w.Text(1077), "typed.example");
    EXPECT_EQ(w.SelectedIndex(1077), -1);
}
