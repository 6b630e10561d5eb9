#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

#include "AppIni.h"
#include "CLanguage.h"
#include "DataFolder.h"
#include "LanguageChoice.h"
#include "SingleInstance.h"
#include "StringTable.h"
#include "TerminationSignals.h"

using namespace orvane;

namespace {

QStringList ProgramDataCandidates() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    return {exeDir + QStringLiteral("/../share/orvane"), QStringLiteral(ORVANE_INSTALL_DATA_DIR),
            QStringLiteral(ORVANE_BUILD_DATA_DIR)};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/orvane/orvane.png")));

    // A termination request closes whatever window is open, dialogs too.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::Terminate, &app, [] {
        QApplication::closeAllWindows();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->reject();
    });

    SingleInstance instance;
    if (!instance.Acquire()) return 0;  // another instance runs: leave silently

    const QString dataFolder = DefaultDataFolder();
    const DataFolderResult folder =
        ProvideDataFolder(FindProgramDataDir(ProgramDataCandidates()), dataFolder);
    if (!folder.problem.isEmpty())
        QMessageBox::warning(nullptr, QStringLiteral("Orvane"), folder.problem);

    const AppIni ini(dataFolder + u'/' + QLatin1String(kIniFileName));
    SetCurrentLanguage(ChooseLanguage(ini, [&] { CLanguage(ini).exec(); }));
    if (termination.Received()) return 0;

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Orvane   Ver1.6"));
    window.menuBar()->addAction(QStringLiteral("Language"));
    auto* part0 = new QLabel;
    auto* part1 = new QLabel(LoadString(137));
    window.statusBar()->addWidget(part0, 1);
    window.statusBar()->addPermanentWidget(part1);
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
