#pragma once

#include <QString>
#include <QStringList>

namespace orvane {

// The per-user data folder: $XDG_DATA_HOME/Orvane, by default
// ~/.local/share/Orvane. Holds Main.ini, Orvane.mdb and downloaded logs.
QString DefaultDataFolder();

inline constexpr const char* kIniFileName = "Main.ini";
inline constexpr const char* kDatabaseFileName = "Orvane.mdb";

// Where the program's own copies of Main.ini and Orvane.mdb are: the first
// of `candidates` that holds Main.ini, or the empty text.
QString FindProgramDataDir(const QStringList& candidates);

struct DataFolderResult {
    bool folderReady = false;  // the folder exists (created now or before)
    QStringList copied;        // file names copied in this run
    QString problem;           // what went wrong, for one message; empty when fine
};

// Creates the data folder when missing and copies Main.ini and Orvane.mdb
// from the program folder, each only when the data folder has none yet
// (existing copies are never overwritten), then makes Main.ini writable.
// GUI thread, at start-up.
DataFolderResult ProvideDataFolder(const QString& programDataDir, const QString& dataFolder);

}  // namespace orvane
