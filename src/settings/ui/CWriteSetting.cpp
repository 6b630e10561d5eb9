#include "CWriteSetting.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QThread>
#include <QTimer>

#include "AppIni.h"
#include "CAboutDlg.h"
#include "COrvaneDlg.h"
#include "CReadSDcardWindow.h"
#include "Cmax.h"
#include "CurrentReadingsDisplay.h"
#include "DZedit.h"
#include "FullWrite.h"
#include "Grapsh.h"
#include "LanguageChoice.h"
#include "LinkSession.h"
#include "PostTo.h"
#include "QtControlWindow.h"
#include "RangeHints.h"
#include "SdCardListRequest.h"
#include "SelectionRules.h"
#include "SettingsControls.h"
#include "SettingsLayout.h"
#include "SettingsReplyApplier.h"
#include "SettingsRequests.h"
#include "SettingsWindowSetup.h"
#include "ShowLog.h"
#include "StationPresence.h"
#include "Timing.h"
#include "WriteTransaction.h"

namespace orvane {

using namespace SettingsId;

namespace {

constexpr int kIniLanguageMenuCommand = 32778;

// The group Save buttons, Sync and Test: each runs its write transaction.
constexpr int kSaveButtons[] = {
    kSync,          kSaveDaylight, kSaveTimeZone,       kSaveCalibration,
    kSaveUnit,      kSaveGprs,     kSaveTelephone,      kSmsTest,
    kSaveWebServer, kSaveAlarm,    kSaveLoggerInterval, kSaveSendCurrent};

constexpr int kIntervalCombos[] = {kSendCurrentIntervalUnit, kSmsCheckIntervalUnit,
                                   kAlarmSmsIntervalUnit, kUploadIntervalUnit};

constexpr std::pair<Quantity, int> kUnitCombos[] = {
    {Quantity::Temperature, kTemperatureUnit},
    {Quantity::Wind, kWindUnit},
    {Quantity::Rain, kRainUnit},
    {Quantity::Pressure, kPressureUnit},
};

}  // namespace

CWriteSetting::CWriteSetting(const SettingsWindowServices& services, UiLanguage language,
                             QWidget* parent)
    : QMainWindow(parent),
      m_services(services),
      m_language(language),
      m_controls(std::make_unique<QtControlWindow>(this)) {
    setWindowTitle(QStringLiteral("Write Setting"));
    setWindowIcon(QApplication::windowIcon());

    const Clock& clock = m_services.clock ? *m_services.clock : m_systemClock;
    // An aggregate, which make_unique cannot build with braces.
    m_writeContext.reset(  // NOLINT(modernize-make-unique)
        new WriteContext{*m_controls, m_services.mainWindow, m_services.state, clock,
                         BusyHooks{[this] { OnGuiThread([this] { SetBusy(true); }); },
                                   [this] { OnGuiThread([this] { SetBusy(false); }); }},
                         [this] {
                             return AppIni(IniPath()).Read(QLatin1String(AppIni::kUnitSection),
                                                           QLatin1String(AppIni::kStageKey));
                         },
                         [this](int combo) {
                             for (const auto& [quantity, id] : kUnitCombos)
                                 if (id == combo) UnitChanged(quantity, *m_controls, m_units);
                         },
                         [this] { ReadSettings(); }});

    // A message box raised while a reply is handled is shown on the GUI
    // thread without holding up the receive thread.
    MessageSink postMessage = [this](const QString& text) { m_controls->MessageBox(text); };
    m_settingsHandler =
        std::make_unique<SettingsReplyApplier>(*m_controls, m_services.state, m_units, postMessage);
    m_presence = std::make_unique<StationPresence>(*m_controls, clock, m_language);
    m_readingsHandler = std::make_unique<CurrentReadingsDisplay>(
        *m_controls, [this] { m_presence->ReadingsShown(); });

    m_cmax = new Cmax(
        [this] {
            return LanguageFromKey(AppIni(IniPath()).Read(QLatin1String(AppIni::kLanguageSection),
                                                          QLatin1String(AppIni::kLanguageKey)));
        },
        this);
    m_log = new ShowLog(this);
    CUSBDrive& drive = m_services.mainWindow.Drive();
    m_sdWindow = new CReadSDcardWindow(
        m_services.state, [&drive](const QString& request) { return drive.SendText(request); },
        m_services.mainWindow, m_services.dataFolder, this);

    m_controls->SetLayout(SettingsControlLayout());
    BuildLayout();
    m_controls->VerifyLayout();
    BuildMenus();
    m_services.state.awaitingSdList = false;
    m_services.state.requestBusy = false;
    ApplyOpeningState(*m_controls, m_language, m_units);
    ConnectControls();

    // Full writes report how far they are; the bar shows only meanwhile.
    m_fullWriteProgress = new QProgressBar(this);
    m_fullWriteProgress->setFormat(Text(404));
    m_fullWriteProgress->setTextVisible(true);
    m_fullWriteProgress->hide();
    statusBar()->addPermanentWidget(m_fullWriteProgress);
    m_writeContext->progress = [this](int sent, int total) {
        OnGuiThread([this, sent, total] {
            m_fullWriteProgress->setRange(0, total);
            m_fullWriteProgress->setValue(sent);
        });
    };

    // Fit a 1366×768 screen. On a smaller one the window opens maximized,
    // so that the window manager keeps it, its frame and the status bar with
    // the connection state on the screen; the scroll area takes the rest.
    const QSize preferred(1360, 700);
    resize(preferred);
    if (QScreen* screen = QApplication::primaryScreen()) {
        const QSize available = screen->availableSize();
        resize(preferred.boundedTo(available));
        // Room for a frame and a title bar around the preferred size.
        const QSize framed = preferred + QSize(6, 40);
        if (available.width() < framed.width() || available.height() < framed.height())
            setWindowState(windowState() | Qt::WindowMaximized);
    }
}

CWriteSetting::~CWriteSetting() {
    Stop();
}

QString CWriteSetting::IniPath() const {
    return m_services.dataFolder + QStringLiteral("/Main.ini");
}

void CWriteSetting::BuildMenus() {
    QAction* languageAction = menuBar()->addAction(Text(152));
    languageAction->setData(kIniLanguageMenuCommand);
    connect(languageAction, &QAction::triggered, this, &CWriteSetting::LanguageRequested);

    // Where the desktop has no system menu of ours, the about item sits
    // beside the language command.
    const QString about = Text(101);
    if (!about.isEmpty()) {
        QAction* aboutAction = menuBar()->addAction(about);
        connect(aboutAction, &QAction::triggered, this, [this] { ShowAbout(); });
    }

    QAction* graphAction = menuBar()->addAction(Text(193));
    connect(graphAction, &QAction::triggered, this, [this] { ShowGraph(); });

    auto* logShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Q), this);
    logShortcut->setContext(Qt::WindowShortcut);
    connect(logShortcut, &QShortcut::activated, this, &CWriteSetting::ShowLogWindow);
}

