#include "platform/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <fast_float/fast_float.h>
#include <fmt/format.h>

namespace vantor {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::int32_t> toInt32(bool negative, std::uint64_t magnitude) {
    if (negative ? magnitude > 2147483648u : magnitude > 2147483647u) {
        return std::nullopt;
    }
    const auto value = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::optional<std::int32_t> parseDigits(std::string_view digits, bool negative, int base) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    if (base == 16 && magnitude <= 0xFFFFFFFFu) {
        // Hexadecimal spells the 32 bits themselves: $FFFFFFFF is -1.
        const auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
        return negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(bits)) : bits;
    }
    return toInt32(negative, magnitude);
}

} // namespace

// The shortest text that reads back as the same float, as std::to_chars writes it: fixed or
// scientific, whichever is shorter, fixed on a tie, and a whole number in fixed form exactly.
// The digits come from fmt's shortest conversion, because not every standard library converts
// floating-point numbers to text.
std::string shortestFloatText(float value) {
    if (std::isnan(value)) {
        return std::signbit(value) ? "-nan" : "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    if (value == 0.0f) {
        return std::signbit(value) ? "-0" : "0";
    }
    const auto decimal = fmt::detail::dragonbox::to_decimal(std::fabs(value));
    const std::string digits = std::to_string(decimal.significand);
    const int count = static_cast<int>(digits.size());
    const int exponent = decimal.exponent; // value = digits * 10^exponent
    const int scientificExponent = exponent + count - 1;
    // "d.ddde+XX": a float's exponent, -45 to 38, always takes two digits.
    const int scientificLength = count + (count > 1 ? 1 : 0) + 4;
    const int fixedLength = exponent >= 0 ? count + exponent
                            : -exponent < count ? count + 1
                                                : 2 - exponent;
    std::string out = value < 0 ? "-" : "";
    if (fixedLength > scientificLength) {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits, 1);
        }
        fmt::format_to(std::back_inserter(out), "e{}{:02}", scientificExponent < 0 ? '-' : '+',
                       std::abs(scientificExponent));
    } else if (exponent >= 0) {
        // A whole number: its exact value, which has as many digits as the shortest one.
        fmt::format_to(std::back_inserter(out), "{:.0f}", std::fabs(value));
    } else if (-exponent < count) {
        out.append(digits, 0, static_cast<std::size_t>(count + exponent))
            .append(1, '.')
            .append(digits, static_cast<std::size_t>(count + exponent));
    } else {
        out.append("0.").append(static_cast<std::size_t>(-exponent - count), '0').append(digits);
    }
    return out;
}

std::string formatGeneral(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    if (value == 0.0) {
        return "0";
    }
    // Fifteen significant digits in scientific form, d.dddddddddddddde[+-]x.
    char scientific[64];
    const char* const scientificEnd =
        fmt::format_to_n(scientific, sizeof scientific, "{:.14e}", std::fabs(value)).out;
    const char* const e = std::find(static_cast<const char*>(scientific), scientificEnd, 'e');
    char digits[16];
    std::size_t digitCount = 0;
    digits[digitCount++] = scientific[0];
    for (const char* p = scientific + 2; p < e; ++p) {
        digits[digitCount++] = *p;
    }
    while (digitCount > 1 && digits[digitCount - 1] == '0') {
        --digitCount;
    }
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), scientificEnd, exponent);

    // The longest text: a sign, "0.", four zeros and fifteen digits.
    char out[32];
    char* p = out;
    if (value < 0) {
        *p++ = '-';
    }
    auto put = [&p](const char* from, std::size_t count) {
        std::memcpy(p, from, count);
        p += count;
    };
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            put("0.0000", static_cast<std::size_t>(1 - exponent));
            put(digits, digitCount);
        } else {
            const auto integerDigits = static_cast<std::size_t>(exponent + 1);
            if (digitCount <= integerDigits) {
                put(digits, digitCount);
                std::memset(p, '0', integerDigits - digitCount);
                p += integerDigits - digitCount;
            } else {
                put(digits, integerDigits);
                *p++ = '.';
                put(digits + integerDigits, digitCount - integerDigits);
            }
        }
        return std::string(out, p);
    }
    *p++ = digits[0];
    if (digitCount > 1) {
        *p++ = '.';
        put(digits + 1, digitCount - 1);
    }
    *p++ = 'E';
    p = std::to_chars(p, out + sizeof out, exponent).ptr;
    return std::string(out, p);
}

void appendFixed(std::string& out, double value, int decimals) {
    fmt::format_to(std::back_inserter(out), "{:.{}f}", value, decimals);
}

std::optional<double> parseReal(std::string_view text) {
    text = trimBlanks(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t numberStart = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t exponentStart = i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
        if (i == exponentStart) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = fast_float::from_chars(text.data() + numberStart,
                                                     text.data() + text.size(), value,
                                                     fast_float::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        value = std::strtod(std::string(text.substr(numberStart)).c_str(), nullptr);
    } else if (error != std::errc()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<std::int32_t> parseInteger(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return parseDigits(text, negative, 10);
}

std::optional<std::int32_t> parseProfileInteger(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '$') {
        return parseDigits(text.substr(1), negative, 16);
    }
    if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return parseDigits(text.substr(2), negative, 16);
    }
    return parseDigits(text, negative, 10);
}

} // namespace vantor
