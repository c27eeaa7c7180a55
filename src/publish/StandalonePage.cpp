#include "publish/StandalonePage.h"

#include "publish/AppletPage.h"

#include <algorithm>
#include <cctype>

namespace vantor {

namespace {

constexpr char kBase64Digits[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::size_t headEnd(std::string_view page) {
    constexpr std::string_view kTag = "</head>";
    const auto match = std::search(page.begin(), page.end(), kTag.begin(), kTag.end(),
                                   [](char a, char b) {
                                       return std::tolower(static_cast<unsigned char>(a)) == b;
                                   });
    return match == page.end() ? 0 : static_cast<std::size_t>(match - page.begin());
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
    const std::size_t at = headEnd(page);
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
