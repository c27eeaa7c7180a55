#include "publish/StandalonePage.h"

#include "publish/AppletPage.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

namespace vantor {

namespace {

constexpr char kBase64Digits[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view lowerWord) {
    if (text.size() - at < lowerWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i < lowerWord.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != lowerWord[i]) {
            return false;
        }
    }
    return true;
}

// Whether a tag name ends at `at`: a blank, "/" or ">" follows it, or the page ends.
bool tagNameEndsAt(std::string_view page, std::size_t at) {
    return at >= page.size() || std::strchr(" \t\r\n\f/>", page[at]) != nullptr;
}

// Where the tag that opens at `at` ("<" included) ends, after its ">"; quoted attribute values
// may hold ">".
std::size_t afterTag(std::string_view page, std::size_t at) {
    char quote = 0;
    for (std::size_t i = at + 1; i < page.size(); ++i) {
        if (quote != 0) {
            quote = page[i] == quote ? 0 : quote;
        } else if (page[i] == '"' || page[i] == '\'') {
            quote = page[i];
        } else if (page[i] == '>') {
            return i + 1;
        }
    }
    return page.size();
}

// Elements whose content is text, not markup: a "</head>" inside one ends no head.
constexpr std::string_view kTextElements[] = {"script", "style",   "title",   "textarea",
                                              "xmp",    "noembed", "noframes", "noscript"};

// The text element that a tag opening at `at` starts, or nothing.
std::optional<std::string_view> textElementAt(std::string_view page, std::size_t at) {
    for (const std::string_view name : kTextElements) {
        if (startsWithNoCase(page, at + 1, name) && tagNameEndsAt(page, at + 1 + name.size())) {
            return name;
        }
    }
    return std::nullopt;
}

// Whether a "<" at `at` opens a tag, a closing tag, a declaration or a processing instruction;
// any other "<" is text.
bool opensTag(std::string_view page, std::size_t at) {
    if (at + 1 >= page.size()) {
        return false;
    }
    const char c = page[at + 1];
    return std::isalpha(static_cast<unsigned char>(c)) || c == '/' || c == '!' || c == '?';
}

// Where the content of a text element that starts at `from` ends, after its closing tag
// (closing: "</script", say); the page's end when it is never closed.
std::size_t afterTextContent(std::string_view page, std::size_t from, std::string_view closing) {
    for (std::size_t lt = page.find('<', from); lt != std::string_view::npos;
         lt = page.find('<', lt + 1)) {
        if (startsWithNoCase(page, lt, closing) && tagNameEndsAt(page, lt + closing.size())) {
            return afterTag(page, lt);
        }
    }
    return page.size();
}

// Where the page's head ends: the "</head>" tag that stands as markup, outside comments and
// the content of scripts, styles and other text elements; nothing when there is none.
std::optional<std::size_t> headEnd(std::string_view page) {
    for (std::size_t at = page.find('<'); at != std::string_view::npos;) {
        std::size_t next = at + 1;
        if (page.substr(at, 4) == "<!--") {
            const std::size_t close = page.find("-->", at + 4);
            next = close == std::string_view::npos ? page.size() : close + 3;
        } else if (startsWithNoCase(page, at, "</head") && tagNameEndsAt(page, at + 6)) {
            return at;
        } else if (const auto element = textElementAt(page, at)) {
            next = afterTextContent(page, afterTag(page, at), "</" + std::string(*element));
        } else if (opensTag(page, at)) {
            next = afterTag(page, at);
        }
        at = page.find('<', next);
    }
    return std::nullopt;
}

} // namespace

std::string base64Encoded(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t n = at(i) << 16 | at(i + 1) << 8 | at(i + 2);
        out += kBase64Digits[n >> 18];
        out += kBase64Digits[n >> 12 & 63];
        out += kBase64Digits[n >> 6 & 63];
        out += kBase64Digits[n & 63];
    }
    if (const std::size_t rest = bytes.size() - i; rest > 0) {
        const std::uint32_t n = at(i) << 16 | (rest == 2 ? at(i + 1) << 8 : 0);
        out += kBase64Digits[n >> 18];
        out += kBase64Digits[n >> 12 & 63];
        out += rest == 2 ? kBase64Digits[n >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

std::string buildStandalonePage(std::string_view page, const std::vector<EmbeddedFile>& files) {
    std::size_t size = page.size();
    for (const EmbeddedFile& file : files) {
        size += 96 + file.name.size() * 2 + (file.bytes.size() + 2) / 3 * 4;
    }
    std::string out;
    out.reserve(size);
    // A page without a real end of its head gets the files at its start, where no comment or
    // script can hide them.
    const std::size_t at = headEnd(page).value_or(0);
    out.append(page.substr(0, at));
    for (const EmbeddedFile& file : files) {
        out += "<script type=\"";
        out += kEmbeddedFileType;
        out += "\" data-name=\"";
        out += htmlEscaped(file.name);
        out += "\">";
        out += base64Encoded(file.bytes);
        out += "</script>\r\n";
    }
    out.append(page.substr(at));
    return out;
}

std::string standalonePageName(std::string_view packageName) {
    return std::string(packageName) + ".standalone.html";
}

} // namespace vantor
