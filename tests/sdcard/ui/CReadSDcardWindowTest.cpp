#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <future>
#include <thread>

#include "../../history/HistoryTestDatabase.h"
#include "CReadSDcardWindow.h"
#include "Grapsh.h"
#include "LogImportTableModel.h"
#include "ReplyDispatcher.h"
#include "SdCardControls.h"
#include "Timing.h"

using namespace orvane;
using namespace orvane::SdCardId;
using namespace std::chrono_literals;

namespace {

// Answers every message box as it appears and remembers its text.
class BoxCloser {
public:
    BoxCloser() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (box && box->isVisible()) {
                    texts.append(box->text());
                    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                        ok->click();
                    else
                        box->accept();
                }
            }
        });
        m_timer.start(5);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

class NoTransactor : public Transactor {
public:
    QString Transact(const QString& request) override {
        requests.append(request);
        return answer;
    }
    QString answer = "Unconnected";
    QStringList requests;
};

// Runs the event loop until `done` holds or a generous limit passes.
template <class F>
bool SpinUntil(F done) {
    for (int i = 0; i < 500 && !done(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(2ms);
    }
    return done();
}

class SdCardWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = GetTimings();
        Timings t;
        t.nowDataWaitBeforeRead = 1ms;
        t.writePause = 1ms;
        SetTimings(t);
        window = std::make_unique<CReadSDcardWindow>(
            state,
            [this](const QString& r) {
                std::lock_guard lock(m_sentMutex);
                m_sent.append(r);
                return true;
            },
            transactor, db.Folder());
    }
    void TearDown() override {
        window.reset();
        SetTimings(m_saved);
    }
    QStringList Sent() {
        std::lock_guard lock(m_sentMutex);
        return m_sent;
    }
    QString ControlText(int id) { return window->Controls().Text(id); }
    void WriteIni(const QString& language) {
        QFile ini(QDir(db.Folder()).filePath("Main.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(("[Language]\nLanguage=" + language + "\n").toUtf8());
    }
    // The receive thread's side of things runs on a thread of its own, and
    // never waits for the window: this thread runs no event meanwhile.
    template <class F>
    void FromReceiveThread(F f) {
        std::atomic<bool> done = false;
        std::thread t([&] {
            f();
            done = true;
        });
        const auto until = std::chrono::steady_clock::now() + 5s;
        while (!done && std::chrono::steady_clock::now() < until) std::this_thread::yield();
        EXPECT_TRUE(done) << "the receive thread waited for the window";
        EXPECT_TRUE(SpinUntil([&] { return done.load(); }));
        t.join();
        QApplication::processEvents();  // what it posted
    }

    Timings m_saved;
    HistoryTestDatabase db;
    ExchangeState state;
    NoTransactor transactor;
    std::mutex m_sentMutex;
    QStringList m_sent;
    std::unique_ptr<CReadSDcardWindow> window;
};

}  // namespace

TEST_F(SdCardWidgetTest, OpensInTheLanguageOfMainIniAndFillsSizesOneByOne) {
    WriteIni("Chinese");
    FromReceiveThread(
        [&] { window->Logic().OpenWithFileList("SDcard file:File<A.CSV&B.CSV&>\r\n@"); });
    ASSERT_TRUE(SpinUntil([&] { return window->isVisible(); }));

    EXPECT_EQ(window->windowTitle(), QString::fromUtf16(u"SD卡文件"));
    EXPECT_EQ(window->FileList()->headerItem()->text(0), QString::fromUtf16(u"文件名"));
    EXPECT_EQ(ControlText(kSaveAs), QString::fromUtf16(u"保存"));
    EXPECT_EQ(ControlText(kSelectedName), QString::fromUtf16(u"选择一个文件"));
    EXPECT_FALSE(window->Controls().IsEnabled(kGraph));
    EXPECT_TRUE(state.sdWindowOpen);
    ASSERT_EQ(window->FileList()->topLevelItemCount(), 2);
    EXPECT_EQ(Sent(), QStringList({"Read&File Size=A.CSV&http 1.0"}));

    FromReceiveThread([&] { window->Logic().StoreFileSize("2.00KB"); });
    EXPECT_EQ(window->FileList()->topLevelItem(0)->text(1), "2.00KB");
    EXPECT_EQ(window->FileList()->topLevelItem(1)->text(1), "");
    FromReceiveThread([&] { window->Logic().StoreFileSize("4.00KB"); });
    EXPECT_EQ(window->FileList()->topLevelItem(1)->text(1), "4.00KB");
    EXPECT_TRUE(window->Controls().IsEnabled(kSaveAs));
    EXPECT_FALSE(window->Logic().IsListingSizes());

    // A click on the second row selects it.
    const QRect rect = window->FileList()->visualItemRect(window->FileList()->topLevelItem(1));
    emit window->FileList()->clicked(window->FileList()->indexAt(rect.center()));
    EXPECT_EQ(ControlText(kSelectedName), "B.CSV");
    EXPECT_EQ(ControlText(kSelectedSize), "4.00KB");
}

