#pragma once

#include <QString>

namespace orvane {

// Integer reading of a typed or received text, as the C library's wcstol
// with base 10: leading white space, an optional sign, then digits up to
// the first other character. No digits reads 0 ("12.7" and "12abc" read 12,
// "-0.5" reads 0). Values beyond int saturate.
int ReadInteger(const QString& text);

// Decimal reading: leading white space, optional sign, digits with an
// optional point and fraction, optional exponent. The separator is always
// the point, whatever the locale. No number reads 0.0.
double ReadDecimal(const QString& text);

// Exactly the texts of printf's "%0.1f", "%0.2f" and "%d" in the C locale
// (ties resolved on the exact binary value, "-0.0" kept).
QString FormatFixed(double value, int decimals);
inline QString Format1(double value) {
    return FormatFixed(value, 1);
}
inline QString Format2(double value) {
    return FormatFixed(value, 2);
}
QString FormatInt(long long value);

// Character classes of station values: a text belongs to a class when every
// one of its characters is in the class's set; the empty text belongs.
namespace CharClass {
inline constexpr const char* kNumber = "-0123456789.";
inline constexpr const char* kTemperature = "-0123456789.CF";
inline constexpr const char* kPressure = "-0123456789.hapinHgmmHg";
inline constexpr const char* kWind = "-0123456789.km/hmphknotsm/sbft";
inline constexpr const char* kRain = "-0123456789.mminch";
inline constexpr const char* kClock = "-0123456789:";
}  // namespace CharClass

// Unit suffix sets stripped from received values for display.
namespace Suffix {
inline constexpr const char* kTemperature = "CF";
inline constexpr const char* kPressure = "hapinHgmmHg";
inline constexpr const char* kWind = "km/hmphknotsm/sbft";
inline constexpr const char* kRain = "mminch";
}  // namespace Suffix

bool BelongsToClass(const QString& text, const char* allowed);
// Removes the longest trailing run of characters that are in `set`.
QString StripTrailing(const QString& text, const char* set);

}  // namespace orvane
