// Writes the CP932 tables of the browser build from this machine's glibc iconv, so that the
// browser converts exactly as the native build does. Run at build time; its output is never
// kept in the repository. Usage: vantor-make-cp932-table OUTPUT.inc

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <iconv.h>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

// The one code point that the bytes convert to, or kNone when they are not exactly one
// character of CP932.
std::uint32_t decodeOne(iconv_t cd, const std::string& bytes) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::uint32_t out[4] = {};
    char* dst = reinterpret_cast<char*>(out);
    std::size_t dstLeft = sizeof out;
    if (iconv(cd, &in, &inLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
        sizeof out - dstLeft != sizeof(std::uint32_t)) {
        return kNone;
    }
    return out[0];
}

// The CP932 bytes of one code point (one or two), or empty when it has none.
std::string encodeOne(iconv_t cd, std::uint32_t code) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = reinterpret_cast<char*>(&code);
    std::size_t inLeft = sizeof code;
    char out[8];
    char* dst = out;
    std::size_t dstLeft = sizeof out;
    if (iconv(cd, &in, &inLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
        return {};
    }
    return std::string(out, dst);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    iconv_t decoder = iconv_open("UTF-32LE", "CP932");
    iconv_t encoder = iconv_open("CP932", "UTF-32LE");
    if (decoder == reinterpret_cast<iconv_t>(-1) || encoder == reinterpret_cast<iconv_t>(-1)) {
        std::fprintf(stderr, "this C library has no CP932 converter\n");
        return 1;
    }
    std::vector<std::uint32_t> single(256, kNone);
    std::vector<std::uint32_t> pairs(128 * 256, kNone); // lead bytes 0x80-0xFF
    for (int b = 0; b < 256; ++b) {
        single[b] = decodeOne(decoder, std::string(1, static_cast<char>(b)));
        if (single[b] != kNone || b < 0x80) {
            continue;
        }
        for (int t = 0; t < 256; ++t) {
            pairs[(b - 0x80) * 256 + t] =
                decodeOne(decoder, std::string{static_cast<char>(b), static_cast<char>(t)});
        }
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    auto writeTable = [out](const char* name, const std::vector<std::uint32_t>& table) {
        std::fprintf(out, "constexpr std::uint16_t %s[%zu] = {", name, table.size());
        for (std::size_t i = 0; i < table.size(); ++i) {
            std::fprintf(out, "%s0x%X,", i % 16 == 0 ? "\n" : "",
                         table[i] == kNone ? 0xFFFFu : table[i]);
        }
        std::fprintf(out, "\n};\n");
    };
    std::fprintf(out, "// Made by vantor-make-cp932-table from glibc's iconv; 0xFFFF: none.\n");
    writeTable("kCp932Single", single);
    writeTable("kCp932Pairs", pairs);
    std::fprintf(out, "constexpr std::uint32_t kCp932Encode[] = { // code << 16 | bytes\n");
    for (std::uint32_t code = 0; code < 0x10000; ++code) {
        if (code >= 0xD800 && code < 0xE000) {
            continue;
        }
        const std::string bytes = encodeOne(encoder, code);
        if (bytes.empty() || bytes.size() > 2) {
            continue;
        }
        std::uint32_t value = static_cast<unsigned char>(bytes[0]);
        if (bytes.size() == 2) {
            value = value << 8 | static_cast<unsigned char>(bytes[1]);
        }
        std::fprintf(out, "0x%X,\n", code << 16 | value);
    }
    std::fprintf(out, "};\n");
    iconv_close(decoder);
    iconv_close(encoder);
    return std::fclose(out) == 0 ? 0 : 1;
}
