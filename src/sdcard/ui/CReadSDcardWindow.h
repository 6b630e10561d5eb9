#pragma once

#include <QDialog>
#include <QPointer>
#include <atomic>
#include <memory>

#include "CReadSDcard.h"
#include "CoalescedPost.h"
#include "QtControlWindow.h"
#include "SdCardView.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QTreeWidget;

namespace orvane {

class Grapsh;

class LogImportTableModel;

// The SD-card window (dialog 153) over widgets. Its controls are those of
// SdCardControlLayout(), registered under the SdCardId names; the behaviour
// is CReadSDcard's. One instance lives as long as the application and is shown
// at each opening.
//
// Logic() is the link's SdCardTransferHandler: when the list reply is
// complete the window opens by a queued call on the GUI thread. Everything
// else of this class runs on the GUI thread; the SdCardView operations may
// come from any thread and are posted to the GUI thread (the two progress
// bars also coalesced), so the receive thread never waits for it, not even
// while it holds TransferLock.
class CReadSDcardWindow : public QDialog, public SdCardView {
    Q_OBJECT
public:
    CReadSDcardWindow(ExchangeState& state, RequestSender sendText, Transactor& transactor,
                      QString dataFolder, QWidget* parent = nullptr);
    ~CReadSDcardWindow() override;

    CReadSDcard& Logic() { return *m_logic; }
    QtControlWindow& Controls() { return m_controls; }

    // SdCardView.
    void SetFileRows(const QStringList& names) override;
    void SetFileSize(int row, const QString& sizeText) override;
    void RemoveFileRow(int row) override;
    void SelectFileRow(int row) override;
    void SetProgressRange(int maximum) override;
    void SetProgress(int value) override;
    void ImportStarted() override;
    void ImportProgress(int percent) override;
    void ImportFinished(std::shared_ptr<const LogTable> table) override;

    // GUI thread, for tests and the window itself.
    QTreeWidget* FileList() const { return m_fileList; }
    QTableView* ImportTable() const { return m_table; }
    QProgressBar* ImportBar() const { return m_importBar; }
    bool IsWaitingForImport() const { return m_waitingForImport; }
    void OpenGraph();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Open();
    void TryClose();
    void WaitForImportWithProgress();

    QtControlWindow m_controls;
    QTreeWidget* m_fileList;
    QTableView* m_table;
    LogImportTableModel* m_model;
    QProgressBar* m_progress;
    QProgressBar* m_importBar;
    // The bars are posted, newest value only: the receive thread sets them
    // once per report and must never wait for a GUI thread that is drawing.
    std::atomic<int> m_progressMaximum{100};
    std::atomic<int> m_progressValue{0};
    std::atomic<int> m_importPercent{0};
    std::unique_ptr<CoalescedPost> m_progressPost;
    std::unique_ptr<CoalescedPost> m_importPost;
    bool m_waitingForImport = false;
    bool m_closing = false;
    bool m_fillingList = false;  // the list changes by program, not by the user
    QPointer<Grapsh> m_graph;
    std::unique_ptr<CReadSDcard> m_logic;
};

}  // namespace orvane
