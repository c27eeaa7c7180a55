#include "MaxNumberText.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale.h>
#include <string>

namespace vantor {

namespace {

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// For a number too large or too small for a double: the position of its first nonzero digit
// relative to the decimal point, plus its exponent. Above 0 the number is huge, otherwise tiny.
long DecimalMagnitude(const char* intBegin, int intDigits, const char* fracBegin, int fracDigits,
                      long exponent) {
    int leadingZeros = 0;
    while (leadingZeros < intDigits && intBegin[leadingZeros] == '0') {
        ++leadingZeros;
    }
    if (leadingZeros < intDigits) {
        return exponent + (intDigits - leadingZeros);
    }
    int fracZeros = 0;
    while (fracZeros < fracDigits && fracBegin[fracZeros] == '0') {
        ++fracZeros;
    }
    return exponent - fracZeros;
}

// printf in the "C" locale, so that the decimal point is "." whatever the user's locale.
locale_t CNumericLocale() {
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// Longest text a number format may produce (every double fits with "%.2f"); a longer one,
// which only an absurd width or precision gives, shows nothing.
constexpr int kMaxFormattedLength = 512;

} // namespace

QString SanitiseNumberText(const QString& text) {
    QString out;
    out.reserve(text.size());
    bool pointKept = false;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c >= u'0' && c <= u'9') {
            out.append(ch);
        } else if (c == u'-' && out.isEmpty()) {
            out.append(ch);
        } else if (c == u'.' && !pointKept) {
            out.append(ch);
            pointKept = true;
        }
    }
    return out;
}

std::optional<double> ParseNumberText(const QString& text) {
    const QString trimmed = text.trimmed();
    for (const QChar ch : trimmed) {
        if (ch.unicode() > 127) {
            return std::nullopt;
        }
    }
    const QByteArray bytes = trimmed.toLatin1();
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();

    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* const numberBegin = p;
    const char* const intBegin = p;
    int intDigits = 0;
    while (p < end && IsAsciiDigit(*p)) {
        ++p;
        ++intDigits;
    }
    const char* fracBegin = p;
    int fracDigits = 0;
    if (p < end && *p == '.') {
        ++p;
        fracBegin = p;
        while (p < end && IsAsciiDigit(*p)) {
            ++p;
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0) {
        return std::nullopt;
    }
    long exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negativeExponent = false;
        if (p < end && (*p == '+' || *p == '-')) {
            negativeExponent = *p == '-';
            ++p;
        }
        if (p == end || !IsAsciiDigit(*p)) {
            return std::nullopt;
        }
        while (p < end && IsAsciiDigit(*p)) {
            if (exponent < 100000) {
                exponent = exponent * 10 + (*p - '0');
            }
            ++p;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (p != end) {
        return std::nullopt;
    }

    double value = 0.0;
    const auto [last, error] = std::from_chars(numberBegin, end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        const bool huge =
            DecimalMagnitude(intBegin, intDigits, fracBegin, fracDigits, exponent) > 0;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc() || last != end) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

double ClampToRange(double value, double min, double max) {
    if (std::isnan(value)) {
        return min;
    }
    if (value > max) {
        value = max;
    }
    if (value < min) {
        value = min;
    }
    return value;
}

double SnapExponential(double value, double mantissa, double increment) {
    if (!(value > 0) || !(mantissa > 0) || !(increment > 0) || increment == 1.0) {
        return value;
    }
    const double r = std::log(value / mantissa) / std::log(increment);
    if (!std::isfinite(r)) {
        return value;
    }
    double n = std::trunc(r);
    if (r - n >= 0.99999999) {
        n += 1.0;
    }
    return mantissa * std::pow(increment, n);
}

bool IsSingleDoubleFormat(const QString& format) {
    int conversions = 0;
    const qsizetype size = format.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (format[i] != u'%') {
            continue;
        }
        if (++i == size) {
            return false;
        }
        if (format[i] == u'%') {
            continue;
        }
        while (i < size && QStringView(u"-+ #0").contains(format[i])) {
            ++i;
        }
        while (i < size && format[i].isDigit() && format[i].unicode() < 128) {
            ++i;
        }
        if (i < size && format[i] == u'.') {
            ++i;
            while (i < size && format[i].isDigit() && format[i].unicode() < 128) {
                ++i;
            }
        }
        if (i < size && format[i] == u'l') {
            ++i;
        }
        if (i == size || !QStringView(u"fFeEgG").contains(format[i])) {
            return false;
        }
        ++conversions;
    }
    return conversions == 1;
}

QString FormatNumberText(const QString& format, double value) {
    if (!IsSingleDoubleFormat(format)) {
        return {};
    }
    const QByteArray fmt = format.toUtf8();
    const locale_t previous = uselocale(CNumericLocale());
    const int length = std::snprintf(nullptr, 0, fmt.constData(), value);
    std::string text;
    if (length > 0 && length <= kMaxFormattedLength) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::snprintf(text.data(), text.size(), fmt.constData(), value);
        text.resize(static_cast<std::size_t>(length));
    }
    uselocale(previous);
    return QString::fromStdString(text);
}

} // namespace vantor
