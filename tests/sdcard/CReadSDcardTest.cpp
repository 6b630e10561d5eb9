#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <thread>

#include "../history/HistoryTestDatabase.h"
#include "CReadSDcard.h"
#include "ManualClock.h"
#include "ReplyDispatcher.h"
#include "SdCardControls.h"
#include "SdCardLayout.h"
#include "StringTable.h"
#include "Timing.h"

using namespace orvane;
using namespace orvane::SdCardId;
using namespace std::chrono_literals;

namespace {

class RecordingTransactor : public Transactor {
public:
    QString Transact(const QString& request) override {
        requests.append(request);
        return answer;
    }
    QString answer = "Write success";
    QStringList requests;
};

class SdCardWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = GetTimings();
        Timings t;
        t.nowDataWaitBeforeRead = 1ms;
        t.writePause = 1ms;
        // Long enough that the watchdogs never act in these tests.
        t.downloadSilence = 20s;
        t.fileSizeSilence = 20s;
        SetTimings(t);
        ASSERT_TRUE(dir.isValid());
        Build(dir.path());
        sd->SetImport([this](const QString& path, const ImportProgress& progress) {
            imported.append(path);
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            importedContent = f.readAll();
            progress(100);
            LogImportResult result;
            if (importSucceeds) {
                result.status = LogImportResult::Status::Ok;
                result.table = std::make_shared<LogTable>(importedContent);
                result.captions.temperature = "(C)";
            }
            return result;
        });
    }
    // The window on a data folder, with the real import until SetImport.
    void Build(const QString& folder) {
        dispatcher.reset();
        watchdogs.reset();
        sd = std::make_unique<CReadSDcard>(
            state, window, view,
            [this](const QString& r) {
                {
                    std::lock_guard lock(sentMutex);
                    sent.append(r);
                }
                if (answerDuringSend) answerDuringSend(r);
                return sendWorks;
            },
            transactor, folder);
        watchdogs = std::make_unique<TransferWatchdogs>(state, sd.get(), tasks);
        ReplyConsumers consumers;
        consumers.sdCard = sd.get();
        dispatcher = std::make_unique<ReplyDispatcher>(state, consumers, *watchdogs, downloadTotal);
    }

    void TearDown() override {
        dispatcher.reset();
        watchdogs.reset();
        tasks.JoinAll();
        sd.reset();
        SetTimings(m_saved);
    }

    // One input report's text as the receive thread gets it.
    void Receive(const QString& text) { dispatcher->HandlePayload(text.toLatin1()); }

    QStringList Sent() {
        std::lock_guard lock(sentMutex);
        return sent;
    }
    QString Local(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void WriteLocal(const QString& name, const QByteArray& bytes) const {
        QFile f(Local(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ReadLocal(const QString& name) const {
        QFile f(Local(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // Opens the window on a listing of the given names and lets every size
    // arrive.
    void OpenListed(const QStringList& names, const QList<qint64>& sizes) {
        QString reply = "SDcard file:File<";
        for (const QString& n : names) reply += n + "&";
        sd->SetFileListText(reply + ">\r\n@");
        sd->OpenWindow(UiLanguage::English);
        for (qint64 s : sizes) Receive(QString("File Size:File<size=%1>").arg(s));
    }

    // A click: the list highlights the row itself, then tells the window.
    void Select(const QString& name) {
        const int row = int(sd->FileNames().indexOf(name));
        view.SelectFileRow(row);
        sd->ClickFileRow(row);
    }
    // Selection, labels and buttons agree on one file (or on none).
    void ExpectOneSelection(const QString& name) {
        const int row = view.SelectedRow();
        EXPECT_EQ(row < 0 ? QString() : view.Names().value(row), name);
        EXPECT_EQ(window.Text(kSelectedName), name);
        EXPECT_EQ(window.IsEnabled(kDeleteFile), !name.isEmpty());
        if (!name.isEmpty()) {
            EXPECT_EQ(sd->FileNames().value(sd->SelectedRow()), name);
        }
    }

    Timings m_saved;
    test::ManualClock clock;
    QTemporaryDir dir;
    ExchangeState state;
    MemorySdCardWindow window;
    MemorySdCardView view;
    RecordingTransactor transactor;
    std::mutex sentMutex;
    QStringList sent;
    bool sendWorks = true;
    // The station's answer arriving before the send call has returned.
    std::function<void(const QString&)> answerDuringSend;
    bool importSucceeds = true;
    QStringList imported;
    QByteArray importedContent;
    std::unique_ptr<CReadSDcard> sd;
    TaskThreads tasks;
    std::atomic<qint64> downloadTotal{0};
    std::unique_ptr<TransferWatchdogs> watchdogs;
    std::unique_ptr<ReplyDispatcher> dispatcher;
};

}  // namespace

TEST_F(SdCardWindowTest, OpeningAsksOneSizeAtATimeAndShowsThemAsTheyArrive) {
    state.pendingRequest = kPendingNone;
    sd->SetFileListText("SDcard file:File<A.CSV&B.CSV&>\r\n@");
    sd->OpenWindow(UiLanguage::English);

    EXPECT_TRUE(state.sdWindowOpen);
    EXPECT_EQ(window.Title(), "SDCard File");
    EXPECT_EQ(window.Text(kSelectedName), "Select a file");
    EXPECT_EQ(window.Text(kNameLabel), "FileName:");
    EXPECT_FALSE(window.IsEnabled(kGraph));
    EXPECT_EQ(view.Names(), QStringList({"A.CSV", "B.CSV"}));
    EXPECT_EQ(Sent(), QStringList({"Read&File Size=A.CSV&http 1.0"}));
    EXPECT_EQ(state.pendingRequest, kPendingFileSizes);
    EXPECT_TRUE(sd->IsListingSizes());

    Receive("File Size:File<size=2048>");
    EXPECT_EQ(Sent().last(), "Read&File Size=B.CSV&http 1.0");
    EXPECT_EQ(view.Sizes(), QStringList({"2.00KB", ""}));
    EXPECT_FALSE(window.IsEnabled(kSaveAs));
    EXPECT_FALSE(window.IsEnabled(kDeleteFile));

    // A report of the kind without a size changes nothing.
    Receive("File Size:garbled");
    EXPECT_EQ(Sent().size(), 2);

    Receive("File Size:File<size=2000000>");
    EXPECT_EQ(Sent().size(), 2);
    EXPECT_EQ(view.Sizes(), QStringList({"2.00KB", "1.91MB"}));
    EXPECT_FALSE(sd->IsListingSizes());
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_TRUE(window.IsEnabled(kSaveAs));

    // A late duplicate has no row to go to.
    Receive("File Size:File<size=1>");
    EXPECT_EQ(view.Sizes(), QStringList({"2.00KB", "1.91MB"}));

    Select("B.CSV");
    EXPECT_EQ(window.Text(kSelectedName), "B.CSV");
    EXPECT_EQ(window.Text(kSelectedSize), "1.91MB");
    EXPECT_TRUE(window.IsEnabled(kDeleteFile));
    sd->ClickFileRow(-1);
    EXPECT_EQ(window.Text(kSelectedName), "");
    EXPECT_EQ(window.Text(kSelectedSize), "");
}

TEST_F(SdCardWindowTest, ListingWithoutAnyNameSendsNothingAndReturnsThePendingCode) {
    for (const char* reply :
         {"SDcard file:File<&>\r\n@", "SDcard file:File<>\r\n@", "SDcard file:File<A.CSV>\r\n@"}) {
        state.pendingRequest = kPendingFileSizes;
        sd->SetFileListText(reply);
        sd->OpenWindow(UiLanguage::English);
        EXPECT_EQ(state.pendingRequest, kPendingNone) << reply;
        EXPECT_FALSE(sd->IsListingSizes());
        EXPECT_TRUE(view.Names().isEmpty());
        EXPECT_TRUE(sd->Exit());
        EXPECT_FALSE(state.sdWindowOpen);
    }
    EXPECT_TRUE(Sent().isEmpty());
}

TEST_F(SdCardWindowTest, NamesThatWouldLeaveTheDataFolderAreNotListed) {
    OpenListed({"../evil.csv", "GOOD.CSV"}, {});
    EXPECT_EQ(sd->FileNames(), QStringList({"GOOD.CSV"}));
    EXPECT_EQ(Sent(), QStringList({"Read&File Size=GOOD.CSV&http 1.0"}));
}

TEST_F(SdCardWindowTest, SaveAsWithoutSelectionAsksForOneInTheWindowsLanguage) {
    OpenListed({"A.CSV"}, {10});
    sd->SaveAs();
    EXPECT_EQ(window.Messages(), QStringList({"Please select a file"}));
    EXPECT_EQ(Sent().size(), 1);  // only the size request
    EXPECT_TRUE(window.IsEnabled(kSaveAs));

    window.ClearMessages();
    sd->OpenWindow(UiLanguage::Chinese);
    EXPECT_EQ(window.Text(kSelectedName), QString::fromUtf16(u"选择一个文件"));
    Receive("File Size:File<size=10>");
    sd->SaveAs();
    EXPECT_EQ(window.Messages(), QStringList({QString::fromUtf16(u"请选择一个文件")}));
}

TEST_F(SdCardWindowTest, ResumeOffsetIsTheSizeOfTheLocalCopy) {
    QByteArray thousand;
    for (int i = 0; i < 10; ++i) thousand += QByteArray(99, 'x') + '\n';
    ASSERT_EQ(thousand.size(), 1000);
    WriteLocal("A.CSV", thousand);
    OpenListed({"A.CSV", "NEW.CSV"}, {1500, 20});

    Select("A.CSV");
    sd->SaveAs();
    EXPECT_EQ(Sent().last(), "read&File=A.CSV&Start=1000&http 1.0");
    EXPECT_EQ(sd->StartOffset(), 1000);
    EXPECT_EQ(state.pendingRequest, kPendingFileDownload);
    EXPECT_TRUE(state.requestBusy);
    EXPECT_EQ(window.Text(kStatus), "Reading...");
    EXPECT_FALSE(window.IsEnabled(kSaveAs));

    Receive("Read File:File<size=1500>");
    Receive("@");
    sd->WaitForImport();

    Select("NEW.CSV");
    sd->SaveAs();
    EXPECT_EQ(Sent().last(), "read&File=NEW.CSV&Start=0&http 1.0");
    EXPECT_TRUE(QFile::exists(Local("NEW.CSV")));
}

TEST_F(SdCardWindowTest, AShortFileReceivedBeforeTheSendReturnsEndsAtOk) {
    OpenListed({"A.CSV"}, {14});
    Select("A.CSV");
    answerDuringSend = [this](const QString& request) {
        if (!request.startsWith("read&File=")) return;
        Receive("Read File:File<size=14>No,Time\r\n1,2\r\n");
        Receive("\r\n@");
    };
    sd->SaveAs();
    sd->WaitForImport();
    EXPECT_EQ(ReadLocal("A.CSV"), "No,Time\r\n1,2\r\n");
    EXPECT_EQ(window.Text(kStatus), "ok...");
    EXPECT_FALSE(sd->IsDownloading());
}

TEST_F(SdCardWindowTest, DownloadStoresTheReceivedBytesExactlyAndImportsThem) {
    WriteLocal("A.CSV", "No,Time\r\n");
    OpenListed({"A.CSV"}, {37});
    Select("A.CSV");
    sd->SaveAs();
    ASSERT_EQ(Sent().last(), "read&File=A.CSV&Start=9&http 1.0");

    Receive("Read File:File<size=37>1,2013-05-07 9:05:00\n");
    EXPECT_EQ(sd->DownloadTotal(), 28);
    EXPECT_EQ(view.ProgressMaximum(), 28);
    Receive(QString("2,x") + QChar(0xB0) + "C\r\n");
    EXPECT_EQ(view.Progress(), 21 + 7);
    Receive("\r\n@");
    sd->WaitForImport();

    const QByteArray expected = QByteArray("No,Time\r\n1,2013-05-07 9:05:00\n2,x\xB0") + "C\r\n";
    EXPECT_EQ(ReadLocal("A.CSV"), expected);
    EXPECT_EQ(imported, QStringList({Local("A.CSV")}));
    EXPECT_EQ(importedContent, expected);
    EXPECT_EQ(window.Text(kStatus), "ok...");
    EXPECT_EQ(view.Progress(), 28);
    EXPECT_FALSE(sd->IsDownloading());
    EXPECT_FALSE(state.requestBusy);
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_TRUE(window.IsEnabled(kSaveAs));
    EXPECT_TRUE(window.IsEnabled(kGraph));
    EXPECT_EQ(view.ImportsFinished(), 1);
    EXPECT_EQ(sd->ImportedUnits().temperature, "(C)");
    EXPECT_EQ(view.LastImportPercent(), 100);
    ASSERT_NE(view.Table(), nullptr);
    EXPECT_EQ(view.Table()->RowCount(), 2);

    // A failed import leaves Graph off but lets the user try again.
    importSucceeds = false;
    sd->OpenWindow(UiLanguage::English);
    Receive("File Size:File<size=37>");
    Select("A.CSV");
    sd->SaveAs();
    EXPECT_EQ(Sent().last(), "read&File=A.CSV&Start=37&http 1.0");
    Receive("Read File:File<size=37>");
    Receive("@");
    sd->WaitForImport();
    EXPECT_EQ(ReadLocal("A.CSV"), expected);
    EXPECT_TRUE(window.IsEnabled(kSaveAs));
    EXPECT_FALSE(window.IsEnabled(kGraph));
}

// An archive that cannot take the file is named in a message; the history
// database still holds the file, as the import left it.
TEST_F(SdCardWindowTest, ArchiveFailureIsShownAndTheImportedHistoryStands) {
    HistoryTestDatabase history;
    {
        // A folder where the archive file should be: it cannot be opened.
        QFile ini(history.Folder() + "/Main.ini");
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Archive]\r\nLocation=" + history.Folder().toUtf8() + "\r\n");
        QFile log(history.Folder() + "/A.CSV");
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write(
            "No,Time,T,H,AP,RP,W,G,D,WD,R,DR,WR,MR,YR,L,E,UV\r\n"
            "1,2013-05-07 9:05:00,1.5,50,1000,1010,1,2,3,90,0,0,0,0,0,100,0,3\r\n");
    }
    Build(history.Folder());
    OpenListed({"A.CSV"}, {QFileInfo(history.Folder() + "/A.CSV").size()});
    Select("A.CSV");
    sd->SaveAs();
    Receive("Read File:File<size=0>");
    Receive("@");
    sd->WaitForImport();
    ASSERT_EQ(window.Messages().size(), 1) << window.Messages().join('|').toStdString();
    EXPECT_TRUE(
        window.Messages()[0].startsWith(LoadString(430, UiLanguage::English).section("%1", 0, 0)))
        << window.Messages()[0].toStdString();
    EXPECT_TRUE(window.Messages()[0].contains(history.Folder()));
    EXPECT_EQ(history.Scalar("SELECT count(*) FROM Records"), 1);
    EXPECT_TRUE(window.IsEnabled(kGraph));
}

TEST_F(SdCardWindowTest, ExitIsRefusedWhileATransferRuns) {
    OpenListed({"A.CSV"}, {});
    ASSERT_TRUE(sd->IsListingSizes());
    EXPECT_FALSE(sd->Exit());
    Receive("File Size:File<size=100>");

    Select("A.CSV");
    sd->SaveAs();
    Receive("Read File:File<size=100>abc");
    EXPECT_FALSE(sd->Exit());
    EXPECT_EQ(window.Messages(), QStringList({"Is reading,Please do not close the window.",
                                              "Is reading,Please do not close the window."}));
    EXPECT_TRUE(state.sdWindowOpen);
    // Deleting is no option during the download either.
    sd->DeleteFile();
    EXPECT_TRUE(transactor.requests.isEmpty());

    Receive("@");
    sd->WaitForImport();
    EXPECT_TRUE(sd->Exit());
    EXPECT_FALSE(state.sdWindowOpen);
}

TEST_F(SdCardWindowTest, ExitGivesUpATransferThatNoReplyEverStarted) {
    Timings t = GetTimings();
    t.downloadSilence = 20ms;
    SetTimings(t);
    sd->SetClock(clock);
    OpenListed({"A.CSV"}, {100});
    Select("A.CSV");
    sd->SaveAs();
    // No report ever comes, so no watchdog ever starts.
    clock.Advance(3 * t.downloadSilence);
    EXPECT_FALSE(sd->Exit());
    clock.Advance(1ms);
    EXPECT_TRUE(sd->Exit());
    EXPECT_FALSE(QFile::exists(Local("A.CSV")));
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_FALSE(state.requestBusy);
}

TEST_F(SdCardWindowTest, DeletingTheOnlyFileEmptiesNameAndSize) {
    WriteLocal("A.CSV", "old");
    OpenListed({"A.CSV"}, {2048});
    Select("A.CSV");
    window.AnswerNextConfirm(true);
    sd->DeleteFile();

    EXPECT_EQ(transactor.requests, QStringList({"Write&Delet file=A.CSV&http 1.0"}));
    EXPECT_EQ(window.Confirmations(), QStringList({"Are you sure to delete the file?\nA.CSV"}));
    ExpectOneSelection("");
    EXPECT_EQ(window.Text(kSelectedSize), "");
    EXPECT_TRUE(view.Names().isEmpty());
    EXPECT_TRUE(sd->FileNames().isEmpty());
    EXPECT_FALSE(QFile::exists(Local("A.CSV")));
    EXPECT_EQ(window.Messages(), QStringList({"Delete Success"}));
    EXPECT_FALSE(state.requestBusy);
}

TEST_F(SdCardWindowTest, DeletingShowsTheNextFileOrKeepsEverythingWhenRefused) {
    WriteLocal("B.CSV", "keep");
    OpenListed({"A.CSV", "B.CSV", "C.CSV"}, {1024, 2048, 3072});

    Select("B.CSV");
    window.AnswerNextConfirm(false);
    sd->DeleteFile();
    EXPECT_TRUE(transactor.requests.isEmpty());

    transactor.answer = "Write fail";
    sd->DeleteFile();
    EXPECT_EQ(window.Messages().last(), "Delete Fail");
    transactor.answer = "Unconnected";
    sd->DeleteFile();
    EXPECT_EQ(window.Messages().last(), "Unconnected");
    EXPECT_EQ(ReadLocal("B.CSV"), "keep");
    EXPECT_EQ(sd->FileNames().size(), 3);

    transactor.answer = "Delete success";
    sd->DeleteFile();
    EXPECT_EQ(view.Names(), QStringList({"A.CSV", "C.CSV"}));
    ExpectOneSelection("A.CSV");
    EXPECT_EQ(window.Text(kSelectedSize), "1.00KB");
    EXPECT_EQ(sd->SelectedRow(), 0);
    EXPECT_FALSE(QFile::exists(Local("B.CSV")));

    // The last row deleted: the highlight would stay near the end, the
    // labels name row 0; the next Delete must hit the file that is shown.
    Select("C.CSV");
    sd->DeleteFile();
    EXPECT_EQ(window.Confirmations().last(), "Are you sure to delete the file?\nC.CSV");
    ExpectOneSelection("A.CSV");
    sd->DeleteFile();
    EXPECT_EQ(transactor.requests.last(), "Write&Delet file=A.CSV&http 1.0");
    ExpectOneSelection("");
    EXPECT_TRUE(view.Names().isEmpty());
}

TEST_F(SdCardWindowTest, RestartDropsOnlyWhatThisDownloadAppended) {
    WriteLocal("A.CSV", "head\n");
    OpenListed({"A.CSV"}, {12});
    Select("A.CSV");
    sd->SaveAs();
    Receive("Read File:File<size=12>abc");
    ASSERT_EQ(ReadLocal("A.CSV"), "head\nabc");

    sd->RestartDownload();
    EXPECT_EQ(ReadLocal("A.CSV"), "head\n");
    EXPECT_EQ(Sent().last(), "read&File=A.CSV&Start=5&http 1.0");
    EXPECT_TRUE(sd->IsDownloading());
    EXPECT_EQ(state.pendingRequest, kPendingFileDownload);
    EXPECT_EQ(view.Progress(), 0);

    Receive("Read File:File<size=12>abc");
    Receive("defg");
    Receive("@");
    sd->WaitForImport();
    EXPECT_EQ(ReadLocal("A.CSV"), "head\nabcdefg");
}

TEST_F(SdCardWindowTest, RestartOfAFreshDownloadStartsFromZero) {
    OpenListed({"N.CSV"}, {6});
    Select("N.CSV");
    sd->SaveAs();
    Receive("Read File:File<size=6>abc");
    sd->RestartDownload();
    EXPECT_EQ(Sent().last(), "read&File=N.CSV&Start=0&http 1.0");
    EXPECT_EQ(ReadLocal("N.CSV"), "");
    Receive("Read File:File<size=6>abcdef");
    Receive("@");
    sd->WaitForImport();
    EXPECT_EQ(ReadLocal("N.CSV"), "abcdef");
}

TEST_F(SdCardWindowTest, AbandonRemovesAPartialDownloadButNoCompleteCopy) {
    WriteLocal("OLD.CSV", "complete");
    OpenListed({"OLD.CSV", "N.CSV"}, {20, 6});

    // A fresh download given up: its partial file goes.
    Select("N.CSV");
    sd->SaveAs();
    Receive("Read File:File<size=6>abc");
    sd->AbandonTransfer();
    EXPECT_FALSE(QFile::exists(Local("N.CSV")));
    EXPECT_FALSE(sd->IsDownloading());
    EXPECT_TRUE(window.IsEnabled(kSaveAs));
    EXPECT_FALSE(window.IsEnabled(kGraph));  // nothing was imported
    // Reports that straggle in afterwards write nothing.
    Receive("def");
    EXPECT_FALSE(QFile::exists(Local("N.CSV")));

    // A resumed download given up: the copy returns to what it was.
    Select("OLD.CSV");
    sd->SaveAs();
    Receive("Read File:File<size=20>more bytes");
    sd->AbandonTransfer();
    EXPECT_EQ(ReadLocal("OLD.CSV"), "complete");
    EXPECT_TRUE(sd->Exit());
}

TEST_F(SdCardWindowTest, AbandonAfterAStalledSizeListingLeavesLocalFilesAlone) {
    // A download of an earlier opening left its local copy behind.
    WriteLocal("A.CSV", "abcdef");
    OpenListed({"A.CSV"}, {6});
    Select("A.CSV");
    sd->SaveAs();
    Receive("Read File:File<size=6>");
    Receive("@");
    sd->WaitForImport();
    ASSERT_EQ(sd->LocalPath(), Local("A.CSV"));

    sd->OpenWindow(UiLanguage::English);
    ASSERT_TRUE(sd->IsListingSizes());
    ASSERT_EQ(state.pendingRequest, kPendingFileSizes);
    sd->RequestFileSize();
    EXPECT_EQ(Sent().last(), "Read&File Size=A.CSV&http 1.0");
    sd->AbandonTransfer();

    EXPECT_EQ(ReadLocal("A.CSV"), "abcdef");
    EXPECT_FALSE(sd->IsListingSizes());
    EXPECT_TRUE(sd->Exit());
}

TEST_F(SdCardWindowTest, ARequestThatCannotBeSentEndsTheTransferAtOnce) {
    sendWorks = false;
    OpenListed({"A.CSV"}, {});
    EXPECT_FALSE(sd->IsListingSizes());
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_EQ(window.Messages(), QStringList({"Send Fail"}));
    sendWorks = true;

    OpenListed({"A.CSV"}, {6});
    Select("A.CSV");
    sendWorks = false;
    sd->SaveAs();
    EXPECT_FALSE(sd->IsDownloading());
    EXPECT_FALSE(QFile::exists(Local("A.CSV")));
    EXPECT_EQ(window.Messages().last(), "Send Fail");
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_TRUE(window.IsEnabled(kSaveAs));
    EXPECT_TRUE(sd->Exit());
}

TEST_F(SdCardWindowTest, LocalCopyThatCannotBeOpenedOrCreatedSendsNothing) {
    // A folder named like the file exists but cannot be opened as one; a
    // missing folder leaves nowhere to create the copy.
    ASSERT_TRUE(QDir(dir.path()).mkpath("taken/A.CSV"));
    const struct {
        QString folder;
        QString message;
    } cases[] = {{Local("no/such/folder"), "Create Error"}, {Local("taken"), "Open Error"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        sent.clear();
        auto blocked = std::make_unique<CReadSDcard>(
            state, window, view,
            [this](const QString& r) {
                sent.append(r);
                return true;
            },
            transactor, c.folder);
        blocked->SetFileListText("SDcard file:File<A.CSV&>@");
        blocked->OpenWindow(UiLanguage::English);
        blocked->StoreFileSize("0.01KB");
        blocked->ClickFileRow(0);
        blocked->SaveAs();
        EXPECT_EQ(window.Messages().last(), c.message);
        EXPECT_EQ(sent.size(), 1);  // the size request only
        EXPECT_FALSE(blocked->IsDownloading());
    }
}

TEST_F(SdCardWindowTest, AStraySizeReportEndsNothingAndTakesNoDownloadData) {
    WriteLocal("A.CSV", "abc");
    OpenListed({"A.CSV"}, {6});
    ASSERT_FALSE(sd->IsListingSizes());
    // A slow station answers the watchdog's repeated size request late.
    Receive("File Size:File<size=6>");
    EXPECT_EQ(dispatcher->Kind(), ResponseKind::None);
    EXPECT_FALSE(watchdogs->WatchdogRunning());
    EXPECT_TRUE(window.IsEnabled(kSaveAs));
    // Whatever gives a transfer up now must not offer a graph of nothing.
    sd->AbandonTransfer();
    EXPECT_FALSE(window.IsEnabled(kGraph));

    // The same in the middle of a download: its data goes on to the file.
    Select("A.CSV");
    sd->SaveAs();
    Receive("Read File:File<size=9>def");
    Receive("File Size:File<size=6>");
    EXPECT_EQ(dispatcher->Kind(), ResponseKind::ReadFile);
    Receive("ghi");
    Receive("@");
    sd->WaitForImport();
    EXPECT_EQ(ReadLocal("A.CSV"), "abcdefghi");
    EXPECT_EQ(state.pendingRequest, kPendingNone);
}

// Writes beyond `bytes` fail as on a full disk (EFBIG instead of ENOSPC).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

TEST_F(SdCardWindowTest, AFailedWriteStopsTheDownloadKeepsWhatArrivedAndImportsNothing) {
    OpenListed({"A.CSV"}, {200});
    Select("A.CSV");
    const QByteArray content = QByteArray(60, 'a') + QByteArray(62, 'b') + QByteArray(78, 'c');
    {
        const FileSizeLimit full(100);
        sd->SaveAs();
        Receive("Read File:File<size=200>" + QString::fromLatin1(content.left(60)));
        Receive(QString::fromLatin1(content.mid(60, 62)));  // goes beyond the limit
        EXPECT_TRUE(sd->WriteFailed());
        Receive(QString::fromLatin1(content.mid(122)));
        Receive("@");
    }
    sd->WaitForImport();
    EXPECT_TRUE(imported.isEmpty());
    EXPECT_EQ(ReadLocal("A.CSV"), content.left(60));
    ASSERT_EQ(window.Messages().size(), 1);
    EXPECT_TRUE(window.Messages()[0].startsWith("Could not write A.CSV"));
    EXPECT_NE(window.Text(kStatus), "ok...");
    EXPECT_FALSE(sd->IsDownloading());
    EXPECT_EQ(state.pendingRequest, kPendingNone);
    EXPECT_TRUE(window.IsEnabled(kSaveAs));

    // With room again, Save as goes on from what was kept.
    sd->SaveAs();
    EXPECT_EQ(Sent().last(), "read&File=A.CSV&Start=60&http 1.0");
    Receive("Read File:File<size=200>" + QString::fromLatin1(content.mid(60, 40)));
    Receive(QString::fromLatin1(content.mid(100)));
    Receive("@");
    sd->WaitForImport();
    EXPECT_EQ(ReadLocal("A.CSV"), content);
    EXPECT_EQ(imported.size(), 1);
}
