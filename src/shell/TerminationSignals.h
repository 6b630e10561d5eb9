#pragma once

#include <QObject>

class QSocketNotifier;

namespace orvane {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the GUI thread, so a
// logout or Ctrl+C closes the windows the ordinary way (threads stopped,
// files closed) instead of killing the process mid-write. One instance.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    bool Received() const { return m_received; }

signals:
    void Terminate();

private:
    void OnReadable();

    QSocketNotifier* m_notifier = nullptr;
    bool m_received = false;
};

}  // namespace orvane
