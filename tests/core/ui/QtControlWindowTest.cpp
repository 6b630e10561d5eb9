#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
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
        // the question would wait for ever.
        w.SetText(1001, "x");
        confirmed = w.Confirm("Send?") ? 1 : 0;
        cancelled = w.Gui().TryCall([] { return 1; });
        done = true;
    });
    while (w.Gui().WaitingCalls() == 0) std::this_thread::yield();
    w.Shutdown();
    worker.join();
    EXPECT_TRUE(done);
    // What was posted and not yet run is dropped with the window.
    QCoreApplication::processEvents();
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

// Each box a worker raises comes up once the one before it has closed, so
// the user reads them in the order they were raised.
TEST(QtControlWindow, BoxesFromWorkersComeUpOneAfterTheOtherInOrder) {
    QWidget window;
    QtControlWindow w(&window);
    QStringList shown;
    int mostOpen = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QList<QMessageBox*> open;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) open << box;
        mostOpen = std::max(mostOpen, int(open.size()));
        if (open.isEmpty()) return;
        shown << open.first()->text();
        open.first()->accept();
    });
    answer.start(1);
    std::thread worker([&] {
        for (const char* text : {"one", "two", "three"}) w.MessageBox(text);
    });
    worker.join();  // none of them waited for the user
    for (QDeadlineTimer limit(5000); shown.size() < 3 && !limit.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(shown, (QStringList{"one", "two", "three"}));
    EXPECT_EQ(mostOpen, 1);
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
