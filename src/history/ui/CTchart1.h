#pragma once

#include <QChartView>
#include <QDateTime>
#include <QList>
#include <QPointF>
#include <vector>

class QLineSeries;
class QRubberBand;
class QDateTimeAxis;
class QValueAxis;

namespace orvane {

// The graph window's chart: a title line, four line series (red, azure,
// orange, green, width 2) against a date-time axis labelled
// yyyy-MM-dd hh:mm:ss, a value axis scaled to the data with its caption, and
// the legend at the top listing the used series. GUI thread only.
class CTchart1 : public QChartView {
    Q_OBJECT
public:
    static constexpr int kSeriesCount = 4;

    explicit CTchart1(QWidget* parent = nullptr);

    void SetTitleLine(const QString& text);
    QString TitleLine() const;

    void ClearSeries();
    void SetSeriesTitle(int index, const QString& title);
    // An unused series stays empty and is left out of the legend.
    void SetSeriesUsed(int index, bool used);
    bool IsSeriesUsed(int index) const;
    // Replaces the points of a series; times in days since 1899-12-30 (local
    // wall-clock time), values as they are. A long series is drawn thinned
    // to the first, lowest, highest and last point of each of
    // kDrawnBuckets equal time slices, which looks the same at any window
    // width but keeps the chart responsive; Points() keeps them all.
    void SetPoints(int index, const std::vector<double>& times, const std::vector<double>& values);
    static constexpr int kDrawnBuckets = 2000;
    // Every point of a series (x in epoch milliseconds), as exported to CSV.
    const QList<QPointF>& Points(int index) const { return m_points[index]; }

    // Fixes the time axis to [start, end].
    void SetTimeRange(const QDateTime& start, const QDateTime& end);
    void SetValueCaption(const QString& caption);
    // Scales the value axis to the points of the used series.
    void RescaleValueAxis();
    // Scales the value axis to [low, high] with a margin; an empty range
    // (low > high) gives 0..1. Setting the scale before the points spares
    // the chart a second layout of every point.
    void ScaleValueAxis(double low, double high);

    QLineSeries* Series(int index) const { return m_series[index]; }
    QDateTimeAxis* TimeAxis() const { return m_timeAxis; }
    QValueAxis* ValueAxis() const { return m_valueAxis; }

    // The shown chart as a PNG image; its points as CSV (series, time, value).
    bool ExportPng(const QString& path);
    bool ExportCsv(const QString& path) const;

    // Value and time of the point nearest to `epochMs` of each used series
    // ("Temperature: 21.5  2013-05-07 09:03:00    Dew point: ..."); empty
    // when no series has points.
    QString ReadoutAt(double epochMs) const;
    // The time axis span in epoch milliseconds.
    double ViewStartMs() const;
    double ViewEndMs() const;

    static constexpr double kShortestSpanMs = 60000.0;

signals:
    // Zoom and pan: the span the user asked to see (epoch milliseconds);
    // the owner reads it and sets the points. Wheel: zoom around the
    // pointer; left drag: pan; right drag: zoom into the band; + and -,
    // arrows: zoom and pan by steps.
    void ViewRequested(double startMs, double endMs);
    // Home: back to the searched span.
    void HomeRequested();
    // The hover read-out under the pointer.
    void ReadoutChanged(const QString& text);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    double TimeAtX(double x) const;
    void RequestView(double startMs, double endMs);
    enum class Drag { None, Pan, Band };
    Drag m_drag = Drag::None;
    QPoint m_pressPos;
    double m_pressStartMs = 0, m_pressEndMs = 0;
    QRubberBand* m_band = nullptr;

    QLineSeries* m_series[kSeriesCount];
    QList<QPointF> m_points[kSeriesCount];
    bool m_used[kSeriesCount] = {true, true, true, true};
    // Value range of each series' points, kept so rescaling needs no pass.
    double m_low[kSeriesCount];
    double m_high[kSeriesCount];
    QDateTimeAxis* m_timeAxis;
    QValueAxis* m_valueAxis;
};

}  // namespace orvane
