#include "StationSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <mutex>

#include "AppIni.h"
#include "AutoReadThread.h"
#include "CtlError.h"
#include "DeviceLink.h"
#include "HidapiBackend.h"
#include "Requests.h"
#include "SdCardListRequest.h"
#include "SettingsReplyApplier.h"
#include "SettingsWindowSetup.h"
#include "SimulatorFault.h"
#include "StationSimulator.h"
#include "StringTable.h"
#include "Timing.h"

namespace orvane::ctl {

namespace {

// The SD-card window's message for a request that could not be written.
constexpr int kSendFailText = 197;

}  // namespace

// What the receive thread hands over: the settings reply goes through the
// window's own handler into the in-memory window, and each reply's text is
// kept for the command.
class StationSession::Consumers : public SettingsReplyHandler,
                                  public CurrentReadingsHandler,
                                  public MaxMinWindowOpener {
public:
    Consumers(ControlWindow& window, ExchangeState& state, UnitSelection& units)
        : m_applier(window, state, units, [this](const QString& text) {
              std::lock_guard lock(m_mutex);
              m_messages << text;
          }) {}

    void HandleSettingReply(const QString& replyText) override {
        m_applier.HandleSettingReply(replyText);
        std::lock_guard lock(m_mutex);
        m_settings = replyText;
        ++m_settingsCount;
    }
    void HandleNowDataReply(const QString& replyText) override {
        std::lock_guard lock(m_mutex);
        m_nowData = replyText;
        ++m_nowDataCount;
    }
    void OpenMaxMinWindow(const QString& replyText) override {
        std::lock_guard lock(m_mutex);
        m_maxMin = replyText;
        ++m_maxMinCount;
    }

    int SettingsCount() const {
        std::lock_guard lock(m_mutex);
        return m_settingsCount;
    }
    int NowDataCount() const {
        std::lock_guard lock(m_mutex);
        return m_nowDataCount;
    }
    int MaxMinCount() const {
        std::lock_guard lock(m_mutex);
        return m_maxMinCount;
    }
    QString Settings() const {
        std::lock_guard lock(m_mutex);
        return m_settings;
    }
    QString NowData() const {
        std::lock_guard lock(m_mutex);
        return m_nowData;
    }
    QString MaxMin() const {
        std::lock_guard lock(m_mutex);
        return m_maxMin;
    }
    QStringList TakeMessages() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_messages, {});
    }

private:
    SettingsReplyApplier m_applier;
    mutable std::mutex m_mutex;
    QString m_settings, m_nowData, m_maxMin;
    int m_settingsCount = 0, m_nowDataCount = 0, m_maxMinCount = 0;
    QStringList m_messages;
};

StationSession::StationSession(const SessionOptions& options) : m_options(options) {
    if (m_options.simulate) {
        // The simulator of `orvane --simulate`: same seed, a running clock.
        StationModelOptions model;
        if (!m_options.frozenStationClock) model.clock = &m_clock;
        auto simulator = std::make_unique<StationSimulator>(1, model);
        m_simulator = simulator.get();
        if (m_options.simulatorNewRecords > 0) {
            QStringList names = m_simulator->Model().FileNames();
            names.sort();  // the station names its logs by date
            if (!names.isEmpty())
                m_simulator->Model().AppendRecords(names.last(), m_options.simulatorNewRecords);
        }
        m_backend = std::move(simulator);
        m_faultBus = ApplySimulatorFault(*m_simulator, m_options.simulatorFault);
    } else {
        m_backend = std::make_unique<HidapiBackend>();
    }
    m_mainDialog = std::make_unique<COrvaneDlg>(Backend());
    m_consumers = std::make_unique<Consumers>(m_window, m_state, m_units);
    // The settings window as it opens, so that a reply selects in the same
    // combos and the builders read the same controls as in the window.
    ApplyOpeningState(m_window, UiLanguage::English, m_units);
    const QString iniPath = QDir(m_options.dataFolder).filePath(QStringLiteral("Main.ini"));
    // An aggregate, which make_unique cannot build with braces.
    m_writes.reset(  // NOLINT(modernize-make-unique)
        new WriteContext{m_window, *m_mainDialog, m_state, m_clock, BusyHooks{},
                         [iniPath] {
                             return AppIni(iniPath).Read(QLatin1String(AppIni::kUnitSection),
                                                         QLatin1String(AppIni::kStageKey));
                         },
                         [this](int combo) {
                             for (Quantity q : {Quantity::Temperature, Quantity::Light,
                                                Quantity::Wind, Quantity::Rain, Quantity::Pressure})
                                 if (UnitSelection::ComboId(q) == combo)
                                     UnitChanged(q, m_window, m_units);
                         },
                         [this] { ReadSettings(); }});
}

StationSession::~StationSession() {
    if (m_link) m_link->Shutdown();
}

