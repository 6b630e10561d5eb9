#include "CReadSDcardWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "Grapsh.h"
#include "LogImportTableModel.h"
#include "PostTo.h"
#include "SdCardLayout.h"
#include "StringTable.h"
#include "Timing.h"

namespace orvane {

namespace {

// How often a close that waits for the import looks again.
constexpr int kImportPollMs = 20;

QPushButton* AddButton(QtControlWindow& controls, int id, QLayout* layout) {
    auto* button = new QPushButton;
    controls.Register(id, button);
    layout->addWidget(button);
    return button;
}

QLabel* AddLabel(QtControlWindow& controls, int id, const QString& text = {}) {
    auto* label = new QLabel(text);
    controls.Register(id, label);
    return label;
}

}  // namespace

CReadSDcardWindow::CReadSDcardWindow(ExchangeState& state, RequestSender sendText,
                                     Transactor& transactor, QString dataFolder, QWidget* parent)
    : QDialog(parent), m_controls(this) {
    m_controls.SetLayout(SdCardControlLayout());
    // Modeless, so that the settings window (and the simulator's plug) stay
    // usable during a download; the logic keeps it to one window.

    m_fileList = new QTreeWidget;
    m_fileList->setColumnCount(2);
    m_fileList->setRootIsDecorated(false);
    m_fileList->setUniformRowHeights(true);
    m_fileList->setAllColumnsShowFocus(true);
    m_fileList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_fileList->header()->setSectionsMovable(true);
    m_fileList->header()->setDefaultAlignment(Qt::AlignCenter);
    m_fileList->setColumnWidth(0, 130);
    m_fileList->setColumnWidth(1, 90);
    m_fileList->setMinimumWidth(240);
    m_fileList->viewport()->installEventFilter(this);
    m_controls.Register(SdCardId::kFileList, m_fileList);
    connect(m_fileList, &QTreeWidget::clicked, this,
            [this](const QModelIndex& index) { m_logic->ClickFileRow(index.row()); });
    // The keyboard moves the highlight too; the labels follow it.
    // The keyboard selects rows too; the labels follow the selection (a mere
    // focus, which highlights nothing, changes nothing).
    connect(m_fileList, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = m_fileList->selectedItems();
        if (!m_fillingList && !selected.isEmpty())
            m_logic->ClickFileRow(m_fileList->indexOfTopLevelItem(selected.first()));
    });

    m_progress = new QProgressBar;
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_controls.Register(SdCardId::kProgress, m_progress);
    m_progressPost = std::make_unique<CoalescedPost>(
        this,
        [this] {
            const int maximum = m_progressMaximum.load();
            m_progress->setRange(0, maximum);
            m_progress->setValue(std::min(m_progressValue.load(), maximum));
        },
        GetTimings().guiRefresh);

    auto* details = new QGridLayout;
    details->addWidget(AddLabel(m_controls, SdCardId::kNameLabel), 0, 0);
    details->addWidget(AddLabel(m_controls, SdCardId::kSelectedName), 0, 1);
    details->addWidget(AddLabel(m_controls, SdCardId::kSizeLabel), 1, 0);
    details->addWidget(AddLabel(m_controls, SdCardId::kSelectedSize, QStringLiteral("-------")), 1,
                       1);
    details->addWidget(AddLabel(m_controls, SdCardId::kStatus), 2, 0, 1, 2);
    details->addWidget(m_progress, 3, 0, 1, 2);
    details->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    connect(AddButton(m_controls, SdCardId::kSaveAs, buttons), &QPushButton::clicked, this,
            [this] { m_logic->SaveAs(); });
    connect(AddButton(m_controls, SdCardId::kDeleteFile, buttons), &QPushButton::clicked, this,
            [this] { m_logic->DeleteFile(); });
    connect(AddButton(m_controls, SdCardId::kGraph, buttons), &QPushButton::clicked, this,
            [this] { OpenGraph(); });
    connect(AddButton(m_controls, SdCardId::kExit, buttons), &QPushButton::clicked, this,
            [this] { TryClose(); });
    auto* hidden = new QComboBox;
    hidden->setVisible(false);
    m_controls.Register(SdCardId::kHiddenCombo, hidden);
    buttons->addWidget(hidden);

    auto* side = new QVBoxLayout;
    side->addLayout(details);
    side->addStretch(1);
    side->addLayout(buttons);

    auto* top = new QHBoxLayout;
    top->addWidget(m_fileList, 1);
    top->addLayout(side, 2);

    m_model = new LogImportTableModel(this);
    m_table = new QTableView;
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setShowGrid(true);
    m_table->horizontalHeader()->setSectionsMovable(true);
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_controls.Register(SdCardId::kImportTable, m_table);
    m_controls.VerifyLayout();

