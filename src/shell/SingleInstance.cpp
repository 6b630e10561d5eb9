#include "SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace orvane {

SingleInstance::SingleInstance(const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty()) dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty()) dir = QDir::tempPath();
    m_path = dir + QStringLiteral("/orvane.lock");
    m_lock = std::make_unique<QLockFile>(m_path);
    // Never stale by age: only a lock whose owner has died is taken over.
    m_lock->setStaleLockTime(0);
}

bool SingleInstance::Acquire() {
    if (m_lock->isLocked()) return true;
    return m_lock->tryLock(0);
}

void SingleInstance::Release() {
    if (m_lock->isLocked()) m_lock->unlock();
}

}  // namespace orvane
