#include "publish/ImageKind.h"

#include "platform/Files.h"
#include "platform/Limits.h"

#include <cstdint>

namespace vantor {

namespace {

constexpr std::size_t kTgaHeaderBytes = 18;
constexpr std::size_t kDdsHeaderBytes = 128;
constexpr std::size_t kPsdHeaderBytes = 26;
constexpr std::size_t kBmpFileHeaderBytes = 14;

unsigned byteAt(std::string_view bytes, std::size_t at) {
    return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0;
}
unsigned le16(std::string_view bytes, std::size_t at) {
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8;
}
std::uint32_t le32(std::string_view bytes, std::size_t at) {
    return le16(bytes, at) | static_cast<std::uint32_t>(le16(bytes, at + 2)) << 16;
}
unsigned be16(std::string_view bytes, std::size_t at) {
    return byteAt(bytes, at) << 8 | byteAt(bytes, at + 1);
}

// Whether bytes hold text at `at` (false for a file too short to).
bool holdsAt(std::string_view bytes, std::size_t at, std::string_view text) {
    return bytes.size() >= at + text.size() && bytes.substr(at, text.size()) == text;
}

bool isBmp(std::string_view bytes) {
    // The sizes of the info headers that BMP files carry, from the OS/2 one to version 5.
    const std::uint32_t infoSize = le32(bytes, kBmpFileHeaderBytes);
    const bool knownInfo = infoSize == 12 || infoSize == 16 || infoSize == 40 || infoSize == 52 ||
                           infoSize == 56 || infoSize == 64 || infoSize == 108 || infoSize == 124;
    if (!bytes.starts_with("BM") || !knownInfo || bytes.size() < kBmpFileHeaderBytes + infoSize) {
        return false;
    }
    const unsigned planes = infoSize == 12 ? le16(bytes, 22) : le16(bytes, 26);
    const unsigned depth = infoSize == 12 ? le16(bytes, 24) : le16(bytes, 28);
    return planes == 1 &&
           (depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32);
}

// As the viewer's test: an image type and pixel depth that go together, a colour map only for
// mapped images; and the file holds the header, the id, the colour map and (uncompressed) the
// pixels it announces.
bool isTga(std::string_view bytes) {
    if (bytes.size() < kTgaHeaderBytes) {
        return false;
    }
    const unsigned mapType = byteAt(bytes, 1);
    const unsigned type = byteAt(bytes, 2);
    const unsigned depth = byteAt(bytes, 16);
    const std::uint64_t width = le16(bytes, 12);
    const std::uint64_t height = le16(bytes, 14);
    const unsigned base = type & ~8u; // 9, 10 and 11 are the run-length forms of 1, 2 and 3
    if (mapType > 1 || base < 1 || base > 3 || width == 0 || height == 0) {
        return false;
    }
    const bool depthFits = base == 1   ? mapType == 1 && (depth == 8 || depth == 16)
                           : base == 3 ? depth == 8 || depth == 16
                                       : depth == 15 || depth == 16 || depth == 24 || depth == 32;
    if (!depthFits) {
        return false;
    }
    const std::uint64_t mapBytes =
        mapType == 1 ? std::uint64_t{le16(bytes, 5)} * ((byteAt(bytes, 7) + 7) / 8) : 0;
    const std::uint64_t pixelBytes = type == base ? width * height * ((depth + 7) / 8) : 1;
    return bytes.size() >= kTgaHeaderBytes + byteAt(bytes, 0) + mapBytes + pixelBytes;
}

} // namespace

ImageKind imageKindOf(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xD8\xFF")) {
        return ImageKind::Jpeg;
    }
    if (bytes.starts_with("\x89PNG\r\n\x1A\n") && holdsAt(bytes, 12, "IHDR")) {
        return ImageKind::Png;
    }
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) {
        return ImageKind::Gif;
    }
    if (isBmp(bytes)) {
        return ImageKind::Bmp;
    }
    if (bytes.starts_with("RIFF") && holdsAt(bytes, 8, "WEBP")) {
        return ImageKind::WebP;
    }
    if (bytes.starts_with("DDS ") && le32(bytes, 4) == 124 && bytes.size() >= kDdsHeaderBytes) {
        return ImageKind::Dds;
    }
    if (bytes.starts_with("8BPS") && (be16(bytes, 4) == 1 || be16(bytes, 4) == 2) &&
        bytes.size() >= kPsdHeaderBytes) {
        return ImageKind::Psd;
    }
    return isTga(bytes) ? ImageKind::Tga : ImageKind::None;
}

ImageFile readImageFile(const std::string& path) {
    FileContents contents = readFile(path, kMaxImageFileBytes);
    if (!contents.ok()) {
        return {};
    }
    if (imageKindOf(contents.bytes) == ImageKind::None) {
        return {ImageFileStatus::NotAnImage, {}};
    }
    return {ImageFileStatus::Ok, std::move(contents.bytes)};
}

} // namespace vantor
