#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace orvane {

// The single-instance guard: a lock file named "orvane" in the user's
// runtime folder. A lock left by a crashed instance (its process is gone)
// is taken over. GUI thread.
class SingleInstance {
public:
    // `folder` empty: the runtime folder ($XDG_RUNTIME_DIR or the temp folder).
    explicit SingleInstance(const QString& folder = QString());

    // True when this process now holds the lock; false while another
    // running instance holds it.
    bool Acquire();
    // Gives the lock up, before a restart starts the successor.
    void Release();
    QString LockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

}  // namespace orvane
