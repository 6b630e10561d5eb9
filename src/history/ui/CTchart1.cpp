#include "CTchart1.h"

#include <QDateTimeAxis>
#include <QFile>
#include <QKeyEvent>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPixmap>
#include <QRubberBand>
#include <QSaveFile>
#include <QTextStream>
#include <QTimeZone>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

#include "HistoryTime.h"

namespace orvane {

namespace {

const QColor kColours[CTchart1::kSeriesCount] = {QColor(255, 0, 0), QColor(0, 128, 255),
                                                 QColor(255, 128, 0), QColor(0, 128, 0)};

constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 in days since 1899-12-30
constexpr double kMsPerDay = 86400000.0;

// Converts wall-clock day counts to epoch milliseconds for the time axis.
// The zone's offset is looked up once per hour of data rather than per
// point, and through a parsed zone rather than the C library (which checks
// the zone file on every call): a year of one-minute records needs 8760
// look-ups, not 525,600.
class EpochConverter {
public:
    double operator()(double days) {
        const double hour = std::floor(days * 24.0);
        if (hour != m_hour) {
            m_hour = hour;
            const double wallMs = (hour / 24.0 - kUnixEpochDays) * kMsPerDay;
            const auto utc = static_cast<qint64>(wallMs) - m_standardMs;
            m_offsetMs =
                m_zone.offsetFromUtc(QDateTime::fromMSecsSinceEpoch(utc, Qt::UTC)) * 1000.0;
        }
        return (days - kUnixEpochDays) * kMsPerDay - m_offsetMs;
    }

private:
    QTimeZone m_zone = QTimeZone::systemTimeZone();
    qint64 m_standardMs = m_zone.standardTimeOffset(QDateTime::currentDateTimeUtc()) * 1000LL;
    double m_hour = std::numeric_limits<double>::quiet_NaN();
    double m_offsetMs = 0;
};

// The first, lowest, highest and last point of each time slice, in time
// order: every extreme survives, so the drawn line covers the same pixels.
QList<QPointF> Thinned(const QList<QPointF>& points, int buckets) {
    if (points.size() <= 4LL * buckets) return points;
    QList<QPointF> out;
    out.reserve(4LL * buckets);
    const double first = points.front().x();
    const double width = (points.back().x() - first) / buckets;
    qsizetype i = 0;
    while (i < points.size()) {
        const qsizetype begin = i;
        const double limit =
            width > 0 ? first + width * (std::floor((points[i].x() - first) / width) + 1) : 0;
        qsizetype low = i, high = i;
        while (i < points.size() && (width <= 0 ? i - begin < 1 : points[i].x() < limit)) {
            if (points[i].y() < points[low].y()) low = i;
            if (points[i].y() > points[high].y()) high = i;
            ++i;
        }
        const qsizetype last = i - 1;
        qsizetype picks[] = {begin, std::min(low, high), std::max(low, high), last};
        qsizetype previous = -1;
        for (qsizetype p : picks)
            if (p != previous) {
                out.append(points[p]);
                previous = p;
            }
    }
    return out;
}

}  // namespace

CTchart1::CTchart1(QWidget* parent) : QChartView(parent) {
    auto* chart = new QChart();
    chart->setTitle(QStringLiteral(" "));
    chart->legend()->setAlignment(Qt::AlignTop);
    m_timeAxis = new QDateTimeAxis(chart);
    m_timeAxis->setFormat(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    m_timeAxis->setLabelsAngle(-30);
    m_timeAxis->setTickCount(6);
    m_valueAxis = new QValueAxis(chart);
    chart->addAxis(m_timeAxis, Qt::AlignBottom);
    chart->addAxis(m_valueAxis, Qt::AlignLeft);
    for (int i = 0; i < kSeriesCount; ++i) {
        auto* s = new QLineSeries(chart);
        s->setName(QStringLiteral(" "));
        QPen pen(kColours[i]);
        pen.setWidth(2);
        s->setPen(pen);
        s->setColor(kColours[i]);
        chart->addSeries(s);
        s->attachAxis(m_timeAxis);
        s->attachAxis(m_valueAxis);
        m_series[i] = s;
    }
    setChart(chart);
    ClearSeries();
    setRenderHint(QPainter::Antialiasing, false);
    setMinimumSize(640, 320);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_band = new QRubberBand(QRubberBand::Rectangle, this);
}

void CTchart1::SetTitleLine(const QString& text) {
    chart()->setTitle(text);
}

QString CTchart1::TitleLine() const {
    return chart()->title();
}

void CTchart1::ClearSeries() {
    for (int i = 0; i < kSeriesCount; ++i) {
        m_series[i]->clear();
        m_points[i].clear();
        m_low[i] = std::numeric_limits<double>::infinity();
        m_high[i] = -std::numeric_limits<double>::infinity();
    }
}

void CTchart1::SetSeriesTitle(int index, const QString& title) {
    if (index >= 0 && index < kSeriesCount) m_series[index]->setName(title);
}

void CTchart1::SetSeriesUsed(int index, bool used) {
    if (index < 0 || index >= kSeriesCount) return;
    m_used[index] = used;
    for (QLegendMarker* marker : chart()->legend()->markers(m_series[index]))
        marker->setVisible(used);
}

bool CTchart1::IsSeriesUsed(int index) const {
    return index >= 0 && index < kSeriesCount && m_used[index];
}

void CTchart1::SetPoints(int index, const std::vector<double>& times,
                         const std::vector<double>& values) {
    if (index < 0 || index >= kSeriesCount) return;
    const size_t n = std::min(times.size(), values.size());
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(n));
    EpochConverter toEpoch;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (size_t i = 0; i < n; ++i) {
        points.append(QPointF(toEpoch(times[i]), values[i]));
        low = std::min(low, values[i]);
        high = std::max(high, values[i]);
    }
    m_low[index] = low;
    m_high[index] = high;
    m_points[index] = points;
    m_series[index]->replace(Thinned(points, kDrawnBuckets));
}

void CTchart1::SetTimeRange(const QDateTime& start, const QDateTime& end) {
    m_timeAxis->setRange(start, end);
}

void CTchart1::SetValueCaption(const QString& caption) {
    m_valueAxis->setTitleText(caption);
}

void CTchart1::RescaleValueAxis() {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int i = 0; i < kSeriesCount; ++i) {
        if (!m_used[i]) continue;
        low = std::min(low, m_low[i]);
        high = std::max(high, m_high[i]);
    }
    ScaleValueAxis(low, high);
}

