#include "Grapsh.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QTextStream>
#include <QTimeEdit>
#include <QUrl>
#include <QVBoxLayout>
#include <limits>

#include "ArchiveProvenance.h"
#include "CTchart1.h"
#include "Clock.h"
#include "GraphLayout.h"
#include "HistoryTime.h"
#include "StringTable.h"

namespace orvane {

using namespace GraphId;

namespace {
constexpr int kTextSearch = 191;
constexpr int kTextCancel = 192;
constexpr int kTextGraph = 193;
constexpr int kTextStart = 194;
constexpr int kTextEnd = 195;
constexpr int kTextSave = 114;
constexpr int kTextSaveFail = 183;

// Words of this window that the string table does not carry.
QString Words(const char* english, const char* chinese) {
    return QString::fromUtf8(CurrentLanguage() == UiLanguage::Chinese ? chinese : english);
}

const QString kPngFilter = QStringLiteral("PNG (*.png)");
const QString kCsvFilter = QStringLiteral("CSV (*.csv)");
}  // namespace

Grapsh::Grapsh(QString databasePath, QWidget* parent, const Clock* clock)
    : QDialog(parent),
      m_databasePath(std::move(databasePath)),
      m_archiveLocation(ArchiveLocationFor(QFileInfo(m_databasePath).absolutePath())),
      m_controls(this),
      m_messages(&m_controls) {
    m_database.SetMessageWindow(m_messages);

    m_chart = new CTchart1(this);
    auto* startLabel = new QLabel(this);
    auto* endLabel = new QLabel(this);
    m_startDate = new QDateEdit(this);
    m_startTime = new QTimeEdit(this);
    m_endDate = new QDateEdit(this);
    m_endTime = new QTimeEdit(this);
    // Qt's date and time editors default to UTC; the span is local wall time,
    // like the records.
    for (QDateTimeEdit* e :
         std::initializer_list<QDateTimeEdit*>{m_startDate, m_startTime, m_endDate, m_endTime})
        e->setTimeSpec(Qt::LocalTime);
    for (QDateEdit* d : {m_startDate, m_endDate}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setMinimumWidth(d->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) + 48);
    }
    for (QTimeEdit* t : {m_startTime, m_endTime}) {
        t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        t->setMinimumWidth(t->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 40);
    }
    m_quantity = new QComboBox(this);
    m_source = new QComboBox(this);
    m_source->addItems({Words("Last import", "最近导入"), Words("Archive", "档案")});
    {
        // The location without a password.
        QUrl shown(m_archiveLocation);
        shown.setPassword(QString());
        m_source->setToolTip(Archive::IsPostgresLocation(m_archiveLocation) ? shown.toString()
                                                                            : m_archiveLocation);
    }
    m_imports = new QPushButton(Words("Imports...", "导入记录..."), this);
    m_imports->setToolTip(
        Words("Where the archive's records came from", "档案中的记录来自哪些文件"));
    m_imports->setEnabled(false);
    auto* home = new QPushButton(this);
    home->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    home->setToolTip(Words("Back to the searched span (Home)", "回到查询的时间段 (Home)"));
    m_readout = new QLabel(this);
    m_readout->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* search = new QPushButton(this);
    auto* save = new QPushButton(this);
    auto* cancel = new QPushButton(this);
    search->setDefault(true);

