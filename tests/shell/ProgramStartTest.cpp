#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>

#include "ProcessThreads.h"

// The real program, started as a user would start it, offscreen.
namespace {

class ProgramStart : public ::testing::Test {
protected:
    QTemporaryDir data, run;

    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_DATA_HOME", data.path());
        env.insert("XDG_RUNTIME_DIR", run.path());
        return env;
    }

    void Start(QProcess& p) {
        p.setProcessEnvironment(Environment());
        p.start(ORVANE_BINARY, {"--simulate"});
        ASSERT_TRUE(p.waitForStarted(5000));
    }

    // QProcess widens the id to qint64; the kernel's ids are pid_t.
    static void Terminate(const QProcess& p) { ::kill(static_cast<pid_t>(p.processId()), SIGTERM); }

    // Until `path` exists (and holds `text`).
    bool WaitFor(const QString& path, const QByteArray& text = {}, int ms = 15000) {
        for (QDeadlineTimer deadline(ms);; QThread::msleep(20)) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(text)) return true;
            if (deadline.hasExpired()) return false;
        }
    }
    // Until the program runs a thread of each of these names.
    bool WaitForThreads(const QProcess& p, const QStringList& names, int ms = 15000) {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            const QStringList running = orvane::test::ThreadNames(p.processId());
            if (std::all_of(names.begin(), names.end(),
                            [&](const QString& name) { return running.contains(name); }))
                return true;
            QThread::msleep(20);
        }
        return false;
    }
};

}  // namespace

TEST_F(ProgramStart, CreatesTheDataFolderAndEndsCleanlyWhenClosed) {
    QProcess first;
    Start(first);
    const QString folder = data.path() + "/Orvane";
    ASSERT_TRUE(WaitFor(folder + "/Main.ini"));
    EXPECT_TRUE(WaitFor(folder + "/Orvane.mdb"));
    // The first start writes its default language just before it asks; a
    // termination request closes the question and the program ends without
    // a crash, English kept.
    ASSERT_TRUE(WaitFor(folder + "/Main.ini", "Language=English"));
    Terminate(first);
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_TRUE(WaitFor(folder + "/Main.ini", "Language=English", 0));
}

TEST_F(ProgramStart, OneTerminationSignalDuringTheDataFolderWarningEndsTheStartUp) {
    // A file where the data folder should be: the warning comes up.
    QFile blocker(data.path() + "/Orvane");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QProcess program;
    Start(program);
    // The lock is taken after the signal handlers are in place and before
    // the warning, so the signal is answered whenever it is read.
    ASSERT_TRUE(WaitFor(run.path() + "/orvane.lock"));
    Terminate(program);
    ASSERT_TRUE(program.waitForFinished(10000)) << "start-up went on after the signal";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

TEST_F(ProgramStart, SecondInstanceLeavesAtOnceWhileTheFirstRuns) {
    QProcess first;
    Start(first);
    // The first instance holds the lock before it writes anything.
    ASSERT_TRUE(WaitFor(data.path() + "/Orvane/Main.ini", "Language=English"));

    QProcess second;
    Start(second);
    EXPECT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitCode(), 0);

    Terminate(first);
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 0);
}

TEST_F(ProgramStart, SettingsWindowWithTheSimulatorClosesWithoutHanging) {
    const QString folder = data.path() + "/Orvane";
    QDir().mkpath(folder);
    QFile ini(folder + "/Main.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Language]\nLanguage=English\n");
    ini.close();

    QProcess program;
    Start(program);
    // The simulated station keeps its own downloads and history.
    ASSERT_TRUE(WaitFor(folder + "/Simulator/Orvane.mdb"));
    // The session's workers run (clock, link, poll, and the receive thread
    // of the first opening), each under its own name.
    ASSERT_TRUE(WaitForThreads(program, {"orv-clock", "orv-link", "orv-autoread", "orv-receive"}));
    EXPECT_EQ(orvane::test::UnnamedThreads(orvane::test::ThreadNames(program.processId()), true),
              QStringList());
    EXPECT_EQ(program.state(), QProcess::Running);
    Terminate(program);
    ASSERT_TRUE(program.waitForFinished(10000)) << "the program hung on close";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}