TEST_F(SdCardWidgetTest, DownloadFillsTheTableAndExitIsRefusedMeanwhile) {
    WriteIni("English");
    BoxCloser boxes;
    window->Logic().OpenWithFileList("SDcard file:File<LOG.CSV&>\r\n@");
    ASSERT_TRUE(SpinUntil([&] { return window->isVisible(); }));
    FromReceiveThread([&] { window->Logic().StoreFileSize("0.29KB"); });
    window->Logic().ClickFileRow(0);

    QFile sample(ORVANE_TEST_DATA_DIR "/history/log_sample.csv");
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray bytes = sample.readAll();

    qobject_cast<QPushButton*>(window->Controls().Control(kSaveAs))->click();
    EXPECT_EQ(Sent().last(), "read&File=LOG.CSV&Start=0&http 1.0");
    EXPECT_EQ(ControlText(kStatus), "Reading...");

    FromReceiveThread([&] { window->Logic().DownloadHeader(bytes.left(40), bytes.size()); });
    EXPECT_TRUE(
        SpinUntil([&] { return window->findChild<QProgressBar*>()->maximum() == bytes.size(); }));

    window->close();
    ASSERT_TRUE(SpinUntil([&] { return !boxes.texts.isEmpty(); }));
    EXPECT_EQ(boxes.texts, QStringList({"Is reading,Please do not close the window."}));
    EXPECT_TRUE(window->isVisible());

    FromReceiveThread([&] {
        for (qsizetype at = 40; at < bytes.size(); at += 62)
            window->Logic().DownloadData(bytes.mid(at, 62));
        window->Logic().DownloadEnded(bytes.size());
    });
    ASSERT_TRUE(SpinUntil([&] { return !window->Logic().IsImportRunning(); }));
    window->Logic().WaitForImport();
    QApplication::processEvents();  // what the import posted

    EXPECT_EQ(ControlText(kStatus), "ok...");
    EXPECT_EQ(window->ImportTable()->model()->rowCount(), 3);
    EXPECT_EQ(window->ImportTable()->model()->headerData(2, Qt::Horizontal).toString(),
              QString::fromLatin1("Temp(\xB0"
                                  "C)"));
    EXPECT_EQ(db.RecordCount(), 3);
    EXPECT_TRUE(window->Controls().IsEnabled(kSaveAs));
    EXPECT_TRUE(window->Controls().IsEnabled(kGraph));
    EXPECT_EQ(window->Logic().ImportedUnits().temperature, QString::fromLatin1("(\xB0"
                                                                               "C)"));

    // Graph opens one modeless graph window over the imported history; a
    // second Graph brings up the same one.
    auto* graphButton = qobject_cast<QPushButton*>(window->Controls().Control(kGraph));
    graphButton->click();
    graphButton->click();
    QApplication::processEvents();
    const auto graphs = window->findChildren<Grapsh*>();
    ASSERT_EQ(graphs.size(), 1);
    EXPECT_TRUE(graphs[0]->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    graphs[0]->reject();

    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(state.sdWindowOpen);
}

TEST_F(SdCardWidgetTest, ClosingDuringAnImportWaitsForItWithProgressShown) {
    std::atomic<bool> release = false;
    std::atomic<bool> importDone = false;
    window->Logic().SetImport([&](const QString& path, const ImportProgress& progress) {
        progress(30);
        while (!release) std::this_thread::sleep_for(1ms);
        progress(100);
        LogImportResult result;
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        result.table = std::make_shared<LogTable>(f.readAll());
        result.status = LogImportResult::Status::Ok;
        importDone = true;
        return result;
    });
    window->Logic().OpenWithFileList("SDcard file:File<A.CSV&>\r\n@");
    ASSERT_TRUE(SpinUntil([&] { return window->isVisible(); }));
    FromReceiveThread([&] { window->Logic().StoreFileSize("0.03KB"); });
    window->Logic().ClickFileRow(0);
    window->Logic().SaveAs();
    FromReceiveThread([&] {
        window->Logic().DownloadHeader("No,Time\r\n1,x\r\n", 30);
        window->Logic().DownloadEnded(30);
    });
    ASSERT_TRUE(SpinUntil([&] { return window->ImportBar()->value() == 30; }));
    EXPECT_TRUE(window->ImportBar()->isVisible());

    bool waitedVisible = false;
    QTimer::singleShot(30, [&] {
        waitedVisible =
            window->IsWaitingForImport() && window->isVisible() && window->ImportBar()->isVisible();
        release = true;
    });
    window->close();  // returns only once the import has ended

    EXPECT_TRUE(waitedVisible);
    EXPECT_TRUE(importDone);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->ImportTable()->model()->rowCount(), 1);
    EXPECT_FALSE(state.sdWindowOpen);
}

