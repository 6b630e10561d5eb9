#pragma once

#include <sqlite3.h>

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <string>

// A fresh history database made from the shipped schema, in a temporary
// folder that disappears with the object. Shared by the history and the
// log-import tests.
class HistoryTestDatabase {
public:
    HistoryTestDatabase() {
        m_path = m_dir.filePath("Orvane.mdb");
        QFile schema(QStringLiteral(ORVANE_TEST_DATA_DIR "/../../src/resources/schema.sql"));
        if (!schema.open(QIODevice::ReadOnly)) return;
        Exec(schema.readAll().toStdString());
    }

    QString Path() const { return m_path; }
    QString Folder() const { return m_dir.path(); }

    // Runs SQL directly on the file, outside the code under test.
    bool Exec(const std::string& sql) const {
        sqlite3* db = nullptr;
        bool ok = sqlite3_open(m_path.toUtf8().constData(), &db) == SQLITE_OK &&
                  sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
    }

    // The first column of the first row of a query, as a double (-1 on error).
    double Scalar(const std::string& sql) const {
        sqlite3* db = nullptr;
        double value = -1;
        if (sqlite3_open_v2(m_path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK) {
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK &&
                sqlite3_step(s) == SQLITE_ROW)
                value = sqlite3_column_double(s, 0);
            sqlite3_finalize(s);
        }
        sqlite3_close(db);
        return value;
    }

    int RecordCount() const { return static_cast<int>(Scalar("SELECT count(*) FROM Records")); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// What SQLite's own check says of a database file ("ok" when sound), read
// without the code under test.
inline QString SqliteIntegrity(const QString& path) {
    sqlite3* db = nullptr;
    QString result = QStringLiteral("cannot open");
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return result;
}
