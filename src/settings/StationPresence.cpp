#include "StationPresence.h"

#include "SettingsControls.h"

namespace orvane {

namespace {

using namespace SettingsId;

constexpr int kReadingIds[] = {kNowTemperature, kNowHumidity, kNowAbsPressure, kNowRelPressure,
                               kNowWind,        kNowGust,     kNowDewPoint,    kNowWindDirection,
                               kNowRainRate,    kNowRainDay,  kNowRainWeek,    kNowRainMonth,
                               kNowRainYear,    kNowLight,    kNowUv,          kNowUvIndex,
                               kNowBattery,     kNowTime};

// Every button that sends a request to the station.
constexpr int kStationCommands[] = {kRead,
                                    kSaveAll,
                                    kReset,
                                    kMaxMin,
                                    kSdCardFile,
                                    kSync,
                                    kSaveDaylight,
                                    kSaveTimeZone,
                                    kSaveCalibration,
                                    kSaveUnit,
                                    kSaveTelephone,
                                    kSmsTest,
                                    kSaveWebServer,
                                    kSaveGprs,
                                    kSaveAlarm,
                                    kSaveLoggerInterval,
                                    kSaveSendCurrent};

constexpr int kCurrentWeatherString = 172;
constexpr int kUnpluggedSinceString = 405;
constexpr int kUnpluggedNoReadingString = 406;
constexpr int kStaleSinceString = 407;

QString TimeText(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

}  // namespace

StationPresence::StationPresence(ControlWindow& window, const Clock& clock, UiLanguage language)
    : m_window(window), m_clock(clock), m_language(language) {}

void StationPresence::ReadingsShown() {
    const QDateTime now = m_clock.LocalNow();
    std::lock_guard lock(m_mutex);
    m_lastReading = now;
    ++m_readings;
}

QString StationPresence::Caption(bool attached, bool stale, const QDateTime& lastReading) const {
    QString plain = LoadString(kCurrentWeatherString, m_language);
    if (!stale) return plain;
    QString mark;
    if (!attached)
        mark = lastReading.isValid()
                   ? LoadString(kUnpluggedSinceString, m_language).arg(TimeText(lastReading))
                   : LoadString(kUnpluggedNoReadingString, m_language);
    else if (lastReading.isValid())
        mark = LoadString(kStaleSinceString, m_language).arg(TimeText(lastReading));
    else
        return plain;  // nothing shown yet, so nothing to mark
    return plain + QStringLiteral(" - ") + mark;
}

void StationPresence::Update(bool attached) {
    QDateTime lastReading;
    unsigned readings = 0;
    {
        std::lock_guard lock(m_mutex);
        lastReading = m_lastReading;
        readings = m_readings;
    }
    const std::optional<bool> before = m_attached;
    m_attached = attached;

    // A reading that arrives while the station is absent (still in flight
    // when it went) is no fresher than the ones it replaces.
    if (!attached) {
        m_stale = true;
        m_readingsWhenAbsent = readings;
    } else if (m_stale && readings != m_readingsWhenAbsent) {
        m_stale = false;
    }

    if (!attached)
        for (int id : kStationCommands) m_window.SetEnabled(id, false);
    else if (before == false)
        for (int id : kStationCommands) m_window.SetEnabled(id, true);

    if (m_readingsEnabled != !m_stale) {
        m_readingsEnabled = !m_stale;
        for (int id : kReadingIds) m_window.SetEnabled(id, !m_stale);
    }
    const QString caption = Caption(attached, m_stale, lastReading);
    if (m_caption != caption) {
        m_caption = caption;
        m_window.SetText(kCurrentWeatherGroup, caption);
    }
}

}  // namespace orvane
