#pragma once

#include <sqlite3.h>

#include <QByteArray>
#include <algorithm>

namespace orvane {

// Owns a prepared SQLite statement for one use. Internal to the history
// library: no public header includes it, so SQLite stays private.
struct SqliteStatement {
    sqlite3_stmt* s = nullptr;
    SqliteStatement() = default;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement() { sqlite3_finalize(s); }
    int Prepare(sqlite3* db, const QByteArray& sql) {
        return sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr);
    }
};

// Steps `s` through rows of (Time, then `columns` quantities) and hands each
// to `row(time, values)`, the values rounded to the single precision the
// station's readings have. Returns the last step's code: SQLITE_DONE when
// every row was read.
template <class Row>
int StepTimeRows(sqlite3_stmt* s, int columns, Row&& row) {
    double values[16];
    const int n = std::min(columns, 16);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i)
            values[i] = static_cast<double>(static_cast<float>(sqlite3_column_double(s, i + 1)));
        row(sqlite3_column_double(s, 0), static_cast<const double*>(values));
    }
    return rc;
}

}  // namespace orvane
