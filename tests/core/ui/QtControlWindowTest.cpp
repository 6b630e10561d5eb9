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
        // the question would wait for ever.
        w.SetText(kEdit, "x");
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
        EXPECT_EQ(w.Text(kEdit), QString());
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
    w.Register(kEditableCombo, combo);
    w.SetItems(kEditableCombo, {"host.example", "New web"});
    w.SelectIndex(kEditableCombo, 0);
    EXPECT_EQ(w.SelectedIndex(kEditableCombo), 0);
    w.SetText(kEditableCombo, "typed.example");
    EXPECT_EQ(w.Text(kEditableCombo), "typed.example");
    EXPECT_EQ(w.SelectedIndex(kEditableCombo), -1);
}
