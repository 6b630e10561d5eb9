#include "StationWeather.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvane {

namespace {

const QDate kEpoch(2000, 1, 1);

std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

enum Stream : std::uint64_t {
    kTemperatureDay = 1,
    kAmplitude,
    kHumidity,
    kPressure,
    kWind,
    kWindDirection,
    kGust,
    kShowerChance,
    kShowerStart,
    kShowerLength,
    kShowerRate,
    kClouds,
    kOutdoorLost,
    kLightLost,
    kJitter,
};

}  // namespace

double StationWeather::Unit(std::uint64_t stream, std::int64_t index) const {
    const std::uint64_t h = Mix(Mix(m_seed ^ (stream << 40)) ^ static_cast<std::uint64_t>(index));
    return static_cast<double>(h >> 11) / static_cast<double>(1ull << 53);
}

double StationWeather::Smooth(std::uint64_t stream, double position) const {
    const double base = std::floor(position);
    const double f = position - base;
    const double w = (1.0 - std::cos(f * std::numbers::pi)) / 2.0;
    const auto i = static_cast<std::int64_t>(base);
    return Signed(stream, i) * (1.0 - w) + Signed(stream, i + 1) * w;
}

StationWeather::Shower StationWeather::ShowerOf(const QDate& day) const {
    const std::int64_t d = kEpoch.daysTo(day);
    Shower shower;
    if (Unit(kShowerChance, d) >= 0.25) return shower;
    shower.startMinute = static_cast<int>(Unit(kShowerStart, d) * 20 * 60);
    shower.endMinute =
        std::min(24 * 60, shower.startMinute + 30 + static_cast<int>(Unit(kShowerLength, d) * 330));
    shower.rate = 0.3 + Unit(kShowerRate, d) * 3.2;
    return shower;
}

double StationWeather::RainBetween(const QDate& day, int fromMinute, int toMinute) const {
    const Shower shower = ShowerOf(day);
    const int overlap =
        std::min(toMinute, shower.endMinute) - std::max(fromMinute, shower.startMinute);
    return overlap > 0 ? shower.rate * overlap / 60.0 : 0.0;
}

double StationWeather::DayTotal(const QDate& day) const {
    return RainBetween(day, 0, 24 * 60);
}

double StationWeather::RainOfYearBefore(const QDate& day) const {
    std::lock_guard lock(m_cacheMutex);
    auto it = m_yearRain.find(day.year());
    if (it == m_yearRain.end()) {
        std::vector<double> running{0.0};
        for (QDate d(day.year(), 1, 1); d.year() == day.year(); d = d.addDays(1))
            running.push_back(running.back() + DayTotal(d));
        it = m_yearRain.emplace(day.year(), std::move(running)).first;
    }
    return it->second[day.dayOfYear() - 1];
}

double StationWeather::RainOfDays(const QDate& from, const QDate& to) const {
    if (from >= to) return 0.0;
    if (from.year() == to.year()) return RainOfYearBefore(to) - RainOfYearBefore(from);
    const QDate lastDay(from.year(), 12, 31);
    return RainOfYearBefore(lastDay) + DayTotal(lastDay) - RainOfYearBefore(from) +
           RainOfYearBefore(to);
}

bool StationWeather::OutdoorLost(const QDateTime& localTime) const {
    const std::int64_t hour = kEpoch.daysTo(localTime.date()) * 24 + localTime.time().hour();
    return Unit(kOutdoorLost, hour) < 0.012;
}

bool StationWeather::LightLost(const QDateTime& localTime) const {
    const std::int64_t minute =
        kEpoch.daysTo(localTime.date()) * 1440 + localTime.time().msecsSinceStartOfDay() / 60000;
    return Unit(kLightLost, minute) < 0.004;
}

