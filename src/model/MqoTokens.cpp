#include "model/MqoTokens.h"

#include <charconv>
#include <cstdlib>
#include <string>

#include <fast_float/fast_float.h>

namespace vantor {

float detail::parseUnusualFloat(std::string_view token) {
    const char* first = token.data();
    const char* last = first + token.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-') {
            return 0.0f;
        }
    }
    double value = 0.0;
    const auto [end, error] =
        fast_float::from_chars(first, last, value, fast_float::chars_format::general);
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
