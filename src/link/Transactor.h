#pragma once

#include <QString>

namespace orvane {

// The synchronous write exchange: open the station afresh, send the text,
// return the text of the next two input reports ("Unconnected" when the
// station cannot be opened). COrvaneDlg implements it; write tests may
// substitute a recorder. Any thread.
class Transactor {
public:
    virtual ~Transactor() = default;
    virtual QString Transact(const QString& request) = 0;
};

}  // namespace orvane