CtlError NoStationError() {
    return CtlError(ExitCode::StationAbsent,
                    QStringLiteral("No station found: is it plugged in and may this user open it "
                                   "(USB 10c4:8468)?"));
}

bool StationSession::StationPresent() {
    return m_mainDialog->Drive().ProbeStation();
}

CReadSDcard& StationSession::PrepareCard(const QString& folder) {
    CUSBDrive& drive = m_mainDialog->Drive();
    m_card = std::make_unique<CReadSDcard>(
        m_state, m_cardWindow, m_cardView,
        [&drive](const QString& request) { return drive.SendText(request); }, *m_mainDialog,
        folder);
    m_card->SetImport([](const QString&, const ImportProgress&) {
        LogImportResult done;
        done.status = LogImportResult::Status::Ok;
        return done;
    });
    m_card->SetOpener([this] { m_listArrived = true; });
    return *m_card;
}

void StationSession::Connect() {
    if (!StationPresent()) throw NoStationError();
    ReplyConsumers consumers;
    consumers.settings = m_consumers.get();
    consumers.currentReadings = m_consumers.get();
    consumers.maxMin = m_consumers.get();
    consumers.sdCard = m_card.get();
    m_link = std::make_unique<DeviceLink>(Backend(), m_state, consumers);
    m_link->Open();
    m_state.stationAttached = true;
    if (!m_link->IsPresent())
        throw CtlError(ExitCode::StationAbsent, QStringLiteral("The station could not be opened."));
}

void StationSession::Unanswered(const QString& what) {
    if (!m_mainDialog->Drive().ProbeStation())
        throw CtlError(ExitCode::StationSilent,
                       QStringLiteral("The station went away during %1.").arg(what));
    throw CtlError(ExitCode::StationSilent,
                   QStringLiteral("The station did not answer %1 within %2 s.")
                       .arg(what)
                       .arg(static_cast<double>(m_options.replyTimeout.count()) / 1000.0));
}

void StationSession::WaitFor(const std::function<bool()>& done, const QString& what,
                             const std::function<qint64()>& activity) {
    QElapsedTimer quiet;
    quiet.start();
    qint64 seen = activity ? activity() : 0;
    while (!done()) {
        if (activity) {
            const qint64 now = activity();
            if (now != seen) {
                seen = now;
                quiet.restart();
            }
        }
        if (quiet.elapsed() > m_options.replyTimeout.count()) Unanswered(what);
        ThrowIfStopped();
        QThread::msleep(2);
    }
}

StationSettings StationSession::ReadSettings() {
    const int before = m_consumers->SettingsCount();
    CUSBDrive& drive = m_mainDialog->Drive();
    m_state.requestBusy = true;
    m_state.settingReplyText.Clear();
    m_state.awaitingSetting = true;
    m_state.pendingRequest = kPendingSettings;
    if (!drive.SendText(QString::fromLatin1(Request::kReadSettings)))
        Unanswered(QStringLiteral("the settings request"));
    WaitFor(
        [&] {
            return m_consumers->SettingsCount() > before && m_state.pendingRequest == kPendingNone;
        },
        QStringLiteral("the settings request"), [&] { return m_state.settingReplyText.Size(); });
    const SettingsParseResult parsed = ParseSettingsReply(m_consumers->Settings());
    if (parsed.error != SettingsReplyError::None)
        throw CtlError(ExitCode::Failure,
                       QStringLiteral("The station's settings reply is unusable: %1")
                           .arg(SettingsReplyErrorText(parsed.error)));
    return parsed.settings;
}

CurrentReadings StationSession::ReadNowData() {
    const int before = m_consumers->NowDataCount();
    if (!SendNowDataRequest(m_state, m_mainDialog->Drive()))
        Unanswered(QStringLiteral("the readings request"));
    WaitFor(
        [&] {
            return m_consumers->NowDataCount() > before && m_state.pendingRequest == kPendingNone;
        },
        QStringLiteral("the readings request"), [&] { return m_state.nowDataReplyText.Size(); });
    const std::optional<CurrentReadings> readings = ParseNowDataReply(m_consumers->NowData());
    if (!readings)
        throw CtlError(ExitCode::Failure,
                       QStringLiteral("The station's readings reply is unusable."));
    return *readings;
}

QString StationSession::ReadMaxMin() {
    const int before = m_consumers->MaxMinCount();
    CUSBDrive& drive = m_mainDialog->Drive();
    m_state.requestBusy = true;
    m_state.maxMinReplyText.Clear();
    m_state.awaitingMaxMin = true;
    m_state.pendingRequest = kPendingMaxMin;
    if (!drive.SendText(QString::fromLatin1(Request::kReadMaxMin)))
        Unanswered(QStringLiteral("the max/min request"));
    WaitFor([&] { return m_consumers->MaxMinCount() > before; },
            QStringLiteral("the max/min request"), [&] { return m_state.maxMinReplyText.Size(); });
    return m_consumers->MaxMin();
}

