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
#include <thread>

#include "AppIni.h"
#include "CAboutDlg.h"
#include "COrvaneDlg.h"
#include "CReadSDcardWindow.h"
#include "Cmax.h"
#include "CurrentReadingsDisplay.h"
#include "DZedit.h"
#include "FullWrite.h"
#include "LanguageChoice.h"
#include "LinkSession.h"
#include "QtControlWindow.h"
#include "RangeHints.h"
#include "Requests.h"
#include "SdCardListRequest.h"
#include "SelectionRules.h"
#include "SettingsControls.h"
#include "SettingsReplyApplier.h"
#include "ShowLog.h"
#include "Timing.h"
#include "WriteTransaction.h"

namespace orvane {

namespace {

constexpr int kExitButton = 2;
constexpr int kMaxMinButton = 1195;
constexpr int kSdCardButton = 1199;
constexpr int kResetButton = 1016;
constexpr int kShowPassword = 1214;
constexpr int kIniLanguageMenuCommand = 32778;
// The SDCard File button comes back after this long when no list arrives.
constexpr Millis kSdCardButtonReturn{2000};

// Captions that take a string-table text followed by ":" (control, string).
constexpr std::pair<int, int> kColonCaptions[] = {
    {1141, 102}, {1142, 103}, {1125, 103}, {1145, 104}, {1124, 104}, {1143, 105}, {1151, 105},
    {1172, 105}, {1179, 105}, {1101, 105}, {1146, 106}, {1174, 106}, {1181, 106}, {1102, 106},
    {1144, 107}, {1153, 107}, {1175, 107}, {1103, 107}, {1148, 108}, {1106, 108}, {1150, 109},
    {1152, 109}, {1112, 109}, {1149, 110}, {1155, 110}, {1154, 111}, {1157, 113}, {1159, 115},
    {1160, 116}, {1163, 116}, {1161, 117}, {1164, 117}, {1162, 118}, {1165, 118}, {1166, 119},
    {1169, 120}, {1170, 121}, {1171, 122}, {1173, 123}, {1180, 123}, {1105, 123}, {1176, 124},
    {1104, 124}, {1177, 125}, {1107, 125}, {1178, 126}, {1108, 126}, {1109, 127}, {1110, 128},
    {1111, 129}, {1133, 130}, {1216, 131}, {1117, 131}, {1156, 182}, {1158, 133},
};

// Captions that take the plain string-table text.
constexpr std::pair<int, int> kPlainCaptions[] = {
    {1228, 102}, {1231, 112}, {1215, 131}, {1217, 154}, {1218, 155}, {1219, 156}, {1220, 157},
    {1221, 158}, {1222, 159}, {1223, 160}, {1224, 161}, {1225, 164}, {1226, 165}, {1227, 166},
    {1005, 132}, {1028, 114}, {1015, 114}, {1007, 114}, {1013, 114}, {1051, 114}, {1027, 114},
    {1047, 114}, {1070, 114}, {1026, 114}, {1078, 114}, {1016, 167}, {1073, 168}, {1, 169},
    {2, 170},    {1229, 171}, {1230, 172}, {1232, 181}, {1199, 134}, {1195, 135}, {1214, 150},
    {1235, 151}, {1186, 190},
};

// The group Save buttons, Sync and Test: each runs its write transaction.
constexpr int kSaveButtons[] = {1005, 1028, 1015, 1007, 1013, 1051,
                                1027, 1186, 1047, 1070, 1026, 1078};

constexpr int kIntervalCombos[] = {
    SettingsId::kSendCurrentIntervalUnit, SettingsId::kSmsCheckIntervalUnit,
    SettingsId::kAlarmSmsIntervalUnit, SettingsId::kUploadIntervalUnit};

constexpr std::pair<Quantity, int> kUnitCombos[] = {
    {Quantity::Temperature, SettingsId::kTemperatureUnit},
    {Quantity::Wind, SettingsId::kWindUnit},
    {Quantity::Rain, SettingsId::kRainUnit},
    {Quantity::Pressure, SettingsId::kPressureUnit},
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

    BuildLayout();
    BuildMenus();
    ApplyCaptions();
    FillIntervalCombos();

    // Reset state.
    m_units.Reset();
    m_services.state.awaitingSdList = false;
    m_services.state.requestBusy = false;

    AttachStartupTooltips();
    ApplyDefaults();
    ConnectControls();

    m_controls->SetEnabled(1020, false);
    m_controls->SetEnabled(1021, false);

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

void CWriteSetting::ApplyCaptions() {
    for (const auto& [id, string] : kColonCaptions)
        m_controls->SetText(id, Text(string) + QLatin1Char(':'));
    for (const auto& [id, string] : kPlainCaptions) m_controls->SetText(id, Text(string));
}

void CWriteSetting::FillIntervalCombos() {
    ControlWindow& w = *m_controls;
    const QString hour = Text(162), minute = Text(163);
    w.SetItems(SettingsId::kSendCurrentIntervalUnit, {hour, minute, Text(179)});
    w.SelectIndex(SettingsId::kSendCurrentIntervalUnit, 0);
    w.SetItems(SettingsId::kSmsCheckIntervalUnit, {hour, minute, Text(176), Text(177)});
    w.SelectIndex(SettingsId::kSmsCheckIntervalUnit, 0);
    w.SetItems(SettingsId::kAlarmSmsIntervalUnit, {minute, Text(178)});
    w.SelectIndex(SettingsId::kAlarmSmsIntervalUnit, 0);
    w.SetItems(SettingsId::kUploadIntervalUnit, {hour, minute, Text(173)});
    w.SelectIndex(SettingsId::kUploadIntervalUnit, 1);
    w.SetItems(1184, {Text(180), minute});
    w.SelectIndex(1184, 0);
    w.SetItems(SettingsId::kAlarmAll, {Text(174), Text(175)});
    w.SelectIndex(SettingsId::kAlarmAll, 0);
    w.SetText(1193, minute);
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

    auto* logShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Q), this);
    logShortcut->setContext(Qt::WindowShortcut);
    connect(logShortcut, &QShortcut::activated, this, &CWriteSetting::ShowLogWindow);
}

void CWriteSetting::AttachStartupTooltips() {
    const HintUnits opening;  // every unit at its first item
    for (int id : RangeToolTipIds())
        m_controls->SetToolTip(id, RangeToolTip(id, opening, m_language));
}

void CWriteSetting::ApplyDefaults() {
    ControlWindow& w = *m_controls;
    // Calibration.
    w.SetText(1000, QStringLiteral("0"));
    w.SetText(1001, QStringLiteral("0.0"));
    w.SetText(1002, QStringLiteral("0"));
    for (int id : {1003, 1004, 1006, 1008}) w.SetText(id, QStringLiteral("1.00"));
    w.SetText(1126, QStringLiteral("0.0"));
    w.SetText(1127, QStringLiteral("0.0"));

    UnitSelection::FillCombos(w);

    QStringList zones;
    for (int zone = -12; zone <= 12; ++zone) zones << QString::number(zone);
    w.SetItems(SettingsId::kTimeZone, zones);
    w.SelectText(SettingsId::kTimeZone, QStringLiteral("0"));

    auto numbers = [](int first, int last) {
        QStringList items;
        for (int i = first; i <= last; ++i) items << QString::number(i);
        return items;
    };
    for (int id : {1135, 1138}) w.SetItems(id, numbers(1, 12));
    for (int id : {1136, 1139}) w.SetItems(id, numbers(1, 5));
    for (int id : {1137, 1140}) w.SetItems(id, numbers(0, 23));
    for (int id : {1135, 1136, 1137, 1138, 1139, 1140}) w.SelectIndex(id, 0);

    // Intervals and web server.
    w.SetChecked(1024, true);
    w.SetText(1191, QStringLiteral("2"));
    w.SetItems(1022, {QStringLiteral("16"), QStringLiteral("32"), QStringLiteral("48")});
    w.SelectIndex(1022, 0);
    w.SetText(1018, QStringLiteral("30"));
    w.SetText(1019, QStringLiteral("30"));
    w.SetText(1192, QStringLiteral("2"));
    for (int id : {1031, 1032, 1033}) w.SetText(id, QString());
    w.SetText(1035, QStringLiteral("1"));
    w.SetText(1036, QStringLiteral("1"));
    w.SetText(1037, QStringLiteral("01"));
    w.SetText(1038, QStringLiteral("1"));
    w.SetText(1039, QStringLiteral("1"));
    w.SetText(1040, QStringLiteral("01"));
    w.SetText(SettingsId::kServerPort, QStringLiteral("80"));
    w.SetItems(SettingsId::kServerType,
               {QStringLiteral("jsp"), QStringLiteral("asp"), QStringLiteral("php")});
    w.SelectText(SettingsId::kServerType, QStringLiteral("php"));
    w.SetItems(SettingsId::kUploadType, {QStringLiteral("Default"), QStringLiteral("Customize")});
    w.SelectText(SettingsId::kUploadType, QStringLiteral("Customize"));
    w.SetItems(SettingsId::kWebHost,
               {QString::fromLatin1(kDefaultUploadHost), QStringLiteral("New web")});
    w.SelectIndex(SettingsId::kWebHost, 0);
    for (int id : {SettingsId::kServerType, SettingsId::kUploadType, SettingsId::kServerPort})
        w.SetEnabled(id, false);

    w.SetChecked(1061, true);

    // Alarms, web login, GPRS.
    w.SetText(1052, QStringLiteral("25.0"));
    w.SetText(1053, QStringLiteral("25.0"));
    w.SetText(1054, QStringLiteral("65"));
    for (int id : {1055, 1056, 1057, 1058}) w.SetText(id, QStringLiteral("0.0"));
    w.SetText(1086, QStringLiteral("10.0"));
    w.SetText(1087, QStringLiteral("10.0"));
    w.SetText(1088, QStringLiteral("35"));
    w.SetText(SettingsId::kWebId, QString());
    w.SetText(SettingsId::kWebPassword, QString());
    w.SetText(SettingsId::kGprsApn, QStringLiteral("UNINET"));
}

void CWriteSetting::ConnectControls() {
    auto button = [this](int id) { return qobject_cast<QPushButton*>(m_controls->Control(id)); };
    auto combo = [this](int id) { return qobject_cast<QComboBox*>(m_controls->Control(id)); };

    connect(button(SettingsId::kRead), &QPushButton::clicked, this, [this] { ReadSettings(); });
    connect(button(kExitButton), &QPushButton::clicked, this, &QWidget::close);
    connect(button(kMaxMinButton), &QPushButton::clicked, this, [this] { RequestMaxMin(); });
    connect(button(kSdCardButton), &QPushButton::clicked, this, [this] { RequestSdCardList(); });
    for (int id : kSaveButtons)
        connect(button(id), &QPushButton::clicked, this, [this, id] { RunSave(id); });
    connect(button(SettingsId::kSaveAll), &QPushButton::clicked, this,
            [this] { SaveAll(*m_writeContext); });
    connect(button(kResetButton), &QPushButton::clicked, this,
            [this] { FactoryReset(*m_writeContext); });

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
    connect(combo(SettingsId::kAlarmAll), &QComboBox::activated, this,
            [this] { AlarmAllChanged(*m_controls); });

    QComboBox* web = combo(SettingsId::kWebHost);
    connect(web, &QComboBox::activated, this, [this] { WebHostChanged(*m_controls); });
    connect(web->lineEdit(), &QLineEdit::textEdited, this, [this] { WebHostChanged(*m_controls); });

    auto* show = qobject_cast<QCheckBox*>(m_controls->Control(kShowPassword));
    connect(show, &QCheckBox::toggled, this, &CWriteSetting::OnShowPassword);
    // Masked characters are shown as "*".
    m_controls->Control(SettingsId::kWebPassword)
        ->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    m_controls->Control(SettingsId::kGprsPassword)
        ->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
}

void CWriteSetting::OnShowPassword(bool checked) {
    if (auto* edit = qobject_cast<QLineEdit*>(m_controls->Control(SettingsId::kWebPassword))) {
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
    units.temperature = w.SelectedIndex(SettingsId::kTemperatureUnit);
    units.wind = w.SelectedIndex(SettingsId::kWindUnit);
    units.rain = w.SelectedIndex(SettingsId::kRainUnit);
    units.pressure = w.SelectedIndex(SettingsId::kPressureUnit);
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
                m_controls->SetEnabled(SettingsId::kRead, true);
                m_controls->SetEnabled(SettingsId::kSaveAll, true);
            });
        },
        Qt::QueuedConnection);
}

