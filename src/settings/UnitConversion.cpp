#include "UnitConversion.h"

#include <array>

#include "Readings.h"

namespace orvane {

namespace {

constexpr double kKmhPerMs = 3.6;
constexpr double kMphPerMs = 2.236936;
constexpr double kKnotsPerMs = 1.943844;
constexpr double kInchPerMm = 0.03937;
constexpr double kHpaPerMmHg = 1.3333;
constexpr double kHpaPerInHg = 33.8638;

// Lower bounds of the Beaufort bands in tenths of m/s, force 1 to 12.
constexpr std::array<int, 12> kBeaufortTenths = {3,   15,  34,  54,  79,  107,
                                                 138, 171, 207, 244, 284, 326};

}  // namespace

QString TemperatureToBase(const QString& text, int from) {
    const double x = ReadDecimal(text);
    return Format1(from == 1 ? (x - 32) / 1.8 : x);
}

QString TemperatureFromBase(const QString& base, int to) {
    const double x = ReadDecimal(base);
    return Format1(to == 0 ? x : x * 1.8 + 32);
}

QString TemperatureOffsetToBase(const QString& text, int from) {
    const double x = ReadDecimal(text);
    return Format1(from == 1 ? x / 1.8 : x);
}

QString TemperatureOffsetFromBase(const QString& base, int to) {
    const double x = ReadDecimal(base);
    return Format1(to == 0 ? x : x * 1.8);
}

QString WindToBase(const QString& text, int from) {
    const double x = ReadDecimal(text);
    switch (from) {
        case 0:
            return Format1(x / kKmhPerMs);
        case 1:
            return Format1(x / kMphPerMs);
        case 2:
            return Format1(x / kKnotsPerMs);
        case 4:
            return BeaufortToSpeed(text);
        default:
            return Format1(x);
    }
}

QString WindFromBase(const QString& base, int to) {
    const double x = ReadDecimal(base);
    switch (to) {
        case 0:
            return Format1(x * kKmhPerMs);
        case 1:
            return Format1(x * kMphPerMs);
        case 2:
            return Format1(x * kKnotsPerMs);
        case 3:
            return Format1(x);
        case 4:
            return SpeedToBeaufort(x);
        default:
            return base;
    }
}

QString RainToBase(const QString& text, int from) {
    const double x = ReadDecimal(text);
    return Format1(from == 1 ? x / kInchPerMm : x);
}

QString RainFromBase(const QString& base, int to) {
    const double x = ReadDecimal(base);
    return to == 0 ? Format1(x) : Format2(x * kInchPerMm);
}

QString PressureToBase(const QString& text, int from) {
    const double x = ReadDecimal(text);
    switch (from) {
        case 0:
            return Format1(x);
        case 2:
            return Format1(x * kHpaPerInHg);
        default:
            return Format1(x * kHpaPerMmHg);
    }
}

QString PressureFromBase(const QString& base, int to) {
    const double x = ReadDecimal(base);
    switch (to) {
        case 0:
            return Format1(x);
        case 1:
            return Format2(x / kHpaPerMmHg);
        default:
            return Format2(x / kHpaPerInHg);
    }
}

QString BeaufortToSpeed(const QString& force) {
    static const std::array<const char*, 12> kSpeeds = {
        "0", "0.3", "1.5", "3.4", "5.4", "7.9", "10.7", "13.8", "17.1", "20.7", "24.4", "28.4"};
    const int n = ReadInteger(force);
    if (n < 0 || n >= int(kSpeeds.size())) return QStringLiteral("32.6");
    return QString::fromLatin1(kSpeeds[size_t(n)]);
}

QString SpeedToBeaufort(double metresPerSecond) {
    const double tenths = metresPerSecond * 10;
    for (size_t n = 0; n < kBeaufortTenths.size(); ++n)
        if (tenths < kBeaufortTenths[n]) return FormatInt(static_cast<long long>(n));
    return QStringLiteral("12");
}

QString ConvertTemperature(const QString& text, int from, int to) {
    return TemperatureFromBase(TemperatureToBase(text, from), to);
}

QString ConvertTemperatureOffset(const QString& text, int from, int to) {
    return TemperatureOffsetFromBase(TemperatureOffsetToBase(text, from), to);
}

QString ConvertWind(const QString& text, int from, int to) {
    return WindFromBase(WindToBase(text, from), to);
}

QString ConvertRain(const QString& text, int from, int to) {
    return RainFromBase(RainToBase(text, from), to);
}

QString ConvertPressure(const QString& text, int from, int to) {
    return PressureFromBase(PressureToBase(text, from), to);
}

}  // namespace orvane