void CWriteSetting::ConnectControls() {
    auto button = [this](int id) { return qobject_cast<QPushButton*>(m_controls->Control(id)); };
    auto combo = [this](int id) { return qobject_cast<QComboBox*>(m_controls->Control(id)); };

    connect(button(kRead), &QPushButton::clicked, this, [this] { ReadSettings(); });
    connect(button(kExit), &QPushButton::clicked, this, &QWidget::close);
    connect(button(kMaxMin), &QPushButton::clicked, this, [this] { RequestMaxMin(); });
    connect(button(kSdCardFile), &QPushButton::clicked, this, [this] { RequestSdCardList(); });
    for (int id : kSaveButtons)
        connect(button(id), &QPushButton::clicked, this, [this, id] { RunSave(id); });
    connect(button(kSaveAll), &QPushButton::clicked, this, [this] { RunFullWrite(false); });
    connect(button(kReset), &QPushButton::clicked, this, [this] { RunFullWrite(true); });

    // Only the user's choices run the rules: a settings reply selects items
    // itself and then runs the same rules in its own order.
    for (const auto& [quantity, id] : kUnitCombos) {
        const Quantity q = quantity;
        connect(combo(id), &QComboBox::activated, this,
                [this, q] { UnitChanged(q, *m_controls, m_units); });
    }
    for (int id : kIntervalCombos)
        connect(combo(id), &QComboBox::activated, this,
                [this, id] { IntervalUnitChanged(*m_controls, id); });
    connect(combo(kAlarmAll), &QComboBox::activated, this,
            [this] { AlarmAllChanged(*m_controls); });

    QComboBox* web = combo(kWebHost);
    connect(web, &QComboBox::activated, this, [this] { WebHostChanged(*m_controls); });
    connect(web->lineEdit(), &QLineEdit::textEdited, this, [this] { WebHostChanged(*m_controls); });

    auto* show = qobject_cast<QCheckBox*>(m_controls->Control(kShowPassword));
    connect(show, &QCheckBox::toggled, this, &CWriteSetting::OnShowPassword);
    // Masked characters are shown as "*".
    m_controls->Control(kWebPassword)
        ->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    m_controls->Control(kGprsPassword)
        ->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
}

void CWriteSetting::OnShowPassword(bool checked) {
    if (auto* edit = qobject_cast<QLineEdit*>(m_controls->Control(kWebPassword))) {
        edit->setEchoMode(checked ? QLineEdit::Normal : QLineEdit::Password);
        edit->update();
    }
}