    // Two rows, so that the window fits a small screen.
    auto* span = new QHBoxLayout();
    span->addWidget(startLabel);
    span->addWidget(m_startDate);
    span->addWidget(m_startTime);
    span->addSpacing(12);
    span->addWidget(endLabel);
    span->addWidget(m_endDate);
    span->addWidget(m_endTime);
    span->addStretch();
    auto* controls = new QHBoxLayout();
    controls->addWidget(m_quantity);
    controls->addWidget(m_source);
    controls->addWidget(m_imports);
    controls->addStretch();
    controls->addWidget(home);
    controls->addWidget(search);
    controls->addWidget(save);
    controls->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_readout);
    layout->addLayout(span);
    layout->addLayout(controls);

    m_controls.SetLayout(GraphControlLayout());
    m_controls.Register(kChart, m_chart);
    m_controls.Register(kStartLabel, startLabel);
    m_controls.Register(kEndLabel, endLabel);
    m_controls.Register(kStartDate, m_startDate);
    m_controls.Register(kStartTime, m_startTime);
    m_controls.Register(kEndDate, m_endDate);
    m_controls.Register(kEndTime, m_endTime);
    m_controls.Register(kQuantity, m_quantity);
    m_controls.Register(kSearch, search);
    m_controls.Register(kCancel, cancel);
    m_controls.Register(kSave, save);
    m_controls.VerifyLayout();

    // The span: from an hour ago to now.
    const QDateTime now = clock ? clock->LocalNow() : QDateTime::currentDateTime();
    const QDateTime from = now.addSecs(-3600);
    m_startDate->setDate(from.date());
    m_startTime->setTime(QTime(from.time().hour(), from.time().minute(), from.time().second()));
    m_endDate->setDate(now.date());
    m_endTime->setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));

    m_controls.SetTitle(LoadString(kTextGraph));
    m_controls.SetText(kSearch, LoadString(kTextSearch));
    m_controls.SetText(kCancel, LoadString(kTextCancel));
    m_controls.SetText(kSave, LoadString(kTextSave));
    m_controls.SetText(kStartLabel, LoadString(kTextStart));
    m_controls.SetText(kEndLabel, LoadString(kTextEnd));
    m_controls.SetItems(kQuantity, GraphQuantityNames());
    m_controls.SelectIndex(kQuantity, 0);

    connect(search, &QPushButton::clicked, this, &Grapsh::Search);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, &Grapsh::ChooseSaveFile);
    auto goHome = [this] {
        if (m_searchedStart.isValid()) ShowSpan(m_searchedStart, m_searchedEnd);
    };
    connect(home, &QPushButton::clicked, this, goHome);
    connect(m_chart, &CTchart1::HomeRequested, this, goHome);
    connect(m_chart, &CTchart1::ViewRequested, this, [this](double viewFrom, double viewTo) {
        ShowSpan(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(viewFrom)),
                 QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(viewTo)));
    });
    connect(m_chart, &CTchart1::ReadoutChanged, m_readout, &QLabel::setText);
    connect(m_imports, &QPushButton::clicked, this, &Grapsh::ShowImports);
    connect(m_source, &QComboBox::currentIndexChanged, this, [this] {
        m_imports->setEnabled(CurrentSource() == kArchive);
        // Looked for afresh: it may have been created or moved meanwhile.
        m_archive.reset();
        OpenOnStoredSpan();
        Search();
    });

    OpenOnStoredSpan();
    // Within the screen, however small.
    QSize size(1100, 600);
    if (QScreen* screen = QApplication::primaryScreen())
        // Room for the frame and the title bar.
        size = size.boundedTo(screen->availableSize() - QSize(16, 48));
    resize(size);
}

Grapsh::Source Grapsh::CurrentSource() const {
    return m_source->currentIndex() == kArchive ? kArchive : kLastImport;
}

void Grapsh::SetSource(Source source) {
    m_source->setCurrentIndex(source);
}

Archive* Grapsh::OpenArchive(QString& error) {
    if (m_archive) return m_archive.get();
    if (m_archiveLocation.compare(QLatin1String(kArchiveOff), Qt::CaseInsensitive) == 0) {
        error = Words("The archive is switched off ([Archive] Location=off in Main.ini).",
                      "档案已关闭（Main.ini 中 [Archive] Location=off）。");
        return nullptr;
    }
    if (!Archive::IsPostgresLocation(m_archiveLocation) && !QFileInfo::exists(m_archiveLocation)) {
        error = Words("No archive yet: %1", "尚无档案：%1").arg(m_archiveLocation);
        return nullptr;
    }
    m_archive = Archive::Open(m_archiveLocation, error);
    return m_archive.get();
}

// The fields take the span of the stored records (the first one included:
// the start is open), read quietly: a missing file is reported by Search.
void Grapsh::OpenOnStoredSpan() {
    double first = 0, last = 0;
    if (CurrentSource() == kArchive) {
        QString error;
        Archive* archive = OpenArchive(error);
        m_searchOnShow = archive && archive->ReadBounds(first, last);
    } else {
        HistoryDatabase probe;
        m_searchOnShow = probe.Open(m_databasePath) == 0 && probe.TimeBounds(first, last);
    }
    if (!m_searchOnShow) return;
    const QDateTime from = DateTimeFromDays(first).addSecs(-1);
    QDateTime to = DateTimeFromDays(last);
    if (to.time().msec() != 0) to = to.addSecs(1);
    m_startDate->setDate(from.date());
    m_startTime->setTime(QTime(from.time().hour(), from.time().minute(), from.time().second()));
    m_endDate->setDate(to.date());
    m_endTime->setTime(QTime(to.time().hour(), to.time().minute(), to.time().second()));
}

void Grapsh::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_searchOnShow) {
        m_searchOnShow = false;
        Search();
    }
}

Grapsh::~Grapsh() {
    m_controls.Shutdown();
    m_database.Close();
}

void Grapsh::SetMessageWindow(ControlWindow* window) {
    m_messages = window ? window : &m_controls;
    m_database.SetMessageWindow(m_messages);
}

QDateTime Grapsh::Start() const {
    const QTime t = m_startTime->time();
    return QDateTime(m_startDate->date(), QTime(t.hour(), t.minute(), t.second()));
}

QDateTime Grapsh::End() const {
    const QTime t = m_endTime->time();
    return QDateTime(m_endDate->date(), QTime(t.hour(), t.minute(), t.second()));
}

