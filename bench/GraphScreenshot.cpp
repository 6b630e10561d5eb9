// Renders the graph window with a year of simulated temperature and dew
// point, imported through the real log import, into a PNG file:
//   graph_screenshot docs/graph.png
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>

#include "Grapsh.h"
#include "HistoryDatabase.h"
#include "LogImport.h"
#include "SimulatedLog.h"
#include "StringTable.h"

using namespace orvane;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    SetCurrentLanguage(UiLanguage::English);
    QTemporaryDir dir;
    const QString log = dir.filePath("year.csv");
    const QString database = dir.filePath("Orvane.mdb");
    if (!simulated::WriteLog(log, 525600) || !simulated::MakeDatabase(database)) return 1;
    HistoryDatabase importer;
    const LogImportResult imported = ImportDownloadedFile(log, database, importer, nullptr);
    if (imported.status != LogImportResult::Status::Ok) return 1;
    importer.Close();

    Grapsh window(database);
    window.SetUnitCaptions(imported.captions);
    const QDateTime start(QDate(2013, 1, 1), QTime(0, 0));
    const QDateTime end(QDate(2014, 1, 1), QTime(0, 0));
    for (int id : {GraphId::kStartDate, GraphId::kStartTime})
        window.Controls().SetDateTime(id, start);
    for (int id : {GraphId::kEndDate, GraphId::kEndTime}) window.Controls().SetDateTime(id, end);
    window.resize(1200, 640);
    window.show();
    QElapsedTimer timer;
    timer.start();
    window.Search();
    const qint64 searchMs = timer.restart();
    app.processEvents();
    const QPixmap shot = window.grab();
    std::printf("search %lld ms, first paint %lld ms\n", static_cast<long long>(searchMs),
                static_cast<long long>(timer.elapsed()));
    if (!shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) return 1;
    std::printf("%lld records imported, window saved to %s\n",
                static_cast<long long>(imported.records), argv[1]);
    return 0;
}