void CWriteSetting::RunSave(int buttonId) {
    RunWriteTransaction(buttonId, *m_writeContext);
}

QString CWriteSetting::FocusHint(int id) const {
    ControlWindow& w = *m_controls;
    HintUnits units;
    units.temperature = w.SelectedIndex(kTemperatureUnit);
    units.wind = w.SelectedIndex(kWindUnit);
    units.rain = w.SelectedIndex(kRainUnit);
    units.pressure = w.SelectedIndex(kPressureUnit);
    return orvane::FocusHint(id, units, m_language).value_or(QString());
}

void CWriteSetting::mousePressEvent(QMouseEvent* event) {
    // A click on the window background (labels and group frames count, as
    // they take no clicks) removes the range hint.
    if (event->button() == Qt::LeftButton) m_statusHint->clear();
    QMainWindow::mousePressEvent(event);
}

void CWriteSetting::ScheduleButtonReturn() {
    // Read and Save All come back after a fixed time whether or not a reply
    // came; a timer on the GUI thread needs no thread of its own to join.
    PostTo(this, [this] {
        QTimer::singleShot(GetTimings().readButtonReturn, this, [this] {
            m_controls->SetEnabled(kRead, true);
            m_controls->SetEnabled(kSaveAll, true);
        });
    });
}

void CWriteSetting::ReadSettings() {
    const SettingsReadStart start =
        orvane::ReadSettings(*m_controls, m_services.mainWindow.Drive(), m_services.state,
                             [this](const QString& text) { ShowMessage(text); });
    if (start != SettingsReadStart::Unconnected) ScheduleButtonReturn();
}

void CWriteSetting::ShowMessage(const QString& text) {
    // From a worker (the link thread after a re-plug) the box is posted: the
    // worker must not wait for the user, as a window that closes meanwhile
    // could never join it.
    m_controls->MessageBox(text);
}

template <class F>
void CWriteSetting::OnGuiThread(F&& f) {
    if (QThread::currentThread() == thread())
        f();
    else
        PostTo(this, std::forward<F>(f));
}

void CWriteSetting::SetBusy(bool busy) {
    // A begin posted by a worker may arrive after the window stopped.
    if (busy == m_busy || (busy && m_stopped)) return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    BlockInput();
}

void CWriteSetting::BlockInput() {
    const bool blocked = m_busy || m_fullWriteRunning;
    centralWidget()->setEnabled(!blocked);
    menuBar()->setEnabled(!blocked);
}

void CWriteSetting::RunFullWrite(bool factoryReset) {
    if (m_fullWriteRunning || m_stopped) return;
    // The confirmation (and the reset's factory values) on this thread; the
    // 27 or 28 exchanges on a worker, so the window repaints meanwhile.
    const bool confirmed =
        factoryReset ? PrepareFactoryReset(*m_writeContext) : ConfirmSaveAll(*m_writeContext);
    if (!confirmed || m_stopped) return;
    m_fullWriteRunning = true;
    BlockInput();
    m_fullWriteProgress->setRange(0, factoryReset ? 28 : 27);
    m_fullWriteProgress->setValue(0);
    m_fullWriteProgress->show();
    m_fullWrite.Start("full write", [this, factoryReset](std::stop_token stop) {
        m_writeContext->stop = stop;
        if (factoryReset)
            SendFactoryReset(*m_writeContext);
        else
            SendSaveAll(*m_writeContext);
        PostTo(this, [this] { FullWriteEnded(); });
    });
}

void CWriteSetting::FullWriteEnded() {
    m_fullWrite.Join();
    m_writeContext->stop = {};
    m_fullWriteRunning = false;
    m_fullWriteProgress->hide();
    BlockInput();
}

void CWriteSetting::RequestMaxMin() {
    orvane::RequestMaxMin(*m_controls, m_services.mainWindow.Drive(), m_services.state, m_language);
}

void CWriteSetting::RequestSdCardList() {
    if (!orvane::RequestSdCardList(*m_controls, m_services.mainWindow.Drive(), m_services.state,
                                   m_language))
        return;
    // Without a list reply the button comes back and may ask again.
    QTimer::singleShot(GetTimings().sdCardButtonReturn, this,
                       [this] { m_controls->SetEnabled(kSdCardFile, true); });
}

void CWriteSetting::OpenMaxMinWindow(const QString& replyText) {
    PostTo(this, [this, replyText] {
        if (!m_stopped) m_cmax->Open(replyText);
    });
}

void CWriteSetting::ConnectionChanged(bool attached) {
    PostTo(this, [this, attached] {
        if (m_stopped) return;
        m_controls->SetTitle(QStringLiteral("Orvane   Ver1.6"));
        m_controls->SetStatusText(SettingsId::kConnectionStatusPart, Text(attached ? 136 : 137));
        ShowPresence(attached);
    });
}

