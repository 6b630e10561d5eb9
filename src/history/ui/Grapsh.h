#pragma once

#include <QDateTime>
#include <QDialog>
#include <memory>

#include "Archive.h"
#include "ControlWindow.h"
#include "GraphControls.h"
#include "GraphSearch.h"
#include "HistoryDatabase.h"
#include "QtControlWindow.h"
#include "UnitCaptions.h"

class QComboBox;
class QLabel;
class QDateEdit;
class QTimeEdit;
class QPushButton;

namespace orvane {

class CTchart1;
class Clock;

// The graph window (dialog 156): plots one quantity of the history database
// over a chosen span. Its controls are those of GraphControlLayout(),
// registered under the GraphId names; Save writes the chart as PNG, or the
// readings of the shown span as CSV. It opens on
// the span of the stored records and searches it when first shown. The
// chart zooms and pans (wheel, drags, keys); each step reads the new span
// at the chart's level of detail. A source list chooses between the last
// import (the history database, the default) and the archive of the data
// folder (Main.ini [Archive] Location: an SQLite file, Archive.sqlite
// beside the database by default, or PostgreSQL), whose imports a panel
// lists. GUI thread only.
class Grapsh : public QDialog {
    Q_OBJECT
public:
    // The span covers the stored records; with none, it starts an hour
    // before the clock's "now" and ends at it.
    explicit Grapsh(QString databasePath, QWidget* parent = nullptr, const Clock* clock = nullptr);
    ~Grapsh() override;

    // Set by the opener before the window is shown.
    void SetUnitCaptions(const UnitCaptions& units) { m_units = units; }

    // Message boxes go here (the window's own by default); tests pass an
    // in-memory window.
    void SetMessageWindow(ControlWindow* window);

    ControlWindow& Controls() { return m_controls; }
    CTchart1* Chart() const { return m_chart; }

    // Search: draws the chosen quantity for the chosen span.
    void Search();
    // Writes the shown chart as PNG, or, for a path ending in .csv, every
    // reading of the shown span as CSV (series, time, value). Reports a
    // failure in a message box.
    bool SaveChart(const QString& path);
    // The file and format the save dialog's answer stands for: a missing
    // suffix is taken from the chosen filter.
    static QString SavePath(const QString& chosen, const QString& filter);
    static QString SaveFilters();

    enum Source { kLastImport = 0, kArchive = 1 };
    void SetSource(Source source);
    Source CurrentSource() const;
    // Where the archive source reads (the folder's Main.ini decides).
    QString ArchiveLocation() const { return m_archiveLocation; }
    // Shows (start, end] at the chart's level of detail, keeping the fields.
    void ShowSpan(const QDateTime& start, const QDateTime& end);
    // Whether the last drawing holds every reading of its span.
    bool LastDrawingExact() const { return m_exact; }
    QLabel* Readout() const { return m_readout; }
    // Opens the panel of the archive's imports (modeless; deleted on close),
    // or reports why the archive cannot be read and gives null.
    QDialog* ShowImports();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ChooseSaveFile();
    QDateTime Start() const;
    QDateTime End() const;
    // The archive, opened on first use; null with the reason when there is
    // none to read (nothing is created).
    Archive* OpenArchive(QString& error);
    bool ExportCsv(const QString& path);
    void OpenOnStoredSpan();

    QString m_databasePath;
    QString m_archiveLocation;
    std::unique_ptr<Archive> m_archive;
    UnitCaptions m_units;
    HistoryDatabase m_database;
    QtControlWindow m_controls;
    ControlWindow* m_messages;
    CTchart1* m_chart;
    QComboBox* m_quantity;
    QDateEdit* m_startDate;
    QTimeEdit* m_startTime;
    QDateEdit* m_endDate;
    QTimeEdit* m_endTime;
    QComboBox* m_source;
    QLabel* m_readout;
    QPushButton* m_imports;
    QDateTime m_searchedStart, m_searchedEnd;  // Home returns here
    QDateTime m_shownStart, m_shownEnd;
    int m_shownQuantity = 0;
    bool m_exact = true;
    bool m_searchOnShow = false;
};

}  // namespace orvane
