#include "publish/PackageDecoder.h"

#include "PublishTestSupport.h"
#include "TestSupport.h"

#include <functional>
#include <gtest/gtest.h>

namespace vantor {
namespace {

std::string goldenStream() {
    return test::plainStream(test::readBytes(test::testDataFile("golden/example-model.qel")));
}

void setBigEndian(std::string& bytes, std::size_t pos, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[pos + i] = static_cast<char>(value >> (24 - 8 * i));
    }
}

TEST(PackageDecoder, GoldenExampleDecodes) {
    const ModelDecodeResult result = decodeModelStream(goldenStream());
    ASSERT_TRUE(result.ok()) << result.error;
    const DecodedModel& model = *result.model;
    EXPECT_EQ(model.materials[0].col, (std::array<float, 4>{0.5f, 0.25f, 0.125f, 1.0f}));
    EXPECT_EQ(model.objects[0].visible, 15);
    EXPECT_EQ(model.objects[0].meshes[0].positions[0], (std::array<float, 3>{7, 8, 9}));
}

// Each damage is reported with the stream position where it was found.
TEST(PackageDecoder, DamagedStreamsAreReportedWithTheirPosition) {
    struct Damage {
        const char* what;
        std::size_t position;
        std::function<void(std::string&)> apply;
    };
    const Damage damages[] = {
        {"magic", 0, [](std::string& s) { s[0] = 'X'; }},
        {"total length", 4, [](std::string& s) { setBigEndian(s, 4, 255); }},
        {"truncated", 4, [](std::string& s) { s.resize(200); }},
        {"chunk too long", 110, [](std::string& s) { setBigEndian(s, 114, 1000); }},
        {"sub-chunk order", 26, [](std::string& s) { s.replace(26, 4, "XXXX"); }},
        {"corner out of range", 248, [](std::string& s) { setBigEndian(s, 248, 3); }},
        {"corner count", 240, [](std::string& s) { setBigEndian(s, 240, 9); }},
        {"no terminating zero", 24, [](std::string& s) { s[25] = 'x'; }},
    };
    for (const Damage& damage : damages) {
        std::string stream = goldenStream();
        damage.apply(stream);
        const ModelDecodeResult result = decodeModelStream(stream);
        EXPECT_FALSE(result.ok()) << damage.what;
        EXPECT_EQ(result.position, damage.position) << damage.what << ": " << result.error;
    }
}

TEST(PackageDecoder, KeyHeaderIsNeededAndArchivesMustBeArchives) {
    EXPECT_FALSE(decodeKeyedFile("abc").has_value());
    EXPECT_EQ(decodeKeyedFile("abcd")->stream, "");
    test::TempDir dir;
    test::writeBytes(dir.file("x.zip"), "PK but not an archive");
    EXPECT_FALSE(readArchive(dir.file("x.zip")).ok);
    EXPECT_FALSE(readArchive(dir.file("missing.zip")).ok);
}

} // namespace
} // namespace vantor
