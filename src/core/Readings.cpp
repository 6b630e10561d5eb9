#include "Readings.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

namespace orvane {

namespace {

bool IsSpace(QChar c) {
    // The white space that wcstol/wcstod skip in the C locale.
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool InSet(QChar c, const char* set) {
    return c.unicode() < 128 && c.unicode() != 0 && std::strchr(set, char(c.unicode())) != nullptr;
}

}  // namespace

int ReadInteger(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < n && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > (long long)INT_MAX + 1) value = (long long)INT_MAX + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return int(value);
}

double ReadDecimal(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsSpace(text[i])) ++i;
    std::string number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) number += char(text[i++].unicode());
    qsizetype digits = 0;
    while (i < n && IsDigit(text[i])) {
        number += char(text[i++].unicode());
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        number += '.';
        ++i;
        while (i < n && IsDigit(text[i])) {
            number += char(text[i++].unicode());
            ++digits;
        }
    }
    if (digits == 0) return 0.0;
    // An exponent counts only when digits follow it ("1e" reads 1).
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-')) exponent += char(text[j++].unicode());
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j])) exponent += char(text[j++].unicode());
            number += exponent;
        }
    }
    double value = 0.0;
    const char* begin = number.c_str();
    if (*begin == '+') ++begin;
    auto [ptr, ec] = std::from_chars(begin, number.c_str() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Like strtod: overflow gives infinity, underflow zero, with the sign.
        const bool negative = number[0] == '-';
        const bool tiny = number.find("e-") != std::string::npos;
        value = tiny ? 0.0 : HUGE_VAL;
        return negative ? -value : value;
    }
    return ec == std::errc() ? value : 0.0;
}

QString FormatFixed(double value, int decimals) {
    // to_chars does not depend on the locale and rounds exactly as glibc's
    // printf does (on the exact binary value).
    char buffer[400];
    auto [ptr, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return QString();
    return QString::fromLatin1(buffer, ptr - buffer);
}

QString FormatInt(long long value) {
    return QString::number(value);
}

bool BelongsToClass(const QString& text, const char* allowed) {
    for (QChar c : text)
        if (!InSet(c, allowed)) return false;
    return true;
}

QString StripTrailing(const QString& text, const char* set) {
    qsizetype end = text.size();
    while (end > 0 && InSet(text[end - 1], set)) --end;
    return text.left(end);
}

}  // namespace orvane
