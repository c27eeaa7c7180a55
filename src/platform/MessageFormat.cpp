#include "platform/MessageFormat.h"

namespace vantor {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string expandTemplate(std::string_view pattern, std::span<const std::string_view> inserts) {
    pattern = pattern.substr(0, pattern.find('\0'));
    std::string out;
    out.reserve(pattern.size() + 1024);
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const std::size_t percent = pattern.find('%', pos);
        if (percent == std::string_view::npos || percent + 1 == pattern.size()) {
            out.append(pattern.substr(pos));
            break;
        }
        out.append(pattern.substr(pos, percent - pos));
        const char c = pattern[percent + 1];
        pos = percent + 2;
        if (isDigit(c)) {
            if (c == '0') {
                return out;
            }
            // An insert number has one or two digits: %12 is insert 12, not %1 and "2".
            std::size_t number = static_cast<std::size_t>(c - '0');
            if (pos < pattern.size() && isDigit(pattern[pos])) {
                number = number * 10 + static_cast<std::size_t>(pattern[pos] - '0');
                ++pos;
            }
            if (number <= inserts.size()) {
                out.append(inserts[number - 1]);
            } else {
                out.append(pattern.substr(percent, pos - percent));
            }
            continue;
        }
        switch (c) {
        case '%':
            out += '%';
            break;
        case 'n':
            out += "\r\n";
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case '.':
        case '!':
        case ' ':
            out += c;
            break;
        default:
            out.append(pattern.substr(percent, 2));
        }
    }
    return out;
}

} // namespace vantor