StationReadings StationWeather::At(const QDateTime& localTime) const {
    const QDate date = localTime.date();
    const int minuteOfDay = localTime.time().msecsSinceStartOfDay() / 60000;
    const std::int64_t dayIndex = kEpoch.daysTo(date);
    const double days = static_cast<double>(dayIndex) + minuteOfDay / 1440.0;
    const double hour = minuteOfDay / 60.0;
    const int doy = date.dayOfYear();
    const double season =
        -std::cos(2.0 * std::numbers::pi * (doy - 15) / 365.25);  // -1 mid-January
    const std::int64_t minuteIndex = dayIndex * 1440 + minuteOfDay;

    StationReadings r;
    const double mean = 9.0 + 10.0 * season + 5.0 * Smooth(kTemperatureDay, days / 2.0);
    const double amplitude = 4.0 + 2.0 * Smooth(kAmplitude, days);
    const double diurnal = std::cos(2.0 * std::numbers::pi * (hour - 15.0) / 24.0);
    r.temperature = mean + amplitude * diurnal + 0.3 * Signed(kJitter, minuteIndex);

    const Shower shower = ShowerOf(date);
    const bool raining = minuteOfDay >= shower.startMinute && minuteOfDay < shower.endMinute;
    double humidity = 76.0 - 3.0 * amplitude * diurnal + 10.0 * Smooth(kHumidity, days * 2.0) +
                      (raining ? 15.0 : 0.0);
    r.humidity = static_cast<int>(std::lround(std::clamp(humidity, 18.0, 99.0)));
    const double a = 17.62, b = 243.12;
    const double gamma = std::log(r.humidity / 100.0) + a * r.temperature / (b + r.temperature);
    r.dewPoint = b * gamma / (a - gamma);

    r.absPressure =
        1001.0 + 14.0 * Smooth(kPressure, days / 3.0) + 3.0 * Smooth(kPressure + 100, days);
    r.relPressure = r.absPressure;

    r.wind = std::max(
        0.0, 3.2 + 2.8 * Smooth(kWind, days * 3.0) + 0.8 * Signed(kJitter + 1, minuteIndex / 5));
    r.gust = r.wind * (1.3 + 0.4 * Unit(kGust, minuteIndex / 5)) + 0.4;
    const double direction =
        230.0 + 80.0 * Smooth(kWindDirection, days * 2.0) + 20.0 * Signed(kJitter + 2, minuteIndex);
    r.windDirection = (static_cast<int>(std::lround(direction)) % 360 + 360) % 360;

    r.rainRate = raining ? shower.rate : 0.0;
    r.rainDay = RainBetween(date, 0, minuteOfDay);
    const QDate weekStart = date.addDays(1 - date.dayOfWeek());
    r.rainWeek = RainOfDays(weekStart, date);
    r.rainMonth = RainOfDays(QDate(date.year(), date.month(), 1), date);
    r.rainYear = RainOfYearBefore(date);
    r.rainWeek += r.rainDay;
    r.rainMonth += r.rainDay;
    r.rainYear += r.rainDay;

    const double dayLength = 12.0 + 4.0 * std::sin(2.0 * std::numbers::pi * (doy - 80) / 365.25);
    const double sunrise = 12.5 - dayLength / 2.0;
    double sun = 0.0;
    if (hour > sunrise && hour < sunrise + dayLength)
        sun = std::sin(std::numbers::pi * (hour - sunrise) / dayLength);
    const double height = 0.55 + 0.45 * (season + 1.0) / 2.0;
    const double clouds = raining ? 0.15 : 0.35 + 0.65 * (Smooth(kClouds, days * 4.0) + 1.0) / 2.0;
    r.light = std::round(110000.0 * std::pow(sun, 1.3) * height * clouds);
    r.uvIndex = static_cast<int>(std::lround(r.light / 10000.0 * height));
    r.uv = static_cast<int>(std::lround(r.light / 110000.0 * 2500.0 * height));
    r.battery = 3.30 + 0.01 * std::floor(Unit(kJitter + 3, 0) * 40.0);
    return r;
}

}  // namespace orvane
