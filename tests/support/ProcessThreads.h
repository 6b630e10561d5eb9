#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <thread>

#include "PostTo.h"  // ORVANE_THREAD_SANITIZER

namespace orvane::test {

// The names of a process's threads as `top -H` shows them
// (/proc/PID/task/*/comm), the main thread's first.
inline QStringList ThreadNames(qint64 pid = ::getpid()) {
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    QStringList names;
    for (const QString& tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks + u'/' + tid + QStringLiteral("/comm"));
        if (!comm.open(QIODevice::ReadOnly)) continue;  // it ended meanwhile
        const QString name = QString::fromUtf8(comm.readAll()).trimmed();
        if (tid.toLongLong() == pid)
            names.prepend(name);
        else
            names.append(name);
    }
    return names;
}

// ThreadSanitizer runs a thread of its own, which the main thread starts.
#ifdef ORVANE_THREAD_SANITIZER
inline constexpr int kSanitizerThreads = 1;
#else
inline constexpr int kSanitizerThreads = 0;
#endif

// The threads nobody named: a thread takes the name of the thread that
// starts it, so an unnamed one carries the main thread's name, or appears
// as a second copy of one of our workers that is only ever one. `names` is
// this process's (with the sanitizer's thread left out) unless `other`.
inline QStringList UnnamedThreads(const QStringList& names, bool other = false) {
    static const QStringList kShortLived = {QStringLiteral("orv-task"),
                                            QStringLiteral("orv-dl-watch"),
                                            QStringLiteral("orv-size-watch")};
    QStringList unnamed;
    int sanitizer = other ? 0 : kSanitizerThreads;
    for (qsizetype i = 1; i < names.size(); ++i) {
        const bool single =
            names[i].startsWith(QLatin1String("orv-")) && !kShortLived.contains(names[i]);
        if (names[i] == names.first() && sanitizer > 0)
            --sanitizer;
        else if (names[i] == names.first() || (single && names.indexOf(names[i]) != i))
            unnamed << names[i];
    }
    return unnamed;
}

// Waits until thread `tid` of this process sleeps (blocked in a wait, as
// /proc/self/task/TID/stat says), at most `ms` of real time.
inline bool WaitUntilAsleep(pid_t tid, int ms = 5000) {
    const QString stat = QStringLiteral("/proc/self/task/%1/stat").arg(tid);
    for (QDeadlineTimer deadline(ms); !deadline.hasExpired(); std::this_thread::yield()) {
        QFile file(stat);
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = file.readAll();
        // The state follows the name, which is in parentheses.
        const qsizetype close = line.lastIndexOf(')');
        if (close >= 0 && line.mid(close + 2, 1) == "S") return true;
    }
    return false;
}

}  // namespace orvane::test
