#include "ChartImage.h"

#include <QFontMetrics>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <limits>

#include "HistoryTime.h"

namespace orvane::ctl {

namespace {

// The graph window's series colours, in series order.
const QColor kColours[kGraphSeries] = {QColor(255, 0, 0), QColor(0, 128, 255), QColor(255, 128, 0),
                                       QColor(0, 128, 0)};

constexpr double kMinute = 1.0 / (24 * 60);

// Steps of the time axis, in days: whole minutes, hours, days and weeks, so
// that ticks fall on times a reader expects.
constexpr double kTimeSteps[] = {kMinute,
                                 5 * kMinute,
                                 10 * kMinute,
                                 15 * kMinute,
                                 30 * kMinute,
                                 60 * kMinute,
                                 120 * kMinute,
                                 180 * kMinute,
                                 360 * kMinute,
                                 720 * kMinute,
                                 1,
                                 2,
                                 7,
                                 14,
                                 28,
                                 91,
                                 182,
                                 364};

double TimeStep(double span, int wanted) {
    for (double step : kTimeSteps)
        if (span / step <= wanted) return step;
    // Years: a whole number of 364-day steps keeps labels on days.
    return std::ceil(span / wanted / 364) * 364;
}

QString TimeLabel(double days, double step) {
    const QDateTime t = DateTimeFromDays(days);
    if (step < 1) return t.toString(QStringLiteral("MM-dd hh:mm"));
    return t.toString(QStringLiteral("yyyy-MM-dd"));
}

QString ValueLabel(double value, double step) {
    // As many decimals as the step needs, and no "-0".
    const int decimals = std::clamp(int(std::ceil(-std::log10(step) - 1e-9)), 0, 6);
    if (std::abs(value) < step * 1e-6) value = 0;
    return QString::number(value, 'f', decimals);
}

}  // namespace

AxisTicks NiceTicks(double low, double high, int wanted) {
    AxisTicks ticks;
    if (!std::isfinite(low) || !std::isfinite(high) || low > high) return ticks;
    if (high == low) {
        low -= std::max(1.0, std::abs(low) * 0.05);
        high += std::max(1.0, std::abs(high) * 0.05);
    }
    const double rough = (high - low) / std::max(1, wanted);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (double factor : {1.0, 2.0, 5.0})
        if (rough <= factor * power) {
            step = factor * power;
            break;
        }
    ticks.step = step;
    ticks.low = std::floor(low / step) * step;
    ticks.high = std::ceil(high / step) * step;
    ticks.first = ticks.low;
    return ticks;
}

QImage DrawChart(const GraphData& data, const std::array<QString, kGraphSeries>& names,
                 double start, double end, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(painter.font());
    const int line = metrics.height();

    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const GraphSeriesData& s : data.series)
        if (s.used)
            for (double v : s.values) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
    if (low > high) {
        low = 0;
        high = 1;
    }
    const AxisTicks values = NiceTicks(low, high, 8);

    int valueLabelWidth = 0;
    for (double v = values.first; v <= values.high + values.step / 2; v += values.step)
        valueLabelWidth =
            std::max(valueLabelWidth, metrics.horizontalAdvance(ValueLabel(v, values.step)));

    // Title and legend above, time labels below, value labels and the
    // caption to the left.
    const int left = valueLabelWidth + line + 16;
    const int top = 3 * line + 12;
    const QRect plot(left, top, std::max(1, size.width() - left - 24),
                     std::max(1, size.height() - top - 2 * line - 12));

    painter.drawText(QRect(0, 4, size.width(), line), Qt::AlignCenter, data.chartTitle);
    int x = plot.left();
    for (std::size_t k = 0; k < kGraphSeries; ++k) {
        if (!data.series[k].used) continue;
        painter.setPen(QPen(kColours[k], 2));
        const int y = 8 + line + line / 2;
        painter.drawLine(x, y + line / 2, x + 20, y + line / 2);
        painter.setPen(Qt::black);
        const QString& label = names[k];
        painter.drawText(QPoint(x + 24, y + line / 2 + metrics.ascent() / 2 - 1), label);
        x += 24 + metrics.horizontalAdvance(label) + 20;
    }

    const double span = std::max(end - start, kMinute);
    auto toX = [&](double days) { return plot.left() + (days - start) / span * plot.width(); };
    auto toY = [&](double value) {
        return plot.bottom() - (value - values.low) / (values.high - values.low) * plot.height();
    };

    // Grid and labels.
    const QPen grid(QColor(220, 220, 220), 1);
    for (double v = values.first; v <= values.high + values.step / 2; v += values.step) {
        const double y = toY(v);
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(left - valueLabelWidth - 8, y - line / 2.0, valueLabelWidth, line),
                         Qt::AlignRight | Qt::AlignVCenter, ValueLabel(v, values.step));
    }
    const double step = TimeStep(span, std::max(2, plot.width() / 110));
    for (double t = std::ceil(start / step) * step; t <= end + 1e-9; t += step) {
        const double px = toX(t);
        painter.setPen(grid);
        painter.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
        painter.setPen(Qt::black);
        // Centred under its tick, but never cut by the image's edge.
        const double labelWidth = metrics.horizontalAdvance(TimeLabel(t, step)) + 8;
        const double labelLeft =
            std::clamp(px - labelWidth / 2, 0.0, std::max(0.0, size.width() - labelWidth));
        painter.drawText(QRectF(labelLeft, plot.bottom() + 4, labelWidth, line), Qt::AlignCenter,
                         TimeLabel(t, step));
    }
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    painter.save();
    painter.translate(8 + line / 2.0, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2.0, -line / 2.0, plot.height(), line),
                     Qt::AlignCenter, data.axisCaption);
    painter.restore();

    painter.setClipRect(plot.adjusted(1, 1, 0, 0));
    for (std::size_t k = 0; k < kGraphSeries; ++k) {
        const GraphSeriesData& s = data.series[k];
        if (!s.used || s.times.empty()) continue;
        // Separate segments with round ends: a long span's slice extremes
        // zig-zag, and one path of them is a self-crossing outline that costs
        // seconds to fill, where the same segments one by one cost little.
        const std::size_t n = std::min(s.times.size(), s.values.size());
        painter.setPen(QPen(kColours[k], 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        const QPointF first(toX(s.times[0]), toY(s.values[0]));
        if (n == 1) {
            painter.drawEllipse(first, 2, 2);
            continue;
        }
        QList<QLineF> segments;
        segments.reserve(static_cast<qsizetype>(n - 1));
        QPointF from = first;
        for (std::size_t i = 1; i < n; ++i) {
            const QPointF to(toX(s.times[i]), toY(s.values[i]));
            segments.append(QLineF(from, to));
            from = to;
        }
        painter.drawLines(segments);
    }
    return image;
}

bool SavePng(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace orvane::ctl