void CTchart1::ScaleValueAxis(double low, double high) {
    if (low > high) {
        m_valueAxis->setRange(0, 1);
        return;
    }
    const double margin = high > low ? (high - low) * 0.05 : std::max(1.0, std::abs(high) * 0.05);
    m_valueAxis->setRange(low - margin, high + margin);
    m_valueAxis->applyNiceNumbers();
}

bool CTchart1::ExportPng(const QString& path) {
    const QPixmap image = grab();
    return !image.isNull() && image.save(path, "PNG");
}

bool CTchart1::ExportCsv(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    out << "Series,Time,Value\n";
    for (int i = 0; i < kSeriesCount; ++i) {
        if (!m_used[i]) continue;
        QString name = m_series[i]->name();
        name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        for (const QPointF& p : m_points[i]) {
            const QDateTime t =
                QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(p.x())));
            out << '"' << name << "\"," << t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) << ','
                << QString::number(p.y(), 'g', 7) << '\n';
        }
    }
    out.flush();
    return out.status() == QTextStream::Ok && file.commit();
}

double CTchart1::ViewStartMs() const {
    return static_cast<double>(m_timeAxis->min().toMSecsSinceEpoch());
}

double CTchart1::ViewEndMs() const {
    return static_cast<double>(m_timeAxis->max().toMSecsSinceEpoch());
}

double CTchart1::TimeAtX(double x) const {
    const QRectF area = chart()->plotArea();
    const double from = ViewStartMs(), to = ViewEndMs();
    if (area.width() <= 0) return from;
    return from + (x - area.left()) / area.width() * (to - from);
}

void CTchart1::RequestView(double startMs, double endMs) {
    if (endMs < startMs) std::swap(startMs, endMs);
    if (endMs - startMs < kShortestSpanMs) {
        const double middle = (startMs + endMs) / 2;
        startMs = middle - kShortestSpanMs / 2;
        endMs = middle + kShortestSpanMs / 2;
    }
    emit ViewRequested(startMs, endMs);
}