void StationSession::ListCard() {
    CUSBDrive& drive = m_mainDialog->Drive();
    m_listArrived = false;
    if (!SendSdCardListRequest(
            m_state, [&drive](const QString& request) { return drive.SendText(request); }))
        Unanswered(QStringLiteral("the file list request"));
    WaitFor([&] { return m_listArrived.load(); }, QStringLiteral("the file list request"),
            [&] { return m_state.sdListReplyText.Size(); });
    // The window's opening lists the names and asks for each size in turn.
    m_card->OpenWindow(UiLanguage::English);
    WaitFor([&] { return !m_card->IsListingSizes(); }, QStringLiteral("the file size requests"),
            [&] { return static_cast<qint64>(m_cardView.Sizes().join(QString()).size()); });
    for (const QString& size : m_cardView.Sizes())
        if (size.isEmpty()) Unanswered(QStringLiteral("the file size requests"));
}

qint64 StationSession::DownloadFile(const QString& name,
                                    const std::function<void(qint64, qint64)>& progress) {
    const qsizetype row = m_card->FileNames().indexOf(name);
    if (row < 0)
        throw CtlError(ExitCode::Failure,
                       QStringLiteral("The card holds no file \"%1\".").arg(name));
    m_cardWindow.ClearMessages();
    m_card->ClickFileRow(static_cast<int>(row));
    const QString what = QStringLiteral("the download of %1").arg(name);
    // A failure names what stays of the local copy for the next run.
    const auto withCopyKept = [&](const CtlError& error) {
        const QFileInfo copy(m_card->LocalPath());
        return CtlError(
            error.Code(),
            error.Message() + (copy.size() > 0
                                   ? QStringLiteral(" %1 bytes are kept in %2; run the download "
                                                    "again to resume.")
                                         .arg(copy.size())
                                         .arg(copy.filePath())
                                   : QStringLiteral(" Run the download again.")));
    };
    m_card->SaveAs();
    // A download that did not start said why; one that is no longer running
    // may simply be over already (a complete local copy is answered at once).
    if (!m_card->IsDownloading() && !m_cardWindow.Messages().isEmpty()) {
        // The request could not go out: the station went away, or stopped
        // taking reports, just then; no fault of the local file.
        if (m_cardWindow.Messages().contains(LoadString(kSendFailText, UiLanguage::English))) {
            if (!m_mainDialog->Drive().ProbeStation())
                throw withCopyKept(
                    CtlError(ExitCode::StationSilent,
                             QStringLiteral("The station went away during %1.").arg(what)));
            throw withCopyKept(
                CtlError(ExitCode::StationSilent,
                         QStringLiteral("The station took no request for %1.").arg(what)));
        }
        throw CtlError(ExitCode::FileError, m_cardWindow.Messages().join(QStringLiteral("; ")));
    }
    // The tool stops waiting before the watchdog would restart the transfer
    // and throw the new bytes away: what arrived is exact and stays for the
    // next run to resume from.
    const SessionOptions saved = m_options;
    m_options.replyTimeout = std::min(m_options.replyTimeout, GetTimings().downloadSilence / 2);
    try {
        WaitFor(
            [&] {
                if (progress) progress(m_cardView.Progress(), m_card->DownloadTotal());
                return !m_card->IsDownloading();
            },
            what, [&] { return static_cast<qint64>(m_cardView.Progress()); });
    } catch (const CtlError& error) {
        m_options = saved;
        throw withCopyKept(error);
    }
    m_options = saved;
    m_card->WaitForImport();
    if (m_card->DownloadTotal() > 0 &&
        QFileInfo(m_card->LocalPath()).size() != m_card->StartOffset() + m_card->DownloadTotal())
        throw CtlError(ExitCode::StationSilent,
                       QStringLiteral("The download of %1 was given up.").arg(name));
    return std::max<qint64>(0, m_card->DownloadTotal());
}

void StationSession::DeleteCardFile(const QString& name) {
    const qsizetype row = m_card->FileNames().indexOf(name);
    if (row < 0)
        throw CtlError(ExitCode::Failure,
                       QStringLiteral("The card holds no file \"%1\".").arg(name));
    m_cardWindow.ClearMessages();
    m_card->ClickFileRow(static_cast<int>(row));
    m_cardWindow.AnswerNextConfirm(true);  // the command asked already
    m_card->DeleteFile();
    if (m_card->FileNames().contains(name)) {
        const QStringList messages = m_cardWindow.Messages();
        if (messages.join(QString()).contains(QLatin1String(Reply::kUnconnected)))
            Unanswered(QStringLiteral("the delete request"));
        throw CtlError(ExitCode::Refused, QStringLiteral("The station did not delete %1: %2")
                                              .arg(name, messages.join(QStringLiteral("; "))));
    }
}

}  // namespace orvane::ctl
