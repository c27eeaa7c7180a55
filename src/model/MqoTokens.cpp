#include "model/MqoTokens.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace vantor {

namespace {

constexpr std::array<bool, 256> makeDelimiterTable() {
    std::array<bool, 256> table{};
    for (const char c : std::string_view(" ,/()\"\t\n\r\f")) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}

constexpr std::array<bool, 256> kDelimiters = makeDelimiterTable();

} // namespace

bool isMqoDelimiter(char c) { return kDelimiters[static_cast<unsigned char>(c)]; }

std::size_t nextToken(std::string_view line, std::size_t pos, std::string_view& token) {
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

std::size_t nextGroupValue(std::string_view line, std::size_t pos, std::string_view& token,
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
    const auto start = static_cast<std::size_t>(candidate.data() - line.data());
    if (line.substr(pos, start - pos).find(')') != std::string_view::npos) {
        return pos;
    }
    present = true;
    token = candidate;
    return next;
}

std::int64_t parseTokenInteger(std::string_view token) {
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

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Plain decimals with at most 15 digits and no exponent, the form nearly every number of a
// model file has. Both the digits and the power of ten are exact in a double, so one division
// rounds exactly as the C library's conversion does. Anything else gives nothing.
std::optional<double> parsePlainDecimal(const char* p, const char* end) {
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

} // namespace

float parseTokenFloat(std::string_view token) {
    const char* first = token.data();
    const char* last = first + token.size();
    if (const auto plain = parsePlainDecimal(first, last)) {
        return static_cast<float>(*plain);
    }
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-') {
            return 0.0f;
        }
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Beyond double's range: the C library's answer (infinity or zero) is the one wanted.
        const std::string copy(first, end);
        return static_cast<float>(std::strtod(copy.c_str(), nullptr));
    }
    if (error != std::errc()) {
        return 0.0f;
    }
    return static_cast<float>(value);
}

int braceBalance(std::string_view line) {
    int balance = 0;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == '{') {
            ++balance;
        } else if (!quoted && c == '}') {
            --balance;
        }
    }
    return balance;
}

std::string_view trimDelimiters(std::string_view line) {
    while (!line.empty() && isMqoDelimiter(line.front())) {
        line.remove_prefix(1);
    }
    while (!line.empty() && isMqoDelimiter(line.back())) {
        line.remove_suffix(1);
    }
    return line;
}

} // namespace vantor
