#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <memory>

#include "AppIni.h"
#include "CLanguage.h"
#include "COrvaneDlg.h"
#include "CWriteSetting.h"
#include "DataFolder.h"
#include "ExchangeState.h"
#include "HidapiBackend.h"
#include "LanguageChoice.h"
#include "SingleInstance.h"
#include "StationSimulator.h"
#include "StringTable.h"
#include "TerminationSignals.h"
#include "UdevMonitor.h"

using namespace orvane;

namespace {

QStringList ProgramDataCandidates() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    return {exeDir + QStringLiteral("/../share/orvane"), QStringLiteral(ORVANE_INSTALL_DATA_DIR),
            QStringLiteral(ORVANE_BUILD_DATA_DIR)};
}

// The bus the program talks to: the USB HID bus, or the station simulator
// for a try without the hardware.
struct Bus {
    std::unique_ptr<HidBackend> backend;
    std::unique_ptr<UdevMonitor> udev;
    StationSimulator* simulator = nullptr;
    DeviceChangeSource* changes = nullptr;
};

Bus MakeBus(bool simulate, const Clock& clock) {
    Bus bus;
    if (simulate) {
        StationModelOptions options;
        options.clock = &clock;  // the simulated station's clock runs
        auto simulator = std::make_unique<StationSimulator>(1, options);
        bus.simulator = simulator.get();
        bus.changes = simulator.get();
        bus.backend = std::move(simulator);
    } else {
        bus.backend = std::make_unique<HidapiBackend>();
        bus.udev = std::make_unique<UdevMonitor>();
        // Without udev the program still works; only plugging in while it
        // runs goes unnoticed until the next Read.
        if (bus.udev->Start()) bus.changes = bus.udev.get();
    }
    return bus;
}

// In simulation the user can pull the station's plug and put it back.
void AddSimulatorMenu(CWriteSetting& window, StationSimulator& simulator) {
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("Simulator"));
    QAction* plugged = menu->addAction(QStringLiteral("Station plugged in"));
    plugged->setCheckable(true);
    plugged->setChecked(simulator.IsPlugged());
    QObject::connect(plugged, &QAction::toggled, &window, [&simulator](bool on) {
        if (on)
            simulator.Plug();
        else
            simulator.Unplug();
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/orvane/orvane.png")));
    const bool simulate = QCoreApplication::arguments().contains(QStringLiteral("--simulate"));

    // A termination request closes whatever window is open, dialogs too.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::Terminate, &app, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->reject();
        QApplication::closeAllWindows();
    });

    SingleInstance instance;
    if (!instance.Acquire()) return 0;  // another instance runs: leave silently

    const QString programData = FindProgramDataDir(ProgramDataCandidates());
    const QString dataFolder = DefaultDataFolder();
    const DataFolderResult folder = ProvideDataFolder(programData, dataFolder);
    if (!folder.problem.isEmpty())
        QMessageBox::warning(nullptr, QStringLiteral("Orvane"), folder.problem);
    // A termination request that closed the warning ends the start-up here,
    // before the language question could wait for an answer.
    if (termination.Received()) return 0;

    const AppIni ini(dataFolder + u'/' + QLatin1String(kIniFileName));
    const UiLanguage language = ChooseLanguage(ini, [&] { CLanguage(ini).exec(); });
    SetCurrentLanguage(language);
    InstallQtTranslation(language);  // Qt's own buttons in the same language
    if (termination.Received()) return 0;

    // A simulated station keeps its downloads and history apart, so that
    // trying the simulator never replaces the real station's history.
    QString windowFolder = dataFolder;
    if (simulate) {
        windowFolder = dataFolder + QStringLiteral("/Simulator");
        ProvideDataFolder(programData, windowFolder);
        AppIni(windowFolder + u'/' + QLatin1String(kIniFileName))
            .Write(AppIni::kLanguageSection, AppIni::kLanguageKey,
                   ini.Read(AppIni::kLanguageSection, AppIni::kLanguageKey));
    }

    SystemClock clock;
    Bus bus = MakeBus(simulate, clock);
    ExchangeState state;
    COrvaneDlg mainDialog(*bus.backend);

    bool restart = false;
    {
        CWriteSetting window({state, mainDialog, *bus.backend, bus.changes, windowFolder, &clock},
                             language);
        if (bus.simulator) AddSimulatorMenu(window, *bus.simulator);
        QObject::connect(&window, &CWriteSetting::LanguageRequested, &window, [&] {
            if (CLanguage(ini, &window).exec() != QDialog::Accepted) return;
            restart = true;
            window.close();
        });
        window.show();
        app.exec();
        window.Stop();
    }

    if (restart) {
        // The successor must not be turned away by our lock.
        instance.Release();
        QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                QCoreApplication::arguments().mid(1));
    }
    return 0;
}
