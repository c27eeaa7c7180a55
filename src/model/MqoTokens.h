#pragma once
// The token scanner of the MQO reader and the number conversions it uses. Every function
// takes the line as a view and never reads past its end. The scanners run for every number of
// a model, so they are defined here, where the reader's loops can inline them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace vantor {

// Number of "{" minus number of "}" outside double-quoted texts.
int braceBalance(std::string_view line);

// The line without delimiters at its start and end.
std::string_view trimDelimiters(std::string_view line);

namespace detail {

constexpr std::array<bool, 256> makeDelimiterTable() {
    std::array<bool, 256> table{};
    for (const char c : std::string_view(" ,/()\"\t\n\r\f")) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}

inline constexpr std::array<bool, 256> kDelimiters = makeDelimiterTable();

inline constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Plain decimals with at most 15 digits and no exponent, the form nearly every number of a
// model file has. Both the digits and the power of ten are exact in a double, so one division
// rounds exactly as the C library's conversion does. Anything else gives nothing.
inline std::optional<double> parsePlainDecimal(const char* p, const char* end) {
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    std::uint64_t digits = 0;
    const char* const start = p;
    while (p != end && static_cast<unsigned>(*p - '0') < 10) {
        digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
    }
    std::ptrdiff_t count = p - start;
    std::ptrdiff_t decimals = 0;
    if (p != end && *p == '.') {
        const char* const fraction = ++p;
        while (p != end && static_cast<unsigned>(*p - '0') < 10) {
            digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
        }
        decimals = p - fraction;
        count += decimals;
    }
    if (count == 0 || count > 15 || (p != end && (*p == 'e' || *p == 'E'))) {
        return std::nullopt;
    }
    const double value = static_cast<double>(digits) / kPowersOfTen[decimals];
    return negative ? -value : value;
}

// Every other form of parseTokenFloat: exponents, long digit runs, signs of signs.
float parseUnusualFloat(std::string_view token);

} // namespace detail

// True for the ten delimiters of an MQO line: blank, comma, slash, both parentheses, double
// quote, tab, line feed, carriage return and form feed. All are below 0x40, so no trail byte
// of a double-byte character is ever one.
inline bool isMqoDelimiter(char c) { return detail::kDelimiters[static_cast<unsigned char>(c)]; }

// Scans the token that starts at or after pos. Delimiters are skipped first; a double quote
// reached while skipping opens a quoted token, which ends at the next double quote and so may
// hold blanks, commas, slashes and parentheses. Returns the position just after the character
// that ended the token; a token that runs to the end of the line returns line.size() + 1, and
// a line with nothing left yields an empty token.
inline std::size_t nextToken(std::string_view line, std::size_t pos, std::string_view& token) {
    const std::size_t size = line.size();
    bool quoted = false;
    while (pos < size && isMqoDelimiter(line[pos])) {
        const char c = line[pos++];
        if (c == '"') {
            quoted = true;
            break;
        }
    }
    if (pos >= size) {
        token = {};
        return size + 1;
    }
    const std::size_t start = pos;
    if (quoted) {
        while (pos < size && line[pos] != '"') {
            ++pos;
        }
    } else {
        while (pos < size && !isMqoDelimiter(line[pos])) {
            ++pos;
        }
    }
    token = line.substr(start, pos - start);
    return pos + 1;
}

// Scans the next value of a keyword's group, such as each number of col(1 1 1 1). When the
// group's closing parenthesis comes first, the value is missing: present is false and the
// position is returned unchanged, so the next keyword is not taken for a value.
inline std::size_t nextGroupValue(std::string_view line, std::size_t pos, std::string_view& token,
                                  bool& present) {
    present = false;
    token = {};
    if (pos == 0 || pos > line.size() || line[pos - 1] == ')') {
        return pos;
    }
    std::string_view candidate;
    const std::size_t next = nextToken(line, pos, candidate);
    if (candidate.data() == nullptr) {
        return pos; // nothing left on the line
    }
    // A closing parenthesis among the delimiters before the value ends the group first.
    for (const char* p = line.data() + pos; p != candidate.data(); ++p) {
        if (*p == ')') {
            return pos;
        }
    }
    present = true;
    token = candidate;
    return next;
}

// Decimal integer as atol reads it: an optional sign and the digits that follow; anything else
// ends the number, and a token without digits is 0. Saturates instead of overflowing.
inline std::int64_t parseTokenInteger(std::string_view token) {
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        negative = token[i] == '-';
        ++i;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
        const int digit = token[i] - '0';
        if (value > (kMax - digit) / 10) {
            value = kMax;
            continue;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

// Decimal real as atof reads it, narrowed to single precision: the longest prefix that is a
// number, 0 when there is none.
inline float parseTokenFloat(std::string_view token) {
    if (const auto plain = detail::parsePlainDecimal(token.data(), token.data() + token.size())) {
        return static_cast<float>(*plain);
    }
    return detail::parseUnusualFloat(token);
}

} // namespace vantor
