#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

#include "Commands.h"
#include "Console.h"
#include "CtlError.h"
#include "DataFolder.h"
#include "Timing.h"

using namespace orvane;
using namespace orvane::ctl;

namespace {

QStringList ProgramDataCandidates() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    return {exeDir + QStringLiteral("/../share/orvane"), QStringLiteral(ORVANE_INSTALL_DATA_DIR),
            QStringLiteral(ORVANE_BUILD_DATA_DIR)};
}

// Test hook: ORVANECTL_TEST_TIMINGS=1 shortens every protocol duration and
// the reply timeout and stops the simulated station's clock, so that the
// tool's tests run in milliseconds on a station that does not change;
// ORVANECTL_SIMULATOR_FAULT makes the simulator misbehave (SimulatorFault.h);
// ORVANECTL_SIMULATOR_NEW_RECORDS=N adds N records to the newest log on the
// simulated card, as if the station had logged on since the last run.
void ApplyTestHooks(SessionOptions& options) {
    if (qEnvironmentVariableIntValue("ORVANECTL_TEST_TIMINGS") == 1) {
        Timings t;
        t.reportWait = Millis(20);
        t.reportPause = Millis(0);
        t.autoReadPeriod = Millis(300);
        t.readButtonReturn = Millis(10);
        t.nowDataWaitBeforeRead = Millis(5);
        t.settingsBusyWait = Millis(5);
        t.nowDataWaitBeforeWrite = Millis(5);
        t.writePause = Millis(1);
        t.nowDataWaitBeforeSaveAll = Millis(5);
        t.fullWritePause = Millis(1);
        t.downloadSilence = Millis(400);
        t.fileSizeSilence = Millis(300);
        SetTimings(t);
        options.replyTimeout = Millis(800);
        options.frozenStationClock = true;
    }
    options.simulatorFault = qEnvironmentVariable("ORVANECTL_SIMULATOR_FAULT");
    options.simulatorNewRecords = qEnvironmentVariableIntValue("ORVANECTL_SIMULATOR_NEW_RECORDS");
}

// Only `export --png` draws text, which needs the platform's fonts: it gets
// a GUI application on the offscreen platform, so that no display is needed
// either. Every other command stays Qt Core only.
bool DrawsAnImage(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--png") == 0 || std::strncmp(argv[i], "--png=", 6) == 0)
            return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<QCoreApplication> app;
    if (DrawsAnImage(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("orvanectl"));
    InstallStopHandlers();
    try {
        const Invocation in = ParseArguments(QCoreApplication::arguments().mid(1));
        if (in.Flag("help") || in.words.isEmpty()) {
            std::fputs(UsageText().toLocal8Bit().constData(), in.Flag("help") ? stdout : stderr);
            return in.Flag("help") ? 0 : static_cast<int>(ExitCode::Usage);
        }
        SessionOptions options;
        options.simulate = in.Flag("simulate");
        // A simulated station keeps its downloads and history apart, as the
        // window does, so trying it never touches the real station's data.
        const QString programData = FindProgramDataDir(ProgramDataCandidates());
        options.dataFolder = DefaultDataFolder();
        if (options.simulate) options.dataFolder += QStringLiteral("/Simulator");
        const DataFolderResult folder = ProvideDataFolder(programData, options.dataFolder);
        if (!folder.folderReady) throw CtlError(ExitCode::FileError, folder.problem);
        ApplyTestHooks(options);
        Console console(in.Flag("json"), in.Flag("yes"));
        return RunCommand(in, options, console);
    } catch (const CtlError& error) {
        // One line, whatever a library's reason holds.
        std::fprintf(stderr, "orvanectl: %s\n",
                     error.Message().simplified().toLocal8Bit().constData());
        return static_cast<int>(error.Code());
    }
}
