#pragma once

#include <QJsonValue>
#include <QString>
#include <QtGlobal>

namespace orvane::ctl {

// Where the tool writes: results to stdout, progress and questions to
// stderr. Main thread only, except Progress::Update (any thread).
class Console {
public:
    explicit Console(bool json, bool assumeYes);

    bool Json() const { return m_json; }
    // Human text, one line.
    void Line(const QString& text) const;
    // The whole JSON result of a command (indented).
    void PrintJson(const QJsonValue& value) const;
    // Asks on stderr and reads y/N from stdin; --yes answers yes. Without a
    // terminal to ask, the answer is no (scripts pass --yes).
    bool Confirm(const QString& question) const;
    // A line for the user that is not part of the result (stderr).
    void Note(const QString& text) const;

private:
    bool m_json;
    bool m_assumeYes;
};

// Progress of long work on stderr: a bar redrawn in place on a terminal,
// a plain line every tenth otherwise.
class Progress {
public:
    Progress(QString label, qint64 total);
    ~Progress();
    void Update(qint64 done);
    void Finish();

private:
    QString m_label;
    qint64 m_total;
    bool m_terminal;
    int m_lastShown = -1;
    bool m_finished = false;
};

}  // namespace orvane::ctl
