#include "COrvaneDlg.h"

namespace orvane {

COrvaneDlg::COrvaneDlg(HidBackend& backend) : m_drive(backend) {}

QString COrvaneDlg::Transact(const QString& request) {
    return m_drive.Exchange(request);
}

}  // namespace orvane
