#include "publish/ImageKind.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using namespace std::string_literals;

// A TGA header: id length, colour map type, image type, map length and entry bits, size and
// depth; the pixels follow.
std::string tga(unsigned char mapType, unsigned char type, unsigned char depth,
                std::size_t pixelBytes) {
    std::string header(18, '\0');
    header[1] = static_cast<char>(mapType);
    header[2] = static_cast<char>(type);
    header[5] = mapType ? 2 : 0; // two map entries
    header[7] = mapType ? 24 : 0;
    header[12] = 2;              // 2 x 1 pixels
    header[14] = 1;
    header[16] = static_cast<char>(depth);
    return header + std::string(mapType ? 6 : 0, '\0') + std::string(pixelBytes, '\x7F');
}

std::string bmp(std::uint32_t infoSize, unsigned depth) {
    std::string bytes = "BM" + std::string(12 + infoSize, '\0');
    bytes[14] = static_cast<char>(infoSize);
    bytes[26] = 1; // planes
    bytes[28] = static_cast<char>(depth);
    return bytes;
}

// Each kind the viewer shows is told by its signature and header, whatever the file is called;
// a file that only starts like one, or that is cut short of what its header announces, is none.
TEST(ImageKindOf, SignaturesAndHeadersNotNames) {
    const std::pair<std::string, ImageKind> images[] = {
        {"\xFF\xD8\xFF\xE0"s, ImageKind::Jpeg},
        {"\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR"s, ImageKind::Png},
        {"GIF87a", ImageKind::Gif},
        {"GIF89a", ImageKind::Gif},
        {bmp(40, 24), ImageKind::Bmp},
        {"RIFF\0\0\0\0WEBPVP8 "s, ImageKind::WebP},
        {"DDS |\0\0\0"s + std::string(120, '\0'), ImageKind::Dds},
        {"8BPS\0\1"s + std::string(20, '\0'), ImageKind::Psd},
        {tga(0, 2, 24, 6), ImageKind::Tga},
        {tga(0, 10, 32, 1), ImageKind::Tga}, // run-length: at least one byte of pixels
        {tga(1, 1, 8, 2), ImageKind::Tga},
    };
    for (const auto& [bytes, kind] : images) {
        EXPECT_EQ(imageKindOf(bytes), kind) << bytes.substr(0, 4);
    }
    const std::string notImages[] = {
        "",
        "root:x:0:0:root:/root:/bin/bash\n",
        "BMW service notes, 2019",
        bmp(41, 24),                     // no BMP header of that size
        bmp(40, 7),                      // no such depth
        "\xFF\xD8 two bytes"s,           // not the third byte of a JPEG marker
        "\x89PNG\r\n\x1A\n"s,            // no header chunk
        "GIF88a",
        "DDS |\0\0\0"s,                  // header cut short
        "8BPS\0\3"s + std::string(20, '\0'), // no such version
        tga(0, 2, 24, 5),                // a pixel short
        tga(0, 2, 12, 6),                // no such depth for true colour
        tga(0, 1, 8, 2),                 // colour-mapped without a map
        tga(2, 2, 24, 6),                // no such map type
        "II*\0"s + std::string(20, '\0'), // TIFF: known, but the viewer cannot show it
        "PK\3\4"s + std::string(30, '\0'),
    };
    for (const std::string& bytes : notImages) {
        EXPECT_EQ(imageKindOf(bytes), ImageKind::None) << bytes.substr(0, 8);
    }
}

TEST(ReadImageFile, GivesTheBytesOfAnImageOnly) {
    test::TempDir dir;
    test::writeBytes(dir.file("a.txt"), "GIF89a, and a name that says text");
    test::writeBytes(dir.file("b.gif"), "a text with an image's name");
    const ImageFile image = readImageFile(dir.file("a.txt"));
    EXPECT_EQ(image.status, ImageFileStatus::Ok);
    EXPECT_EQ(image.bytes, "GIF89a, and a name that says text");
    EXPECT_EQ(readImageFile(dir.file("b.gif")).status, ImageFileStatus::NotAnImage);
    EXPECT_TRUE(readImageFile(dir.file("b.gif")).bytes.empty());
    EXPECT_EQ(readImageFile(dir.file("none.gif")).status, ImageFileStatus::Unreadable);
    EXPECT_EQ(readImageFile(dir.folder()).status, ImageFileStatus::Unreadable);
}

} // namespace
} // namespace vantor
