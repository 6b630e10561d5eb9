#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>

// A private PostgreSQL server for the tests: a fresh cluster in a temporary
// folder, listening on a free loopback port, stopped and removed with the
// object. Run as the unprivileged `postgres` user when the tests run as
// root, since the server refuses to run as root.
class PostgresServer {
public:
    PostgresServer() {
        m_dir.setAutoRemove(true);
        const QString bin = BinDir();
        if (bin.isEmpty()) {
            m_error = "no PostgreSQL server found under /usr/lib/postgresql (install postgresql)";
            return;
        }
        m_data = m_dir.filePath("data");
        if (geteuid() == 0) {
            const passwd* user = getpwnam("postgres");
            if (!user) {
                m_error = "running as root and there is no postgres user";
                return;
            }
            if (chown(QFile::encodeName(m_dir.path()).constData(), user->pw_uid, user->pw_gid) !=
                0) {
                m_error = "cannot hand the server's folder to the postgres user";
                return;
            }
            m_runAs = {"runuser", "-u", "postgres", "--"};
        }
        m_port = FreePort();
        if (!Run(bin + "/initdb", {"-D", m_data, "-A", "trust", "-U", "archive", "--no-sync", "-E",
                                   "UTF8", "--locale=C"}))
            return;
        const QString options = QStringLiteral(
                                    "-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off "
                                    "-c synchronous_commit=off -c full_page_writes=off")
                                    .arg(m_port)
                                    .arg(m_dir.path());
        m_pgCtl = bin + "/pg_ctl";
        if (!Run(m_pgCtl,
                 {"-D", m_data, "-o", options, "-l", m_dir.filePath("log"), "-w", "start"}))
            return;
        m_running = true;
    }

    ~PostgresServer() {
        if (m_running) Run(m_pgCtl, {"-D", m_data, "-m", "immediate", "-w", "stop"});
    }

    bool Running() const { return m_running; }
    QString Error() const { return m_error; }
    // The URL of a database of this server (the maintenance database by default).
    QString Url(const QString& database = "postgres") const {
        return QStringLiteral("postgresql://archive@127.0.0.1:%1/%2").arg(m_port).arg(database);
    }

private:
    static QString BinDir() {
        QStringList versions =
            QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(versions.begin(), versions.end(),
                  [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
        for (const QString& v : versions) {
            const QString bin = "/usr/lib/postgresql/" + v + "/bin";
            if (QFile::exists(bin + "/initdb")) return bin;
        }
        return {};
    }

    static int FreePort() {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        int port = 0;
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
        close(fd);
        return port;
    }

    bool Run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        QStringList all = m_runAs;
        all << program << arguments;
        process.setWorkingDirectory(m_dir.path());
        process.start(all.takeFirst(), all);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0) {
            m_error = program + " failed: " + QString::fromLocal8Bit(process.readAll());
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir;
    QString m_data;
    QString m_pgCtl;
    QStringList m_runAs;
    int m_port = 0;
    bool m_running = false;
    QString m_error;
};
