#include "Commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QThread>

#include "Console.h"
#include "CtlError.h"
#include "DataFolder.h"
#include "HistoryDatabase.h"
#include "LinkStatus.h"
#include "LogImport.h"
#include "MaxMinBlocks.h"
#include "SettingNames.h"
#include "SettingsControls.h"
#include "SingleInstance.h"
#include "Timing.h"
#include "SettingsControls.h"
#include "WriteTransaction.h"

namespace orvane::ctl {

namespace {

const QStringList kValueOptions = {QStringLiteral("ini"),  QStringLiteral("to"),
                                   QStringLiteral("from"), QStringLiteral("quantity"),
                                   QStringLiteral("csv"),  QStringLiteral("png")};
const QStringList kFlags = {QStringLiteral("simulate"), QStringLiteral("json"),
                            QStringLiteral("yes"), QStringLiteral("watch"), QStringLiteral("help")};

[[noreturn]] void Usage(const QString& message) {
    throw CtlError(ExitCode::Usage, message + QStringLiteral(" (see orvanectl --help)"));
}

// The readings as the window's Current Weather group shows them, read back
// from the in-memory window the window's own display procedure filled.
struct ReadingRow {
    const char* name;
    const char* caption;
    int control;
};
constexpr ReadingRow kReadingRows[] = {
    {"temperature", "Temperature", SettingsId::kNowTemperature},
    {"humidity", "Humidity", SettingsId::kNowHumidity},
    {"abs-pressure", "Absolute pressure", SettingsId::kNowAbsPressure},
    {"rel-pressure", "Relative pressure", SettingsId::kNowRelPressure},
    {"wind", "Wind", SettingsId::kNowWind},
    {"gust", "Gust", SettingsId::kNowGust},
    {"dew-point", "Dew point", SettingsId::kNowDewPoint},
    {"wind-direction", "Wind direction", SettingsId::kNowWindDirection},
    {"rain-rate", "Rain rate", SettingsId::kNowRainRate},
    {"rain-day", "Rain day", SettingsId::kNowRainDay},
    {"rain-week", "Rain week", SettingsId::kNowRainWeek},
    {"rain-month", "Rain month", SettingsId::kNowRainMonth},
    {"rain-year", "Rain year", SettingsId::kNowRainYear},
    {"light", "Light", SettingsId::kNowLight},
    {"uv", "UV", SettingsId::kNowUv},
    {"uv-index", "UV index", SettingsId::kNowUvIndex},
    {"battery", "Battery", SettingsId::kNowBattery},
    {"station-time", "Station time", SettingsId::kNowTime},
};

QJsonObject ReadingsJson(ControlWindow& window) {
    QJsonObject object;
    for (const ReadingRow& row : kReadingRows)
        object.insert(QLatin1String(row.name), window.Text(row.control));
    return object;
}

void PrintReadings(ControlWindow& window, Console& console) {
    for (const ReadingRow& row : kReadingRows)
        console.Line(QStringLiteral("%1 %2")
                         .arg(QLatin1String(row.caption), -18)
                         .arg(window.Text(row.control)));
}

// Reads and shows the readings; throws when the reply is unusable.
void ShowReadings(StationSession& session) {
    ShowCurrentReadings(session.ReadNowData(), session.Window());
}

int Status(StationSession& session, Console& console) {
    if (!session.StationPresent()) {
        if (console.Json())
            console.PrintJson(QJsonObject{{QStringLiteral("attached"), false}});
        else
            console.Line(QStringLiteral("Station: not attached"));
        return static_cast<int>(ExitCode::StationAbsent);
    }
    session.Connect();
    ShowReadings(session);
    ControlWindow& w = session.Window();
    if (console.Json()) {
        console.PrintJson(QJsonObject{{QStringLiteral("attached"), true},
                                      {QStringLiteral("stationTime"), w.Text(SettingsId::kNowTime)},
                                      {QStringLiteral("readings"), ReadingsJson(w)}});
        return 0;
    }
    console.Line(QStringLiteral("Station: attached"));
    console.Line(QStringLiteral("Station clock: %1").arg(w.Text(SettingsId::kNowTime)));
    PrintReadings(w, console);
    return 0;
}

int Readings(StationSession& session, const Invocation& in, Console& console) {
    session.Connect();
    for (;;) {
        ShowReadings(session);
        if (console.Json())
            console.PrintJson(ReadingsJson(session.Window()));
        else
            PrintReadings(session.Window(), console);
        if (!in.Flag("watch")) return 0;
        if (!console.Json()) console.Line(QString());
        QThread::msleep(static_cast<unsigned long>(GetTimings().autoReadPeriod.count()));
    }
}

int MaxMin(StationSession& session, Console& console) {
    session.Connect();
    const auto blocks = SplitMaxMinBlocks(session.ReadMaxMin());
    static const char* const kBlockNames[4] = {"history-max", "history-min", "today-max",
                                               "today-min"};
    if (!console.Json()) {
        for (const QString& block : blocks)
            console.Line(LocaliseMaxMinBlock(block, UiLanguage::English)
                             .trimmed()
                             .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        return 0;
    }
    // Each block as name -> {value, time}, from lines "Temp:11.9C 2026-03-11 14:31".
    QJsonObject result;
    for (int i = 0; i < 4; ++i) {
        QJsonObject records;
        const QStringList lines =
            blocks[static_cast<std::size_t>(i)].split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        for (qsizetype l = 1; l < lines.size(); ++l) {
            const qsizetype colon = lines[l].indexOf(u':');
            if (colon <= 0) continue;
            const QString rest = lines[l].mid(colon + 1).trimmed();
            const qsizetype blank = rest.indexOf(u' ');
            records.insert(
                lines[l].left(colon),
                QJsonObject{{QStringLiteral("value"), rest.left(blank)},
                            {QStringLiteral("time"), blank < 0 ? QString() : rest.mid(blank + 1)}});
        }
        result.insert(QLatin1String(kBlockNames[i]), records);
    }
    console.PrintJson(result);
    return 0;
}

void WriteTextFile(const QString& path, const QString& text) {
    // Written aside and renamed, so an interrupted write never leaves half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(text.toUtf8()) < 0 ||
        !file.commit())
        throw CtlError(ExitCode::FileError,
                       QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

int SettingsGet(StationSession& session, const Invocation& in, Console& console) {
    session.Connect();
    const StationSettings settings = session.ReadSettings();
    if (in.values.contains(QStringLiteral("ini"))) {
        WriteTextFile(in.Value("ini"), SettingsFileText(settings));
        if (!console.Json())
            console.Line(QStringLiteral("Settings written to %1").arg(in.Value("ini")));
        return 0;
    }
    if (console.Json()) {
        QJsonObject object;
        for (int n = 1; n <= StationSettings::kFieldCount; ++n)
            object.insert(QLatin1String(SettingNameOf(n).name), ShownValue(settings, n));
        console.PrintJson(object);
        return 0;
    }
    for (int n = 1; n <= StationSettings::kFieldCount; ++n)
        console.Line(QStringLiteral("%1 %2 %3")
                         .arg(QLatin1String(SettingNameOf(n).name), -24)
                         .arg(ShownValue(settings, n), -32)
                         .arg(QLatin1String(SettingNameOf(n).caption)));
    return 0;
}

// Runs one Save button's write and turns its outcome into the result.
WriteResult RunSave(StationSession& session, int button, const QString& group) {
    MemoryControlWindow& w = session.Window();
    w.ClearMessages();
    const WriteResult result = RunWriteTransaction(button, session.Writes());
    if (result.abandoned) {
        const QStringList messages = w.Messages();
        throw CtlError(ExitCode::Refused,
                       QStringLiteral("%1 not sent: %2")
                           .arg(group, messages.isEmpty() ? QStringLiteral("a value was refused")
                                                          : messages.join(QStringLiteral("; "))));
    }
    return result;
}

int ClockSync(StationSession& session, Console& console) {
    session.Connect();
    // The clock tick fills the Time group's pickers from the PC clock, as
    // the window's clock thread does before its Sync is pressed.
    ShowClockTick(session.Window(), session.PcClock());
    const WriteResult result = RunSave(session, SettingsId::kSync, QStringLiteral("Clock"));
    const QString outcome = OutcomeText(result.outcome);
    if (console.Json())
        console.PrintJson(
            QJsonObject{{QStringLiteral("request"), result.requests.value(0)},
                        {QStringLiteral("outcome"), result.outcome == WriteOutcome::Success
                                                        ? QStringLiteral("success")
                                                        : QStringLiteral("failed")}});
    else
        console.Line(QStringLiteral("Clock sync: %1").arg(outcome));
    if (result.outcome == WriteOutcome::Unconnected)
        session.Unanswered(QStringLiteral("the clock write"));
    if (result.outcome != WriteOutcome::Success)
        throw CtlError(ExitCode::Refused, QStringLiteral("The station refused the clock."));
    return 0;
}

QString FolderOption(const Invocation& in, const SessionOptions& options) {
    const QString folder = in.values.value(QStringLiteral("to"), options.dataFolder);
    if (!QDir().mkpath(folder))
        throw CtlError(ExitCode::FileError,
                       QStringLiteral("Cannot create the folder %1").arg(folder));
    return folder;
}

int SdList(StationSession& session, const SessionOptions& options, Console& console) {
    session.PrepareCard(options.dataFolder);
    session.Connect();
    session.ListCard();
    const QStringList names = session.Card().FileNames();
    const QStringList sizes = session.CardView().Sizes();
    if (console.Json()) {
        QJsonArray files;
        for (qsizetype i = 0; i < names.size(); ++i)
            files.append(QJsonObject{{QStringLiteral("name"), names[i]},
                                     {QStringLiteral("size"), sizes.value(i)}});
        console.PrintJson(files);
        return 0;
    }
    for (qsizetype i = 0; i < names.size(); ++i)
        console.Line(QStringLiteral("%1 %2").arg(names[i], -16).arg(sizes.value(i)));
    return 0;
}

int SdDownload(StationSession& session, const Invocation& in, const SessionOptions& options,
               Console& console) {
    const QString name = in.words.value(2);
    session.PrepareCard(FolderOption(in, options));
    session.Connect();
    session.ListCard();
    std::unique_ptr<Progress> shown;
    const qint64 received = session.DownloadFile(name, [&](qint64 done, qint64 total) {
        if (!shown && total > 0) shown = std::make_unique<Progress>(name, total);
        if (shown) shown->Update(done);
    });
    shown.reset();
    const QString path = session.Card().LocalPath();
    const qint64 size = QFileInfo(path).size();
    if (console.Json())
        console.PrintJson(
            QJsonObject{{QStringLiteral("file"), path},
                        {QStringLiteral("size"), size},
                        {QStringLiteral("received"), received},
                        {QStringLiteral("resumedFrom"), session.Card().StartOffset()}});
    else
        console.Line(QStringLiteral("%1: %2 bytes (%3 new)").arg(path).arg(size).arg(received));
    return 0;
}

int SdDelete(StationSession& session, const Invocation& in, const SessionOptions& options,
             Console& console) {
    const QString name = in.words.value(2);
    session.PrepareCard(options.dataFolder);
    session.Connect();
    session.ListCard();
    if (!session.Card().FileNames().contains(name))
        throw CtlError(ExitCode::Failure,
                       QStringLiteral("The card holds no file \"%1\".").arg(name));
    if (!console.Confirm(QStringLiteral("Delete %1 from the station's card?").arg(name)))
        throw CtlError(ExitCode::Declined,
                       QStringLiteral("Nothing deleted (confirm with --yes when not asked on a "
                                      "terminal)."));
    session.DeleteCardFile(name);
    if (console.Json())
        console.PrintJson(QJsonObject{{QStringLiteral("deleted"), name}});
    else
        console.Line(QStringLiteral("Deleted %1").arg(name));
    return 0;
}

// The window's import of a downloaded file into the data folder's history.
LogImportResult ImportFile(const QString& path, const SessionOptions& options,
                           ControlWindow& messages) {
    if (!QFileInfo(path).isFile())
        throw CtlError(ExitCode::FileError, QStringLiteral("No such file: %1").arg(path));
    HistoryDatabase database(&messages);
    Progress bar(QFileInfo(path).fileName(), 100);
    const LogImportResult result = ImportDownloadedFile(
        path, QDir(options.dataFolder).filePath(QString::fromLatin1(kDatabaseFileName)), database,
        &messages, [&bar](int percent) { bar.Update(percent); });
    bar.Finish();
    if (result.status != LogImportResult::Status::Ok) {
        QString why = result.error;
        if (auto* memory = dynamic_cast<MemoryControlWindow*>(&messages);
            memory && !memory->Messages().isEmpty())
            why = memory->Messages().join(QStringLiteral("; "));
        throw CtlError(result.status == LogImportResult::Status::DatabaseError
                           ? ExitCode::Failure
                           : ExitCode::FileError,
                       QStringLiteral("%1 not imported: %2").arg(path, why));
    }
    return result;
}

int Import(const Invocation& in, const SessionOptions& options, Console& console) {
    MemorySdCardWindow messages;
    const QString path = in.words.value(1);
    const LogImportResult result = ImportFile(path, options, messages);
    if (console.Json())
        console.PrintJson(QJsonObject{{QStringLiteral("file"), path},
                                      {QStringLiteral("records"), qint64(result.records)},
                                      {QStringLiteral("undated"), qint64(result.undated)}});
    else
        console.Line(QStringLiteral("%1: %2 records imported").arg(path).arg(result.records));
    return 0;
}

// What the last sync imported, so that a sync interrupted between a download
// and its import still imports next time.
struct SyncState {
    QString importedFile;
    qint64 importedSize = -1;
};

QString SyncStatePath(const SessionOptions& options) {
    return QDir(options.dataFolder).filePath(QStringLiteral("sync-state.json"));
}

SyncState LoadSyncState(const SessionOptions& options) {
    SyncState state;
    QFile file(SyncStatePath(options));
    if (!file.open(QIODevice::ReadOnly)) return state;
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    state.importedFile = json[QStringLiteral("importedFile")].toString();
    state.importedSize = json[QStringLiteral("importedSize")].toInteger(-1);
    return state;
}

void SaveSyncState(const SessionOptions& options, const SyncState& state) {
    WriteTextFile(
        SyncStatePath(options),
        QString::fromUtf8(QJsonDocument(QJsonObject{
                                            {QStringLiteral("importedFile"), state.importedFile},
                                            {QStringLiteral("importedSize"), state.importedSize},
                                        })
                              .toJson()));
}

int Sync(StationSession& session, const SessionOptions& options, Console& console) {
    // The window's single-instance lock: while a sync holds it neither the
    // window nor a second sync talks to the station.
    SingleInstance lock;
    if (!lock.Acquire())
        throw CtlError(ExitCode::Busy, QStringLiteral("The station is in use by the Orvane window "
                                                      "or another sync; try again later."));
    session.PrepareCard(options.dataFolder);
    session.Connect();
    session.ListCard();
    QStringList names = session.Card().FileNames();
    names.sort();  // the station names its logs by date

    QJsonArray files;
    for (const QString& name : names) {
        std::unique_ptr<Progress> shown;
        const qint64 received = session.DownloadFile(name, [&](qint64 done, qint64 total) {
            if (!shown && total > 0) shown = std::make_unique<Progress>(name, total);
            if (shown) shown->Update(done);
        });
        shown.reset();
        files.append(
            QJsonObject{{QStringLiteral("name"), name},
                        {QStringLiteral("received"), received},
                        {QStringLiteral("size"), QFileInfo(session.Card().LocalPath()).size()}});
        if (!console.Json() && received > 0)
            console.Line(QStringLiteral("%1: %2 new bytes").arg(name).arg(received));
    }

    // Until the lasting archive exists the history is the newest log, as
    // after the window's download: imported again only when it changed.
    QJsonValue imported;
    qint64 records = 0;
    if (!names.isEmpty()) {
        const QString newest = QDir(options.dataFolder).filePath(names.last());
        const qint64 size = QFileInfo(newest).size();
        SyncState state = LoadSyncState(options);
        if (state.importedFile != names.last() || state.importedSize != size) {
            MemorySdCardWindow messages;
            records = ImportFile(newest, options, messages).records;
            state.importedFile = names.last();
            state.importedSize = size;
            SaveSyncState(options, state);
            imported = names.last();
            if (!console.Json())
                console.Line(
                    QStringLiteral("%1: %2 records imported").arg(names.last()).arg(records));
        }
    }
    if (console.Json())
        console.PrintJson(QJsonObject{{QStringLiteral("files"), files},
                                      {QStringLiteral("imported"), imported},
                                      {QStringLiteral("records"), records}});
    else if (imported.isNull())
        console.Line(QStringLiteral("Up to date: nothing new on the card."));
    return 0;
}

}  // namespace

Invocation ParseArguments(const QStringList& arguments) {
    Invocation in;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (!a.startsWith(QLatin1String("--")) || a == QLatin1String("--")) {
            in.words << a;
            continue;
        }
        QString name = a.mid(2);
        QString value;
        const qsizetype eq = name.indexOf(u'=');
        const bool inlineValue = eq >= 0;
        if (inlineValue) {
            value = name.mid(eq + 1);
            name = name.left(eq);
        }
        if (kFlags.contains(name) && !inlineValue) {
            in.flags.insert(name);
        } else if (kValueOptions.contains(name)) {
            if (!inlineValue) {
                if (i + 1 >= arguments.size())
                    Usage(QStringLiteral("--%1 needs a value").arg(name));
                value = arguments[++i];
            }
            in.values.insert(name, value);
        } else {
            Usage(QStringLiteral("unknown option --%1").arg(name));
        }
    }
    return in;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: orvanectl [--simulate] [--json] [--yes] COMMAND ...\n"
        "\n"
        "  status                      attached or not, station clock, last readings\n"
        "  readings [--watch]          current readings (every 16 s with --watch)\n"
        "  maxmin                      the max/min records\n"
        "  settings get [--ini FILE]   all 57 settings\n"
        "  clock sync                  set the station clock from this computer\n"
        "  sd list                     the files on the station's SD card\n"
        "  sd download NAME [--to DIR] copy a file (resumes a partial copy)\n"
        "  sd delete NAME              delete a file from the card (asks unless --yes)\n"
        "  import FILE                 replace the history with a downloaded log file\n"
        "  sync                        download what is new on the card and import it\n"
        "\n"
        "  --simulate   use the built-in station simulator instead of the USB station\n"
        "  --json       print the result as JSON\n"
        "  --yes        answer every question with yes\n");
}

int RunCommand(const Invocation& in, const SessionOptions& options, Console& console) {
    const QString command = in.words.value(0);
    const QString sub = in.words.value(1);
    auto expectWords = [&](qsizetype count) {
        if (in.words.size() != count)
            Usage(QStringLiteral("wrong number of operands for %1").arg(in.words.join(u' ')));
    };
    StationSession session(options);
    if (command == QLatin1String("status")) {
        expectWords(1);
        return Status(session, console);
    }
    if (command == QLatin1String("readings")) {
        expectWords(1);
        return Readings(session, in, console);
    }
    if (command == QLatin1String("maxmin")) {
        expectWords(1);
        return MaxMin(session, console);
    }
    if (command == QLatin1String("settings") && sub == QLatin1String("get")) {
        expectWords(2);
        return SettingsGet(session, in, console);
    }
    if (command == QLatin1String("clock") && sub == QLatin1String("sync")) {
        expectWords(2);
        return ClockSync(session, console);
    }
    if (command == QLatin1String("sd") && sub == QLatin1String("list")) {
        expectWords(2);
        return SdList(session, options, console);
    }
    if (command == QLatin1String("sd") && sub == QLatin1String("download")) {
        expectWords(3);
        return SdDownload(session, in, options, console);
    }
    if (command == QLatin1String("sd") && sub == QLatin1String("delete")) {
        expectWords(3);
        return SdDelete(session, in, options, console);
    }
    if (command == QLatin1String("import")) {
        expectWords(2);
        return Import(in, options, console);
    }
    if (command == QLatin1String("sync")) {
        expectWords(1);
        return Sync(session, options, console);
    }
    if (command.isEmpty()) Usage(QStringLiteral("no command given"));
    Usage(QStringLiteral("unknown command \"%1\"").arg(in.words.join(u' ')));
}

}  // namespace orvane::ctl
