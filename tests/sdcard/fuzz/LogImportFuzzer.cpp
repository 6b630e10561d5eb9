// Any bytes as a downloaded log file: building the table, cutting every
// cell and parsing every record line must stay inside the bytes and keep
// the table's shape.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "LogImport.h"

using namespace orvane;
using orvane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const LogTable table(bytes);
    Require(table.RowCount() >= 0);
    Require(table.Titles().size() <= kLogColumns);
    const std::string_view whole(bytes.constData(), std::size_t(bytes.size()));
    HistoryRecord record;
    for (int row = 0; row < table.RowCount(); ++row) {
        const std::string line = table.Line(row);
        // Every line is a piece of the file, without its line end.
        Require(whole.find(line) != std::string_view::npos);
        Require(line.find('\n') == std::string_view::npos);
        for (int column = 0; column < kLogColumns; ++column)
            Require(table.CellBytes(row, column).size() <= std::size_t(kLogCellBytes));
        const auto values = SplitLogLine(line);
        std::size_t total = 0;
        for (std::string_view v : values) total += v.size();
        Require(total <= line.size());
        ParseLogRecord(line, record);
    }
    (void)table.Captions();
    return 0;
}