void CTchart1::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y();
    if (steps == 0) return;
    const double factor = steps > 0 ? 0.8 : 1.25;
    const double at = TimeAtX(mapToScene(event->position().toPoint()).x());
    const double from = ViewStartMs(), to = ViewEndMs();
    RequestView(at - (at - from) * factor, at + (to - at) * factor);
    event->accept();
}

void CTchart1::mousePressEvent(QMouseEvent* event) {
    m_pressPos = event->position().toPoint();
    m_pressStartMs = ViewStartMs();
    m_pressEndMs = ViewEndMs();
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier)) {
        m_drag = Drag::Pan;
        setCursor(Qt::ClosedHandCursor);
    } else if (event->button() == Qt::RightButton || event->button() == Qt::LeftButton) {
        m_drag = Drag::Band;
        m_band->setGeometry(QRect(m_pressPos, QSize()));
        m_band->show();
    }
    event->accept();
}

void CTchart1::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_drag == Drag::Pan) {
        // The axis follows the pointer; the points of the new span are read
        // when the button is let go.
        const double width = chart()->plotArea().width();
        if (width > 0) {
            const double shift =
                (pos.x() - m_pressPos.x()) / width * (m_pressEndMs - m_pressStartMs);
            m_timeAxis->setRange(
                QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(m_pressStartMs - shift)),
                QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(m_pressEndMs - shift)));
        }
    } else if (m_drag == Drag::Band) {
        const QRectF area = chart()->plotArea();
        m_band->setGeometry(QRect(QPoint(std::min(m_pressPos.x(), pos.x()), int(area.top())),
                                  QPoint(std::max(m_pressPos.x(), pos.x()), int(area.bottom()))));
    } else {
        emit ReadoutChanged(ReadoutAt(TimeAtX(mapToScene(pos).x())));
    }
    event->accept();
}

void CTchart1::mouseReleaseEvent(QMouseEvent* event) {
    const Drag drag = m_drag;
    m_drag = Drag::None;
    unsetCursor();
    const int x = event->position().toPoint().x();
    if (drag == Drag::Pan && x != m_pressPos.x()) {
        RequestView(ViewStartMs(), ViewEndMs());
    } else if (drag == Drag::Band) {
        m_band->hide();
        if (std::abs(x - m_pressPos.x()) >= 4) {
            // The band was drawn over the axis span of the press.
            const QRectF area = chart()->plotArea();
            auto at = [&](int px) {
                return m_pressStartMs + (mapToScene(QPoint(px, 0)).x() - area.left()) /
                                            area.width() * (m_pressEndMs - m_pressStartMs);
            };
            RequestView(at(m_pressPos.x()), at(x));
        }
    }
    event->accept();
}

void CTchart1::keyPressEvent(QKeyEvent* event) {
    const double from = ViewStartMs(), to = ViewEndMs();
    const double middle = (from + to) / 2, half = (to - from) / 2, step = (to - from) / 4;
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            RequestView(middle - half / 2, middle + half / 2);
            break;
        case Qt::Key_Minus:
            RequestView(middle - half * 2, middle + half * 2);
            break;
        case Qt::Key_Left:
            RequestView(from - step, to - step);
            break;
        case Qt::Key_Right:
            RequestView(from + step, to + step);
            break;
        case Qt::Key_Home:
            emit HomeRequested();
            break;
        default:
            QChartView::keyPressEvent(event);
            return;
    }
    event->accept();
}

QString CTchart1::ReadoutAt(double epochMs) const {
    QStringList parts;
    for (int i = 0; i < kSeriesCount; ++i) {
        const QList<QPointF>& points = m_points[i];
        if (!m_used[i] || points.isEmpty()) continue;
        auto it = std::lower_bound(points.begin(), points.end(), epochMs,
                                   [](const QPointF& p, double x) { return p.x() < x; });
        if (it == points.end() ||
            (it != points.begin() && epochMs - (it - 1)->x() < it->x() - epochMs))
            --it;
        const QDateTime t =
            QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(it->x())));
        parts << QStringLiteral("%1: %2  %3")
                     .arg(m_series[i]->name(), QString::number(it->y(), 'g', 7),
                          t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    }
    return parts.join(QStringLiteral("    "));
}

}  // namespace orvane
