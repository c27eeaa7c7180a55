#include "platform/CodePage.h"
#include "platform/CodePageConvert.h"

#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace vantor {

namespace {

bool isCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Length of the well-formed UTF-8 sequence at pos, or 0 when the bytes there are not one.
std::size_t utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto c = static_cast<unsigned char>(text[pos]);
    if (c < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char min2 = 0x80;
    unsigned char max2 = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) {
            min2 = 0xA0; // no overlong forms
        } else if (c == 0xED) {
            max2 = 0x9F; // no surrogates
        }
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) {
            min2 = 0x90;
        } else if (c == 0xF4) {
            max2 = 0x8F;
        }
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        const unsigned char lo = i == 1 ? min2 : 0x80;
        const unsigned char hi = i == 1 ? max2 : 0xBF;
        if (b < lo || b > hi) {
            return 0;
        }
    }
    return length;
}

void appendReplacementCharacter(std::string& out) { out += "\xEF\xBF\xBD"; }

} // namespace

const char* codePageName(CodePage cp) { return cp == CodePage::Utf8 ? "utf-8" : "cp932"; }

CodePage systemCodePage() {
    const char* value = std::getenv("VANTOR_CODEPAGE");
    if (value != nullptr && strcasecmp(value, "cp932") == 0) {
        return CodePage::Cp932;
    }
    return CodePage::Utf8;
}

std::size_t charNext(CodePage cp, std::string_view text, std::size_t pos) {
    if (pos >= text.size()) {
        return text.size();
    }
    if (cp == CodePage::Cp932) {
        const bool pair = isCp932LeadByte(static_cast<unsigned char>(text[pos])) &&
                          pos + 1 < text.size();
        return pos + (pair ? 2 : 1);
    }
    const std::size_t length = utf8SequenceLength(text, pos);
    return pos + (length == 0 ? 1 : length);
}

std::size_t charPrev(CodePage cp, std::string_view text, std::size_t pos) {
    std::size_t previous = 0;
    for (std::size_t i = 0; i < pos && i < text.size(); i = charNext(cp, text, i)) {
        previous = i;
    }
    return previous;
}

bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = utf8SequenceLength(text, pos);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::string decodeToUtf8(CodePage cp, std::string_view text) {
    std::string out;
    if (isAscii(text)) {
        return std::string(text);
    }
    if (cp == CodePage::Utf8) {
        out.reserve(text.size());
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t length = utf8SequenceLength(text, pos);
            if (length == 0) {
                appendReplacementCharacter(out);
                ++pos;
            } else {
                out.append(text.substr(pos, length));
                pos += length;
            }
        }
        return out;
    }
    return detail::cp932ToUtf8(text);
}

std::optional<std::string> encodeFromUtf8(CodePage cp, std::string_view utf8) {
    if (!isValidUtf8(utf8)) {
        return std::nullopt;
    }
    if (cp == CodePage::Utf8 || isAscii(utf8)) {
        return std::string(utf8);
    }
    return detail::utf8ToCp932(utf8);
}

} // namespace vantor
