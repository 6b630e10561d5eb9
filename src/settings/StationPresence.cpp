#include "StationPresence.h"

#include "SettingsControls.h"

namespace orvane {

namespace {

using namespace SettingsId;

constexpr int kReadingIds[] = {
    kNowTemperature, kNowHumidity,  kNowAbsPressure, kNowRelPressure, kNowWind,
    kNowGust,        kNowDewPoint,  kNowWindDirection, kNowRainRate,  kNowRainDay,
    kNowRainWeek,    kNowRainMonth, kNowRainYear,    kNowLight,       kNowUv,
    kNowUvIndex,     kNowBattery,   kNowTime};

constexpr int kStationCommands[] = {
    kRead,           kSaveAll,      kReset,         kMaxMin,          kSdCardFile,
    kSync,           kSaveDaylight, kSaveTimeZone,  kSaveCalibration, kSaveUnit,
    kSaveTelephone,  kSmsTest,      kSaveWebServer, kSaveGprs,        kSaveAlarm,
    kSaveLoggerInterval, kSaveSendCurrent};

constexpr int kCurrentWeatherString = 172;
constexpr int kStaleSinceString = 405;
constexpr int kNoReadingString = 406;

}  // namespace

StationPresence::StationPresence(ControlWindow& window, const Clock& clock, UiLanguage language)
    : m_window(window), m_clock(clock), m_language(language) {}

void StationPresence::ReadingsShown() {
    std::lock_guard lock(m_mutex);
    m_lastReading = m_clock.LocalNow();
}

void StationPresence::Update(bool attached) {
    const std::optional<bool> before = m_attached;
    m_attached = attached;
    if (!attached)
        MarkAbsent();
    else if (before == false)
        MarkPresent();
}

void StationPresence::MarkAbsent() {
    QDateTime last;
    {
        std::lock_guard lock(m_mutex);
        last = m_lastReading;
    }
    const QString caption =
        last.isValid() ? LoadString(kStaleSinceString, m_language)
                             .arg(last.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")))
                       : LoadString(kNoReadingString, m_language);
    m_window.SetText(kCurrentWeatherGroup,
                     LoadString(kCurrentWeatherString, m_language) + QStringLiteral(" - ") + caption);
    for (int id : kReadingIds) m_window.SetEnabled(id, false);
    for (int id : kStationCommands) m_window.SetEnabled(id, false);
}

void StationPresence::MarkPresent() {
    m_window.SetText(kCurrentWeatherGroup, LoadString(kCurrentWeatherString, m_language));
    for (int id : kReadingIds) m_window.SetEnabled(id, true);
    for (int id : kStationCommands) m_window.SetEnabled(id, true);
}

}  // namespace orvane
