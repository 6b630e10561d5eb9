#include "SettingNames.h"

#include <QStringList>

namespace orvane::ctl {

namespace {

constexpr SettingName kNames[StationSettings::kFieldCount] = {
    {"temperature-unit", "Temperature unit"},
    {"light-unit", "Light unit"},
    {"wind-unit", "Wind unit"},
    {"rain-unit", "Rain unit"},
    {"pressure-unit", "Pressure unit"},
    {"wind-direction-offset", "Wind direction offset"},
    {"temperature-offset", "Temperature offset"},
    {"humidity-offset", "Humidity offset"},
    {"wind-factor", "Wind factor"},
    {"rain-factor", "Rain factor"},
    {"light-factor", "Light factor"},
    {"uv-factor", "UV factor"},
    {"abs-pressure-offset", "Absolute pressure offset"},
    {"rel-pressure-offset", "Relative pressure offset"},
    {"time-zone", "Time zone"},
    {"alarm-sms-interval", "Alarm SMS interval"},
    {"send-current-interval", "Send current interval"},
    {"logger-interval", "Logger interval"},
    {"upload-interval", "Upload interval"},
    {"sms-check-interval", "Receive SMS interval"},
    {"telephone-1", "Telephone 1"},
    {"telephone-2", "Telephone 2"},
    {"telephone-3", "Telephone 3"},
    {"dst", "Daylight saving"},
    {"dst-start", "Daylight saving start"},
    {"dst-end", "Daylight saving end"},
    {"web-host", "Web host"},
    {"web-id", "Web ID"},
    {"web-password", "Web password"},
    {"server-type", "Server type"},
    {"upload-type", "Upload type"},
    {"server-port", "Server port"},
    {"gprs-apn", "GPRS APN"},
    {"gprs-user", "GPRS user"},
    {"gprs-password", "GPRS password"},
    {"high-temperature", "High temperature alarm"},
    {"high-dew-point", "High dew point alarm"},
    {"high-humidity", "High humidity alarm"},
    {"high-wind", "High wind alarm"},
    {"high-gust", "High gust alarm"},
    {"high-rain-rate", "High rain rate alarm"},
    {"high-daily-rain", "High daily rain alarm"},
    {"low-temperature", "Low temperature alarm"},
    {"low-dew-point", "Low dew point alarm"},
    {"low-humidity", "Low humidity alarm"},
    {"low-temperature-switch", "Low temperature alarm switch"},
    {"low-dew-point-switch", "Low dew point alarm switch"},
    {"low-humidity-switch", "Low humidity alarm switch"},
    {"high-temperature-switch", "High temperature alarm switch"},
    {"high-dew-point-switch", "High dew point alarm switch"},
    {"high-humidity-switch", "High humidity alarm switch"},
    {"high-wind-switch", "High wind alarm switch"},
    {"high-gust-switch", "High gust alarm switch"},
    {"high-rain-rate-switch", "High rain rate alarm switch"},
    {"high-daily-rain-switch", "High daily rain alarm switch"},
    {"alarm-all", "All alarms (0 on, 1 off)"},
    {"sms-test-id", "SMS test ID"},
};

}  // namespace

const SettingName& SettingNameOf(int number) {
    return kNames[number - 1];
}

std::optional<int> SettingNumber(const QString& name) {
    for (int i = 0; i < StationSettings::kFieldCount; ++i)
        if (name.compare(QLatin1String(kNames[i].name), Qt::CaseInsensitive) == 0) return i + 1;
    return std::nullopt;
}

QString ShownValue(const StationSettings& settings, int number) {
    if (settings.hasSearchedValues) {
        if (number == 29) return settings.searchedWebPassword;
        if (number == 35) return settings.searchedGprsPassword;
        if (number == 57) return settings.searchedSmsTestId;
    }
    return settings.Field(number);
}

QString SettingsFileText(const StationSettings& settings) {
    QString text = QStringLiteral("# Orvane station settings, values in the station's units\n");
    for (int n = 1; n <= StationSettings::kFieldCount; ++n)
        text += QLatin1String(kNames[n - 1].name) + u'=' + ShownValue(settings, n) + u'\n';
    return text;
}

std::optional<QList<SettingsFileLine>> ParseSettingsFile(const QString& text, QString& error) {
    QList<SettingsFileLine> lines;
    const QStringList rows = text.split(u'\n');
    for (int i = 0; i < rows.size(); ++i) {
        QString row = rows[i];
        if (row.endsWith(u'\r')) row.chop(1);
        const QString trimmed = row.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#') || trimmed.startsWith(u';') ||
            (trimmed.startsWith(u'[') && trimmed.endsWith(u']')))
            continue;
        const qsizetype eq = row.indexOf(u'=');
        if (eq <= 0) {
            error = QStringLiteral("line %1 is not name=value: %2").arg(i + 1).arg(trimmed);
            return std::nullopt;
        }
        const QString name = row.left(eq).trimmed();
        const std::optional<int> number = SettingNumber(name);
        if (!number) {
            error = QStringLiteral("line %1: unknown setting \"%2\"").arg(i + 1).arg(name);
            return std::nullopt;
        }
        // The value is kept as written: a password may begin or end with blanks.
        lines.append({*number, row.mid(eq + 1)});
    }
    return lines;
}

}  // namespace orvane::ctl