TEST_F(SdCardWidgetTest, AfterADeletionTheHighlightedFileIsTheOneShownAndDeletedNext) {
    BoxCloser boxes;
    transactor.answer = "Delete success";
    window->Logic().OpenWithFileList("SDcard file:File<A.CSV&B.CSV&C.CSV&>\r\n@");
    ASSERT_TRUE(SpinUntil([&] { return window->isVisible(); }));
    FromReceiveThread([&] {
        for (const char* size : {"1.00KB", "2.00KB", "3.00KB"}) window->Logic().StoreFileSize(size);
    });
    QTreeWidget* list = window->FileList();
    auto highlighted = [&] {
        const QList<QTreeWidgetItem*> selected = list->selectedItems();
        return selected.size() == 1 ? selected.first()->text(0) : QString();
    };
    auto press = [&](int id) {
        qobject_cast<QPushButton*>(window->Controls().Control(id))->click();
    };

    // The keyboard moves the selection, and the labels with it.
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(1));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(list, &down);
    ASSERT_EQ(highlighted(), "C.CSV");
    EXPECT_EQ(ControlText(kSelectedName), "C.CSV");
    EXPECT_EQ(ControlText(kSelectedSize), "3.00KB");

    press(kDeleteFile);
    EXPECT_EQ(transactor.requests, QStringList({"Write&Delet file=C.CSV&http 1.0"}));
    EXPECT_TRUE(boxes.texts.contains("Are you sure to delete the file?\nC.CSV"));
    EXPECT_EQ(highlighted(), ControlText(kSelectedName));
    EXPECT_EQ(ControlText(kSelectedName), "A.CSV");

    press(kDeleteFile);
    EXPECT_EQ(transactor.requests.last(), "Write&Delet file=A.CSV&http 1.0");
    EXPECT_EQ(highlighted(), "B.CSV");
    EXPECT_EQ(ControlText(kSelectedName), "B.CSV");
    press(kDeleteFile);
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(highlighted(), "");
    EXPECT_EQ(ControlText(kSelectedName), "");
    EXPECT_FALSE(window->Controls().IsEnabled(kDeleteFile));
}

// A download's reports go through the dispatcher on the receive thread while
// the GUI thread is busy (here: not running its event loop at all). Each
// report has to reach the file without waiting for the GUI thread; the bar
// then catches up in a few posted updates, not one per report.
TEST_F(SdCardWidgetTest, ADownloadNeverWaitsForABusyGuiThread) {
    window->Logic().SetImport(
        [](const QString&, const ImportProgress&) { return LogImportResult{}; });
    window->Logic().OpenWithFileList("SDcard file:File<BIG.CSV&>\r\n@");
    ASSERT_TRUE(SpinUntil([&] { return window->isVisible(); }));
    FromReceiveThread([&] { window->Logic().StoreFileSize("120.00KB"); });
    window->Logic().ClickFileRow(0);
    window->Logic().SaveAs();

    constexpr int kReports = 2000;
    const QByteArray data(62, 'x');
    const qint64 total = qint64(kReports) * data.size();
    TaskThreads tasks;
    TransferWatchdogs watchdogs(state, &window->Logic(), tasks);
    std::atomic<qint64> downloadTotal{0};
    ReplyConsumers consumers;
    consumers.sdCard = &window->Logic();
    ReplyDispatcher dispatcher(state, consumers, watchdogs, downloadTotal);

    auto received = std::async(std::launch::async, [&] {
        dispatcher.HandlePayload("Read File:=" + QByteArray::number(total) + ">");
        for (int i = 0; i < kReports; ++i) dispatcher.HandlePayload(data);
        // The end mark, handled with TransferLock held, starts the import.
        dispatcher.HandlePayload("@");
    });
    // The GUI thread stays busy until the receive thread is through.
    EXPECT_EQ(received.wait_for(20s), std::future_status::ready);
    auto* bar = window->findChild<QProgressBar*>();
    EXPECT_TRUE(SpinUntil([&] { return bar->maximum() == total && bar->value() == total; }))
        << bar->value() << " of " << bar->maximum();
    received.wait();
    EXPECT_EQ(QFileInfo(QDir(db.Folder()).filePath("BIG.CSV")).size(), total);
    window->Logic().WaitForImport();
    QApplication::processEvents();
    EXPECT_EQ(ControlText(1204), "ok...");
    watchdogs.Shutdown();
    tasks.JoinAll();
}
