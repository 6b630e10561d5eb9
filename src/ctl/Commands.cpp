#include "Commands.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "Archive.h"
#include "ArchiveProvenance.h"
#include "ChartImage.h"
#include "Console.h"
#include "CtlError.h"
#include "DataFolder.h"
#include "FullWrite.h"
#include "GraphSearch.h"
#include "HistoryDatabase.h"
#include "HistoryTime.h"
#include "LogImport.h"
#include "MaxMinBlocks.h"
#include "SettingNames.h"
#include "SettingsChange.h"
#include "SettingsControls.h"
#include "SimulatorFault.h"
#include "SingleInstance.h"
#include "Timing.h"
#include "WriteTransaction.h"

namespace orvane::ctl {

namespace {

const QStringList kValueOptions = {
    QStringLiteral("ini"),      QStringLiteral("to"),     QStringLiteral("from"),
    QStringLiteral("quantity"), QStringLiteral("csv"),    QStringLiteral("png"),
    QStringLiteral("archive"),  QStringLiteral("backup"), QStringLiteral("size")};
const QStringList kFlags = {QStringLiteral("simulate"), QStringLiteral("json"),
                            QStringLiteral("yes"),      QStringLiteral("watch"),
                            QStringLiteral("help"),     QStringLiteral("no-backup")};

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
        // The answer above is the result; the failure, as every command's,
        // is told on stderr.
        throw NoStationError();
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
        // A stop ends the wait at once, not after up to a whole period.
        SleepUnlessStopped(GetTimings().autoReadPeriod);
        ThrowIfStopped();
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
    WriteResult result = RunWriteTransaction(button, session.Writes());
    if (result.abandoned) {
        const QStringList messages = w.Messages();
        throw CtlError(ExitCode::Refused,
                       QStringLiteral("%1 not sent: %2")
                           .arg(group, messages.isEmpty() ? QStringLiteral("a value was refused")
                                                          : messages.join(QStringLiteral("; "))));
    }
    return result;
}

// The settings a command line names: one FILE operand, or NAME=VALUE words.
QList<SettingsFileLine> SettingsFromOperands(const QStringList& operands) {
    if (operands.isEmpty()) Usage(QStringLiteral("settings set needs FILE or NAME=VALUE"));
    QString error;
    if (operands.size() == 1 && !operands.first().contains(u'=')) {
        QFile file(operands.first());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            throw CtlError(
                ExitCode::FileError,
                QStringLiteral("Cannot read %1: %2").arg(operands.first(), file.errorString()));
        const std::optional<QList<SettingsFileLine>> lines =
            ParseSettingsFile(QString::fromUtf8(file.readAll()), error);
        if (!lines)
            throw CtlError(ExitCode::Refused,
                           QStringLiteral("%1, %2; nothing sent.").arg(operands.first(), error));
        return *lines;
    }
    QList<SettingsFileLine> all;
    for (const QString& operand : operands) {
        const std::optional<QList<SettingsFileLine>> line = ParseSettingsFile(operand, error);
        if (!line || line->size() != 1)
            throw CtlError(ExitCode::Refused,
                           QStringLiteral("\"%1\": %2; nothing sent.")
                               .arg(operand, line ? QStringLiteral("not NAME=VALUE")
                                                  : error.section(QStringLiteral(": "), 1)));
        all += *line;
    }
    return all;
}

// Shows what would change, asks, sends each changed group with the window's
// Save and reads the settings back. Shared by settings set and restore.
int ChangeSettings(StationSession& session, const QList<SettingsFileLine>& lines,
                   Console& console) {
    session.Connect();
    const StationSettings held = session.ReadSettings();
    const SettingsChange change = PlanChange(held, lines);
    QJsonArray changes;
    for (const SettingDifference& d : change.differences) {
        const QString name = QLatin1String(SettingNameOf(d.number).name);
        changes.append(QJsonObject{{QStringLiteral("name"), name},
                                   {QStringLiteral("held"), d.held},
                                   {QStringLiteral("wanted"), d.wanted}});
        if (!console.Json())
            console.Line(QStringLiteral("%1 %2 -> %3").arg(name, -24).arg(d.held, d.wanted));
    }
    if (change.differences.isEmpty()) {
        if (console.Json())
            console.PrintJson(QJsonObject{{QStringLiteral("changes"), changes},
                                          {QStringLiteral("groups"), QJsonArray()}});
        else
            console.Line(QStringLiteral("The station holds these settings already."));
        return 0;
    }
    const QStringList problems =
        CheckChange(change, session.Window(), session.Units(), session.PcClock());
    if (!problems.isEmpty())
        throw CtlError(ExitCode::Refused,
                       problems.join(QStringLiteral("; ")) + QStringLiteral("; nothing sent."));
    QStringList groupNames;
    for (int group : change.groups) groupNames << GroupName(group);
    if (!console.Confirm(QStringLiteral("Send %1?").arg(groupNames.join(QStringLiteral(", ")))))
        throw CtlError(ExitCode::Declined, QStringLiteral("Nothing sent."));

    QJsonArray groups;
    bool allSaved = true;
    for (int group : change.groups) {
        session.Window().ClearMessages();
        const WriteResult result = RunWriteTransaction(group, session.Writes());
        const bool saved = !result.abandoned && result.outcome == WriteOutcome::Success;
        allSaved = allSaved && saved;
        groups.append(
            QJsonObject{{QStringLiteral("group"), GroupName(group)},
                        {QStringLiteral("requests"), QJsonArray::fromStringList(result.requests)},
                        {QStringLiteral("saved"), saved}});
        if (!console.Json())
            console.Line(QStringLiteral("%1: %2").arg(
                GroupName(group),
                result.abandoned ? QStringLiteral("not sent") : OutcomeText(result.outcome)));
        // An unplugged station answers every request "Unconnected": stop at once.
        if (result.outcome == WriteOutcome::Unconnected)
            session.Unanswered(QStringLiteral("the %1 write").arg(GroupName(group)));
    }
    // What the station holds now, so a value it did not take shows.
    const StationSettings after = session.ReadSettings();
    QJsonArray notTaken;
    for (const SettingDifference& d : change.differences) {
        if (ShownValue(after, d.number) == d.wanted) continue;
        const QString name = QLatin1String(SettingNameOf(d.number).name);
        notTaken.append(QJsonObject{{QStringLiteral("name"), name},
                                    {QStringLiteral("holds"), ShownValue(after, d.number)}});
        if (!console.Json())
            console.Line(QStringLiteral("%1 still %2").arg(name, ShownValue(after, d.number)));
    }
    if (console.Json())
        console.PrintJson(QJsonObject{{QStringLiteral("changes"), changes},
                                      {QStringLiteral("groups"), groups},
                                      {QStringLiteral("notTaken"), notTaken}});
    if (!allSaved || !notTaken.isEmpty())
        throw CtlError(ExitCode::Refused, QStringLiteral("The station did not take every change."));
    return 0;
}

int SettingsSet(StationSession& session, const Invocation& in, Console& console) {
    // Bad input is refused before the station is opened.
    const QList<SettingsFileLine> lines = SettingsFromOperands(in.words.mid(2));
    return ChangeSettings(session, lines, console);
}

QString DefaultBackupName() {
    return QStringLiteral("orvane-settings-%1.ini")
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

// Reads the settings and keeps them in `path`; the session is connected.
void WriteBackup(StationSession& session, const QString& path) {
    WriteTextFile(path, SettingsFileText(session.ReadSettings()));
}

int Backup(StationSession& session, const Invocation& in, Console& console) {
    const QString path = in.words.value(1, DefaultBackupName());
    session.Connect();
    WriteBackup(session, path);
    if (console.Json())
        console.PrintJson(QJsonObject{{QStringLiteral("file"), path}});
    else
        console.Line(QStringLiteral("Settings backed up to %1").arg(path));
    return 0;
}

int Restore(StationSession& session, const Invocation& in, Console& console) {
    const QList<SettingsFileLine> lines = SettingsFromOperands({in.words.value(1)});
    // A backup holds every setting; a partial file is a change, not a restore.
    QSet<int> named;
    for (const SettingsFileLine& line : lines) named.insert(line.number);
    QStringList missing;
    for (int n = 1; n <= StationSettings::kFieldCount; ++n)
        if (!named.contains(n)) missing << QLatin1String(SettingNameOf(n).name);
    if (!missing.isEmpty())
        throw CtlError(ExitCode::Refused,
                       QStringLiteral("%1 is not a whole backup (missing %2); nothing sent. Use "
                                      "settings set for a part.")
                           .arg(in.words.value(1), missing.join(QStringLiteral(", "))));
    return ChangeSettings(session, lines, console);
}

int FactoryResetCommand(StationSession& session, const Invocation& in, Console& console) {
    session.Connect();
    if (!console.Confirm(QStringLiteral("Reset the station to its factory settings?")))
        throw CtlError(ExitCode::Declined, QStringLiteral("Nothing sent."));
    QString backup = in.Value("backup");
    if (backup.isEmpty() && !in.Flag("no-backup")) {
        const QString offered = DefaultBackupName();
        if (console.Confirm(
                QStringLiteral("Back up the present settings to %1 first?").arg(offered)))
            backup = offered;
    }
    if (!backup.isEmpty()) WriteBackup(session, backup);
    session.Window().ClearMessages();
    session.Window().AnswerNextConfirm(true);  // the command asked already
    const WriteResult result = FactoryReset(session.Writes());
    const bool saved = !result.abandoned && result.outcome == WriteOutcome::Success;
    if (console.Json())
        console.PrintJson(
            QJsonObject{{QStringLiteral("backup"), backup},
                        {QStringLiteral("requests"), QJsonArray::fromStringList(result.requests)},
                        {QStringLiteral("saved"), saved}});
    else
        console.Line(QStringLiteral("%1%2").arg(
            FullWriteOutcomeText(result.outcome, result.refusedGroups),
            backup.isEmpty() ? QString() : QStringLiteral(" (backup in %1)").arg(backup)));
    if (result.outcome == WriteOutcome::Unconnected)
        session.Unanswered(QStringLiteral("the factory reset"));
    if (!saved && !session.StationPresent())
        session.Unanswered(QStringLiteral("the factory reset"));
    if (!saved)
        throw CtlError(ExitCode::Refused,
                       QStringLiteral("The station refused the reset or did not answer it."));
    return 0;
}

int ClockSync(StationSession& session, Console& console) {
    session.Connect();
    // The clock tick fills the Time group's pickers from the PC clock, as
    // the window's clock thread does before its Sync is pressed.
    const QDateTime now = session.PcClock().LocalNow();
    session.Window().SetDateTime(SettingsId::kDatePicker, now);
    session.Window().SetDateTime(SettingsId::kTimePicker, now);
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
    QString folder = in.values.value(QStringLiteral("to"), options.dataFolder);
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

// The archive a command works on: --archive, else the data folder's
// (Main.ini [Archive] Location, else Archive.sqlite there).
QString ArchiveOption(const Invocation& in, const SessionOptions& options) {
    const QString location = in.Value("archive");
    return location.isEmpty() ? ArchiveLocationFor(options.dataFolder) : location;
}

bool ArchiveIsOff(const QString& location) {
    return location.compare(QLatin1String(kArchiveOff), Qt::CaseInsensitive) == 0;
}

QJsonObject ImportInfoJson(const ArchiveImportInfo& info) {
    auto time = [](double days) {
        return days == 0 ? QJsonValue() : QJsonValue(DateTimeFromDays(days).toString(Qt::ISODate));
    };
    return QJsonObject{{QStringLiteral("id"), qint64(info.id)},
                       {QStringLiteral("station"), info.station},
                       {QStringLiteral("file"), info.fileName},
                       {QStringLiteral("size"), qint64(info.fileSize)},
                       {QStringLiteral("sha256"), info.sha256},
                       {QStringLiteral("first"), time(info.firstTime)},
                       {QStringLiteral("last"), time(info.lastTime)},
                       {QStringLiteral("rowsRead"), qint64(info.rowsRead)},
                       {QStringLiteral("added"), qint64(info.added)},
                       {QStringLiteral("duplicates"), qint64(info.duplicates)},
                       {QStringLiteral("unreadable"), qint64(info.unreadable)},
                       {QStringLiteral("importedAt"), info.importedAt}};
}

// The window's import of a downloaded file into the data folder's history,
// feeding the archive at `archiveLocation` in the same pass.
LogImportResult ImportFile(const QString& path, const SessionOptions& options,
                           const QString& archiveLocation, bool powerFailsHalfway = false) {
    if (!QFileInfo(path).isFile())
        throw CtlError(ExitCode::FileError, QStringLiteral("No such file: %1").arg(path));
    MemorySdCardWindow messages;
    HistoryDatabase database(&messages);
    Progress bar(QFileInfo(path).fileName(), 100);
    LogImportResult result = ImportDownloadedFile(
        path, QDir(options.dataFolder).filePath(QString::fromLatin1(kDatabaseFileName)), database,
        &messages,
        [&](int percent) {
            if (powerFailsHalfway && percent >= 50) CutPower();
            bar.Update(percent);
        },
        UiLanguage::English, archiveLocation);
    bar.Finish();
    if (result.status != LogImportResult::Status::Ok) {
        QString why = result.error;
        if (!messages.Messages().isEmpty()) why = messages.Messages().join(QStringLiteral("; "));
        throw CtlError(result.status == LogImportResult::Status::DatabaseError
                           ? ExitCode::Failure
                           : ExitCode::FileError,
                       QStringLiteral("%1 not imported: %2").arg(path, why));
    }
    return result;
}

int Import(const Invocation& in, const SessionOptions& options, Console& console) {
    const QString path = in.words.value(1);
    const QString location = ArchiveOption(in, options);
    const LogImportResult result = ImportFile(path, options, location);
    const bool wanted = !ArchiveIsOff(location);
    if (console.Json()) {
        QJsonObject json{{QStringLiteral("file"), path},
                         {QStringLiteral("records"), qint64(result.records)},
                         {QStringLiteral("undated"), qint64(result.undated)}};
        if (result.archived) json.insert(QStringLiteral("archive"), ImportInfoJson(result.archive));
        console.PrintJson(json);
    } else {
        console.Line(QStringLiteral("%1: %2 records imported").arg(path).arg(result.records));
        if (result.archived)
            console.Line(QStringLiteral("Archive: %1 added, %2 already there, %3 unreadable")
                             .arg(result.archive.added)
                             .arg(result.archive.duplicates)
                             .arg(result.archive.unreadable));
    }
    // The history was refilled either way; the archive failing alone is
    // still a failure the caller has to see.
    if (wanted && !result.archived)
        throw CtlError(ExitCode::Failure,
                       QStringLiteral("%1 was imported into the history but not into the archive: "
                                      "%2")
                           .arg(path, result.archiveError));
    return 0;
}

// Opens an archive that must exist already: a command that reads one never
// creates an empty SQLite file where a path was mistyped.
std::unique_ptr<Archive> OpenExistingArchive(const QString& location) {
    if (ArchiveIsOff(location))
        throw CtlError(ExitCode::Usage, QStringLiteral("The archive is switched off (\"off\")."));
    if (!Archive::IsPostgresLocation(location) && !QFileInfo(location).isFile())
        throw CtlError(ExitCode::FileError, QStringLiteral("No archive at %1").arg(location));
    QString error;
    std::unique_ptr<Archive> archive = Archive::Open(location, error);
    if (!archive)
        throw CtlError(ExitCode::Failure, QStringLiteral("Cannot open the archive: %1").arg(error));
    return archive;
}

int ArchiveInfoCommand(const Invocation& in, const SessionOptions& options, Console& console) {
    const std::unique_ptr<Archive> archive = OpenExistingArchive(ArchiveOption(in, options));
    ArchiveInfo info;
    if (!archive->Info(info))
        throw CtlError(ExitCode::Failure,
                       QStringLiteral("Cannot read the archive: %1").arg(archive->LastError()));
    if (console.Json()) {
        QJsonArray imports;
        for (const ArchiveImportInfo& row : info.imports) imports.append(ImportInfoJson(row));
        console.PrintJson(QJsonObject{{QStringLiteral("backend"), info.backend},
                                      {QStringLiteral("location"), info.location},
                                      {QStringLiteral("schemaVersion"), info.schemaVersion},
                                      {QStringLiteral("records"), qint64(info.records)},
                                      {QStringLiteral("unreadable"), qint64(info.unreadable)},
                                      {QStringLiteral("imports"), imports}});
        return 0;
    }
    // The graph window's provenance panel, as aligned columns.
    const ProvenanceTable table = DescribeProvenance(info, UiLanguage::English);
    console.Line(table.summary);
    if (table.rows.empty()) return 0;
    std::vector<qsizetype> widths;
    for (const QString& column : table.columns) widths.push_back(column.size());
    for (const QStringList& row : table.rows)
        for (qsizetype c = 0; c < row.size() && c < qsizetype(widths.size()); ++c)
            widths[std::size_t(c)] = std::max(widths[std::size_t(c)], row[c].size());
    auto line = [&](const QStringList& cells) {
        QString text;
        for (qsizetype c = 0; c < cells.size() && c < qsizetype(widths.size()); ++c)
            text += cells[c].leftJustified(widths[std::size_t(c)] + 2);
        console.Line(text.trimmed());
    };
    console.Line(QString());
    line(table.columns);
    for (const QStringList& row : table.rows) line(row);
    return 0;
}

int ArchiveCopyCommand(const Invocation& in, const SessionOptions& options, Console& console) {
    const QString to = in.Value("to");
    if (to.isEmpty()) Usage(QStringLiteral("archive copy needs --to LOCATION"));
    const QString from =
        in.values.value(QStringLiteral("from"), ArchiveLocationFor(options.dataFolder));
    if (from == to) Usage(QStringLiteral("--from and --to name the same archive"));
    if (ArchiveIsOff(to)) Usage(QStringLiteral("--to names no archive"));
    const std::unique_ptr<Archive> source = OpenExistingArchive(from);
    QString error;
    std::unique_ptr<Archive> target = Archive::Open(to, error);
    if (!target)
        throw CtlError(ExitCode::Failure,
                       QStringLiteral("Cannot open the archive to copy to: %1").arg(error));
    ArchiveCopySummary summary;
    if (!CopyArchive(*source, *target, error, &summary))
        throw CtlError(ExitCode::Failure, QStringLiteral("Nothing copied: %1").arg(error));
    if (console.Json())
        console.PrintJson(QJsonObject{{QStringLiteral("from"), source->Location()},
                                      {QStringLiteral("to"), target->Location()},
                                      {QStringLiteral("records"), qint64(summary.records)},
                                      {QStringLiteral("added"), qint64(summary.added)},
                                      {QStringLiteral("imports"), qint64(summary.imports)},
                                      {QStringLiteral("unreadable"), qint64(summary.unreadable)}});
    else
        console.Line(QStringLiteral("Copied %1 records from %2 to %3: %4 new, %5 imports, %6 "
                                    "unreadable lines")
                         .arg(summary.records)
                         .arg(source->Location(), target->Location())
                         .arg(summary.added)
                         .arg(summary.imports)
                         .arg(summary.unreadable));
    return 0;
}

// A date of the command line: "2026-03-10", "2026-03-10 14:30[:00]" or with
// a T. A bare date is the start of that day, or for the end of a span the
// end of it (the next midnight), so --from D --to D is the whole day D.
QDateTime ParseCommandDate(const QString& text, bool endOfSpan, const char* option) {
    const QString t = text.trimmed();
    for (const char* format :
         {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-ddTHH:mm"}) {
        QDateTime value = QDateTime::fromString(t, QLatin1String(format));
        if (value.isValid()) return value;
    }
    const QDate day = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        Usage(QStringLiteral("--%1 \"%2\" is no date (2026-03-10 or 2026-03-10 14:30)")
                  .arg(QLatin1String(option), text));
    return (endOfSpan ? day.addDays(1) : day).startOfDay();
}

// --quantity: a name of the graph window's list (or the start of one, any
// case), or its position 1..7; Temperature when not given.
int ParseQuantity(const QString& text) {
    if (text.isEmpty()) return 0;
    const QStringList names = GraphQuantityNames();
    bool number = false;
    const int position = text.toInt(&number);
    if (number && position >= 1 && position <= names.size()) return position - 1;
    int found = -1;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(text, Qt::CaseInsensitive) == 0) return int(i);
        if (!number && names[i].startsWith(text, Qt::CaseInsensitive))
            found = found == -1 ? int(i) : -2;
    }
    if (found < 0)
        Usage(QStringLiteral("unknown quantity \"%1\" (one of: %2)")
                  .arg(text, names.join(QStringLiteral(", "))));
    return found;
}

// --size WIDTHxHEIGHT of a --png chart; the graph window's opening size
// when not given.
QSize ParseImageSize(const QString& text) {
    if (text.isEmpty()) return {1100, 600};
    const QStringList parts = text.toLower().split(u'x');
    bool wide = false;
    bool high = false;
    const int width = parts.size() == 2 ? parts[0].toInt(&wide) : 0;
    const int height = parts.size() == 2 ? parts[1].toInt(&high) : 0;
    if (!wide || !high || width < 200 || height < 150 || width > 10000 || height > 10000)
        Usage(QStringLiteral("--size \"%1\" is no image size (e.g. 1100x600, from 200x150 to "
                             "10000x10000)")
                  .arg(text));
    return {width, height};
}

int Export(const Invocation& in, const SessionOptions& options, Console& console) {
    if (!in.values.contains(QStringLiteral("from")) || !in.values.contains(QStringLiteral("to")))
        Usage(QStringLiteral("export needs --from DATE and --to DATE"));
    const QSize imageSize = ParseImageSize(in.Value("size"));
    const QDateTime from = ParseCommandDate(in.Value("from"), false, "from");
    const QDateTime to = ParseCommandDate(in.Value("to"), true, "to");
    if (from > to) Usage(QStringLiteral("--from is after --to"));
    const int quantity = ParseQuantity(in.Value("quantity"));
    // The graph window's two sources: the last import, or the archive
    // (either backend).
    MemoryControlWindow messages;
    HistoryDatabase database(&messages);
    std::unique_ptr<Archive> archive;
    RecordSource* source = &database;
    QString where = QDir(options.dataFolder).filePath(QString::fromLatin1(kDatabaseFileName));
    if (in.values.contains(QStringLiteral("archive"))) {
        where = ArchiveOption(in, options);
        if (ArchiveIsOff(where))
            Usage(QStringLiteral("--archive off names no archive to export from"));
    }
    const bool postgres = Archive::IsPostgresLocation(where);
    if (!postgres && !QFileInfo(where).isFile())
        throw CtlError(ExitCode::FileError, QStringLiteral("No history at %1").arg(where));
    auto cannotRead = [&](const QString& why) {
        return CtlError(ExitCode::FileError,
                        QStringLiteral("Cannot read %1: %2").arg(where, why.simplified()));
    };
    if (in.values.contains(QStringLiteral("archive"))) {
        QString error;
        if (!(archive = Archive::Open(where, error))) throw cannotRead(error);
        source = archive.get();
    } else if (database.Open(where) != 0) {
        throw cannotRead(messages.Messages().join(u' '));
    }
    const UnitCaptions units;  // the axis captions; the values are as stored
    const double start = DaysFromDateTime(from);
    const double end = DaysFromDateTime(to);
    const QString csv = in.Value("csv");
    const QString png = in.Value("png");

    // Each output reads only what it needs: the CSV streams every reading to
    // the file, the chart reads the slice extremes of a chart as wide as the
    // image (or every reading of a short span), and only a plain export
    // holds the span's readings in memory to list them.
    GraphData data = GraphLayout(quantity, units);
    std::array<QString, kGraphSeries> names;
    for (std::size_t k = 0; k < kGraphSeries; ++k)
        names[k] = data.series[k].setsTitle ? data.series[k].title : data.series[k].column;
    bool counted = true;
    if (!csv.isEmpty()) {
        std::array<GraphSeriesTotals, kGraphSeries> totals;
        if (!WriteGraphCsv(*source, csv, from, to, quantity, units, names, &totals))
            throw CtlError(ExitCode::FileError, QStringLiteral("Cannot write %1").arg(csv));
        for (std::size_t k = 0; k < kGraphSeries; ++k) {
            data.series[k].count = totals[k].count;
            if (totals[k].count > 0) data.series[k].values = {totals[k].lowest, totals[k].highest};
        }
    }
    if (!png.isEmpty()) {
        const GraphData shown =
            RunGraphDetail(*source, start, end, quantity, units, imageSize.width());
        if (shown.failed) throw cannotRead(source->ReadError());
        if (!SavePng(DrawChart(shown, names, start, end, imageSize), png))
            throw CtlError(ExitCode::FileError, QStringLiteral("Cannot write %1").arg(png));
        if (csv.isEmpty()) {
            // The slices keep the exact extremes, but count only the rows.
            data = shown;
            counted = shown.exact;
        }
    }
    if (csv.isEmpty() && png.isEmpty()) {
        data = RunGraphSearch(*source, start, end, quantity, units);
        if (data.failed) throw cannotRead(source->ReadError());
    }

    auto lowest = [](const GraphSeriesData& s) {
        return *std::min_element(s.values.begin(), s.values.end());
    };
    auto highest = [](const GraphSeriesData& s) {
        return *std::max_element(s.values.begin(), s.values.end());
    };
    if (console.Json()) {
        // A file export reports counts; the points are in the file.
        const bool listPoints = csv.isEmpty() && png.isEmpty();
        QJsonArray series;
        for (std::size_t k = 0; k < kGraphSeries; ++k) {
            const GraphSeriesData& s = data.series[k];
            if (!s.used) continue;
            QJsonObject one{{QStringLiteral("name"), names[k]},
                            {QStringLiteral("column"), s.column}};
            if (counted) one.insert(QStringLiteral("count"), s.count);
            // As the log wrote them: the stored float's seven digits.
            auto logged = [](double v) { return QString::number(v, 'g', 7).toDouble(); };
            if (!s.values.empty()) {
                one.insert(QStringLiteral("lowest"), logged(lowest(s)));
                one.insert(QStringLiteral("highest"), logged(highest(s)));
            }
            if (listPoints) {
                QJsonArray points;
                for (std::size_t i = 0; i < s.times.size(); ++i)
                    points.append(QJsonArray{DateTimeFromDays(s.times[i])
                                                 .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                                             s.values[i]});
                one.insert(QStringLiteral("points"), points);
            }
            series.append(one);
        }
        QJsonObject result{{QStringLiteral("quantity"), GraphQuantityNames().value(quantity)},
                           {QStringLiteral("title"), data.chartTitle},
                           {QStringLiteral("from"), from.toString(Qt::ISODate)},
                           {QStringLiteral("to"), to.toString(Qt::ISODate)},
                           {QStringLiteral("series"), series}};
        if (!counted) result.insert(QStringLiteral("records"), qint64(data.rows));
        if (!csv.isEmpty()) result.insert(QStringLiteral("csv"), csv);
        if (!png.isEmpty()) result.insert(QStringLiteral("png"), png);
        console.PrintJson(result);
        return 0;
    }
    console.Line(QStringLiteral("%1, %2 to %3")
                     .arg(GraphQuantityNames().value(quantity),
                          from.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                          to.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));
    if (!counted) console.Line(QStringLiteral("%1 records in the span").arg(data.rows));
    for (std::size_t k = 0; k < kGraphSeries; ++k) {
        const GraphSeriesData& s = data.series[k];
        if (!s.used) continue;
        QString line = counted ? QStringLiteral("%1 %2 readings").arg(names[k], -24).arg(s.count, 6)
                               : QStringLiteral("%1").arg(names[k], -24);
        if (!s.values.empty())
            line += QStringLiteral("%1lowest %2, highest %3")
                        .arg(counted ? QStringLiteral(", ") : QStringLiteral(" "))
                        .arg(lowest(s))
                        .arg(highest(s));
        console.Line(line);
    }
    if (!csv.isEmpty()) console.Line(QStringLiteral("Written to %1").arg(csv));
    if (!png.isEmpty()) console.Line(QStringLiteral("Chart written to %1").arg(png));
    return 0;
}

// What the last sync imported into Orvane.mdb, so that a sync interrupted
// between a download and that import still imports next time.
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

// The local copies the archive holds already, as "station/name/sha256": the
// provenance table is the sync's memory, committed with the records, so a
// sync stopped anywhere never skips a file nor needs a state of its own.
QSet<QString> ArchivedCopies(const QString& location) {
    QString error;
    const std::unique_ptr<Archive> archive = Archive::Open(location, error);
    ArchiveInfo info;
    if (!archive || !archive->Info(info))
        throw CtlError(ExitCode::Failure, QStringLiteral("Cannot open the archive: %1")
                                              .arg(archive ? archive->LastError() : error));
    QSet<QString> copies;
    for (const ArchiveImportInfo& row : info.imports)
        copies.insert(row.station + u'/' + row.fileName + u'/' + row.sha256);
    return copies;
}

int Sync(StationSession& session, const Invocation& in, const SessionOptions& options,
         Console& console) {
    // The window's single-instance lock: while a sync holds it neither the
    // window nor a second sync talks to the station.
    SingleInstance lock;
    if (!lock.Acquire())
        throw CtlError(ExitCode::Busy, QStringLiteral("The station is in use by the Orvane window "
                                                      "or another sync; try again later."));
    const QString location = ArchiveOption(in, options);
    const bool archiving = !ArchiveIsOff(location);
    // Checked before the station is asked for anything: an archive that
    // cannot be opened is a reason not to start.
    QSet<QString> archived;
    if (archiving) archived = ArchivedCopies(location);
    QString station = ArchiveStationFor(options.dataFolder);
    if (station.isEmpty()) station = QString::fromLatin1(kDefaultArchiveStation);

    session.PrepareCard(options.dataFolder);
    session.Connect();
    session.ListCard();
    QStringList names = session.Card().FileNames();
    names.sort();  // the station names its logs by date

    // Each file is downloaded (resuming its local copy) and, when the
    // archive does not hold that copy yet, added to it in one transaction;
    // records it has already count as duplicates, so a grown file adds only
    // its new lines. A stop between files keeps every file done so far.
    QJsonArray files;
    qint64 added = 0;
    int archiveSteps = 0;
    for (const QString& name : names) {
        ThrowIfStopped();
        std::unique_ptr<Progress> shown;
        const qint64 received = session.DownloadFile(name, [&](qint64 done, qint64 total) {
            if (!shown && total > 0) shown = std::make_unique<Progress>(name, total);
            if (shown) shown->Update(done);
        });
        shown.reset();
        const QString path = session.Card().LocalPath();
        QJsonObject file{{QStringLiteral("name"), name},
                         {QStringLiteral("received"), received},
                         {QStringLiteral("size"), QFileInfo(path).size()}};
        if (!console.Json() && received > 0)
            console.Line(QStringLiteral("%1: %2 new bytes").arg(name).arg(received));
        ArchiveSource source;
        QString error;
        if (archiving && !DescribeArchiveSource(path, source, error))
            throw CtlError(ExitCode::FileError, error);
        if (archiving && !archived.contains(station + u'/' + name + u'/' + source.sha256)) {
            ThrowIfStopped();
            LogReader probe(path);
            if (probe.Open() == LogReader::Status::NotALog) {
                console.Note(
                    QStringLiteral("%1 is no station log; left out of the archive.").arg(name));
            } else {
                ArchiveImportInfo summary;
                const bool powerFails = PowerFailsDuring(options.simulatorFault,
                                                         QStringLiteral("archive"), ++archiveSteps);
                if (!ArchiveLogFile(path, location, station, summary, error, [&](int percent) {
                        if (powerFails && percent >= 50) CutPower();
                    }))
                    throw CtlError(ExitCode::Failure,
                                   QStringLiteral("%1 not archived: %2").arg(name, error));
                added += summary.added;
                file.insert(QStringLiteral("archived"), ImportInfoJson(summary));
                if (!console.Json())
                    console.Line(
                        QStringLiteral("%1: %2 records added to the archive (%3 already there)")
                            .arg(name)
                            .arg(summary.added)
                            .arg(summary.duplicates));
            }
        }
        files.append(file);
    }

    // Orvane.mdb stays what the window makes of a download: the newest log,
    // imported again only when it changed.
    QJsonValue imported;
    qint64 records = 0;
    if (!names.isEmpty()) {
        ThrowIfStopped();
        const QString newest = QDir(options.dataFolder).filePath(names.last());
        const qint64 size = QFileInfo(newest).size();
        SyncState state = LoadSyncState(options);
        if (state.importedFile != names.last() || state.importedSize != size) {
            records =
                ImportFile(newest, options, QString::fromLatin1(kArchiveOff),
                           PowerFailsDuring(options.simulatorFault, QStringLiteral("history")))
                    .records;
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
                                      {QStringLiteral("records"), records},
                                      {QStringLiteral("added"), added}});
    else if (imported.isNull() && added == 0)
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
        "  settings set FILE | NAME=VALUE...  change settings (shows the difference, asks)\n"
        "  backup [FILE]               the station's whole configuration to a settings file\n"
        "  restore FILE                a backup back onto the station (shows the difference, "
        "asks)\n"
        "  factory-reset [--backup FILE | --no-backup]  factory settings (asks, offers a backup)\n"
        "  clock sync                  set the station clock from this computer\n"
        "  sd list                     the files on the station's SD card\n"
        "  sd download NAME [--to DIR] copy a file (resumes a partial copy)\n"
        "  sd delete NAME              delete a file from the card (asks unless --yes)\n"
        "  import FILE [--archive LOC] replace the history with a log file, add it to the archive\n"
        "  archive info [--archive LOC]        where every archived record came from\n"
        "  archive copy --to LOC [--from LOC]  copy an archive (SQLite <-> PostgreSQL)\n"
        "  sync [--archive LOC]        download what is new on the card into the archive\n"
        "  export --from DATE --to DATE [--quantity Q] [--csv FILE] [--png FILE [--size WxH]]\n"
        "         [--archive LOC]\n"
        "                              the graph window's search (and its CSV) without a display\n"
        "\n"
        "  --simulate   use the built-in station simulator instead of the USB station\n"
        "  --json       print the result as JSON\n"
        "  --yes        answer every question with yes\n"
        "  --archive    an archive file or postgresql:// URL (\"off\": none); default the\n"
        "               data folder's Main.ini [Archive] Location, else Archive.sqlite\n");
}

int RunCommand(const Invocation& in, const SessionOptions& options, Console& console) {
    const QString command = in.words.value(0);
    const QString sub = in.words.value(1);
    auto expectWords = [&](qsizetype count) {
        if (in.words.size() != count)
            Usage(QStringLiteral("wrong number of operands for %1").arg(in.words.join(u' ')));
    };
    if (command == QLatin1String("import")) {
        expectWords(2);
        return Import(in, options, console);
    }
    if (command == QLatin1String("archive") && sub == QLatin1String("info")) {
        expectWords(2);
        return ArchiveInfoCommand(in, options, console);
    }
    if (command == QLatin1String("archive") && sub == QLatin1String("copy")) {
        expectWords(2);
        return ArchiveCopyCommand(in, options, console);
    }
    if (command == QLatin1String("export")) {
        expectWords(1);
        return Export(in, options, console);
    }
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
    if (command == QLatin1String("settings") && sub == QLatin1String("set"))
        return SettingsSet(session, in, console);
    if (command == QLatin1String("backup")) {
        if (in.words.size() > 2) expectWords(2);
        return Backup(session, in, console);
    }
    if (command == QLatin1String("restore")) {
        expectWords(2);
        return Restore(session, in, console);
    }
    if (command == QLatin1String("factory-reset")) {
        expectWords(1);
        return FactoryResetCommand(session, in, console);
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
    if (command == QLatin1String("sync")) {
        expectWords(1);
        return Sync(session, in, options, console);
    }
    if (command.isEmpty()) Usage(QStringLiteral("no command given"));
    Usage(QStringLiteral("unknown command \"%1\"").arg(in.words.join(u' ')));
}

}  // namespace orvane::ctl
