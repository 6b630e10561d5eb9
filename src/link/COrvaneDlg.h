#pragma once

#include "CUSBDrive.h"
#include "Transactor.h"

namespace orvane {

// The main-window object without a window: owns the application's one
// request connection and offers the synchronous write exchange. Created at
// start-up before the settings window; lives for the whole run.
class COrvaneDlg : public Transactor {
public:
    explicit COrvaneDlg(HidBackend& backend);

    // Any thread.
    CUSBDrive& Drive() { return m_drive; }
    // Opens the station afresh, sends the text and returns the text of the
    // next two input reports; "Unconnected" (nothing sent) without a station.
    // Any thread.
    QString Transact(const QString& request) override;

private:
    CUSBDrive m_drive;
};

}  // namespace orvane