void CWriteSetting::ReadSettings() {
    ControlWindow& w = *m_controls;
    ExchangeState& state = m_services.state;
    CUSBDrive& drive = m_services.mainWindow.Drive();
    w.SetEnabled(SettingsId::kRead, false);
    w.SetEnabled(SettingsId::kSaveAll, false);
    if (!drive.ProbeStation()) {
        state.requestBusy = false;
        ShowMessage(QStringLiteral("Unconnected"));
        w.SetEnabled(SettingsId::kRead, true);
        w.SetEnabled(SettingsId::kSaveAll, true);
        return;
    }
    if (state.awaitingNowData) std::this_thread::sleep_for(GetTimings().nowDataWaitBeforeRead);
    state.requestBusy = true;
    state.settingReplyText.Clear();
    state.awaitingSetting = true;
    state.pendingRequest = kPendingSettings;
    drive.SendText(QString::fromLatin1(Request::kReadSettings));
    ScheduleButtonReturn();
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
    ControlWindow& w = *m_controls;
    ExchangeState& state = m_services.state;
    CUSBDrive& drive = m_services.mainWindow.Drive();
    if (!drive.ProbeStation()) {
        w.MessageBox(Text(137));
        w.SetEnabled(SettingsId::kRead, true);
        w.SetEnabled(SettingsId::kSaveAll, true);
        return;
    }
    if (state.awaitingNowData) std::this_thread::sleep_for(GetTimings().nowDataWaitBeforeRead);
    state.requestBusy = true;
    state.maxMinReplyText.Clear();
    state.awaitingMaxMin = true;
    state.pendingRequest = kPendingMaxMin;
    drive.SendText(QString::fromLatin1(Request::kReadMaxMin));
}

void CWriteSetting::RequestSdCardList() {
    ControlWindow& w = *m_controls;
    ExchangeState& state = m_services.state;
    CUSBDrive& drive = m_services.mainWindow.Drive();
    if (state.sdWindowOpen) return;
    if (!drive.ProbeStation()) {
        w.MessageBox(Text(137));
        w.SetEnabled(SettingsId::kRead, true);
        w.SetEnabled(SettingsId::kSaveAll, true);
        return;
    }
    SendSdCardListRequest(state,
                          [&drive](const QString& request) { return drive.SendText(request); });
    // Without a list reply the button comes back and may ask again.
    w.SetEnabled(kSdCardButton, false);
    QTimer::singleShot(kSdCardButtonReturn, this,
                       [this] { m_controls->SetEnabled(kSdCardButton, true); });
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
    m_controls->SetEnabled(1020, false);
    m_controls->SetEnabled(1021, false);
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
