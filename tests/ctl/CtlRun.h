#pragma once

// Runs orvanectl as a process against its simulator, on shortened timings
// and in a data folder of its own.
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include "HistoryDatabase.h"

namespace orvane::test {

struct CtlResult {
    int exitCode = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
    QJsonObject Json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
    // The messages on stderr; progress lines are not counted.
    QStringList ErrLines() const {
        QStringList messages;
        for (const QString& line : err.split(u'\n', Qt::SkipEmptyParts))
            if (!line.endsWith(u'%')) messages << line;
        return messages;
    }
};

class CtlRunner {
public:
    CtlRunner() = default;
    QString DataFolder() const { return m_home.path() + QStringLiteral("/Orvane/Simulator"); }
    QString Scratch() const { return m_scratch.path(); }
    QString RuntimeFolder() const { return m_runtime.path(); }

    // The environment of a run: the folders of this runner, short timings.
    void Prepare(QProcess& process, const QString& fault = QString()) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.insert(QStringLiteral("ORVANECTL_TEST_TIMINGS"), QStringLiteral("1"));
        if (!fault.isEmpty()) env.insert(QStringLiteral("ORVANECTL_SIMULATOR_FAULT"), fault);
        for (auto it = m_env.begin(); it != m_env.end(); ++it) env.insert(it.key(), it.value());
        process.setProcessEnvironment(env);
    }
    // A variable for the runs from now on; an empty value takes it away.
    void SetEnv(const QString& name, const QString& value) {
        if (value.isEmpty())
            m_env.remove(name);
        else
            m_env.insert(name, value);
    }

    CtlResult Run(const QStringList& args, const QString& fault = QString(),
                  const QByteArray& input = QByteArray()) const {
        QProcess process;
        Prepare(process, fault);
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(ORVANECTL_PATH), args);
        process.waitForStarted();
        if (!input.isEmpty()) process.write(input);
        process.closeWriteChannel();
        CtlResult result;
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            result.err = QStringLiteral("timed out");
            return result;
        }
        result.elapsedMs = timer.elapsed();
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

private:
    QMap<QString, QString> m_env;
    QTemporaryDir m_home;
    QTemporaryDir m_runtime;
    QTemporaryDir m_scratch;
};

// Rows of the history (Orvane.mdb) the tool's imports built; -1 when none.
inline int HistoryRows(const CtlRunner& ctl) {
    HistoryDatabase db;
    if (db.Open(ctl.DataFolder() + QStringLiteral("/Orvane.mdb")) < 0) return -1;
    int count = -1;
    db.CountRowsInRange(QStringLiteral("1900-01-01 0:00:00"), QStringLiteral("2100-01-01 0:00:00"),
                        count);
    return count;
}

}  // namespace orvane::test
