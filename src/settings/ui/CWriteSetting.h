#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

#include "Clock.h"
#include "LinkEvents.h"
#include "OwnedThread.h"
#include "ReplyHandlers.h"
#include "StringTable.h"
#include "UnitSelection.h"
#include "WriteContext.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QCheckBox;
class QScrollArea;
class QProgressBar;
class QTimer;

namespace orvane {

class CAboutDlg;
class Grapsh;
class Cmax;
class CReadSDcardWindow;
class COrvaneDlg;
class DZedit;
class HidBackend;
class DeviceChangeSource;
class LinkSession;
class QtControlWindow;
class ShowLog;
class StationPresence;
struct ExchangeState;

// What the settings window works with; every reference must outlive it.
struct SettingsWindowServices {
    ExchangeState& state;                         // request flags and reply buffers
    COrvaneDlg& mainWindow;                       // the request connection and Transact
    HidBackend& backend;                          // the receive connection opens through it
    DeviceChangeSource* deviceChanges = nullptr;  // hot-plug events; may be null
    QString dataFolder;                           // holds Main.ini, Orvane.mdb and downloads
    const Clock* clock = nullptr;                 // the PC clock; the system clock when null
};

// The settings window: every station setting in its group, the current
// readings, and the buttons that read, save, reset and open the max/min,
// SD-card and log windows. Each control is registered under its dialog id
// in a QtControlWindow (Controls()), through which the logic and the worker
// threads reach it.
//
// Construction lays the window out and fills its captions and defaults;
// Start() (run by the first show, or called directly) probes the station,
// starts the clock, link and auto-read threads and listens for hot-plug.
// Closing the window stops the threads and shuts the control window down.
//
// GUI thread only, except Controls() (whose operations any thread may
// call) and the reply interfaces, which the link's threads call.
class CWriteSetting : public QMainWindow,
                      public SettingsReader,
                      public MaxMinWindowOpener,
                      public LinkEvents {
    Q_OBJECT
public:
    CWriteSetting(const SettingsWindowServices& services, UiLanguage language,
                  QWidget* parent = nullptr);
    ~CWriteSetting() override;

    QtControlWindow& Controls() { return *m_controls; }
    UiLanguage Language() const { return m_language; }
    QString IniPath() const;
    UnitSelection& Units() { return m_units; }
    // The connection threads; null before Start(). Tests look at them.
    LinkSession* Link() { return m_link.get(); }

    // Probe, worker threads, hot-plug. Runs once; later calls do nothing.
    void Start();
    // Stops the worker threads and cancels every pending window call.
    // Runs once, on close or destruction.
    void Stop();

    // The Read button's procedure; also run by the link thread after every
    // opening of the receive connection. Any thread.
    void ReadSettings() override;
    // The Max/Min Record button's request. GUI thread.
    void RequestMaxMin();
    // The SDCard File button's list request. GUI thread.
    void RequestSdCardList();
    // The max/min reply is complete: open the window on the GUI thread.
    // Any thread; does not wait.
    void OpenMaxMinWindow(const QString& replyText) override;
    // What the link reports, shown in the title, the status bar, the Time
    // group's pickers and the Read and Save All buttons. Any thread; posted
    // to the GUI thread, never waited for.
    void ConnectionChanged(bool attached) override;
    void ClockTick(const QDateTime& now) override;
    void CurrentReadingsDone() override;
    // GUI thread: the presence shown, and the absent refresh on or off.
    void ShowPresence(bool attached);

    // The hint that focusing edit `id` shows in status-bar part 0, in the
    // window's language and the units currently selected; empty for an edit
    // without a range.
    QString FocusHint(int id) const;

    // The about box (texts from Main.ini) and the log window: modeless, one
    // of each; opening again brings the open one to the front.
    CAboutDlg* ShowAbout();
    void ShowLogWindow();
    // The "Graph" menu command: the graph window over the stored history,
    // without a station; one modeless window at a time.
    Grapsh* ShowGraph();

    Cmax& MaxMinWindow() { return *m_cmax; }
    ShowLog& LogWindow() { return *m_log; }
    CReadSDcardWindow& SdCardWindow() { return *m_sdWindow; }

signals:
    // The "Language" menu command (32778); the application shell shows the
    // language dialog and restarts.
    void LanguageRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Layout of the controls (CWriteSettingLayout.cpp).
    void BuildLayout();
    QWidget* BuildTimeColumn();
    QWidget* BuildUnitColumn();
    QWidget* BuildWebColumn();
    QWidget* BuildAlarmColumn();
    QWidget* BuildWeatherColumn();
    QLabel* MakeLabel(int id, const QString& text);
    QLineEdit* MakeEdit(int id);
    DZedit* MakeHintEdit(int id);
    QComboBox* MakeCombo(int id, bool editable = false);
    QPushButton* MakeButton(int id, const QString& text);
    QCheckBox* MakeCheck(int id, const QString& text);
    QGroupBox* MakeGroup(int id, const QString& title);
    QLabel* MakeValue(int id);

    void BuildMenus();
    void ConnectControls();

    // Save All (false) or the factory reset (true): confirmation here, the
    // exchanges on m_fullWrite with the window's input blocked, a busy
    // cursor while requests go out, and the progress in the status bar.
    void RunFullWrite(bool factoryReset);
    void FullWriteEnded();
    void SetBusy(bool busy);
    void BlockInput();
    // Runs `f` here, or posts it from a worker without waiting.
    template <class F>
    void OnGuiThread(F&& f);

    void ScheduleButtonReturn();
    // A message box; from a worker it is posted, not waited for.
    void ShowMessage(const QString& text);
    void RunSave(int buttonId);
    void OnShowPassword(bool checked);
    QString Text(int id) const { return LoadString(id, m_language); }

    SettingsWindowServices m_services;
    UiLanguage m_language;
    SystemClock m_systemClock;
    std::unique_ptr<QtControlWindow> m_controls;
    UnitSelection m_units;
    std::unique_ptr<WriteContext> m_writeContext;
    std::unique_ptr<SettingsReplyHandler> m_settingsHandler;
    std::unique_ptr<CurrentReadingsHandler> m_readingsHandler;
    std::unique_ptr<StationPresence> m_presence;
    // Runs only while no station is attached; see Start().
    QTimer* m_absentRefresh = nullptr;
    std::unique_ptr<LinkSession> m_link;
    OwnedThread m_fullWrite;
    bool m_fullWriteRunning = false;
    bool m_busy = false;
    QProgressBar* m_fullWriteProgress = nullptr;
    bool m_started = false;
    bool m_stopped = false;

    QLabel* m_statusHint = nullptr;
    QLabel* m_statusLink = nullptr;
    QScrollArea* m_scroll = nullptr;
    Cmax* m_cmax = nullptr;
    ShowLog* m_log = nullptr;
    QPointer<CAboutDlg> m_about;
    CReadSDcardWindow* m_sdWindow = nullptr;
    QPointer<Grapsh> m_graph;
};

}  // namespace orvane
