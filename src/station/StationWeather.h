#pragma once

#include <QDate>
#include <QDateTime>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "StationModel.h"

namespace orvane {

// The station's weather as a deterministic function of a seed and the local
// time: seasonal and daily temperature cycles, fronts, rain showers, sun.
// Values are uncalibrated, in base units. Pure; safe on any thread.
class StationWeather {
public:
    explicit StationWeather(std::uint32_t seed) : m_seed(seed) {}

    StationReadings At(const QDateTime& localTime) const;
    // Rain that fell in the minutes (from, to] of one day, in mm.
    double RainBetween(const QDate& day, int fromMinute, int toMinute) const;
    // Whether the outdoor sensor was out of reach at this time.
    bool OutdoorLost(const QDateTime& localTime) const;
    // Whether the light sensor gave no value for this record.
    bool LightLost(const QDateTime& localTime) const;

    // A number in [0, 1) for (stream, index): the seed's dice.
    double Unit(std::uint64_t stream, std::int64_t index) const;

private:
    double Signed(std::uint64_t stream, std::int64_t index) const {
        return Unit(stream, index) * 2.0 - 1.0;
    }
    double Smooth(std::uint64_t stream, double position) const;
    struct Shower {
        int startMinute = 0;
        int endMinute = 0;
        double rate = 0.0;  // mm per hour
    };
    Shower ShowerOf(const QDate& day) const;
    double DayTotal(const QDate& day) const;
    // Rain of the days [from, to), from at most one year before `to`.
    double RainOfDays(const QDate& from, const QDate& to) const;
    // Rain of the days of a year before the given day of that year.
    double RainOfYearBefore(const QDate& day) const;

    std::uint32_t m_seed;
    // Running rain totals per year, filled on first use.
    mutable std::mutex m_cacheMutex;
    mutable std::map<int, std::vector<double>> m_yearRain;
};

}  // namespace orvane
