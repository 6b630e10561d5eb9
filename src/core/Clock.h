#pragma once

#include <QDateTime>

namespace orvane {

// The PC clock, behind a seam so that tests can fix "now".
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime LocalNow() const = 0;
    virtual QDateTime UtcNow() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime LocalNow() const override { return QDateTime::currentDateTime(); }
    QDateTime UtcNow() const override { return QDateTime::currentDateTimeUtc(); }
};

// A clock that shows what the test set.
class FixedClock : public Clock {
public:
    FixedClock(QDateTime local, QDateTime utc) : m_local(std::move(local)), m_utc(std::move(utc)) {}
    QDateTime LocalNow() const override { return m_local; }
    QDateTime UtcNow() const override { return m_utc; }

private:
    QDateTime m_local;
    QDateTime m_utc;
};

}  // namespace orvane
