// CP932 for the browser build, whose C library converts only SHIFT_JIS (which turns 0x5C into
// a yen sign and lacks the Windows extensions). The tables are made at build time from glibc's
// iconv (MakeCp932Table.cpp), so both builds convert byte for byte alike, invalid bytes
// included.

#include "platform/CodePageConvert.h"

#include <algorithm>
#include <cstdint>

#include "Cp932Tables.inc"

namespace vantor::detail {

namespace {

constexpr std::uint16_t kNone = 0xFFFF;

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The code point of the valid UTF-8 sequence at pos; pos moves past it.
std::uint32_t nextCodePoint(std::string_view text, std::size_t& pos) {
    const auto c = static_cast<unsigned char>(text[pos++]);
    if (c < 0x80) {
        return c;
    }
    const int trail = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
    std::uint32_t code = c & (0x3F >> trail);
    for (int i = 0; i < trail && pos < text.size(); ++i) {
        code = code << 6 | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    return code;
}

} // namespace

std::string cp932ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3 / 2 + 4);
    for (std::size_t pos = 0; pos < text.size();) {
        const auto b = static_cast<unsigned char>(text[pos]);
        std::uint16_t code = kCp932Single[b];
        std::size_t length = 1;
        if (code == kNone && b >= 0x80 && pos + 1 < text.size()) {
            code = kCp932Pairs[(b - 0x80) * 256 + static_cast<unsigned char>(text[pos + 1])];
            length = 2;
        }
        if (code == kNone) {
            out += "\xEF\xBF\xBD";
            length = 1;
        } else {
            appendUtf8(out, code);
        }
        pos += length;
    }
    return out;
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::uint32_t code = nextCodePoint(utf8, pos);
        const auto* const end = std::end(kCp932Encode);
        const auto* const found = std::lower_bound(std::begin(kCp932Encode), end, code << 16);
        if (code > 0xFFFF || found == end || *found >> 16 != code) {
            return std::nullopt;
        }
        const std::uint32_t bytes = *found & 0xFFFF;
        if (bytes > 0xFF) {
            out += static_cast<char>(bytes >> 8);
        }
        out += static_cast<char>(bytes & 0xFF);
    }
    return out;
}

} // namespace vantor::detail