    m_importBar = new QProgressBar;
    m_importBar->setRange(0, 100);
    m_importBar->setFormat(QStringLiteral("%p%"));
    m_importBar->setVisible(false);
    m_importPost = std::make_unique<CoalescedPost>(
        this, [this] { m_importBar->setValue(m_importPercent.load()); }, GetTimings().guiRefresh);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_importBar);
    resize(900, 560);

    m_logic = std::make_unique<CReadSDcard>(state, m_controls, *this, std::move(sendText),
                                            transactor, std::move(dataFolder));
    m_logic->SetOpener([this] { PostTo(this, [this] { Open(); }); });
}

CReadSDcardWindow::~CReadSDcardWindow() {
    // Workers calling into the window return at once from here on, so the
    // import can be joined without waiting for this thread.
    m_controls.Shutdown();
    m_logic.reset();
}

void CReadSDcardWindow::Open() {
    m_logic->OpenWindow();
    const UiLanguage language = m_logic->Language();
    m_fileList->setHeaderLabels({LoadString(142, language), LoadString(143, language)});
    show();
    raise();
    activateWindow();
}

void CReadSDcardWindow::SetFileRows(const QStringList& names) {
    m_controls.Gui().Post([this, names] {
        const QScopedValueRollback filling(m_fillingList, true);
        m_fileList->clear();
        QList<QTreeWidgetItem*> items;
        for (const QString& name : names) {
            auto* item = new QTreeWidgetItem({name, QString()});
            item->setTextAlignment(0, Qt::AlignCenter);
            item->setTextAlignment(1, Qt::AlignCenter);
            items.append(item);
        }
        m_fileList->addTopLevelItems(items);
    });
}

void CReadSDcardWindow::SetFileSize(int row, const QString& sizeText) {
    m_controls.Gui().Post([this, row, sizeText] {
        if (QTreeWidgetItem* item = m_fileList->topLevelItem(row)) item->setText(1, sizeText);
    });
}

void CReadSDcardWindow::RemoveFileRow(int row) {
    m_controls.Gui().Post([this, row] {
        const QScopedValueRollback filling(m_fillingList, true);
        delete m_fileList->takeTopLevelItem(row);
    });
}

void CReadSDcardWindow::SelectFileRow(int row) {
    m_controls.Gui().Post([this, row] {
        const QScopedValueRollback filling(m_fillingList, true);
        if (QTreeWidgetItem* item = m_fileList->topLevelItem(row)) {
            m_fileList->setCurrentItem(item);
            m_fileList->clearSelection();
            item->setSelected(true);
        } else {
            m_fileList->clearSelection();
            m_fileList->setCurrentItem(nullptr);
        }
    });
}

void CReadSDcardWindow::SetProgressRange(int maximum) {
    m_progressMaximum = std::max(maximum, 0);
    m_progressPost->Request();
}

void CReadSDcardWindow::SetProgress(int value) {
    m_progressValue = value;
    m_progressPost->Request();
}

void CReadSDcardWindow::ImportStarted() {
    m_importPercent = 0;
    m_controls.Gui().Post([this] {
        m_model->SetTable(nullptr);
        m_importBar->setValue(0);
        m_importBar->setVisible(true);
    });
}

void CReadSDcardWindow::ImportProgress(int percent) {
    m_importPercent = percent;
    m_importPost->Request();
}

void CReadSDcardWindow::ImportFinished(std::shared_ptr<const LogTable> table) {
    m_importPercent = 100;
    m_controls.Gui().Post([this, table = std::move(table)] {
        m_model->SetTable(table);
        for (int c = 0; c < m_model->columnCount(); ++c)
            m_table->setColumnWidth(c, LogImportTableModel::ColumnWidth(c));
        m_importBar->setValue(100);
        m_importBar->setVisible(false);
    });
}

void CReadSDcardWindow::OpenGraph() {
    // One modeless graph window; a second Graph brings it to the front.
    if (!m_graph) {
        m_graph = new Grapsh(m_logic->DatabasePath(), this);
        m_graph->setAttribute(Qt::WA_DeleteOnClose);
        m_graph->SetUnitCaptions(m_logic->ImportedUnits());
    }
    m_graph->show();
    m_graph->raise();
    m_graph->activateWindow();
}

void CReadSDcardWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    TryClose();
}

void CReadSDcardWindow::reject() {
    TryClose();
}

void CReadSDcardWindow::TryClose() {
    if (m_closing || m_waitingForImport) return;
    if (!m_logic->Exit()) return;
    WaitForImportWithProgress();
    m_closing = true;
    QDialog::reject();
    m_closing = false;
}

void CReadSDcardWindow::WaitForImportWithProgress() {
    if (m_logic->IsImportRunning()) {
        // The import still fills the table and the buttons through this
        // thread, so the wait keeps the events flowing.
        m_waitingForImport = true;
        m_importBar->setVisible(true);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QEventLoop loop;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!m_logic->IsImportRunning()) loop.quit();
        });
        poll.start(kImportPollMs);
        loop.exec();
        QApplication::restoreOverrideCursor();
        m_waitingForImport = false;
    }
    m_logic->WaitForImport();
}

bool CReadSDcardWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_fileList->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_fileList->indexAt(mouse->position().toPoint()).isValid()) m_logic->ClickFileRow(-1);
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvane
