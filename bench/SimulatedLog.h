#pragma once

#include <sqlite3.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cmath>
#include <cstdio>
#include <random>

// Simulated station data for the benchmarks and the screenshot: one record
// a minute from 2013-01-01 00:00, with a seasonal and a daily temperature
// swing, a dew point below it, and now and then a missing reading.
namespace simulated {

struct Weather {
    double temperature;
    double dewPoint;
    int humidity;
};

inline Weather At(long minute, std::mt19937& random) {
    const double day = static_cast<double>(minute) / 1440.0;
    const double season = -std::cos(2 * M_PI * (day - 15) / 365.0);  // coldest mid-January
    const double daily = -std::cos(2 * M_PI * (day - std::floor(day) - 0.125));  // coldest at 3:00
    std::normal_distribution<double> noise(0.0, 0.6);
    const double t = 11.0 + 12.0 * season + 5.0 * daily + noise(random);
    const double spread = 4.0 + 3.0 * (daily + 1) + noise(random);
    return {t, t - spread, static_cast<int>(std::lround(std::clamp(95 - spread * 5, 15.0, 99.0)))};
}

// Writes a log file of `lines` record lines (plus the header) in the
// station's format, the first at minute `first` (record number first + 1).
inline bool WriteLog(const QString& path, long lines, long first = 0) {
    FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!f) return false;
    std::fputs(
        "No,Time,Temp(\xb0"
        "C),Humi(%),AbsPress(hPa),RelPress(hPa),Wind(m/s),Gust(m/s),"
        "DewPoint(\xb0"
        "C),WindDir,Rain(mm),DayRain(mm),WeekRain(mm),MonthRain(mm),YearRain(mm),"
        "Light(lux),Extra,UVI\r\n",
        f);
    std::mt19937 random(7);
    for (long i = first; i < first + lines; ++i) {
        const Weather w = At(i, random);
        const long dayIndex = i / 1440;
        const int y = 2013 + static_cast<int>(dayIndex / 365);
        const int doy = static_cast<int>(dayIndex % 365);
        static const int kMonthStart[] = {0,   31,  59,  90,  120, 151, 181,
                                          212, 243, 273, 304, 334, 365};
        int m = 0;
        while (doy >= kMonthStart[m + 1]) ++m;
        const int d = doy - kMonthStart[m] + 1;
        const int hh = static_cast<int>((i % 1440) / 60), mm = static_cast<int>(i % 60);
        char temp[16];
        if (i % 997 == 0)
            std::snprintf(temp, sizeof temp, "-");
        else
            std::snprintf(temp, sizeof temp, "%.1f", w.temperature);
        std::fprintf(f,
                     "%ld,%d-%02d-%02d %d:%02d:00,%s,%d,1003.%ld,1013.%ld,%.1f,%.1f,%.1f,%ld,0.0,"
                     "%.1f,%.1f,%.1f,%.1f,%ld,0,%ld\r\n",
                     i + 1, y, m + 1, d, hh, mm, temp, w.humidity, i % 10, i % 7, 1.5, 3.2,
                     w.dewPoint, (i * 7) % 360, 0.3, 1.2, 5.5, 120.4, (i * 13) % 20000, i % 12);
    }
    return std::fclose(f) == 0;
}

// Creates an empty history database from the shipped schema.
inline bool MakeDatabase(const QString& path) {
    QFile::remove(path);
    QFile schema(QStringLiteral(ORVANE_SCHEMA_FILE));
    if (!schema.open(QIODevice::ReadOnly)) return false;
    sqlite3* db = nullptr;
    bool ok =
        sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
        sqlite3_exec(db, schema.readAll().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

}  // namespace simulated
