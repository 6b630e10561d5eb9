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
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
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
#include "Timing.h"
#include "WriteTransaction.h"

namespace orvane {

using namespace SettingsId;

namespace {

constexpr int kIniLanguageMenuCommand = 32778;
// The SDCard File button comes back after this long when no list arrives.
constexpr Millis kSdCardFileReturn{2000};

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
    m_writeContext.reset(
        new WriteContext{*m_controls, m_services.mainWindow, m_services.state, clock,
                         BusyHooks{[this] {
                                       QApplication::setOverrideCursor(Qt::WaitCursor);
                                       centralWidget()->setEnabled(false);
                                   },
                                   [this] {
                                       centralWidget()->setEnabled(true);
                                       QApplication::restoreOverrideCursor();
                                   }},
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
    MessageSink postMessage = [this](const QString& text) {
        QMetaObject::invokeMethod(
            this, [this, text] { QMessageBox::information(this, QStringLiteral("Orvane"), text); },
            Qt::QueuedConnection);
    };
    m_settingsHandler =
        std::make_unique<SettingsReplyApplier>(*m_controls, m_services.state, m_units, postMessage);
    m_readingsHandler = std::make_unique<CurrentReadingsDisplay>(*m_controls);

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

    // Fit a 1366×768 screen; the scroll area takes over on smaller ones.
    resize(1360, 700);
    if (QScreen* screen = QApplication::primaryScreen()) {
        const QSize available = screen->availableSize();
        resize(std::min(width(), available.width()), std::min(height(), available.height()));
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
    connect(button(kSaveAll), &QPushButton::clicked, this, [this] { SaveAll(*m_writeContext); });
    connect(button(kReset), &QPushButton::clicked, this, [this] { FactoryReset(*m_writeContext); });

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
    QMetaObject::invokeMethod(
        this,
        [this] {
            QTimer::singleShot(GetTimings().readButtonReturn, this, [this] {
                m_controls->SetEnabled(kRead, true);
                m_controls->SetEnabled(kSaveAll, true);
            });
        },
        Qt::QueuedConnection);
}

void CWriteSetting::ReadSettings() {
    const SettingsReadStart start =
        orvane::ReadSettings(*m_controls, m_services.mainWindow.Drive(), m_services.state,
                             [this](const QString& text) { ShowMessage(text); });
    if (start != SettingsReadStart::Unconnected) ScheduleButtonReturn();
}

void CWriteSetting::ShowMessage(const QString& text) {
    // A worker (the link thread after a re-plug) must not wait for the
    // user: it would hold up the link, and a window that closes meanwhile
    // could never join it.
    if (QThread::currentThread() == thread()) {
        m_controls->MessageBox(text);
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            if (!m_stopped) m_controls->MessageBox(text);
        },
        Qt::QueuedConnection);
}

void CWriteSetting::RequestMaxMin() {
    orvane::RequestMaxMin(*m_controls, m_services.mainWindow.Drive(), m_services.state, m_language);
}

void CWriteSetting::RequestSdCardList() {
    ControlWindow& w = *m_controls;
    ExchangeState& state = m_services.state;
    CUSBDrive& drive = m_services.mainWindow.Drive();
    if (state.sdWindowOpen) return;
    if (!drive.ProbeStation()) {
        w.MessageBox(Text(137));
        w.SetEnabled(kRead, true);
        w.SetEnabled(kSaveAll, true);
        return;
    }
    SendSdCardListRequest(state,
                          [&drive](const QString& request) { return drive.SendText(request); });
    // Without a list reply the button comes back and may ask again.
    w.SetEnabled(kSdCardFile, false);
    QTimer::singleShot(kSdCardFileReturn, this,
                       [this] { m_controls->SetEnabled(kSdCardFile, true); });
}

void CWriteSetting::OpenMaxMinWindow(const QString& replyText) {
    QMetaObject::invokeMethod(
        this,
        [this, replyText] {
            if (!m_stopped) m_cmax->Open(replyText);
        },
        Qt::QueuedConnection);
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
    consumers.settingsWindow = m_controls.get();

    const Clock& clock = m_services.clock ? *m_services.clock : m_systemClock;
    m_link = std::make_unique<LinkSession>(
        LinkSessionParts{m_services.backend, m_services.mainWindow, m_services.state, *m_controls,
                         clock, this, consumers, m_services.deviceChanges});
    // Probe, ReopenNeeded, clock, link and auto-read threads, hot-plug.
    m_link->Start();
    m_controls->SetEnabled(kTimePicker, false);
    m_controls->SetEnabled(kDatePicker, false);
}

void CWriteSetting::Stop() {
    if (m_stopped) return;
    m_stopped = true;
    // First release every worker that waits for the GUI thread, then join.
    m_controls->Shutdown();
    m_cmax->Controls().Shutdown();
    m_sdWindow->Controls().Shutdown();
    if (m_link) m_link->Stop();
}

void CWriteSetting::closeEvent(QCloseEvent* event) {
    Stop();
    QMainWindow::closeEvent(event);
}

}  // namespace orvane
