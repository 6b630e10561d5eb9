#include "Grapsh.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <limits>

#include "CTchart1.h"
#include "Clock.h"
#include "HistoryTime.h"
#include "StringTable.h"

namespace orvane {

namespace {
constexpr int kTextSearch = 191;
constexpr int kTextCancel = 192;
constexpr int kTextGraph = 193;
constexpr int kTextStart = 194;
constexpr int kTextEnd = 195;
constexpr int kTextSave = 114;
constexpr int kTextSaveFail = 183;
}  // namespace

Grapsh::Grapsh(QString databasePath, QWidget* parent, const Clock* clock)
    : QDialog(parent),
      m_databasePath(std::move(databasePath)),
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
    auto* search = new QPushButton(this);
    auto* save = new QPushButton(this);
    auto* cancel = new QPushButton(this);
    search->setDefault(true);

    auto* controls = new QHBoxLayout();
    controls->addWidget(startLabel);
    controls->addWidget(m_startDate);
    controls->addWidget(m_startTime);
    controls->addSpacing(12);
    controls->addWidget(endLabel);
    controls->addWidget(m_endDate);
    controls->addWidget(m_endTime);
    controls->addSpacing(12);
    controls->addWidget(m_quantity);
    controls->addStretch();
    controls->addWidget(search);
    controls->addWidget(save);
    controls->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_chart, 1);
    layout->addLayout(controls);

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
    resize(1100, 600);
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
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const GraphData data =
        RunGraphSearch(m_database, m_databasePath, FormatRangeText(start), FormatRangeText(end),
                       m_quantity->currentIndex(), m_units);
    m_chart->ClearSeries();
    m_chart->SetTimeRange(start, end);
    m_chart->SetTitleLine(data.chartTitle);
    m_chart->SetValueCaption(data.axisCaption);
    // The value scale is set before the points go in, so that the chart lays
    // out each point once.
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const GraphSeriesData& s : data.series)
        for (double v : s.values) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    m_chart->ScaleValueAxis(low, high);
    for (int k = 0; k < kGraphSeries; ++k) {
        const GraphSeriesData& s = data.series[k];
        if (s.setsTitle) m_chart->SetSeriesTitle(k, s.title);
        m_chart->SetSeriesUsed(k, s.used);
        if (s.used) m_chart->SetPoints(k, s.times, s.values);
    }
    QApplication::restoreOverrideCursor();
}

bool Grapsh::SaveChart(const QString& pngPath) {
    const QFileInfo info(pngPath);
    const QString csvPath = info.dir().filePath(info.completeBaseName() + QStringLiteral(".csv"));
    if (m_chart->ExportPng(pngPath) && m_chart->ExportCsv(csvPath)) return true;
    m_messages->MessageBox(LoadString(kTextSaveFail));
    return false;
}

void Grapsh::ChooseSaveFile() {
    QString path = QFileDialog::getSaveFileName(this, LoadString(kTextSave), QString(),
                                                QStringLiteral("PNG (*.png)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) path += QStringLiteral(".png");
    SaveChart(path);
}

}  // namespace orvane