void Grapsh::Search() {
    const QDateTime start = Start();
    const QDateTime end = End();
    if (start.isValid() && end.isValid() && start > end) {
        // A refusal: the stop icon, unless messages are routed elsewhere.
        if (m_messages == &m_controls)
            QMessageBox::critical(this, QStringLiteral("Orvane"), LoadString(kTextGraph));
        else
            m_messages->MessageBox(LoadString(kTextGraph));
        return;
    }
    m_searchedStart = start;
    m_searchedEnd = end;
    m_shownQuantity = m_quantity->currentIndex();
    ShowSpan(start, end);
}

void Grapsh::ShowSpan(const QDateTime& start, const QDateTime& end) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const double from = DaysFromDateTime(start);
    const double to = DaysFromDateTime(end);
    const int slices = std::max(kGraphSlices / 4, std::min(kGraphSlices, width()));
    GraphData detail;
    if (CurrentSource() == kArchive) {
        QString error;
        if (Archive* archive = OpenArchive(error)) {
            detail = RunGraphDetail(*archive, from, to, m_shownQuantity, m_units, slices);
            if (detail.failed) error = archive->ReadError();
        } else {
            detail = GraphLayout(m_shownQuantity, m_units);
        }
        if (!error.isEmpty()) m_messages->MessageBox(error);
    } else {
        detail =
            RunGraphDetail(m_database, m_databasePath, from, to, m_shownQuantity, m_units, slices);
    }
    m_shownStart = start;
    m_shownEnd = end;
    m_exact = detail.exact;
    m_chart->ClearSeries();
    m_chart->SetTimeRange(start, end);
    m_chart->SetTitleLine(detail.chartTitle);
    m_chart->SetValueCaption(detail.axisCaption);
    // The value scale is set before the points go in, so that the chart lays
    // out each point once.
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const GraphSeriesData& s : detail.series)
        for (double v : s.values) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    m_chart->ScaleValueAxis(low, high);
    for (int k = 0; k < kGraphSeries; ++k) {
        const GraphSeriesData& s = detail.series[k];
        if (s.setsTitle) m_chart->SetSeriesTitle(k, s.title);
        m_chart->SetSeriesUsed(k, s.used);
        if (s.used) m_chart->SetPoints(k, s.times, s.values);
    }
    QApplication::restoreOverrideCursor();
}

// The provenance panel: every import that fed the archive, with its counts.
QDialog* Grapsh::ShowImports() {
    ProvenanceTable table;
    QString error;
    if (!ReadProvenance(m_archiveLocation, CurrentLanguage(), table, error)) {
        m_messages->MessageBox(error);
        return nullptr;
    }
    auto* panel = new QDialog(this);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowTitle(Words("Archive imports", "档案导入记录"));
    auto* summary = new QLabel(table.summary, panel);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* grid = new QTableWidget(static_cast<int>(table.rows.size()),
                                  static_cast<int>(table.columns.size()), panel);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setHorizontalHeaderLabels(table.columns);
    grid->verticalHeader()->hide();
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(table.rows[static_cast<size_t>(r)][c]));
    grid->resizeColumnsToContents();
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(summary);
    layout->addWidget(grid, 1);
    panel->resize(size().boundedTo(QSize(900, 400)));
    panel->show();
    return panel;
}

QString Grapsh::SaveFilters() {
    return kPngFilter + QStringLiteral(";;") + kCsvFilter;
}

QString Grapsh::SavePath(const QString& chosen, const QString& filter) {
    if (chosen.isEmpty()) return chosen;
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("csv")) return chosen;
    return chosen + (filter == kCsvFilter ? QStringLiteral(".csv") : QStringLiteral(".png"));
}

bool Grapsh::SaveChart(const QString& path) {
    const bool csv = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    if (csv ? ExportCsv(path) : m_chart->ExportPng(path)) return true;
    m_messages->MessageBox(LoadString(kTextSaveFail));
    return false;
}

// Every reading of the shown span, not only the drawn extremes, series by
// series, oldest first.
bool Grapsh::ExportCsv(const QString& path) {
    if (!m_shownStart.isValid()) {
        QSaveFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Text) &&
               file.write("Series,Time,Value\n") > 0 && file.commit();
    }
    std::array<QString, kGraphSeries> names;
    for (int k = 0; k < kGraphSeries; ++k) names[std::size_t(k)] = m_chart->Series(k)->name();
    QString error;
    RecordSource* source = &m_database;
    if (CurrentSource() == kArchive && !(source = OpenArchive(error))) return false;
    return WriteGraphCsv(*source, path, m_shownStart, m_shownEnd, m_shownQuantity, m_units, names);
}

void Grapsh::ChooseSaveFile() {
    QString filter = kPngFilter;
    const QString path = SavePath(QFileDialog::getSaveFileName(this, LoadString(kTextSave),
                                                               QString(), SaveFilters(), &filter),
                                  filter);
    if (!path.isEmpty()) SaveChart(path);
}

}  // namespace orvane
