#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>

#include "Readings.h"

using namespace orvane;

namespace {
QString Printf(const char* format, double value) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    return QString::fromLatin1(buffer);
}
}  // namespace

TEST(Readings, IntegerReadingStopsAtFirstNonDigit) {
    EXPECT_EQ(ReadInteger("12.7"), 12);
    EXPECT_EQ(ReadInteger("12abc"), 12);
    EXPECT_EQ(ReadInteger("-0.5"), 0);
    EXPECT_EQ(ReadInteger(""), 0);
    EXPECT_EQ(ReadInteger(" 7"), 7);
    EXPECT_EQ(ReadInteger("\t-42x"), -42);
    EXPECT_EQ(ReadInteger("+5"), 5);
    EXPECT_EQ(ReadInteger("abc12"), 0);
    EXPECT_EQ(ReadInteger("- 3"), 0);
}

TEST(Readings, IntegerReadingSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(ReadInteger("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ReadInteger("-99999999999999999999"), INT_MIN);
}

TEST(Readings, DecimalReadingTakesTheLeadingNumberOnly) {
    EXPECT_DOUBLE_EQ(ReadDecimal("12.7"), 12.7);
    EXPECT_DOUBLE_EQ(ReadDecimal("12abc"), 12.0);
    EXPECT_DOUBLE_EQ(ReadDecimal("-0.5"), -0.5);
    EXPECT_DOUBLE_EQ(ReadDecimal(""), 0.0);
    EXPECT_DOUBLE_EQ(ReadDecimal(" 7"), 7.0);
    EXPECT_DOUBLE_EQ(ReadDecimal(".5"), 0.5);
    EXPECT_DOUBLE_EQ(ReadDecimal("5."), 5.0);
    EXPECT_DOUBLE_EQ(ReadDecimal("1.5e2"), 150.0);
    EXPECT_DOUBLE_EQ(ReadDecimal("1.5E-1km"), 0.15);
    EXPECT_DOUBLE_EQ(ReadDecimal("2e"), 2.0);
    EXPECT_DOUBLE_EQ(ReadDecimal("2e+"), 2.0);
    EXPECT_DOUBLE_EQ(ReadDecimal("."), 0.0);
    EXPECT_DOUBLE_EQ(ReadDecimal("-"), 0.0);
    EXPECT_DOUBLE_EQ(ReadDecimal("1,5"), 1.0);
    EXPECT_TRUE(std::isinf(ReadDecimal("1e999")));
    EXPECT_DOUBLE_EQ(ReadDecimal("1e-999"), 0.0);
}

TEST(Readings, DecimalReadingIgnoresTheProcessLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale";
    EXPECT_DOUBLE_EQ(ReadDecimal("12.5"), 12.5);
    EXPECT_EQ(Format1(12.25), "12.2");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Readings, FixedFormatsMatchTheCLibraryOnTiesAndSigns) {
    std::setlocale(LC_NUMERIC, "C");
    const double values[] = {0.05,   0.15,  0.25,    0.35,   1.005,  2.675, -0.04, -0.0,
                             0.0,    -0.05, 12.25,   12.35,  1e15,   -1e-9, 0.125, 0.375,
                             999.95, 33.95, 600.015, 23.625, -17.78, 1e300};
    for (double v : values) {
        EXPECT_EQ(Format1(v), Printf("%0.1f", v)) << v;
        EXPECT_EQ(Format2(v), Printf("%0.2f", v)) << v;
    }
    EXPECT_EQ(Format1(-0.0), "-0.0");
    EXPECT_EQ(Format1(-0.04), "-0.0");
    EXPECT_EQ(Format2(0.125), "0.12");
    EXPECT_EQ(FormatInt(-7), "-7");
}

TEST(Readings, CharacterClassesAcceptOnlyTheirCharacters) {
    EXPECT_TRUE(BelongsToClass("", CharClass::kNumber));
    EXPECT_TRUE(BelongsToClass("-12.5", CharClass::kNumber));
    EXPECT_FALSE(BelongsToClass("1.5X", CharClass::kNumber));
    EXPECT_TRUE(BelongsToClass("23.4C", CharClass::kTemperature));
    EXPECT_TRUE(BelongsToClass("29.92inHg", CharClass::kPressure));
    EXPECT_TRUE(BelongsToClass("10.0km/h", CharClass::kWind));
    EXPECT_FALSE(BelongsToClass("10.0km/h ", CharClass::kWind));
    EXPECT_TRUE(BelongsToClass("3:2:02", CharClass::kClock));
    EXPECT_FALSE(BelongsToClass(QString::fromUtf16(u"1\u00b0"), CharClass::kNumber));
}

TEST(Readings, SuffixStrippingRemovesTheLongestTrailingRun) {
    EXPECT_EQ(StripTrailing("12.5km/h", Suffix::kWind), "12.5");
    EXPECT_EQ(StripTrailing("3.0knots", Suffix::kWind), "3.0");
    EXPECT_EQ(StripTrailing("23.4C", Suffix::kTemperature), "23.4");
    EXPECT_EQ(StripTrailing("1013.2hpa", Suffix::kPressure), "1013.2");
    EXPECT_EQ(StripTrailing("0.39inch", Suffix::kRain), "0.39");
    EXPECT_EQ(StripTrailing("CF", Suffix::kTemperature), "");
    EXPECT_EQ(StripTrailing("", Suffix::kRain), "");
}
