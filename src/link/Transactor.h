#pragma once

#include <QString>
#include <functional>

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

// Sends one tagged request without waiting for a reply (CUSBDrive::SendText);
// true when it went out. Any thread.
using RequestSender = std::function<bool(const QString& request)>;

}  // namespace orvane