void CWriteSetting::ClockTick(const QDateTime& now) {
    PostTo(this, [this, now] {
        if (m_stopped) return;
        // The date picker shows only the date: setting it anew every
        // second would only lay out and repaint the same text.
        if (m_controls->DateTime(SettingsId::kDatePicker).date() != now.date())
            m_controls->SetDateTime(SettingsId::kDatePicker, now);
        m_controls->SetDateTime(SettingsId::kTimePicker, now);
    });
}

void CWriteSetting::CurrentReadingsDone() {
    PostTo(this, [this] {
        if (m_stopped) return;
        m_controls->SetEnabled(SettingsId::kRead, true);
        m_controls->SetEnabled(SettingsId::kSaveAll, true);
        // A fresh reading ends the stale mark.
        ShowPresence(m_services.state.stationAttached.load());
    });
}

void CWriteSetting::ShowPresence(bool attached) {
    if (!m_presence || !m_absentRefresh) return;
    m_presence->Update(attached);
    if (attached)
        m_absentRefresh->stop();
    else if (!m_absentRefresh->isActive())
        m_absentRefresh->start();
}

CAboutDlg* CWriteSetting::ShowAbout() {
    // One modeless about box: the settings window goes on meanwhile.
    if (!m_about) {
        const AppIni ini(IniPath());
        m_about = new CAboutDlg(
            ini.Read(QLatin1String(AppIni::kCopyrightSection),
                     QLatin1String(AppIni::kCopyrightKey)),
            ini.Read(QLatin1String(AppIni::kAboutSection), QLatin1String(AppIni::kWebKey)), this);
        m_about->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
    return m_about;
}

Grapsh* CWriteSetting::ShowGraph() {
    if (!m_graph) {
        m_graph = new Grapsh(m_sdWindow->Logic().DatabasePath(), this);
        m_graph->setAttribute(Qt::WA_DeleteOnClose);
        m_graph->SetUnitCaptions(m_sdWindow->Logic().ImportedUnits());
    }
    m_graph->show();
    m_graph->raise();
    return m_graph;
}

void CWriteSetting::ShowLogWindow() {
    m_log->Open();
}

void CWriteSetting::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_started) {
        // The clock pickers change every second. At a fixed size (their
        // text is always as wide) a change repaints them alone instead of
        // laying out the whole window again.
        for (int id : {kDatePicker, kTimePicker}) {
            QWidget* picker = m_controls->Control(id);
            picker->setFixedSize(picker->sizeHint());
        }
    }
    Start();
}

void CWriteSetting::Start() {
    if (m_started || m_stopped) return;
    m_started = true;
    ReplyConsumers consumers;
    consumers.settings = m_settingsHandler.get();
    consumers.currentReadings = m_readingsHandler.get();
    consumers.maxMin = this;
    consumers.sdCard = &m_sdWindow->Logic();
    consumers.events = this;

    const Clock& clock = m_services.clock ? *m_services.clock : m_systemClock;
    m_link = std::make_unique<LinkSession>(
        LinkSessionParts{m_services.backend, m_services.mainWindow, m_services.state, *this, clock,
                         this, consumers, m_services.deviceChanges});
    // Probe, ReopenNeeded, clock, link and auto-read threads, hot-plug.
    m_link->Start();
    m_controls->SetEnabled(kTimePicker, false);
    m_controls->SetEnabled(kDatePicker, false);

    // The readings and the station commands follow the station's presence:
    // on each connection change and each reading. While no station is
    // attached the window's own timers bring Read and Save All back, so a
    // refresh at the pace of the link status disables them again; with a
    // station attached nothing wakes the window between readings.
    m_absentRefresh = new QTimer(this);
    connect(m_absentRefresh, &QTimer::timeout, this,
            [this] { m_presence->Update(m_services.state.stationAttached.load()); });
    m_absentRefresh->setInterval(GetTimings().linkPass);
    ShowPresence(m_services.state.stationAttached.load());
}

void CWriteSetting::Stop() {
    if (m_stopped) return;
    m_stopped = true;
    // The full write is told to stop before its window calls are cancelled,
    // so that it cannot send a request built from the empty answers of a
    // window that is going; then every waiting worker is released and joined.
    m_fullWrite.RequestStop();
    m_controls->Shutdown();
    m_cmax->Controls().Shutdown();
    m_sdWindow->Controls().Shutdown();
    m_fullWrite.Stop();
    if (m_busy) SetBusy(false);
    if (m_link) m_link->Stop();
}

void CWriteSetting::closeEvent(QCloseEvent* event) {
    Stop();
    QMainWindow::closeEvent(event);
}

}  // namespace orvane
