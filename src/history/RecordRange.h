#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace orvane {

// One row of a span read: its time (days since 1899-12-30) and one value
// per asked column, NoValue included, so that each caller leaves out a
// column's missing readings itself.
using RowReader = std::function<void(double time, const double* values)>;

// What a chart of a span can show: per column the lowest and the highest
// reading of each time slice with their times, oldest first, or every
// reading when the span holds few rows (`exact`). Memory is bounded by the
// slices, not the rows.
struct RangeDetail {
    bool exact = false;
    long long rows = 0;                       // rows of the span
    std::vector<std::vector<double>> times;   // per column
    std::vector<std::vector<double>> values;  // per column
};

// Records a chart reads: the last import (HistoryDatabase) or the archive
// (either backend). Columns are names of HistoryDatabase::QuantityColumns();
// spans are (start, end] in day counts. Used by one thread at a time.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    // Earliest and latest record; false when there is none or on a failure
    // (ReadError() then says why).
    virtual bool ReadBounds(double& first, double& last) = 0;
    // Every row of the span, oldest first.
    virtual bool ReadRows(double start, double end, const QStringList& columns,
                          const RowReader& row) = 0;
    // The span cut into `slices` equal slices (see RangeDetail).
    virtual bool ReadDetail(double start, double end, const QStringList& columns, int slices,
                            RangeDetail& detail) = 0;
    virtual QString ReadError() const = 0;
};

}  // namespace orvane
