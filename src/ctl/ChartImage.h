#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <array>

#include "GraphSearch.h"

namespace orvane::ctl {

// The graph window's chart of one search, drawn without widgets: the title
// line, a time axis over (start, end], a value axis with the quantity's
// caption, each used series as a line in the window's colours, and a legend
// with `names`. Times are days since 1899-12-30, as the search returns them.
// Needs a QGuiApplication (text is drawn with the platform's fonts).
QImage DrawChart(const GraphData& data, const std::array<QString, kGraphSeries>& names,
                 double start, double end, QSize size);

// Round steps for an axis over [low, high] with about `wanted` ticks: the
// first tick at or above `low`, and the step (1, 2 or 5 times a power of
// ten). A span of zero is widened to one unit first.
struct AxisTicks {
    double low = 0;
    double high = 1;
    double first = 0;
    double step = 1;
};
AxisTicks NiceTicks(double low, double high, int wanted);

// Writes `image` as a PNG through a file written aside and renamed, so that
// a failure leaves no half file. False on any failure.
bool SavePng(const QImage& image, const QString& path);

}  // namespace orvane::ctl
