#pragma once

#include <sqlite3.h>

#include <QByteArray>

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

}  // namespace orvane
