#include "platform/CodePageConvert.h"

#include <cerrno>
#include <iconv.h>

namespace vantor::detail {

namespace {

// Converts with glibc's iconv; "CP932" rather than "SHIFT_JIS", which would turn 0x5C into a
// yen sign. Returns false when a character cannot be converted and replace is off.
bool convert(const char* to, const char* from, std::string_view in, std::string& out,
             bool replaceInvalid) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    out.clear();
    out.reserve(in.size() * 3 / 2 + 4);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[4096];
    bool ok = true;
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (rc != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        if (!replaceInvalid) {
            ok = false;
            break;
        }
        // An invalid or truncated sequence: show one replacement character, go on after it.
        out += "\xEF\xBF\xBD";
        ++src;
        --srcLeft;
    }
    iconv_close(cd);
    return ok;
}

} // namespace

std::string cp932ToUtf8(std::string_view text) {
    std::string out;
    convert("UTF-8", "CP932", text, out, true);
    return out;
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    std::string out;
    if (!convert("CP932", "UTF-8", utf8, out, false)) {
        return std::nullopt;
    }
    return out;
}

} // namespace vantor::detail
