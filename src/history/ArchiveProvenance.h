#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "Archive.h"
#include "StringTable.h"

namespace orvane {

// Where the archive's records came from, as a person reads it: one row per
// import, oldest first, in the columns below. Shared by the graph window's
// panel and anything else that shows the provenance.
struct ProvenanceTable {
    enum Column {
        kFile,
        kSize,
        kFirst,
        kLast,
        kRead,
        kAdded,
        kDuplicates,
        kUnreadable,
        kImportedAt,
        kStation,
        kSha256,
        kColumnCount
    };
    QStringList columns;
    std::vector<QStringList> rows;
    QString summary;  // one line: records, imports, unreadable lines, location
};

// Times of records are the station's wall clock as stored; the time of an
// import is shown in the PC's local time. A file without readable records
// shows "-" for its first and last record.
ProvenanceTable DescribeProvenance(const ArchiveInfo& info, UiLanguage language);

// The provenance of the archive at `location` without creating one that
// does not exist yet (an SQLite file that is missing gives an empty table
// saying so). False with `error` when the archive cannot be read.
bool ReadProvenance(const QString& location, UiLanguage language, ProvenanceTable& table,
                    QString& error);

}  // namespace orvane
